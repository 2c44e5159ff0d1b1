#include "launcher/ui/start_game_rules.h"

#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"

namespace {
bool UsesCustomSize(const settings::SettingsSnapshot& s) { return s.windowStyle != 2 && s.resolutionSelection == 5; }
}  // namespace

bool CustomSizeAcceptable(const settings::SettingsSnapshot& s) {
    if (!UsesCustomSize(s)) return true;
    const int width = settings::ParseStoredNumber(s.customWidth);
    const int height = settings::ParseStoredNumber(s.customHeight);
    return width >= 800 && width <= 2560 && height >= 600 && height <= 1600;
}

void FillEmptyCustomSize(settings::SettingsSnapshot& s) {
    if (!UsesCustomSize(s)) return;
    if (s.customWidth.empty()) s.customWidth = L"1366";
    if (s.customHeight.empty()) s.customHeight = L"768";
}
