// Overall progress of a download pass on a scale of 0..10000.
//
// Each file owns an equal share of the scale. Within a file the position grows by
// (block × 10000) / (length × total) per block, truncated per block, computed in
// 64 bits so large files cannot overflow it; it never leaves the file's share, even
// when a server sends more than it announced. When a file ends, whatever its
// outcome, the position jumps to the end of its share, so the last file ends at
// exactly 10000. Several files may be under way at once (each known by its index in
// the list); the position is the finished files' shares plus what the files under
// way have reached, so it only grows.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr std::uint32_t kProgressMax = 10000;

class PassProgress {
public:
    explicit PassProgress(int total);

    // After a block of `block` bytes of file `file` (0 ≤ file < total), announced as
    // `length` bytes (0 taken as 1); returns the new position.
    std::uint32_t AddBlock(int file, std::uint32_t block, std::uint64_t length);
    // After file `file` has ended; returns the new position. A file ends once.
    std::uint32_t FinishFile(int file);

    // The same for files taken one after another: the current file is the one after
    // those finished.
    std::uint32_t AddBlock(std::uint32_t block, std::uint64_t length) {
        return AddBlock(filesDone(), block, length);
    }
    std::uint32_t FinishFile() { return FinishFile(filesDone()); }

    std::uint32_t position() const;
    int filesDone() const { return static_cast<int>(filesDone_); }

private:
    std::uint64_t total_;
    std::uint64_t filesDone_ = 0;
    std::uint64_t shareOfFile_;          // the least whole share of one file
    std::vector<std::uint64_t> reached_;  // per file: the sum of its truncated steps
    std::vector<bool> finished_;
    std::uint64_t underWay_ = 0;          // the unfinished files' steps, each within its share
};
