// The server base text: the prefix of every update-server address, read from SEWI.bin
// in the launcher's folder. The launcher's entry reads it once, before any window
// exists, and keeps it in its context; later changes to the file count at the next start.
#pragma once

#include <string>

// ToWideString of the unscrambled content of <programFolder>\SEWI.bin; empty for a
// missing or unreadable file. `programFolder` has no trailing backslash.
std::wstring ReadServerBaseText(const std::wstring& programFolder);
