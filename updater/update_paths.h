// Building URLs and local paths for the update files.
#pragma once

#include <string>

#include "updater/safe_name.h"  // IsSafeRelativeName, for the callers that build paths

// A non-empty URL gets a trailing "/" if it lacks one.
std::wstring NormaliseUrl(const std::wstring& url);
// A non-empty folder gets a trailing backslash if it lacks one.
std::wstring NormaliseFolder(const std::wstring& folder);

// `path` in the extended-length form ("\\?\C:\...", "\\?\UNC\server\share\...") that
// file functions take beyond MAX_PATH characters, so that a deep program folder and
// the long names below it still work. A relative path, a device path or one already
// in that form is returned as it is. The path must not hold "." or ".." segments or
// forward slashes (a module path does not).
std::wstring ExtendedLengthPath(const std::wstring& path);
// `path` without an extended-length prefix: the form the command interpreter takes.
std::wstring PlainPath(const std::wstring& path);

// updateUrl (normalised) + name with every backslash turned into "/".
std::wstring UpdateFileUrl(const std::wstring& updateUrl, const std::wstring& name);

// folder (normalised) + name; and the temporary file next to it (target + ".tmp").
std::wstring TargetPath(const std::wstring& folder, const std::wstring& name);
std::wstring TempPath(const std::wstring& folder, const std::wstring& name);
