#include "launcher/game/file_bytes.h"

#include <algorithm>

#include "common/win32/unique_handle.h"

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bytes.clear();
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr)) return false;
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
}

bool WriteAllBytes(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}
