#include "launcher/ui/start_game_rules.h"

#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"

namespace {
bool UsesCustomSize(const settings::SettingsSnapshot& s) { return s.windowStyle != 2 && s.resolutionSelection == 5; }
}  // namespace

bool CustomSizeAcceptable(const settings::SettingsSnapshot& s) {
    if (!UsesCustomSize(s)) return true;
    // An empty text stands for the size the start will use for it.
    const int width = s.customWidth.empty() ? 1366 : settings::ParseStoredNumber(s.customWidth);
    const int height = s.customHeight.empty() ? 768 : settings::ParseStoredNumber(s.customHeight);
    return width >= 800 && width <= 2560 && height >= 600 && height <= 1600;
}

void FillEmptyCustomSize(settings::SettingsSnapshot& s) {
    if (!UsesCustomSize(s)) return;
    if (s.customWidth.empty()) s.customWidth = L"1366";
    if (s.customHeight.empty()) s.customHeight = L"768";
}

void UseListSizeInFullScreen(settings::SettingsSnapshot& s) {
    if (s.windowStyle == 2 && s.resolutionSelection == 5) s.resolutionSelection = -1;
}

const wchar_t* StartFailureText(StartFailure failure) {
    switch (failure) {
        case StartFailure::ScriptNotWritten:
            return L"游戏未能启动:\n无法写入启动脚本 game\\RunGame.bat,\n请检查游戏目录是否可写。";
        case StartFailure::ScriptNotStarted:
            return L"游戏未能启动:\n启动脚本 game\\RunGame.bat 无法运行。";
        case StartFailure::None:
            break;
    }
    return L"";
}
