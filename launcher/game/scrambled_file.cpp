#include "launcher/game/scrambled_file.h"

#include <windows.h>

#include "common/win32/unique_handle.h"

std::wstring ScrambledFilePathIn(const std::wstring& programFolder) {
    return programFolder.empty() ? std::wstring() : programFolder + L"\\SEWI.bin";
}

std::string LoadScrambledTextFrom(const std::wstring& path) {
    if (path.empty()) return {};
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    // The file is a few hundred bytes; anything past 64 KiB cannot be a valid address.
    std::string content(64 * 1024, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) return {};
    content.resize(read);
    return DecodeScrambledContent(content);
}
