#include "launcher/game/resolution_entry.h"

#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"

namespace {

constexpr int kCustomSelection = 5;
constexpr int kFullScreenStyle = 2;

std::string ModeDigit(int windowStyle) {
    switch (windowStyle) {
        case 1: return "0";
        case 2: return "1";
        case 3: return "2";
        default: return {};
    }
}

std::string ListSize(int selection) {
    switch (selection) {
        case -1: return "1366x768";
        case 1: return "1024x768";
        case 2: return "800x600";
        case 3: return "1280x1024";
        case 4: return "1600x900";
        default: return {};
    }
}

std::string CustomDimension(const std::wstring& text, const char* whenEmpty) {
    if (text.empty()) return whenEmpty;
    return std::to_string(settings::ParseStoredNumber(text));
}

}  // namespace

std::string BuildResolutionEntry(const settings::SettingsSnapshot& snapshot) {
    std::string size;
    if (snapshot.windowStyle == kFullScreenStyle || snapshot.resolutionSelection != kCustomSelection) {
        size = ListSize(snapshot.resolutionSelection);
    } else {
        size = CustomDimension(snapshot.customWidth, "1366") + "x" + CustomDimension(snapshot.customHeight, "768");
    }
    return "resolution=" + size + "x32x60x" + ModeDigit(snapshot.windowStyle);
}

bool IsCompleteResolutionEntry(const std::string& entry) {
    const std::string prefix = "resolution=";
    if (entry.compare(0, prefix.size(), prefix) != 0) return false;
    int fields = 1;
    bool fieldHasDigit = false;
    for (size_t i = prefix.size(); i < entry.size(); ++i) {
        const char c = entry[i];
        if (c == 'x') {
            if (!fieldHasDigit) return false;
            ++fields;
            fieldHasDigit = false;
        } else if (c >= '0' && c <= '9') {
            fieldHasDigit = true;
        } else {
            return false;
        }
    }
    return fields == 5 && fieldHasDigit;
}
