// Whole-file reads of the manifests.
#pragma once

#include <cstdint>
#include <string>

// Reads the whole file into `bytes` (with read and write sharing). A missing file
// reads as empty and succeeds; false when it exists but cannot be read or is
// larger than `limit` bytes.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::uint64_t limit);
