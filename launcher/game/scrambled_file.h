// SEWI.bin: the update server's address, kept next to the launcher as decimal byte
// values ("^" after each) XOR-scrambled with a fixed key.
#pragma once

#include <string>

#include "launcher/game/scrambled_content.h"

// <launcher folder>\SEWI.bin; empty when the module file name is unavailable.
std::wstring GetScrambledFilePath();

// Reads SEWI.bin and returns the unscrambled bytes; empty for a missing or empty file.
std::string LoadScrambledText();
// The same for the file at `path`.
std::string LoadScrambledTextFrom(const std::wstring& path);
