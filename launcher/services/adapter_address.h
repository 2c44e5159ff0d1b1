// The machine's network adapter address, as the usage reports name it.
#pragma once

#include <string>

namespace usage {

inline constexpr unsigned long kAdapterBufferSize = 3240;  // room for five adapter records

// Asks the adapter list (into a buffer of `bufferSize` bytes) and stores the first
// adapter's first six address bytes as "XX-XX-XX-XX-XX-XX" in `address`. False, with
// `address` unchanged, when the query fails, finds no adapter or needs more room.
bool QueryFirstAdapterAddress(std::string& address, unsigned long bufferSize = kAdapterBufferSize);

}  // namespace usage
