// The start-up version check: is the launcher the server publishes newer than this one?
#pragma once

#include <functional>
#include <string>

#include "launcher/app/version_text.h"

// CompareVersionTexts on both versions converted to 8-bit text in the file-API code page.
int CompareVersions(const std::wstring& own, const std::wstring& server);

// The FILEVERSION string of the version resource of the executable at `path`, in its
// first language/code page; empty when there is none.
std::wstring GetOwnFileVersion(const std::wstring& path = L"Velmora.exe");

// Downloads `url` to `localFile`, replacing it after a complete download; true when
// the whole file arrived.
using FileDownloader = std::function<bool(const std::wstring& url, const std::wstring& localFile)>;

// Downloads <versionUrl>server_version.ini to <programFolder>server_version.ini and
// compares its last non-empty line with the own version. -1 when the download
// fails, 1 when the server's version is newer, 0 otherwise.
int CheckServerVersion(const std::wstring& programFolder, const std::wstring& versionUrl,
                       std::wstring& serverVersion, std::wstring& ownVersion, const FileDownloader& download,
                       const std::wstring& ownExecutable = L"Velmora.exe");
