#include "updater/app/folder_instance.h"

#include <cstdint>
#include <cwchar>

#include "updater/update_paths.h"

namespace {

// The caption of dialog template 102.
constexpr wchar_t kDialogCaption[] = L"[Velmora]更新程序v1.0.1";

// The long form of an existing path (an 8.3 name and its long name are one folder).
std::wstring LongForm(const std::wstring& path) {
    const std::wstring extended = ExtendedLengthPath(path);
    std::wstring longPath(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetLongPathNameW(extended.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
        if (n == 0) return path;
        if (n < longPath.size()) {
            longPath.resize(n);
            return longPath;
        }
        longPath.assign(n, L'\0');
    }
    return path;
}

std::wstring ProcessFolder(DWORD processId) {
    win32::unique_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    std::wstring image(32768, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(process.get(), 0, image.data(), &size)) return {};
    image.resize(size);
    const size_t slash = image.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : LongForm(image.substr(0, slash));
}

struct Search {
    std::wstring key;
    HWND found = nullptr;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (std::wcscmp(caption, kDialogCaption) != 0) return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) return TRUE;
    if (FolderKey(ProcessFolder(processId)) != search.key) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

std::wstring FolderKey(const std::wstring& folder) {
    std::wstring key = PlainPath(folder);
    while (key.size() > 1 && key.back() == L'\\') key.pop_back();
    if (key.empty()) return key;
    std::wstring upper(key.size(), L'\0');
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, key.c_str(), static_cast<int>(key.size()),
                                upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
    if (n <= 0) return key;
    upper.resize(static_cast<size_t>(n));
    return upper;
}

std::wstring FolderInstanceName(const std::wstring& folder) {
    // FNV-1a over the UTF-16 code units.
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t unit : FolderKey(folder)) {
        hash ^= static_cast<std::uint16_t>(unit);
        hash *= 1099511628211ull;
    }
    wchar_t hex[17] = {};
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return std::wstring(L"Local\\Velmora.Updater.") + hex;
}

bool FolderInstance::Acquire(const std::wstring& folder) {
    mutex_.reset(CreateMutexW(nullptr, FALSE, FolderInstanceName(LongForm(folder)).c_str()));
    if (!mutex_) return GetLastError() != ERROR_ACCESS_DENIED;  // denied: another user's updater holds it
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex_.reset();
        return false;
    }
    return true;
}

bool BringFolderDialogToFront(const std::wstring& folder, DWORD timeoutMs) {
    Search search;
    search.key = FolderKey(LongForm(folder));
    const DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
    if (IsIconic(search.found)) ShowWindowAsync(search.found, SW_RESTORE);
    SetForegroundWindow(search.found);
    return true;
}
