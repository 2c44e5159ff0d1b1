// Shared pieces of the fuzz targets: fuzz bytes as UTF-16 text, and a check whose
// failure the fuzzer reports as a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// The text the Windows build would hold: UTF-16 code units, one per wchar_t (32 bits
// here, 16 there; only values up to 0xFFFF are made). An even first byte makes each
// further byte one unit, so the fuzzer reaches ASCII structure quickly; an odd one
// reads the rest as little-endian pairs, for every other code unit.
inline std::wstring WideUnits(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    if (size == 0) return text;
    if ((data[0] & 1) == 0) {
        for (std::size_t i = 1; i < size; ++i) text += static_cast<wchar_t>(data[i]);
    } else {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            text += static_cast<wchar_t>(data[i] | (static_cast<unsigned>(data[i + 1]) << 8));
    }
    return text;
}

// Stops the run with the failed condition; libFuzzer keeps the input as a finding.
[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace fuzz

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::fuzz::Fail(#condition, __FILE__, __LINE__))
