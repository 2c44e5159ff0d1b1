#include "duilib/zip_archive.h"

#include <zlib.h>

#include <cstring>

namespace duizip {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;

std::uint16_t Read16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t Read32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(Read16(b, at)) | (static_cast<std::uint32_t>(Read16(b, at + 2)) << 16);
}
bool Fits(const std::string& b, std::uint64_t at, std::uint64_t length) {
    return at <= b.size() && length <= b.size() - at;
}
char Fold(char c) {
    if (c == '\\') return '/';
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

}  // namespace

bool SameMemberName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

bool ZipArchive::Open(std::string bytes) {
    bytes_ = std::move(bytes);
    entries_.clear();
    if (bytes_.size() < kEndRecordSize) return false;
    // The end record sits in the last 22 bytes plus at most a 64 KiB comment.
    std::size_t lowest = bytes_.size() > kEndRecordSize + 0xFFFF ? bytes_.size() - kEndRecordSize - 0xFFFF : 0;
    std::size_t end = std::string::npos;
    for (std::size_t at = bytes_.size() - kEndRecordSize + 1; at-- > lowest;) {
        if (Read32(bytes_, at) == kEndSignature) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos) return false;
    std::uint16_t count = Read16(bytes_, end + 10);
    std::uint32_t dirSize = Read32(bytes_, end + 12);
    std::uint32_t dirOffset = Read32(bytes_, end + 16);
    if (!Fits(bytes_, dirOffset, dirSize)) return false;

    std::size_t at = dirOffset;
    std::vector<ZipEntry> found;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!Fits(bytes_, at, kCentralHeaderSize) || Read32(bytes_, at) != kCentralSignature) return false;
        ZipEntry e;
        e.flags = Read16(bytes_, at + 8);
        e.utf8Name = (e.flags & 0x0800) != 0;
        e.method = Read16(bytes_, at + 10);
        e.crc = Read32(bytes_, at + 16);
        e.compressedSize = Read32(bytes_, at + 20);
        e.size = Read32(bytes_, at + 24);
        std::uint16_t nameLength = Read16(bytes_, at + 28);
        std::uint16_t extraLength = Read16(bytes_, at + 30);
        std::uint16_t commentLength = Read16(bytes_, at + 32);
        e.localHeaderOffset = Read32(bytes_, at + 42);
        std::uint64_t total = std::uint64_t{kCentralHeaderSize} + nameLength + extraLength + commentLength;
        if (!Fits(bytes_, at, total)) return false;
        e.name.assign(bytes_, at + kCentralHeaderSize, nameLength);
        found.push_back(std::move(e));
        at += static_cast<std::size_t>(total);
    }
    entries_ = std::move(found);
    return true;
}

int ZipArchive::Find(std::string_view utf8Name, std::string_view legacyName) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const ZipEntry& e = entries_[i];
        if (SameMemberName(e.name, e.utf8Name ? utf8Name : legacyName)) return static_cast<int>(i);
    }
    return -1;
}

ZipResult ZipArchive::Extract(int index, std::string& out) const {
    out.clear();
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return ZipResult::NotFound;
    const ZipEntry& e = entries_[static_cast<std::size_t>(index)];
    if (e.flags & 0x0001) return ZipResult::Unsupported;
    if (e.method != 0 && e.method != 8) return ZipResult::Unsupported;
    if (e.size > kMaxMemberSize || e.compressedSize > kMaxMemberSize) return ZipResult::TooLarge;
    if (!Fits(bytes_, e.localHeaderOffset, kLocalHeaderSize) || Read32(bytes_, e.localHeaderOffset) != kLocalSignature)
        return ZipResult::Corrupt;
    std::uint64_t dataAt = std::uint64_t{e.localHeaderOffset} + kLocalHeaderSize +
                           Read16(bytes_, e.localHeaderOffset + 26) + Read16(bytes_, e.localHeaderOffset + 28);
    if (!Fits(bytes_, dataAt, e.compressedSize)) return ZipResult::Corrupt;
    const char* data = bytes_.data() + dataAt;

    std::string result;
    if (e.method == 0) {
        if (e.compressedSize != e.size) return ZipResult::Corrupt;
        result.assign(data, e.size);
    } else {
        result.resize(e.size);
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return ZipResult::Corrupt;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z.avail_in = e.compressedSize;
        // One spare byte so that a stream longer than the recorded size is noticed.
        unsigned char spare = 0;
        z.next_out = result.empty() ? &spare : reinterpret_cast<Bytef*>(result.data());
        z.avail_out = result.empty() ? 1 : static_cast<uInt>(result.size());
        int rc = inflate(&z, Z_FINISH);
        uLong produced = z.total_out;
        inflateEnd(&z);
        if (rc != Z_STREAM_END || produced != e.size) return ZipResult::Corrupt;
    }
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(result.data()), static_cast<uInt>(result.size()));
    if (crc != e.crc) return ZipResult::Corrupt;
    out = std::move(result);
    return ZipResult::Ok;
}

}  // namespace duizip
