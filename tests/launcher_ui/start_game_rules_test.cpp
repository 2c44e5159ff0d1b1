#include "launcher/ui/start_game_rules.h"

#include <gtest/gtest.h>

#include "launcher/settings/settings_snapshot.h"
#include "launcher/ui/memory_tier_choice.h"
#include "launcher/ui/updater_start.h"
#include "tests/support/test_files.h"

using settings::SettingsSnapshot;

namespace {
SettingsSnapshot Custom(const wchar_t* width, const wchar_t* height, int style = 1) {
    SettingsSnapshot s;
    s.resolutionSelection = 5;
    s.windowStyle = style;
    s.customWidth = width;
    s.customHeight = height;
    return s;
}
}  // namespace

TEST(CustomSize, LimitsAreInclusive) {
    EXPECT_TRUE(CustomSizeAcceptable(Custom(L"800", L"600")));
    EXPECT_TRUE(CustomSizeAcceptable(Custom(L"2560", L"1600")));
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"799", L"600")));
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"800", L"599")));
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"2561", L"1600")));
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"2560", L"1601")));
    EXPECT_TRUE(CustomSizeAcceptable(Custom(L"1920a", L"1080"))) << "read as atoi reads it";
}

TEST(CustomSize, AnEmptyTextStandsFor1366x768) {
    EXPECT_TRUE(CustomSizeAcceptable(Custom(L"", L"")));
    EXPECT_TRUE(CustomSizeAcceptable(Custom(L"", L"1600")));
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"", L"1601"))) << "the given half is still checked";
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"799", L"")));
    EXPECT_FALSE(CustomSizeAcceptable(Custom(L"x", L"768"))) << "a text that reads as 0 is not empty";
}

TEST(FullScreenSize, ASavedCustomSelectionUsesTheListDefault) {
    SettingsSnapshot full = Custom(L"1920", L"1080", 2);
    UseListSizeInFullScreen(full);
    EXPECT_EQ(full.resolutionSelection, -1);
    SettingsSnapshot windowed = Custom(L"1920", L"1080", 1);
    UseListSizeInFullScreen(windowed);
    EXPECT_EQ(windowed.resolutionSelection, 5);
    SettingsSnapshot listed = Custom(L"", L"", 2);
    listed.resolutionSelection = 3;
    UseListSizeInFullScreen(listed);
    EXPECT_EQ(listed.resolutionSelection, 3);
}

TEST(CustomSize, OnlyCountsWhenTheCustomSizeIsInUse) {
    EXPECT_TRUE(CustomSizeAcceptable(Custom(L"1", L"1", 2))) << "window style 2 ignores the custom size";
    SettingsSnapshot listed = Custom(L"1", L"1");
    listed.resolutionSelection = 3;
    EXPECT_TRUE(CustomSizeAcceptable(listed));
}

TEST(CustomSize, EmptyTextsBecomeTheDefaultSize) {
    SettingsSnapshot s = Custom(L"", L"");
    FillEmptyCustomSize(s);
    EXPECT_EQ(s.customWidth, L"1366");
    EXPECT_EQ(s.customHeight, L"768");
    SettingsSnapshot kept = Custom(L"1024", L"", 2);
    FillEmptyCustomSize(kept);
    EXPECT_EQ(kept.customHeight, L"") << "not in use with window style 2";
}

TEST(MemoryTierChoice, FollowsTheSizesTheTierTextsName) {
    constexpr unsigned long long GiB = 1ull << 30;
    EXPECT_EQ(MemoryTierForPhysicalMemory(4 * GiB), 0);
    EXPECT_EQ(MemoryTierForPhysicalMemory(8 * GiB), 0) << "8G or less";
    EXPECT_EQ(MemoryTierForPhysicalMemory(8 * GiB - 300 * (1ull << 20)), 0) << "an 8G machine reports a bit less";
    EXPECT_EQ(MemoryTierForPhysicalMemory(12 * GiB), 1);
    EXPECT_EQ(MemoryTierForPhysicalMemory(16 * GiB - 400 * (1ull << 20)), 2) << "a 16G machine";
    EXPECT_EQ(MemoryTierForPhysicalMemory(64 * GiB), 2);
    EXPECT_EQ(MemoryTierForPhysicalMemory(0), 0);
    const int here = MemoryTierForThisMachine();
    EXPECT_TRUE(here >= 0 && here <= 2);
}

TEST(StartFailureText, SaysWhyInChineseAndNamesTheScript) {
    const std::wstring notWritten = StartFailureText(StartFailure::ScriptNotWritten);
    const std::wstring notStarted = StartFailureText(StartFailure::ScriptNotStarted);
    EXPECT_NE(notWritten.find(L"游戏未能启动"), std::wstring::npos);
    EXPECT_NE(notWritten.find(L"RunGame.bat"), std::wstring::npos);
    EXPECT_NE(notWritten, notStarted);
    EXPECT_EQ(std::wstring(StartFailureText(StartFailure::None)), L"");
}

TEST(UpdaterStart, ResolvesBesideTheLauncherAndReportsAMissingProgram) {
    EXPECT_EQ(UpdaterPath(L"C:\\Games\\Velmora"), L"C:\\Games\\Velmora\\Updater.exe");
    testing_support::TempDir empty;
    EXPECT_FALSE(StartUpdater(empty.path()));
}
