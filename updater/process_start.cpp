#include "updater/process_start.h"

#include <windows.h>

#include <vector>

#include "common/win32/unique_handle.h"

namespace {

// The longest path the system can give (extended-length paths, 32767 units).
constexpr size_t kLongestPath = 32768;

}  // namespace

bool StartHiddenProcess(const std::wstring& command) {
    const std::wstring quoted = L"\"" + command + L"\"";
    // CreateProcessW may write into its command line.
    std::vector<wchar_t> line(quoted.begin(), quoted.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &info))
        return false;
    win32::unique_handle process(info.hProcess);
    win32::unique_handle thread(info.hThread);
    return true;
}

std::wstring GetModulePath() {
    // A deep program folder may take more than MAX_PATH characters: the buffer grows
    // until the whole path fits (the call fills it up and truncates otherwise).
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= kLongestPath) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L"Error";
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return L"Error";
}
