// Access to the launcher's profile (INI) files, addressed relative to the folder of
// the launcher executable (never the current directory).
#pragma once

#include <string>

// Longest value ReadProfileValue returns; a longer value comes back cut to this.
constexpr size_t kProfileValueMaxChars = 779;

// Reads section/key from <launcher folder>\<relativeFile>. Missing file, section or
// key (or an unknown module path) read as the empty string.
std::wstring ReadProfileValue(const std::wstring& section, const std::wstring& key,
                              const std::wstring& relativeFile);

// Writes section/key in <launcher folder>\<relativeFile>. Returns the result of
// WritePrivateProfileStringW (non-zero on success), 0 when the module path is unknown.
int WriteProfileValue(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                      const std::wstring& relativeFile);

// The same operations on an explicit folder (without trailing backslash).
std::wstring ReadProfileValueIn(const std::wstring& folder, const std::wstring& section,
                                const std::wstring& key, const std::wstring& relativeFile);
int WriteProfileValueIn(const std::wstring& folder, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value, const std::wstring& relativeFile);
