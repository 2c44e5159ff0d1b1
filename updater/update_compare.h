// Parsing manifests and deciding which files need downloading. Plain functions.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// One file the server lists that needs downloading, with the server's digest text
// (used to check the downloaded file before it replaces the target).
struct UpdateItem {
    std::wstring name;
    std::wstring digest;
    bool operator==(const UpdateItem&) const = default;
};
// In ascending ordinal order of name (UTF-16 code units).
using UpdateList = std::vector<UpdateItem>;

// Records "name<TAB>value<LF>" parsed into an ordinal map; the first occurrence of a
// name wins, "MD5.exe" and "UpDate.ini" are left out, parsing stops at the first
// record without TAB or without LF.
std::map<std::wstring, std::wstring> ParseManifest(const std::wstring& text);

// Two digest texts name the same content: equal once white space at both ends is
// trimmed, ASCII letters compared case-blind (hashing tools print hexadecimal
// digests in either case, so "ABC1" matches "abc1").
bool DigestsMatch(std::wstring_view a, std::wstring_view b);

// Server names whose local value is missing or differs (DigestsMatch).
// Names that are not safe relative paths (IsSafeRelativeName) are left out and
// reported through `rejected` (may be null). Local-only names are ignored.
UpdateList CompareManifests(const std::wstring& serverText, const std::wstring& localText,
                            std::vector<std::wstring>* rejected = nullptr);

// The names of a list, for callers that only show names.
std::vector<std::wstring> UpdateNames(const UpdateList& list);

// Manifest bytes (ANSI code page) → text ready for ParseManifest: converted to
// UTF-16, CR LF turned into LF (as a text-mode read does), white space trimmed at
// both ends, one LF appended. Reading stops at the first NUL byte.
std::wstring ManifestTextFromBytes(const std::string& bytes);

// The platform-free rest of ManifestTextFromBytes, on text already converted:
// CR LF turned into LF, white space trimmed at both ends, one LF appended.
std::wstring ManifestTextFromWide(std::wstring_view wide);

// A text from ManifestTextFromBytes that came from an empty (or all white space) body.
bool ManifestTextIsEmpty(const std::wstring& text);
