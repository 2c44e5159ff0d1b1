// The size of an existing file, in 64 bits.
#pragma once

#include <cstdint>
#include <string>

namespace files {

// Size of the file at `path` (opened with read sharing); 0 when it does not exist or
// cannot be opened.
std::uint64_t ExistingFileSize(const std::wstring& path);

}  // namespace files
