#include "launcher/util/directory_tree.h"

#include "common/fs/folder_tree.h"

int CreateDirectoryTree(const std::wstring& path) {
    const size_t colon = path.find(L':');
    if (colon == std::wstring::npos) return files::MakeFolder(path) ? 1 : 0;
    // The first boundary is looked for two characters after the colon, so the drive
    // root ("C:\") is never created itself.
    return files::MakeFolderChain(path, colon + 2) ? 1 : 0;
}
