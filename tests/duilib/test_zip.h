// Builds zip archives in memory for the tests: stored or deflated members, names
// flagged as UTF-8, and a way to damage them.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testzip {

// A 4 x 3 red PNG.
inline const unsigned char kRedPng[] = {0x89,0x50,0x4e,0x47,0xd,0xa,0x1a,0xa,0x0,0x0,0x0,0xd,0x49,0x48,0x44,0x52,0x0,0x0,0x0,0x4,0x0,0x0,0x0,0x3,0x1,0x3,0x0,0x0,0x0,0x8e,0x3a,0x3c,0x85,0x0,0x0,0x0,0x3,0x50,0x4c,0x54,0x45,0xff,0x0,0x0,0x19,0xe2,0x9,0x37,0x0,0x0,0x0,0xb,0x49,0x44,0x41,0x54,0x8,0xd7,0x63,0x60,0x0,0x1,0x0,0x0,0x6,0x0,0x1,0x66,0xf4,0xc9,0x6c,0x0,0x0,0x0,0x0,0x49,0x45,0x4e,0x44,0xae,0x42,0x60,0x82};

struct Member {
    std::string name;  // UTF-8
    std::string data;
    bool deflate = true;
};

inline void Put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

inline std::string Deflate(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

inline std::string Build(const std::vector<Member>& members) {
    std::string file, directory;
    for (const Member& m : members) {
        std::string body = m.deflate ? Deflate(m.data) : m.data;
        std::uint32_t crc = crc32(0L, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size()));
        std::uint32_t offset = static_cast<std::uint32_t>(file.size());
        unsigned method = m.deflate ? 8 : 0;
        Put32(file, 0x04034b50);
        Put16(file, 20);
        Put16(file, 0x0800);
        Put16(file, method);
        Put32(file, 0);
        Put32(file, crc);
        Put32(file, static_cast<std::uint32_t>(body.size()));
        Put32(file, static_cast<std::uint32_t>(m.data.size()));
        Put16(file, static_cast<unsigned>(m.name.size()));
        Put16(file, 0);
        file += m.name + body;
        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, 0x0800);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(body.size()));
        Put32(directory, static_cast<std::uint32_t>(m.data.size()));
        Put16(directory, static_cast<unsigned>(m.name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += m.name;
    }
    std::uint32_t dirOffset = static_cast<std::uint32_t>(file.size());
    file += directory;
    Put32(file, 0x06054b50);
    Put16(file, 0);
    Put16(file, 0);
    Put16(file, static_cast<unsigned>(members.size()));
    Put16(file, static_cast<unsigned>(members.size()));
    Put32(file, static_cast<std::uint32_t>(directory.size()));
    Put32(file, dirOffset);
    Put16(file, 0);
    return file;
}

}  // namespace testzip
