// Copying and deleting the files of one folder that match a name pattern.
#pragma once

#include <string>

// Copies every file of `sourceFolder` matching `pattern` (FindFirstFileW syntax) into
// `destinationFolder` under the same name; an existing target is replaced only when
// `overwrite` is set. Failures of single files are skipped; no match does nothing.
void CopyMatchingFiles(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                       const std::wstring& pattern, bool overwrite);

// Deletes every file of `folder` matching `pattern`; failures of single files are skipped.
void DeleteMatchingFiles(const std::wstring& folder, const std::wstring& pattern);
