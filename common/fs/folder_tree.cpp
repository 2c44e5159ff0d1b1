#include "common/fs/folder_tree.h"

#include <windows.h>

namespace files {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveAt(const std::wstring& path, std::size_t at) {
    return path.size() >= at + 2 && path[at + 1] == L':' &&
           ((path[at] >= L'A' && path[at] <= L'Z') || (path[at] >= L'a' && path[at] <= L'z'));
}

// The end of the drive designator at `at`, with its backslash when there is one.
std::size_t AfterDrive(const std::wstring& path, std::size_t at) {
    const std::size_t end = at + 2;
    return end < path.size() && IsSeparator(path[end]) ? end + 1 : end;
}

// Skips `count` further components after `from` (each ended by a separator or the
// end of the text); returns the position after the last separator taken.
std::size_t SkipComponents(const std::wstring& path, std::size_t from, int count) {
    std::size_t at = from;
    for (int i = 0; i < count && at < path.size(); ++i) {
        const std::size_t slash = path.find_first_of(L"\\/", at);
        if (slash == std::wstring::npos) return path.size();
        at = slash + 1;
    }
    return at;
}

}  // namespace

bool MakeFolder(const std::wstring& path) {
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolderChain(const std::wstring& path, std::size_t firstBoundarySearch) {
    std::size_t searchFrom = firstBoundarySearch;
    for (;;) {
        const std::size_t slash = searchFrom < path.size() ? path.find(L'\\', searchFrom) : std::wstring::npos;
        const bool last = slash == std::wstring::npos;
        if (!MakeFolder(last ? path : path.substr(0, slash))) return false;
        if (last) return true;
        searchFrom = slash + 1;
    }
}

std::size_t FolderRootLength(const std::wstring& path) {
    if (IsDriveAt(path, 0)) return AfterDrive(path, 0);
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // "\\?\C:\..." and "\\.\C:\...": the device prefix and the drive.
        if (path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3])) {
            if (IsDriveAt(path, 4)) return AfterDrive(path, 4);
            if (path.compare(4, 4, L"UNC\\") == 0) return SkipComponents(path, 8, 2);
            return SkipComponents(path, 4, 1);
        }
        // "\\server\share\": server and share are never created.
        return SkipComponents(path, 2, 2);
    }
    if (!path.empty() && IsSeparator(path[0])) return 1;
    return 0;
}

bool MakeFolderTree(const std::wstring& path) {
    if (path.empty()) return false;
    // The usual case, a folder that is there already, costs one look-up instead of two
    // calls for every level (an update asks this for each file it fetches).
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
    return MakeFolderChain(path, FolderRootLength(path));
}

}  // namespace files
