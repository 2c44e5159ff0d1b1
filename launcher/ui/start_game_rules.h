// The checks StartGame makes before it writes anything; pure.
#pragma once

#include <string>

namespace settings {
struct SettingsSnapshot;
}

// Shown when a custom size lies outside 800x600..2560x1600.
inline constexpr wchar_t kCustomSizeRangeText[] = L"自定义分辨率 最低为：800x600，最高为：2560x1600 ";
// Shown when the game folder is still not usable after the folder chooser.
inline constexpr wchar_t kUseAnkamaJavaText[] =
    L"请运行官方游戏启动程序，点击界面右上角“小齿轮”按钮，勾选【使用ANKAMA提供的JAVA版本】后等待更新完成再运行Velmora，感谢您的使用。";

// False when the custom size is in use (selection 5, window style other than 2) and
// its numbers (atoi of the texts) lie outside 800..2560 x 600..1600. An empty width
// counts as 1366 and an empty height as 768, the size the start fills in for them.
bool CustomSizeAcceptable(const settings::SettingsSnapshot& snapshot);

// With the custom size in use, an empty width becomes "1366" and an empty height
// "768" in the snapshot itself, as the resolution entry will use them.
void FillEmptyCustomSize(settings::SettingsSnapshot& snapshot);

// Full screen (window style 2) has no custom size: a saved custom selection there
// means the list's default size (selection -1, 1366x768), so that the full-screen
// choice still reaches the game in a complete resolution entry.
void UseListSizeInFullScreen(settings::SettingsSnapshot& snapshot);

// Why a start that passed its checks did not start the game.
enum class StartFailure { None, ScriptNotWritten, ScriptNotStarted };
// The few words the failed-start box says; empty for None.
const wchar_t* StartFailureText(StartFailure failure);
