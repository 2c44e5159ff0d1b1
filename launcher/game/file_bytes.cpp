#include "launcher/game/file_bytes.h"

#include <algorithm>

#include "common/fs/whole_file.h"

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
    // Preference files are small; the limit only keeps a runaway file out of memory.
    return files::ReadWholeFile(path, bytes, 256ull << 20) == files::ReadResult::Read;
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
