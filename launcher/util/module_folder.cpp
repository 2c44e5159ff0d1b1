#include "launcher/util/module_folder.h"

#include <windows.h>
#include <shlobj.h>

namespace {

std::wstring ModuleFileName() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(buffer, length);
}

}  // namespace

std::wstring GetModuleFolder() {
    const std::wstring path = ModuleFileName();
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

int GetRoamingAppDataFolder(std::wstring& folder) {
    folder.clear();
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, TRUE)) return 1;
    folder = buffer;
    return 0;
}
