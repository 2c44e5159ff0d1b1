// The extra request headers every download sends.
#pragma once

#include <cstdint>
#include <string>

// "Cache-Control: no-cache\r\n": asks proxies and caches for a fresh copy.
std::wstring PlainRequestHeader();

// "Cache-Control: no-cache\r\nRange:bytes=<offset>-\r\n": the rest of a file from
// `offset` on. There is no blank after "Range:"; servers accept it either way.
std::wstring ResumeRequestHeader(std::uint64_t offset);

// The value of a Content-Length header: its decimal digits (leading and trailing
// blanks allowed) as a 64-bit count; 0 when the text is no such number or does not
// fit in 64 bits.
std::uint64_t ContentLengthValue(const std::wstring& text);
