#include "launcher/services/log.h"

#include <share.h>

#include <cstdio>
#include <cwchar>
#include <memory>

#include "common/win32/unique_handle.h"
#include "launcher/util/text_convert.h"

Log* g_log = nullptr;

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using unique_stdio_file = std::unique_ptr<FILE, FileCloser>;

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
    ~CriticalSectionLock() { LeaveCriticalSection(&section_); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& section_;
};

}  // namespace

Log::Log(const std::wstring& folder) { Init(folder); }

Log::Log(const std::wstring& folder, unsigned long long maxFileBytes) : maxFileBytes_(maxFileBytes) { Init(folder); }

bool LogNeedsRollover(unsigned long long currentBytes, unsigned long long addingBytes, unsigned long long maxBytes) {
    return currentBytes > 0 && currentBytes + addingBytes > maxBytes;
}

void Log::Init(std::wstring folder) {
    MakeLogFolder(folder);
    folder_ = folder + L"\\";
    files_ = {{LOG_INTER, L"log_inter.log"}, {LOG_IPC, L"log_IPC.log"}, {LOG_DLL, L"log_DLL.log"}};
    InitializeCriticalSection(&writeLock_);
}

Log::~Log() { DeleteCriticalSection(&writeLock_); }

std::wstring FormatTimePrefix(int year, int month, int day, int hour, int minute, int second) {
    wchar_t buffer[260] = {};
    std::swprintf(buffer, 260, L"[%d-%02d-%02d %02d:%02d:%02d]\t", year, month, day, hour, minute, second);
    return buffer;
}

std::wstring Log::TimeStamp() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return FormatTimePrefix(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

void Log::Write(int id, const std::wstring& text, bool withTime) {
    const auto entry = files_.find(id);
    if (entry == files_.end()) return;
    CriticalSectionLock lock(writeLock_);
    const std::wstring path = folder_ + entry->second;
    const std::wstring line = (withTime ? TimeStamp() : std::wstring()) + text;
    const std::string bytes = ToNarrowString(line);
    // Text mode writes each "\n" as CR LF: count the line ends twice.
    unsigned long long adding = bytes.size();
    for (char c : bytes) adding += c == '\n' ? 1 : 0;
    WIN32_FILE_ATTRIBUTE_DATA existing{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &existing)) {
        const unsigned long long size = (static_cast<unsigned long long>(existing.nFileSizeHigh) << 32) | existing.nFileSizeLow;
        if (LogNeedsRollover(size, adding, maxFileBytes_)) {
            MoveFileExW(path.c_str(), (path + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    }
    unique_stdio_file file(_wfsopen(path.c_str(), L"a", _SH_DENYNO));
    if (!file) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file.get());
}

bool MakeLogFolder(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    win32::unique_find find(FindFirstFileW(path.c_str(), &found));
    if (find) return true;
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return false;
    if (!MakeLogFolder(path.substr(0, slash))) return false;
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}
