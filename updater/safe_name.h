// The check every server-given file name passes before the updater writes anything.
// Plain code on the name's UTF-16 code units; no platform calls.
#pragma once

#include <string>

// True when `name` is a plain relative path that stays inside the updater folder:
// not empty, no drive or stream colon, no leading backslash or slash, no "." or ".."
// segment, no empty segment, no forward slash, no control characters, no
// characters Windows forbids in file names, no device name ("CON", "nul.txt"). Server names that fail this are never
// written anywhere.
bool IsSafeRelativeName(const std::wstring& name);
