// The resolution entry of the settings snapshot: its custom texts read as stored numbers.
#include "launcher/game/resolution_entry.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"

namespace {

std::optional<int> StoredNumber(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    return settings::ParseStoredNumber(text);
}

}  // namespace

std::string BuildResolutionEntry(const settings::SettingsSnapshot& snapshot) {
    return BuildResolutionEntry(ResolutionChoice{snapshot.windowStyle, snapshot.resolutionSelection,
                                                 StoredNumber(snapshot.customWidth),
                                                 StoredNumber(snapshot.customHeight)});
}
