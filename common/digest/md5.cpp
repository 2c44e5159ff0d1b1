#include "common/digest/md5.h"

#include <cstring>

namespace {

constexpr std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// One step of a round: the round's function of b, c and d, the message word, the
// step's sine constant and shift. Written out per step (see Transform) so that every
// index and shift is a constant: several times faster than a loop that picks them.
template <int Round>
inline void Step(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t word,
                 std::uint32_t sine, int shift) {
    std::uint32_t f;
    if constexpr (Round == 0) f = d ^ (b & (c ^ d));  // (b & c) | (~b & d)
    else if constexpr (Round == 1) f = c ^ (d & (b ^ c));  // (b & d) | (c & ~d)
    else if constexpr (Round == 2) f = b ^ c ^ d;
    else f = c ^ (b | ~d);
    a = b + RotateLeft(a + f + word + sine, shift);
}

std::uint32_t LittleEndianWord(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void Md5::Transform(const std::uint8_t block[64]) {
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i) m[i] = LittleEndianWord(block + 4 * i);
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

    Step<0>(a, b, c, d, m[0], 0xd76aa478, 7);
    Step<0>(d, a, b, c, m[1], 0xe8c7b756, 12);
    Step<0>(c, d, a, b, m[2], 0x242070db, 17);
    Step<0>(b, c, d, a, m[3], 0xc1bdceee, 22);
    Step<0>(a, b, c, d, m[4], 0xf57c0faf, 7);
    Step<0>(d, a, b, c, m[5], 0x4787c62a, 12);
    Step<0>(c, d, a, b, m[6], 0xa8304613, 17);
    Step<0>(b, c, d, a, m[7], 0xfd469501, 22);
    Step<0>(a, b, c, d, m[8], 0x698098d8, 7);
    Step<0>(d, a, b, c, m[9], 0x8b44f7af, 12);
    Step<0>(c, d, a, b, m[10], 0xffff5bb1, 17);
    Step<0>(b, c, d, a, m[11], 0x895cd7be, 22);
    Step<0>(a, b, c, d, m[12], 0x6b901122, 7);
    Step<0>(d, a, b, c, m[13], 0xfd987193, 12);
    Step<0>(c, d, a, b, m[14], 0xa679438e, 17);
    Step<0>(b, c, d, a, m[15], 0x49b40821, 22);

    Step<1>(a, b, c, d, m[1], 0xf61e2562, 5);
    Step<1>(d, a, b, c, m[6], 0xc040b340, 9);
    Step<1>(c, d, a, b, m[11], 0x265e5a51, 14);
    Step<1>(b, c, d, a, m[0], 0xe9b6c7aa, 20);
    Step<1>(a, b, c, d, m[5], 0xd62f105d, 5);
    Step<1>(d, a, b, c, m[10], 0x02441453, 9);
    Step<1>(c, d, a, b, m[15], 0xd8a1e681, 14);
    Step<1>(b, c, d, a, m[4], 0xe7d3fbc8, 20);
    Step<1>(a, b, c, d, m[9], 0x21e1cde6, 5);
    Step<1>(d, a, b, c, m[14], 0xc33707d6, 9);
    Step<1>(c, d, a, b, m[3], 0xf4d50d87, 14);
    Step<1>(b, c, d, a, m[8], 0x455a14ed, 20);
    Step<1>(a, b, c, d, m[13], 0xa9e3e905, 5);
    Step<1>(d, a, b, c, m[2], 0xfcefa3f8, 9);
    Step<1>(c, d, a, b, m[7], 0x676f02d9, 14);
    Step<1>(b, c, d, a, m[12], 0x8d2a4c8a, 20);

    Step<2>(a, b, c, d, m[5], 0xfffa3942, 4);
    Step<2>(d, a, b, c, m[8], 0x8771f681, 11);
    Step<2>(c, d, a, b, m[11], 0x6d9d6122, 16);
    Step<2>(b, c, d, a, m[14], 0xfde5380c, 23);
    Step<2>(a, b, c, d, m[1], 0xa4beea44, 4);
    Step<2>(d, a, b, c, m[4], 0x4bdecfa9, 11);
    Step<2>(c, d, a, b, m[7], 0xf6bb4b60, 16);
    Step<2>(b, c, d, a, m[10], 0xbebfbc70, 23);
    Step<2>(a, b, c, d, m[13], 0x289b7ec6, 4);
    Step<2>(d, a, b, c, m[0], 0xeaa127fa, 11);
    Step<2>(c, d, a, b, m[3], 0xd4ef3085, 16);
    Step<2>(b, c, d, a, m[6], 0x04881d05, 23);
    Step<2>(a, b, c, d, m[9], 0xd9d4d039, 4);
    Step<2>(d, a, b, c, m[12], 0xe6db99e5, 11);
    Step<2>(c, d, a, b, m[15], 0x1fa27cf8, 16);
    Step<2>(b, c, d, a, m[2], 0xc4ac5665, 23);

    Step<3>(a, b, c, d, m[0], 0xf4292244, 6);
    Step<3>(d, a, b, c, m[7], 0x432aff97, 10);
    Step<3>(c, d, a, b, m[14], 0xab9423a7, 15);
    Step<3>(b, c, d, a, m[5], 0xfc93a039, 21);
    Step<3>(a, b, c, d, m[12], 0x655b59c3, 6);
    Step<3>(d, a, b, c, m[3], 0x8f0ccc92, 10);
    Step<3>(c, d, a, b, m[10], 0xffeff47d, 15);
    Step<3>(b, c, d, a, m[1], 0x85845dd1, 21);
    Step<3>(a, b, c, d, m[8], 0x6fa87e4f, 6);
    Step<3>(d, a, b, c, m[15], 0xfe2ce6e0, 10);
    Step<3>(c, d, a, b, m[6], 0xa3014314, 15);
    Step<3>(b, c, d, a, m[13], 0x4e0811a1, 21);
    Step<3>(a, b, c, d, m[4], 0xf7537e82, 6);
    Step<3>(d, a, b, c, m[11], 0xbd3af235, 10);
    Step<3>(c, d, a, b, m[2], 0x2ad7d2bb, 15);
    Step<3>(b, c, d, a, m[9], 0xeb86d391, 21);

    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::Update(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t used = static_cast<std::size_t>((bitCount_ / 8) % 64);
    bitCount_ += static_cast<std::uint64_t>(size) * 8;
    // Whole blocks are hashed where they lie; only a block split between two calls
    // is gathered in the buffer.
    if (used > 0) {
        const std::size_t take = (64 - used) < size ? (64 - used) : size;
        std::memcpy(buffer_ + used, bytes, take);
        used += take;
        bytes += take;
        size -= take;
        if (used < 64) return;
        Transform(buffer_);
    }
    for (; size >= 64; bytes += 64, size -= 64) Transform(bytes);
    if (size > 0) std::memcpy(buffer_, bytes, size);
}

std::array<std::uint8_t, 16> Md5::Finish() {
    const std::uint64_t bits = bitCount_;
    const std::size_t used = static_cast<std::size_t>((bits / 8) % 64);
    // 0x80, zeros up to 56 bytes into a block, then the bit count (little-endian).
    std::uint8_t tail[72] = {0x80};
    const std::size_t padding = (used < 56 ? 56 : 120) - used;
    for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Update(tail, padding + 8);
    std::array<std::uint8_t, 16> digest{};
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (8 * (i % 4)));
    return digest;
}

std::string DigestToHex(const std::array<std::uint8_t, 16>& digest) {
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (std::uint8_t byte : digest) {
        hex.push_back(kHex[byte >> 4]);
        hex.push_back(kHex[byte & 0x0f]);
    }
    return hex;
}
