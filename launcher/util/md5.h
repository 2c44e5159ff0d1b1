// MD5 message digest (RFC 1321). Pure code, no platform calls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class Md5 {
public:
    Md5();
    void Update(const void* data, size_t size);
    // Finishes the digest; the object must not be updated afterwards.
    std::array<uint8_t, 16> Finish();

private:
    void Transform(const uint8_t block[64]);

    uint32_t state_[4];
    uint64_t bitCount_ = 0;
    uint8_t buffer_[64] = {};
};

// The 16 digest bytes as 32 lower-case hexadecimal digits.
std::string DigestToHex(const std::array<uint8_t, 16>& digest);

// MD5 of the string's bytes (nothing added) as 32 lower-case hexadecimal digits;
// the empty string has a digest too.
std::string Md5Hex(std::string_view bytes);
