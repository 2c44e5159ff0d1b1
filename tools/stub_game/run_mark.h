// Stand-ins for Velmora.exe (in tests and in the demo) record that they ran:
// "launcher-ran.txt", holding "ran", beside their own executable.
#pragma once

#include <windows.h>

#include <cwchar>

#include "common/win32/unique_handle.h"

inline bool WriteRunMark() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    wchar_t* slash = std::wcsrchr(path, L'\\');
    if (slash == nullptr || slash + 1 + std::wcslen(L"launcher-ran.txt") >= path + MAX_PATH) return false;
    std::wcscpy(slash + 1, L"launcher-ran.txt");
    win32::unique_file file(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), "ran", 3, &written, nullptr) && written == 3;
}
