// SEWI.bin's content on any bytes: decoding ends without fault and gives one byte per
// "^" of its token; any address survives encoding and decoding unchanged.
#include <algorithm>
#include <cstdint>
#include <string>

#include "launcher/game/scrambled_content.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = DecodeScrambledContent(bytes);
    FUZZ_CHECK(decoded.size() <= static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '^')));
    FUZZ_CHECK(DecodeScrambledContent(EncodeScrambledContent(bytes)) == bytes);
    std::string twice = bytes;
    XorWithKey(twice);
    XorWithKey(twice);
    FUZZ_CHECK(twice == bytes);
    return 0;
}
