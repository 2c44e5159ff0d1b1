#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/settings/close_choice.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/util/module_folder.h"
#include "tests/support/exe_user_folder.h"
#include "tests/support/test_files.h"

using namespace settings;
using testing_support::Wide;

namespace {

class SettingsFileTest : public testing_support::ExeUserFolderTest {
protected:
    std::wstring FilePath() const { return userFolder_ + L"\\ResInfo.ini"; }
};

const SettingKey kEveryKey[] = {kGamePath,          kStartMode,     kSightview,   kNoSound,     kStartModel,
                                kLodLevel,          kFightLevel,    kMusicMute,   kAmbianceSoundsMute,
                                kUiSoundsMute,      kMeteoEffect,   kShaders,     kAlphaMask,   kResolution,
                                kWindowsStyle,      kCustomWidth,   kCustomHeight, kCloseOrMin};

}  // namespace

TEST_F(SettingsFileTest, EverySettingRoundTripsThroughTheFileOnDisk) {
    int n = 1;
    for (const SettingKey& key : kEveryKey) EXPECT_NE(WriteNumber(key, n++), 0) << key.section;
    n = 1;
    for (const SettingKey& key : kEveryKey) EXPECT_EQ(ReadNumber(key), n++) << key.section;

    // The sections and keys on disk are the documented ones.
    const std::string bytes = testing_support::ReadBytes(FilePath());
    for (const char* expected : {"[GamePath]", "Path=1", "[Editkuan]", "Width=16", "[Editgao]", "Height=17",
                                 "[StartModel]", "StartModel=5", "[CloseOrMin]", "[musicMute]"}) {
        EXPECT_NE(bytes.find(expected), std::string::npos) << expected;
    }
}

TEST_F(SettingsFileTest, AbsentOrNonNumericValuesReadAsZero) {
    EXPECT_EQ(ReadNumber(kLodLevel), 0);
    EXPECT_EQ(ReadText(kLodLevel), L"");
    WriteText(kLodLevel, L"abc");
    EXPECT_EQ(ReadNumber(kLodLevel), 0);
    WriteText(kCustomWidth, L"1920a");
    EXPECT_EQ(ReadText(kCustomWidth), L"1920a") << "stored as typed";
    EXPECT_EQ(ReadNumber(kCustomWidth), 1920);
    WriteText(kCustomHeight, L"a1080");
    EXPECT_EQ(ReadNumber(kCustomHeight), 0);
    WriteText(kStartModel, L"-2");
    EXPECT_EQ(ReadNumber(kStartModel), -2);
}

TEST_F(SettingsFileTest, ChineseGameFolderSurvivesTheFile) {
    const std::wstring folder = Wide("D:\\游戏 目录\\Wakfu\\");
    WriteText(kGamePath, folder);
    EXPECT_EQ(ReadText(kGamePath), folder);
}

TEST_F(SettingsFileTest, SnapshotLoadsEveryFieldFromTheFile) {
    WriteNumber(kStartMode, 1);
    WriteNumber(kStartModel, 2);
    WriteNumber(kFightLevel, 1);
    WriteNumber(kResolution, 3);
    WriteText(kCustomWidth, L"1280");
    WriteText(kCustomHeight, L"720x");
    const SettingsSnapshot s = LoadSnapshotFromFile();
    EXPECT_EQ(s.startModeEnabled, 1);
    EXPECT_EQ(s.memoryTier, 2);
    EXPECT_EQ(s.fightLevel, 1);
    EXPECT_EQ(s.lodLevel, 0);
    EXPECT_EQ(s.resolutionSelection, 3);
    EXPECT_EQ(s.customWidth, L"1280");
    EXPECT_EQ(s.customHeight, L"720x");
}

TEST(SettingsSnapshot, StartsZeroed) {
    const SettingsSnapshot fresh;
    EXPECT_EQ(fresh.startModeEnabled + fresh.sightview + fresh.noSound + fresh.memoryTier + fresh.lodLevel +
                  fresh.fightLevel + fresh.musicMute + fresh.ambianceSoundsMute + fresh.uiSoundsMute +
                  fresh.meteoEffect + fresh.shaders + fresh.alphaMask + fresh.resolutionSelection + fresh.windowStyle,
              0);
    EXPECT_TRUE(fresh.customWidth.empty());
    EXPECT_TRUE(fresh.customHeight.empty());
}

TEST_F(SettingsFileTest, CloseChoiceReadsTheSameFile) {
    EXPECT_EQ(ReadCloseChoiceText(), L"");
    EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText()), CloseChoice::Ask);
    WriteText(kCloseOrMin, L"m");
    EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText()), CloseChoice::MinimiseToTray);
    WriteText(kCloseOrMin, L"c");
    EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText()), CloseChoice::Close);
    for (const wchar_t* other : {L"C", L"cm", L"x", L"mm"}) {
        WriteText(kCloseOrMin, other);
        EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText()), CloseChoice::Ask) << other;
    }
}
