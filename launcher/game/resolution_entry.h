// The game's "resolution" preference entry for the launcher's resolution settings.
#pragma once

#include <optional>
#include <string>

namespace settings {
struct SettingsSnapshot;
}

// The settings the entry is made of, with the custom texts already read as numbers
// (none for an empty text).
struct ResolutionChoice {
    int windowStyle = 0;
    int resolutionSelection = 0;
    std::optional<int> customWidth;
    std::optional<int> customHeight;
};

// "resolution=" + size + "x32x60x" + window-mode digit. The mode digit is "0", "1" or
// "2" for window styles 1, 2 and 3 and empty otherwise. Window style 2, or any
// selection other than 5 (custom), takes the size of the selected list item
// (-1 → 1366x768, 1 → 1024x768, 2 → 800x600, 3 → 1280x1024, 4 → 1600x900, else
// empty); a custom size uses the two custom numbers, a missing width counting as
// 1366 and a missing height as 768. The caller checks the custom size range before;
// nothing is checked here.
std::string BuildResolutionEntry(const ResolutionChoice& choice);

// The same for the snapshot: the custom texts read by the stored-number rule
// (settings::ParseStoredNumber), an empty text counting as missing.
std::string BuildResolutionEntry(const settings::SettingsSnapshot& snapshot);

// True when `entry` is "resolution=" and five non-empty numbers joined by 'x' (width,
// height, depth, rate, mode): the only form the game reads. An entry built from a list
// selection or window style without a meaning lacks the size or the mode digit.
bool IsCompleteResolutionEntry(const std::string& entry);
