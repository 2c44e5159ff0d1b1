// Conversions between the programs' UTF-16 text and the two 8-bit encodings in use.
//
// Chinese ANSI text (code page 936) is what the game's files, the launch script and
// their paths are written in. File-API text is the code page the Windows file
// functions use right now (ANSI or OEM), used by the log and the server base text.
#pragma once

#include <string>

// Wide → Chinese ANSI (code page 936) through the C runtime's "chs" locale.
// Characters that code page 936 cannot represent become '?': the C runtime stops
// at the first such character, so the text is then converted by the system's
// code page 936 table with '?' as its default character instead, which keeps the
// rest of a path or name intact. Must be called on the user-interface thread only,
// because the C runtime locale is process-wide.
std::string WideToChs(const std::wstring& text);

// Chinese ANSI (code page 936) → wide, the inverse of WideToChs. Invalid byte
// sequences are decoded by the system table (they become U+30FB/U+003F).
std::wstring ChsToWide(const std::string& text);

// 8-bit text in the file-API code page → wide; empty when the conversion fails.
std::wstring ToWideString(const std::string& text);

// Wide → 8-bit text in the file-API code page; empty when the conversion fails.
// Unmappable characters get the system's default character.
std::string ToNarrowString(const std::wstring& text);
