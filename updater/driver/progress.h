// Overall progress of a download pass on a scale of 0..10000.
//
// Each file owns an equal share of the scale. Within a file the position grows by
// (block × 10000) / (length × total) per block, truncated per block, computed in
// 64 bits so large files cannot overflow it; it never leaves the file's share, even
// when a server sends more than it announced. When a file ends, whatever its
// outcome, the position jumps to the end of its share, so the last file ends at
// exactly 10000.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kProgressMax = 10000;

class PassProgress {
public:
    explicit PassProgress(int total) : total_(total > 0 ? static_cast<std::uint64_t>(total) : 1) {}

    // After a block of `block` bytes of a file announced as `length` bytes (0 taken
    // as 1); returns the new position.
    std::uint32_t AddBlock(std::uint32_t block, std::uint64_t length);

    // After the current file has ended; returns the new position.
    std::uint32_t FinishFile();

    std::uint32_t position() const { return position_; }
    int filesDone() const { return static_cast<int>(filesDone_); }

private:
    std::uint64_t total_;
    std::uint64_t filesDone_ = 0;
    std::uint32_t position_ = 0;
};
