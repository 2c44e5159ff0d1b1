// The texts of the start-up version check: comparing two versions, the display
// form, the version file's last line, the update prompt. Plain functions.
#pragma once

#include <string>

// 1 when `server` is newer than `own`, 0 when equal, -1 when `own` is newer. Three
// dot-separated components compare as numbers (atoi), then the remainders as a
// whole: non-numeric parts count as 0, so an empty server version is never newer
// than a non-zero own version. Both are 8-bit texts.
int CompareVersionTexts(std::string own, std::string server);

// The text before the last "." (the last component and its dot dropped); a string
// without "." becomes empty. Used for display: "2.0.1.0" shows as "2.0.1".
std::wstring CutVersionForDisplay(const std::wstring& version);

// The last line of 8-bit text that is not empty (lines end at LF, a CR before it is
// dropped); empty when there is none.
std::string LastNonEmptyLine(const std::string& text);

// The update prompt: nine spaces, "服务器版本: ", server, two line ends, ten spaces,
// " 当前版本: ", own.
std::wstring BuildUpdatePromptText(const std::wstring& serverCut, const std::wstring& ownCut);
