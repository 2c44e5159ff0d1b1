#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/settings/close_choice.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
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
    for (const SettingKey& key : kEveryKey) EXPECT_NE(settingsFile_.WriteNumber(key, n++), 0) << key.section;
    n = 1;
    for (const SettingKey& key : kEveryKey) EXPECT_EQ(settingsFile_.ReadNumber(key), n++) << key.section;

    // The sections and keys on disk are the documented ones.
    const std::string bytes = testing_support::ReadBytes(FilePath());
    for (const char* expected : {"[GamePath]", "Path=1", "[Editkuan]", "Width=16", "[Editgao]", "Height=17",
                                 "[StartModel]", "StartModel=5", "[CloseOrMin]", "[musicMute]"}) {
        EXPECT_NE(bytes.find(expected), std::string::npos) << expected;
    }
}

TEST_F(SettingsFileTest, AbsentOrNonNumericValuesReadAsZero) {
    EXPECT_EQ(settingsFile_.ReadNumber(kLodLevel), 0);
    EXPECT_EQ(settingsFile_.ReadText(kLodLevel), L"");
    settingsFile_.WriteText(kLodLevel, L"abc");
    EXPECT_EQ(settingsFile_.ReadNumber(kLodLevel), 0);
    settingsFile_.WriteText(kCustomWidth, L"1920a");
    EXPECT_EQ(settingsFile_.ReadText(kCustomWidth), L"1920a") << "stored as typed";
    EXPECT_EQ(settingsFile_.ReadNumber(kCustomWidth), 1920);
    settingsFile_.WriteText(kCustomHeight, L"a1080");
    EXPECT_EQ(settingsFile_.ReadNumber(kCustomHeight), 0);
    settingsFile_.WriteText(kStartModel, L"-2");
    EXPECT_EQ(settingsFile_.ReadNumber(kStartModel), -2);
}

TEST_F(SettingsFileTest, ChineseGameFolderSurvivesTheFile) {
    const std::wstring folder = Wide("D:\\游戏 目录\\Wakfu\\");
    settingsFile_.WriteText(kGamePath, folder);
    EXPECT_EQ(settingsFile_.ReadText(kGamePath), folder);
}

TEST_F(SettingsFileTest, SnapshotLoadsEveryFieldFromTheFile) {
    settingsFile_.WriteNumber(kStartMode, 1);
    settingsFile_.WriteNumber(kStartModel, 2);
    settingsFile_.WriteNumber(kFightLevel, 1);
    settingsFile_.WriteNumber(kResolution, 3);
    settingsFile_.WriteText(kCustomWidth, L"1280");
    settingsFile_.WriteText(kCustomHeight, L"720x");
    const SettingsSnapshot s = LoadSnapshotFromFile(settingsFile_);
    EXPECT_EQ(s.startModeEnabled, 1);
    EXPECT_EQ(s.memoryTier, 2);
    EXPECT_EQ(s.fightLevel, 1);
    EXPECT_EQ(s.lodLevel, 0);
    EXPECT_EQ(s.resolutionSelection, 3);
    EXPECT_EQ(s.customWidth, L"1280");
    EXPECT_EQ(s.customHeight, L"720x");
}

// Each program folder has its own file; without a folder nothing is read or written.
TEST(SettingsFile, ReadsAndWritesOnlyInItsOwnProgramFolder) {
    testing_support::TempDir first, second;
    ASSERT_TRUE(CreateDirectoryW((first / L"user").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((second / L"user").c_str(), nullptr));
    const SettingsFile firstFile(first.path()), secondFile(second.path());
    EXPECT_NE(firstFile.WriteNumber(kLodLevel, 2), 0);
    EXPECT_TRUE(testing_support::Exists(first / L"user\\ResInfo.ini"));
    EXPECT_EQ(firstFile.ReadNumber(kLodLevel), 2);
    EXPECT_EQ(secondFile.ReadText(kLodLevel), L"");
    EXPECT_FALSE(testing_support::Exists(second / L"user\\ResInfo.ini"));

    const SettingsFile none(L"");
    EXPECT_EQ(none.WriteText(kLodLevel, L"1"), 0);
    EXPECT_EQ(none.ReadText(kLodLevel), L"");
    EXPECT_EQ(ReadCloseChoiceText(L""), L"");
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
    EXPECT_EQ(ReadCloseChoiceText(settingsFile_.ProgramFolderPath()), L"");
    EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText(settingsFile_.ProgramFolderPath())), CloseChoice::Ask);
    settingsFile_.WriteText(kCloseOrMin, L"m");
    EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText(settingsFile_.ProgramFolderPath())), CloseChoice::MinimiseToTray);
    settingsFile_.WriteText(kCloseOrMin, L"c");
    EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText(settingsFile_.ProgramFolderPath())), CloseChoice::Close);
    for (const wchar_t* other : {L"C", L"cm", L"x", L"mm"}) {
        settingsFile_.WriteText(kCloseOrMin, other);
        EXPECT_EQ(ParseCloseChoice(ReadCloseChoiceText(settingsFile_.ProgramFolderPath())), CloseChoice::Ask) << other;
    }
}
