#include "launcher/app/version_check.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/win32/unique_handle.h"
#include "launcher/util/text_convert.h"

namespace {

// Splits off the text before the first "."; the remainder is the text after it, or
// the whole string again when there is no dot.
int TakeComponent(std::string& text) {
    const size_t dot = text.find('.');
    const int value = std::atoi(text.substr(0, dot).c_str());
    if (dot != std::string::npos) text = text.substr(dot + 1);
    return value;
}

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
    std::string ownText = ToNarrowString(own);
    std::string serverText = ToNarrowString(server);
    for (int i = 0; i < 3; ++i) {
        const int ownPart = TakeComponent(ownText);
        const int serverPart = TakeComponent(serverText);
        if (serverPart > ownPart) return 1;
        if (ownPart > serverPart) return -1;
    }
    const int ownRest = std::atoi(ownText.c_str());
    const int serverRest = std::atoi(serverText.c_str());
    if (serverRest > ownRest) return 1;
    if (ownRest > serverRest) return -1;
    return 0;
}

std::wstring CutVersionForDisplay(const std::wstring& version) {
    const size_t dot = version.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : version.substr(0, dot);
}

std::string LastNonEmptyLine(const std::string& text) {
    std::string last;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) last = line;
        start = end + 1;
    }
    return last;
}

std::wstring BuildUpdatePromptText(const std::wstring& serverCut, const std::wstring& ownCut) {
    return std::wstring(9, L' ') + L"服务器版本: " + serverCut + L"\n\n" + std::wstring(10, L' ') + L" 当前版本: " +
           ownCut;
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
    if (download(url, localFile) != 0) return -1;
    bool opened = false;
    const std::string content = ReadWholeFile(localFile, opened);
    serverVersion = opened ? ToWideString(LastNonEmptyLine(content)) : std::wstring();
    ownVersion = GetOwnFileVersion(ownExecutable);
    return CompareVersions(ownVersion, serverVersion) == 1 ? 1 : 0;
}
