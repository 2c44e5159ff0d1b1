// Whole-buffer reads and writes on Win32 file handles, for the editors of the game's
// files, which work on bytes and never convert them.
#pragma once

#include <windows.h>

#include <string>

// Reads the whole file, opened for reading with read and write sharing. False when it
// cannot be opened or read.
bool ReadFileBytes(const std::wstring& path, std::string& bytes);

// Writes all of `bytes` to `file`, however many calls it takes. False on the first
// failed or empty write.
bool WriteAllBytes(HANDLE file, const std::string& bytes);
