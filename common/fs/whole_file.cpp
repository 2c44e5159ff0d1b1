#include "common/fs/whole_file.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/unique_handle.h"

namespace files {
namespace {

constexpr std::uint64_t kReadBlock = 1u << 20;

}  // namespace

ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadResult::Missing
                                                                                : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return ReadResult::Failed;
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    if (total > limit) return ReadResult::TooLarge;
    if (total > bytes.max_size()) return ReadResult::TooLarge;
    bytes.resize(static_cast<std::size_t>(total));
    std::uint64_t done = 0;
    while (done < total) {
        DWORD read = 0;
        const auto chunk = static_cast<DWORD>(std::min(total - done, kReadBlock));
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) {
            bytes.clear();
            return ReadResult::Failed;
        }
        if (read == 0) break;  // the file became shorter while it was read
        done += read;
    }
    bytes.resize(static_cast<std::size_t>(done));
    return ReadResult::Read;
}

}  // namespace files
