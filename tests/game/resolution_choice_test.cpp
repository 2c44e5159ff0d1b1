// The resolution entry from choices already read as numbers.
#include <gtest/gtest.h>

#include <climits>

#include "launcher/game/resolution_entry.h"

namespace {

ResolutionChoice Custom(int style, std::optional<int> width, std::optional<int> height) {
    return ResolutionChoice{style, 5, width, height};
}

TEST(ResolutionChoice, CustomNumbersAreWrittenAsTheyAreAndMissingOnesTakeTheDefault) {
    EXPECT_EQ(BuildResolutionEntry(Custom(1, 1920, std::nullopt)), "resolution=1920x768x32x60x0");
    EXPECT_EQ(BuildResolutionEntry(Custom(3, std::nullopt, 1080)), "resolution=1366x1080x32x60x2");
    // A stored "abc" reads as 0: the entry says so and the caller's range check refuses it.
    EXPECT_EQ(BuildResolutionEntry(Custom(1, 0, 0)), "resolution=0x0x32x60x0");
    EXPECT_EQ(BuildResolutionEntry(Custom(1, -5, INT_MIN)), "resolution=-5x-2147483648x32x60x0");
    EXPECT_FALSE(IsCompleteResolutionEntry(BuildResolutionEntry(Custom(1, -5, 600)))) << "a sign is no digit";
}

TEST(ResolutionChoice, ListSelectionsIgnoreTheCustomNumbers) {
    EXPECT_EQ(BuildResolutionEntry(ResolutionChoice{1, 3, 1920, 1080}), "resolution=1280x1024x32x60x0");
    EXPECT_EQ(BuildResolutionEntry(Custom(2, 1920, 1080)), "resolution=x32x60x1");
    EXPECT_EQ(BuildResolutionEntry(ResolutionChoice{7, 99, std::nullopt, std::nullopt}), "resolution=x32x60x");
    EXPECT_TRUE(IsCompleteResolutionEntry(BuildResolutionEntry(ResolutionChoice{3, -1, std::nullopt, std::nullopt})));
}

}  // namespace
