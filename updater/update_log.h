// The update log shown in the dialog's log box.
#pragma once

#include <cstdint>
#include <string>

// The largest update log that is downloaded or shown. The log box shows release
// notes, a few pages of text; a larger body is no log, and setting megabytes of text
// into the box would hold the dialog up.
inline constexpr std::uint64_t kUpdateLogLimit = 1ull << 20;

enum class UpdateLogFetch {
    Replaced,  // <folder>\Update_Logo.txt now holds the server's log
    Failed,    // request, status (not 200), read, write or size failure; the copy is untouched
    TooLarge,  // the body passed kUpdateLogLimit; the copy is untouched
};

// Downloads logUrl (normalised) + "UpdateLog.ini" into <folder>\Update_Logo.txt
// through "Update_Logo.txt.tmp": the copy is replaced only by a complete body of at
// most kUpdateLogLimit bytes (and of its Content-Length, when one is announced), so
// an earlier copy stays when anything goes wrong. Blocks up to the client's
// time-outs: call it off the dialog thread.
UpdateLogFetch DownloadUpdateLog(const std::wstring& logUrl, const std::wstring& folder);

// The log box text of <folder>\Update_Logo.txt; empty when there is none, or it is
// larger than kUpdateLogLimit or cannot be read. Reads only the local file.
std::wstring ReadUpdateLog(const std::wstring& folder);

// DownloadUpdateLog, then ReadUpdateLog: the server's log, or the earlier copy.
std::wstring LoadUpdateLog(const std::wstring& logUrl, const std::wstring& folder);

// The log box text for the file's bytes: split at LF (a CR before it stays), each
// line converted from the ANSI code page, a leading U+FEFF dropped, each followed by LF.
std::wstring UpdateLogText(const std::string& bytes);
