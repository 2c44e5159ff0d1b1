#include "launcher/app/version_check.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/win32/unique_handle.h"
#include "launcher/util/text_convert.h"

namespace {

std::string ReadWholeFile(const std::wstring& path, bool& opened) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    opened = static_cast<bool>(file);
    if (!file) return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    // The version file is one short line; a megabyte bounds a hostile answer.
    while (bytes.size() < (1u << 20) && ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

}  // namespace

int CompareVersions(const std::wstring& own, const std::wstring& server) {
    return CompareVersionTexts(ToNarrowString(own), ToNarrowString(server));
}

std::wstring GetOwnFileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < sizeof(Translation)) {
        return {};
    }
    wchar_t query[64];
    std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FILEVERSION", translation->language,
                  translation->codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value || length == 0) {
        // Resources normally spell the key "FileVersion"; the lookup is case-insensitive on
        // Windows, and this second query keeps it so where a loader is not.
        std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language,
                      translation->codePage);
        if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value ||
            length == 0) {
            return {};
        }
    }
    return std::wstring(value);
}

int CheckServerVersion(const std::wstring& programFolder, const std::wstring& versionUrl,
                       std::wstring& serverVersion, std::wstring& ownVersion, const FileDownloader& download,
                       const std::wstring& ownExecutable) {
    const std::wstring url = versionUrl + L"server_version.ini";
    const std::wstring localFile = programFolder + L"server_version.ini";
    if (!download(url, localFile)) return -1;
    bool opened = false;
    const std::string content = ReadWholeFile(localFile, opened);
    serverVersion = opened ? ToWideString(LastNonEmptyLine(content)) : std::wstring();
    ownVersion = GetOwnFileVersion(ownExecutable);
    return CompareVersions(ownVersion, serverVersion) == 1 ? 1 : 0;
}
