#include "launcher/game/game_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>

#include "common/win32/com_owner.h"

Function* g_function = nullptr;

Function::Function(std::wstring launcherFolder) : launcherFolder_(std::move(launcherFolder)) {}

Function::~Function() = default;

void Function::SetGameFolder(const std::wstring& folder) { gameFolder_ = folder; }

std::wstring Function::GetGameFolder() const { return gameFolder_; }

std::wstring Function::GetLauncherFolder() const { return launcherFolder_; }

bool Function::IsGameFolderValid() const {
    const std::wstring runtime = gameFolder_ + kJavaRuntimeSubPath;
    return GetFileAttributesW(runtime.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ChooseLocalAppDataFolder(const std::wstring& shellAnswer, unsigned major, unsigned minor) {
    if (major == 5 && minor == 1) return L"C:\\Users\\Administrator\\AppData\\Local";
    return shellAnswer;
}

std::wstring Function::GetLocalAppDataFolder() const {
    wchar_t buffer[MAX_PATH] = {};
    PIDLIST_ABSOLUTE returned = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_LOCAL_APPDATA, &returned)) && returned) {
        const win32::unique_pidl idList(returned);
        if (!SHGetPathFromIDListW(idList.get(), buffer)) buffer[0] = L'\0';
    }
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    return ChooseLocalAppDataFolder(buffer, version.dwMajorVersion, version.dwMinorVersion);
}

std::wstring Function::GetCurrentUserName() const {
    wchar_t buffer[256] = {};
    DWORD size = 256;
    if (!GetUserNameW(buffer, &size)) return {};
    return std::wstring(buffer);
}
