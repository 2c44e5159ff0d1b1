#include "launcher/game/matching_files.h"

#include <windows.h>

#include "common/win32/unique_handle.h"

namespace {

// Calls `action(name)` for each entry of folder\pattern except "." and ".." and
// plain folders (entries whose only attribute is the directory attribute).
template <typename Action>
void ForEachMatch(const std::wstring& folder, const std::wstring& pattern, Action action) {
    WIN32_FIND_DATAW entry{};
    win32::unique_find find(FindFirstFileW((folder + L"\\" + pattern).c_str(), &entry));
    if (!find) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) continue;
        action(name);
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

void CopyMatchingFiles(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                       const std::wstring& pattern, bool overwrite) {
    ForEachMatch(sourceFolder, pattern, [&](const std::wstring& name) {
        CopyFileW((sourceFolder + L"\\" + name).c_str(), (destinationFolder + L"\\" + name).c_str(), !overwrite);
    });
}

void DeleteMatchingFiles(const std::wstring& folder, const std::wstring& pattern) {
    ForEachMatch(folder, pattern, [&](const std::wstring& name) { DeleteFileW((folder + L"\\" + name).c_str()); });
}
