#include "launcher/ui/updater_start.h"

#include <windows.h>
#include <shellapi.h>

std::wstring UpdaterPath(const std::wstring& programFolder) { return programFolder + L"\\Updater.exe"; }

bool StartUpdater(const std::wstring& programFolder) {
    const std::wstring path = UpdaterPath(programFolder);
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, programFolder.c_str(), SW_SHOWNORMAL);
    // The shell answers a value above 32 when it started the program.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
