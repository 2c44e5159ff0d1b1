// SEWI.bin: the update server's address, kept next to the launcher as decimal byte
// values ("^" after each) XOR-scrambled with a fixed key.
#pragma once

#include <string>

#include "launcher/game/scrambled_content.h"

// <programFolder>\SEWI.bin; empty for an empty folder.
std::wstring ScrambledFilePathIn(const std::wstring& programFolder);

// Reads the file at `path` and returns the unscrambled bytes; empty for an empty path
// or a missing or empty file.
std::string LoadScrambledTextFrom(const std::wstring& path);
