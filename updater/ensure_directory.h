// Creating the folder chain for a downloaded file.
#pragma once

#include <string>

#include "common/fs/folder_tree.h"

// True when `path` is a folder afterwards; creates missing parents below its root
// first. `path` has no trailing backslash.
inline bool EnsureDirectory(const std::wstring& path) { return files::MakeFolderTree(path); }
