#include "updater/file_replace.h"

#include <windows.h>

bool ReplaceTarget(const std::wstring& temp, const std::wstring& target) {
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool IsSelfUpdaterName(const std::wstring& name) {
    return name == L"Updater.exe";
}
