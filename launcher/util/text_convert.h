// Conversions between the programs' UTF-16 text and the two 8-bit encodings in use.
//
// Chinese ANSI text (code page 936) is what the game's files, the launch script and
// their paths are written in. File-API text is the code page the Windows file
// functions use right now (ANSI or OEM), used by the log and the server base text.
#pragma once

#include <string>

// Wide → Chinese ANSI (code page 936), up to the first embedded zero. Characters
// that code page 936 cannot represent become '?', and the rest of a path or name
// stays intact. Converts by the system's code page 936 table, never through the C
// runtime locale (which is process-wide), so any thread may call it.
std::string WideToChs(const std::wstring& text);

// Chinese ANSI (code page 936) → wide, up to the first zero byte; the inverse of
// WideToChs. Invalid byte sequences are decoded by the system table (they become
// U+30FB/U+003F). Any thread may call it.
std::wstring ChsToWide(const std::string& text);

// 8-bit text in the file-API code page → wide; empty when the conversion fails.
std::wstring ToWideString(const std::string& text);

// Wide → 8-bit text in the file-API code page; empty when the conversion fails.
// Unmappable characters get the system's default character.
std::string ToNarrowString(const std::wstring& text);
