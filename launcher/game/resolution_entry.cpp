#include "launcher/game/resolution_entry.h"

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

std::string CustomDimension(const std::optional<int>& number, const char* whenMissing) {
    return number ? std::to_string(*number) : whenMissing;
}

}  // namespace

std::string BuildResolutionEntry(const ResolutionChoice& choice) {
    std::string size;
    if (choice.windowStyle == kFullScreenStyle || choice.resolutionSelection != kCustomSelection) {
        size = ListSize(choice.resolutionSelection);
    } else {
        size = CustomDimension(choice.customWidth, "1366") + "x" + CustomDimension(choice.customHeight, "768");
    }
    return "resolution=" + size + "x32x60x" + ModeDigit(choice.windowStyle);
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
