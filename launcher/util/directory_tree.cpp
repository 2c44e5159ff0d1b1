#include "launcher/util/directory_tree.h"

#include <windows.h>

namespace {

bool CreateOneFolder(const std::wstring& folder) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

int CreateDirectoryTree(const std::wstring& path) {
    const size_t colon = path.find(L':');
    if (colon == std::wstring::npos) return CreateOneFolder(path) ? 1 : 0;

    // The first boundary is looked for two characters after the colon, so the drive
    // root ("C:\") is never created itself.
    size_t searchFrom = colon + 2;
    for (;;) {
        const size_t slash = searchFrom < path.size() ? path.find(L'\\', searchFrom) : std::wstring::npos;
        const bool last = slash == std::wstring::npos;
        if (!CreateOneFolder(last ? path : path.substr(0, slash))) return 0;
        if (last) return 1;
        searchFrom = slash + 1;
    }
}
