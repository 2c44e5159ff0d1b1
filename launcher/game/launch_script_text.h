// The text of the launch script, RunGame.bat, as plain 8-bit text: the two variables,
// the Start line with the Java options of a memory tier, and the self-deletion.
#pragma once

#include <string>

// The script text as 8-bit Chinese ANSI text with bare LF line ends, for the game
// folder in script form (forward slashes, see ScriptFolderText) and the user name.
// Tiers 0, 1, 2 and 5 are known; any other tier gives an empty text. Characters that
// cmd would act on (% everywhere, ^ & | < > outside quotes) are escaped so that the
// folder and the name reach the game exactly; other text is copied as it is.
std::string BuildLaunchScriptText(int tier, const std::string& scriptFolder, const std::string& userName);

// The bytes a file written in text mode holds for `text`: every LF becomes CR LF.
std::string ToTextModeBytes(const std::string& text);
