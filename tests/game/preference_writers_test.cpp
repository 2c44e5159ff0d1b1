#include <gtest/gtest.h>

#include "launcher/game/preference_writers.h"
#include "tests/game/game_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

class PreferenceWriters : public game_test::GameFolders {
protected:
    std::wstring WorkCopy() const { return where_.localAppDataFolder + L"\\config.properties"; }
};

TEST_F(PreferenceWriters, FlagWritersSwapTheExpectedOldEntryOrAppend) {
    SetPrefs("shadersActivated=true\nalphaMaskActivated=false\n");
    EXPECT_FALSE(WriteShaders(where_, true));  // "=false" absent: appended although already true
    EXPECT_TRUE(WriteAlphaMask(where_, true));
    EXPECT_TRUE(WriteShaders(where_, false));  // every "=true" line turns false
    EXPECT_FALSE(WriteMeteoEffect(where_, false));
    EXPECT_EQ(Prefs(),
              "shadersActivated=false\r\nalphaMaskActivated=true\r\nshadersActivated=false\r\n"
              "meteoEffectActivated=false\r\n");
}

TEST_F(PreferenceWriters, LevelWritersSearchForTheShippedValueThree) {
    SetPrefs("LODLevel=3\n");
    EXPECT_TRUE(WriteLodLevel(where_, 1));
    EXPECT_FALSE(WriteLodLevel(where_, 2));  // the 3 is gone: a second entry follows
    EXPECT_FALSE(WriteFightLodLevel(where_, 0));
    EXPECT_EQ(Prefs(), "LODLevel=1\r\nLODLevel=2\r\nFightLODLevel=0\r\n");
}

TEST_F(PreferenceWriters, LevelsOutsideZeroToTwoLeaveTheFileUntouched) {
    const std::string original = "FightLODLevel=3\nLODLevel=3";  // not even line ends change
    SetPrefs(original);
    for (const int level : {3, 4, -1, 1000}) {
        EXPECT_FALSE(WriteLodLevel(where_, level));
        EXPECT_FALSE(WriteFightLodLevel(where_, level));
    }
    EXPECT_EQ(Prefs(), original);
}

TEST_F(PreferenceWriters, CameraMinZoomEditsTheGameConfigThroughACopy) {
    ASSERT_TRUE(WriteBytes(configFile_, "language=zh\r\ncameraMinZoom=1.0\r\n"));
    EXPECT_TRUE(WriteCameraMinZoom(where_, true));
    EXPECT_EQ(ReadBytes(configFile_), "language=zh\r\ncameraMinZoom=0.7\r\n");
    EXPECT_FALSE(Exists(WorkCopy()));
    EXPECT_FALSE(Exists(WorkCopy() + L".tmp"));

    EXPECT_FALSE(WriteCameraMinZoom(where_, true));  // already 0.7: nothing to swap
    EXPECT_TRUE(WriteCameraMinZoom(where_, false));
    EXPECT_EQ(ReadBytes(configFile_), "language=zh\r\ncameraMinZoom=1.0\r\n");
}

TEST_F(PreferenceWriters, CameraMinZoomNeverAddsAnEntry) {
    const std::string original = "language=zh\r\n# cameraMinZoom is not set\r\n";
    ASSERT_TRUE(WriteBytes(configFile_, original));
    EXPECT_FALSE(WriteCameraMinZoom(where_, true));
    EXPECT_EQ(ReadBytes(configFile_), original);
    EXPECT_FALSE(Exists(WorkCopy()));
}

TEST_F(PreferenceWriters, CameraMinZoomNeverCopiesALeftoverIntoTheGame) {
    // A copy left by an interrupted start, and a game folder without its own file.
    ASSERT_TRUE(WriteBytes(WorkCopy(), "stale=1\r\ncameraMinZoom=1.0\r\n"));
    EXPECT_FALSE(WriteCameraMinZoom(where_, true));
    EXPECT_FALSE(Exists(configFile_));
    EXPECT_FALSE(Exists(WorkCopy()));
}

}  // namespace
