// SEWI.bin: the update server's address, kept next to the launcher as decimal byte
// values ("^" after each) XOR-scrambled with a fixed key.
#pragma once

#include <string>
#include <string_view>

// Length of the scrambling key; the key repeats every this many bytes.
inline constexpr size_t kScrambleKeyLength = 212;

// <launcher folder>\SEWI.bin; empty when the module file name is unavailable.
std::wstring GetScrambledFilePath();

// Reads SEWI.bin and returns the unscrambled bytes; empty for a missing or empty file.
std::string LoadScrambledText();
// The same for the file at `path`.
std::string LoadScrambledTextFrom(const std::wstring& path);

// Repeating-key XOR in place; its own inverse.
void XorWithKey(std::string& text);

// Decodes file content: skips leading white space, takes one token, reads each
// "^"-terminated piece with atoi and keeps its low 8 bits, then unscrambles. Text
// after the last "^" is dropped; an empty or non-numeric piece is the byte 0.
std::string DecodeScrambledContent(std::string_view content);

// The inverse, for publishing: scrambles `address` and writes each byte as a
// decimal number followed by "^".
std::string EncodeScrambledContent(std::string_view address);
