// MD5 message digest (RFC 1321), fed in pieces. Pure code, no platform calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Md5 {
public:
    Md5();
    void Update(const void* data, std::size_t size);
    // Finishes the digest; the object must not be updated afterwards.
    std::array<std::uint8_t, 16> Finish();

private:
    void Transform(const std::uint8_t block[64]);

    std::uint32_t state_[4];
    std::uint64_t bitCount_ = 0;
    std::uint8_t buffer_[64] = {};
};

// The 16 digest bytes as 32 lower-case hexadecimal digits.
std::string DigestToHex(const std::array<std::uint8_t, 16>& digest);
