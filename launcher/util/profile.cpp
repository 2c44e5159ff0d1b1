#include "launcher/util/profile.h"

#include <windows.h>

std::wstring ReadProfileValueIn(const std::wstring& folder, const std::wstring& section,
                                const std::wstring& key, const std::wstring& relativeFile) {
    if (folder.empty()) return {};
    const std::wstring path = folder + L"\\" + relativeFile;
    wchar_t buffer[kProfileValueMaxChars + 1] = {};
    const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer,
                                                  static_cast<DWORD>(kProfileValueMaxChars + 1), path.c_str());
    return std::wstring(buffer, length <= kProfileValueMaxChars ? length : kProfileValueMaxChars);
}

int WriteProfileValueIn(const std::wstring& folder, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value, const std::wstring& relativeFile) {
    if (folder.empty()) return 0;
    const std::wstring path = folder + L"\\" + relativeFile;
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}
