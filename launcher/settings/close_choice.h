// What the close button does, as the player answered it once.
#pragma once

#include <string>

namespace settings {

enum class CloseChoice { Ask, Close, MinimiseToTray };

// Reads CloseOrMin/isCheck from <programFolder>\user\ResInfo.ini (the same file as
// every other setting) with room for 8192 characters; empty for an empty folder.
std::wstring ReadCloseChoiceText(const std::wstring& programFolder);

// "c" closes, "m" minimises to the tray; any other text (also empty) asks again.
CloseChoice ParseCloseChoice(const std::wstring& text);

}  // namespace settings
