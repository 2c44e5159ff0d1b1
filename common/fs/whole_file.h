// Reading a whole file into memory: the one reader both programs and the UI library
// use for manifests, logs, layouts and archives.
#pragma once

#include <cstdint>
#include <string>

namespace files {

enum class ReadResult {
    Read,      // `bytes` holds the file's content (possibly empty)
    Missing,   // no such file (or folder on the way); `bytes` is empty
    TooLarge,  // the file is larger than the limit; nothing was read
    Failed,    // the file exists but could not be opened or read; `bytes` is empty
};

// Reads the file at `path` (opened with read and write sharing, so a file another
// program is writing can be read). A file that shrinks while it is read yields what
// it still holds; one that grows yields the size it had when opened. The file is
// read in blocks of at most 1 MiB, so sizes and offsets beyond 4 GiB are counted in
// 64 bits and never wrap.
ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes, std::uint64_t limit);

}  // namespace files
