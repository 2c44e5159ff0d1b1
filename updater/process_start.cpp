#include "updater/process_start.h"

#include <windows.h>

#include <vector>

#include "common/win32/unique_handle.h"

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
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return L"Error";
    return path;
}
