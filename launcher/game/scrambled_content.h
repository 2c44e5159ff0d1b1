// The content of SEWI.bin: decimal byte values, "^" after each, XOR-scrambled with a
// fixed key. Plain functions on bytes; reading the file is scrambled_file.h's job.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the scrambling key; the key repeats every this many bytes.
inline constexpr size_t kScrambleKeyLength = 212;

// Repeating-key XOR in place; its own inverse.
void XorWithKey(std::string& text);

// Decodes file content: skips leading white space, takes one token, reads each
// "^"-terminated piece with atoi and keeps its low 8 bits, then unscrambles. Text
// after the last "^" is dropped; an empty or non-numeric piece is the byte 0.
std::string DecodeScrambledContent(std::string_view content);

// The inverse, for publishing: scrambles `address` and writes each byte as a
// decimal number followed by "^".
std::string EncodeScrambledContent(std::string_view address);
