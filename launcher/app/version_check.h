// The start-up version check: is the launcher the server publishes newer than this one?
#pragma once

#include <functional>
#include <string>

// 1 when `server` is newer than `own`, 0 when equal, -1 when `own` is newer. Three
// dot-separated components compare as numbers (atoi), then the remainders as a
// whole: non-numeric parts count as 0, so an empty server version is never newer
// than a non-zero own version.
int CompareVersions(const std::wstring& own, const std::wstring& server);

// The text before the last "." (the last component and its dot dropped); a string
// without "." becomes empty. Used for display: "2.0.1.0" shows as "2.0.1".
std::wstring CutVersionForDisplay(const std::wstring& version);

// The last line of 8-bit text that is not empty (lines end at LF, a CR before it is
// dropped); empty when there is none.
std::string LastNonEmptyLine(const std::string& text);

// The update prompt: nine spaces, "服务器版本: ", server, two line ends, ten spaces,
// " 当前版本: ", own.
std::wstring BuildUpdatePromptText(const std::wstring& serverCut, const std::wstring& ownCut);

// The FILEVERSION string of the version resource of the executable at `path`, in its
// first language/code page; empty when there is none.
std::wstring GetOwnFileVersion(const std::wstring& path = L"Velmora.exe");

// Downloads `url` to `localFile`, replacing it after a complete download; 0 on success.
using FileDownloader = std::function<int(const std::wstring& url, const std::wstring& localFile)>;

// Downloads <versionUrl>server_version.ini to <programFolder>server_version.ini and
// compares its last non-empty line with the own version. -1 when the download
// fails, 1 when the server's version is newer, 0 otherwise.
int CheckServerVersion(const std::wstring& programFolder, const std::wstring& versionUrl,
                       std::wstring& serverVersion, std::wstring& ownVersion, const FileDownloader& download,
                       const std::wstring& ownExecutable = L"Velmora.exe");
