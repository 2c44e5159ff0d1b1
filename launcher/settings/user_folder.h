// The per-user folder below the launcher folder and its first-run marker.
#pragma once

#include <string>

namespace settings {

struct UserFolderResult {
    bool ok = false;        // false only when a folder or the marker cannot be created
    bool firstRun = false;  // a folder or user\default\config.ini was missing
};

// Makes sure <folder>user\, <folder>user\default and the empty marker file
// user\default\config.ini exist. `folderWithSlash` is the program folder with a
// trailing backslash. Deleting the marker makes the next call a first run again.
UserFolderResult PrepareUserFolder(const std::wstring& folderWithSlash);

}  // namespace settings
