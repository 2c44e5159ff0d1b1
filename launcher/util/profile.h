// Access to the launcher's profile (INI) files, addressed relative to a given folder
// (the program folder; never the current directory).
#pragma once

#include <string>

// Longest value ReadProfileValueIn returns; a longer value comes back cut to this.
constexpr size_t kProfileValueMaxChars = 779;

// Reads section/key from <folder>\<relativeFile> (`folder` without trailing
// backslash). Missing file, section or key, or an empty folder, read as the empty
// string.
std::wstring ReadProfileValueIn(const std::wstring& folder, const std::wstring& section,
                                const std::wstring& key, const std::wstring& relativeFile);
// Writes section/key in <folder>\<relativeFile>. Returns the result of
// WritePrivateProfileStringW (non-zero on success), 0 for an empty folder.
int WriteProfileValueIn(const std::wstring& folder, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value, const std::wstring& relativeFile);
