#include "launcher/settings/user_folder.h"

#include <windows.h>

#include "common/fs/folder_tree.h"
#include "common/win32/unique_handle.h"

namespace settings {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Creates the folder when missing and marks the run as a first run.
bool EnsureFolder(const std::wstring& folder, UserFolderResult& result) {
    if (Exists(folder)) return true;
    result.firstRun = true;
    return files::MakeFolder(folder);
}

}  // namespace

UserFolderResult PrepareUserFolder(const std::wstring& folderWithSlash) {
    UserFolderResult result;
    const std::wstring userFolder = folderWithSlash + L"user\\";
    const std::wstring defaultFolder = userFolder + L"default";
    const std::wstring marker = defaultFolder + L"\\config.ini";

    if (!EnsureFolder(userFolder, result) || !EnsureFolder(defaultFolder, result)) return result;
    if (Exists(marker)) {
        result.ok = true;
        return result;
    }
    result.firstRun = true;
    win32::unique_file file(CreateFileW(marker.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    result.ok = static_cast<bool>(file);
    return result;
}

}  // namespace settings
