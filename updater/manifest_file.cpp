#include "updater/manifest_file.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/unique_handle.h"

bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError() == ERROR_FILE_NOT_FOUND;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > limit) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return false;
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return true;
}
