// The update log shown in the dialog's log box.
#pragma once

#include <string>

// Downloads logUrl (normalised) + "UpdateLog.ini" into <folder>\Update_Logo.txt
// (replacing it; an earlier copy stays when the download fails) and returns its text.
// Empty when no copy exists. Blocks.
std::wstring LoadUpdateLog(const std::wstring& logUrl, const std::wstring& folder);

// The log box text for the file's bytes: split at LF (a CR before it stays), each
// line converted from the ANSI code page, a leading U+FEFF dropped, each followed by LF.
std::wstring UpdateLogText(const std::string& bytes);
