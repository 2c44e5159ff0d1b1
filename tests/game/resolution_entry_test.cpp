#include <gtest/gtest.h>

#include "launcher/game/resolution_entry.h"
#include "launcher/settings/settings_snapshot.h"

namespace {

settings::SettingsSnapshot Snapshot(int selection, int style, const wchar_t* width = L"", const wchar_t* height = L"") {
    settings::SettingsSnapshot s;
    s.resolutionSelection = selection;
    s.windowStyle = style;
    s.customWidth = width;
    s.customHeight = height;
    return s;
}

TEST(ResolutionEntry, ListSizesAndModeDigits) {
    EXPECT_EQ(BuildResolutionEntry(Snapshot(-1, 1)), "resolution=1366x768x32x60x0");
    EXPECT_EQ(BuildResolutionEntry(Snapshot(1, 2)), "resolution=1024x768x32x60x1");
    EXPECT_EQ(BuildResolutionEntry(Snapshot(2, 3)), "resolution=800x600x32x60x2");
    EXPECT_EQ(BuildResolutionEntry(Snapshot(3, 0)), "resolution=1280x1024x32x60x");
    EXPECT_EQ(BuildResolutionEntry(Snapshot(4, 4)), "resolution=1600x900x32x60x");
    EXPECT_EQ(BuildResolutionEntry(Snapshot(0, 1)), "resolution=x32x60x0");
}

TEST(ResolutionEntry, CustomSizeUnlessFullScreen) {
    EXPECT_EQ(BuildResolutionEntry(Snapshot(5, 1, L"1920", L"1080")), "resolution=1920x1080x32x60x0");
    EXPECT_EQ(BuildResolutionEntry(Snapshot(5, 3, L"", L"")), "resolution=1366x768x32x60x2");
    // Style 2 ignores the custom size; selection 5 has no list size of its own.
    EXPECT_EQ(BuildResolutionEntry(Snapshot(5, 2, L"1920", L"1080")), "resolution=x32x60x1");
}

TEST(ResolutionEntry, OnlyFiveNumbersMakeAnEntryTheGameCanRead) {
    EXPECT_TRUE(IsCompleteResolutionEntry("resolution=1280x1024x32x60x0"));
    EXPECT_TRUE(IsCompleteResolutionEntry(BuildResolutionEntry(Snapshot(5, 3, L"", L""))));
    for (const char* broken : {"resolution=x32x60x0", "resolution=1280x1024x32x60x", "resolution=x32x60x",
                               "resolution=1280x1024x32x60x0x1", "resolution=12a0x1024x32x60x0", "1280x1024x32x60x0",
                               "resolution="}) {
        EXPECT_FALSE(IsCompleteResolutionEntry(broken)) << broken;
    }
}

}  // namespace
