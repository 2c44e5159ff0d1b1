// What the folder-maker tests look at.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

inline bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace testing_support
