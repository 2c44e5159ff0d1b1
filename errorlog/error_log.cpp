#include "errorlog/error_log.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "common/fs/folder_tree.h"
#include "common/text/code_page.h"
#include "common/win32/unique_handle.h"

namespace Util::Log {
namespace {

std::atomic<int> g_maxLevel{Detail};

std::mutex& OutputLock() {
    static std::mutex lock;
    return lock;
}

std::wstring& OverrideFolder() {
    static std::wstring folder;
    return folder;
}

std::wstring DefaultFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length < MAX_PATH ? length : 0);
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash) + L"\\log";
}

std::string Utf8ToAnsi(const std::string& text) {
    if (text.empty()) return {};
    const std::wstring wide = text::CodePageToWide(text, text::kUtf8CodePage);
    if (wide.empty()) return text;
    return text::WideToCodePage(wide, text::kAnsiCodePage);
}

std::string LocalTimeStamp() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char buffer[64] = {};
    std::snprintf(buffer, sizeof(buffer), "[%d-%02d-%02d %02d:%02d:%02d]", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return buffer;
}

}  // namespace

void SetMaxLevel(int level) { g_maxLevel = level; }
int MaxLevel() { return g_maxLevel; }

void SetOutputFolder(const std::wstring& folder) {
    std::lock_guard<std::mutex> lock(OutputLock());
    OverrideFolder() = folder;
}

std::wstring OutputFile() {
    std::lock_guard<std::mutex> lock(OutputLock());
    const std::wstring folder = OverrideFolder().empty() ? DefaultFolder() : OverrideFolder();
    return folder.empty() ? std::wstring() : folder + L"\\log_error.log";
}

Guard::Guard(Level level, const std::string& module, const std::string& sourceFile, int line)
    : level_(level), module_(module), sourceFile_(sourceFile), line_(line) {}

Guard::Guard(Level level, const std::string& module, std::source_location where)
    : Guard(level, module, where.file_name(), static_cast<int>(where.line())) {}

Guard::~Guard() {
    try {
        const std::wstring path = OutputFile();
        if (path.empty()) return;
        const std::string record =
            Utf8ToAnsi(FormatRecord(LocalTimeStamp(), level_, module_, sourceFile_, line_, text_.str())) + "\r\n";
        std::lock_guard<std::mutex> lock(OutputLock());
        files::MakeFolder(path.substr(0, path.rfind(L'\\')));
        win32::unique_file file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        DWORD written = 0;
        WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    } catch (...) {
        // A lost error record must never take the caller down.
    }
}

}  // namespace Util::Log

bool genericLogCheckLevel(Util::Log::Level level) {
    return static_cast<int>(level) >= 0 && static_cast<int>(level) <= Util::Log::MaxLevel();
}
