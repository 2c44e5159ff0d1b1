// Writes RGBA pixels as a PNG file image (8 bits per channel, no filter), so drawing
// tests can use images with real transparency and gradients.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>

namespace testpng {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

inline void PutBig32(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

inline void Chunk(std::string& png, const char* type, const std::string& data) {
    PutBig32(png, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    PutBig32(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                   static_cast<uInt>(body.size()))));
}

// `pixel(x, y)` gives each pixel of a `width` x `height` image.
inline std::string Encode(int width, int height, const std::function<Rgba(int, int)>& pixel) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // filter type: none
        for (int x = 0; x < width; ++x) {
            Rgba p = pixel(x, y);
            raw += static_cast<char>(p.r);
            raw += static_cast<char>(p.g);
            raw += static_cast<char>(p.b);
            raw += static_cast<char>(p.a);
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
             static_cast<uLong>(raw.size()));
    packed.resize(size);
    std::string header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", "");
    return png;
}

}  // namespace testpng
