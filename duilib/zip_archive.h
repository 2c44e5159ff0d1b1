// Reader for zip archives held in memory: the central directory, and the members
// stored (method 0) or deflated (method 8). Pure logic, no Win32 types, so it can be
// tested and fuzzed natively.
//
// Everything read from the archive is bounds-checked: a truncated or hostile archive
// yields a failure result, never a read outside the buffer. Encrypted members and
// members larger than kMaxMemberSize are refused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace duizip {

enum class ZipResult {
    Ok = 0,
    NotFound,      // no member of that name
    Unsupported,   // compression method other than stored/deflated, or encrypted
    Corrupt,       // header out of bounds, inflate error, size or CRC mismatch
    TooLarge,      // member bigger than kMaxMemberSize
};

inline constexpr std::uint64_t kMaxMemberSize = 64u * 1024u * 1024u;

struct ZipEntry {
    std::string name;          // raw bytes as stored
    bool utf8Name = false;     // general-purpose flag bit 11
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localHeaderOffset = 0;
};

class ZipArchive {
public:
    // Parses the central directory of `bytes` (the whole archive). False when no
    // valid end record or directory is found; the archive is then empty.
    bool Open(std::string bytes);

    const std::vector<ZipEntry>& entries() const { return entries_; }

    // Index of the member whose name equals `name` (slashes and backslashes are the
    // same, ASCII letters compare without case), or -1. `name` must be in the
    // encoding the entry uses: UTF-8 for entries with the UTF-8 flag, otherwise the
    // archive's 8-bit code page; pass both forms when the caller has them.
    int Find(std::string_view utf8Name, std::string_view legacyName) const;

    ZipResult Extract(int index, std::string& out) const;

private:
    std::string bytes_;
    std::vector<ZipEntry> entries_;
};

// True when two member names match by the rule of ZipArchive::Find.
bool SameMemberName(std::string_view a, std::string_view b);

}  // namespace duizip
