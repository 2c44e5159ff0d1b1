// The skin archive reader on any bytes: no read outside the buffer, and a member
// it extracts has exactly the recorded size and CRC.
#include <zlib.h>

#include <cstdint>
#include <string>

#include "duilib/zip_archive.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    duizip::ZipArchive archive;
    const bool opened = archive.Open(std::string(reinterpret_cast<const char*>(data), size));
    if (!opened) FUZZ_CHECK(archive.entries().empty());
    const auto& entries = archive.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const duizip::ZipEntry& entry = entries[i];
        const int found = archive.Find(entry.name, entry.name);
        FUZZ_CHECK(found >= 0 && static_cast<size_t>(found) <= i);
        FUZZ_CHECK(duizip::SameMemberName(entries[static_cast<size_t>(found)].name, entry.name));
        std::string member;
        const duizip::ZipResult result = archive.Extract(static_cast<int>(i), member);
        if (result != duizip::ZipResult::Ok) {
            FUZZ_CHECK(member.empty());
            continue;
        }
        FUZZ_CHECK(member.size() == entry.size);
        const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(member.data()), static_cast<uInt>(member.size()));
        FUZZ_CHECK(crc == entry.crc);
    }
    std::string none;
    FUZZ_CHECK(archive.Extract(-1, none) == duizip::ZipResult::NotFound);
    FUZZ_CHECK(archive.Extract(static_cast<int>(entries.size()), none) == duizip::ZipResult::NotFound);
    return 0;
}
