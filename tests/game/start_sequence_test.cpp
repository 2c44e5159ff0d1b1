#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "launcher/game/start_sequence.h"
#include "launcher/settings/settings_snapshot.h"
#include "tests/game/game_fixture.h"
#include "tests/game/launch_script_golden.h"

namespace {

using testing_support::Exists;
using testing_support::ReadBytes;
using testing_support::Wide;
using testing_support::WriteBytes;

class StartSequence : public game_test::GameFolders {
protected:
    // Most cases stop before the script: without a game subfolder nothing is run.
    void WithoutGameSubfolder() { ASSERT_TRUE(RemoveDirectoryW((where_.gameFolder + L"\\game").c_str())); }
};

// No preferences file yet: the resolution entry creates it, then each writer edits an
// entry an earlier one appended or appends its own, in the fixed order.
TEST_F(StartSequence, BuildsTheUserPreferencesFromNothingInOrder) {
    WithoutGameSubfolder();
    settings::SettingsSnapshot s;
    s.noSound = 1;
    s.ambianceSoundsMute = 1;
    s.alphaMask = 1;
    s.shaders = 1;
    s.fightLevel = 1;
    s.lodLevel = 2;
    const StartSequenceResult result = RunStartSequence(where_, s, "resolution=1024x768x32x60x0");
    EXPECT_EQ(result.memoryTier, 5);
    EXPECT_FALSE(result.scriptStarted);
    EXPECT_EQ(Prefs(),
              "resolution=1024x768x32x60x0\r\n"
              "musicMute=false\r\n"
              "ambianceSoundsMute=true\r\n"
              "uiSoundsMute=false\r\n"
              "alphaMaskActivated=true\r\n"
              "ambianceSoundsMute=true\r\n"
              "meteoEffectActivated=false\r\n"
              "shadersActivated=true\r\n"
              "FightLODLevel=1\r\n"
              "LODLevel=2\r\n");
}

TEST_F(StartSequence, SingleMutesDecideAfterNoSoundAndLodFollowsFightLod) {
    WithoutGameSubfolder();
    SetPrefs("resolution=800x600x32x60x0\r\n#musicMute=false\r\nmusicMute=false\r\nFightLODLevel=3\r\nLODLevel=3");
    settings::SettingsSnapshot s;
    s.noSound = 1;
    s.musicMute = 0;
    s.ambianceSoundsMute = 1;
    s.uiSoundsMute = 1;
    s.fightLevel = 7;  // outside 0-2: nothing written, so LODLevel's edit hits FightLODLevel=3
    s.lodLevel = 0;
    RunStartSequence(where_, s, "resolution=1600x900x32x60x2");
    EXPECT_EQ(Prefs(),
              "resolution=1600x900x32x60x2\r\n"
              "#musicMute=false\r\n"
              "musicMute=false\r\n"
              "FightLODLevel=0\r\n"
              "LODLevel=0\r\n"
              "ambianceSoundsMute=true\r\n"
              "uiSoundsMute=true\r\n"
              "alphaMaskActivated=false\r\n"
              "ambianceSoundsMute=true\r\n"
              "meteoEffectActivated=false\r\n"
              "shadersActivated=false\r\n"
              "uiSoundsMute=true\r\n");
}

TEST_F(StartSequence, BadGameFoldersStillReturnAndWriteNothingThere) {
    settings::SettingsSnapshot s;
    s.sightview = 1;
    for (const std::wstring& folder : {root_ / L"missing", root_ / Wide("เกม"), std::wstring()}) {
        SCOPED_TRACE(testing::PrintToString(folder.size()));
        where_.gameFolder = folder;
        const StartSequenceResult result = RunStartSequence(where_, s, "resolution=800x600x32x60x0");
        EXPECT_FALSE(result.scriptStarted);
        EXPECT_FALSE(Exists(where_.localAppDataFolder + L"\\config.properties"));
    }
    EXPECT_FALSE(Exists(root_ / L"missing"));
    // The user preferences live elsewhere and are still written.
    EXPECT_EQ(Prefs().rfind("resolution=800x600x32x60x0\r\n", 0), 0u);
}

TEST_F(StartSequence, IncompleteResolutionLeavesTheGamesOwnEntry) {
    WithoutGameSubfolder();
    SetPrefs("resolution=1600x900x32x60x0\r\nmusicMute=true\r\n");
    settings::SettingsSnapshot s;
    RunStartSequence(where_, s, "resolution=x32x60x");  // nothing chosen, nothing saved
    const std::string prefs = Prefs();
    EXPECT_EQ(prefs.rfind("resolution=1600x900x32x60x0\r\nmusicMute=false\r\n", 0), 0u) << prefs;
    EXPECT_EQ(prefs.find("x32x60x\r\n"), std::string::npos) << prefs;
}

TEST_F(StartSequence, ReadOnlyPreferencesAreLeftAsTheyWere) {
    WithoutGameSubfolder();
    const std::string original = "musicMute=false\nresolution=800x600x32x60x0\n";
    SetPrefs(original);
    ASSERT_TRUE(SetFileAttributesW(prefsFile_.c_str(), FILE_ATTRIBUTE_READONLY));
    settings::SettingsSnapshot s;
    s.noSound = 1;
    RunStartSequence(where_, s, "resolution=1024x768x32x60x0");
    SetFileAttributesW(prefsFile_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Prefs(), original);
    EXPECT_FALSE(Exists(prefsFile_ + L".tmp"));
}

// ---- The whole start through the real command interpreter and a stand-in game ----

std::string WaitForFile(const std::wstring& path, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (Exists(path)) return ReadBytes(path);
        Sleep(100);
    }
    return {};
}

bool WaitUntilGone(const std::wstring& path, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (Exists(path)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);
    }
    return true;
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> out;
    if (!args) return out;
    for (int i = 0; i < count; ++i) out.emplace_back(args[i]);
    LocalFree(args);
    return out;
}

std::wstring Normalised(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

class GameStart : public StartSequence {
protected:
    void UseGameFolder(const std::wstring& folder) {
        where_.gameFolder = folder;
        configFile_ = folder + L"\\game\\config.properties";
        ASSERT_TRUE(testing_support::MakeFolders(folder + L"\\game"));
    }
    void StartAndCheckTheRecord();
};

void GameStart::StartAndCheckTheRecord() {
    const std::wstring bin = where_.gameFolder + L"\\Game\\jre\\win32\\x86\\bin";
    ASSERT_TRUE(testing_support::MakeFolders(bin));
    ASSERT_TRUE(CopyFileW((testing_support::ExecutableFolder() + L"\\stub_javaw.exe").c_str(),
                          (bin + L"\\javaw.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(configFile_, "cameraMinZoom=1.0\r\n"));
    // A script left over from an earlier start must not stop this one.
    const std::wstring script = where_.gameFolder + L"\\game\\RunGame.bat";
    ASSERT_TRUE(WriteBytes(script, "set game_directory=old\r\ndel %0 "));

    settings::SettingsSnapshot s;
    s.startModeEnabled = 1;
    s.memoryTier = 1;
    s.sightview = 1;
    const StartSequenceResult result = RunStartSequence(where_, s, "resolution=1366x768x32x60x0");
    EXPECT_EQ(result.memoryTier, 1);
    ASSERT_TRUE(result.scriptStarted);

    const std::string record = WaitForFile(bin + L"\\javaw-record.txt", 60000);
    ASSERT_FALSE(record.empty()) << "the stand-in game never ran";
    const size_t lineEnd = record.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    const std::wstring commandLine = Wide(record.substr(0, lineEnd));
    const std::wstring workingFolder = Wide(record.substr(lineEnd + 1, record.find('\n', lineEnd + 1) - lineEnd - 1));

    std::wstring folder = where_.gameFolder;
    std::replace(folder.begin(), folder.end(), L'\\', L'/');
    const std::wstring profile = L"C:/Users/" + where_.userName + L"/AppData/Local/Ankama/WakfuChina/";
    const std::vector<std::wstring> expected = {
        L"-XX:+IgnoreUnrecognizedVMOptions", L"-Xmx768M", L"-Xms768M", L"-XX:MaxDirectMemorySize=112m",
        L"-XX:PermSize=128m", L"-XX:MaxPermSize=192m", L"-XX:+UseConcMarkSweepGC", L"-XX:+CMSIncrementalMode",
        L"-XX:MaxGCPauseMillis=30", L"-XX:MaxTenuringThreshold=0", L"-XX:+UseTLAB", L"-XX:+DoEscapeAnalysis",
        L"-Dsun.awt.noerasebackground=true", L"-Dsun.java2d.noddraw=true", L"-Djava.net.preferIPv4Stack=true",
        L"-d32", L"-cp", Wide(game_test::kClassPathGolden), L"-Djava.library.path=natives/win32/x86",
        L"com.ankamagames.wakfu.client.WakfuClient", L"-L", L"zh", L"-C", L"CN", L"-n", profile + L"carousel",
        L"-p", profile + L"game", L"--install-folder", folder + L"/game"};
    const std::vector<std::wstring> args = SplitCommandLine(commandLine);
    ASSERT_EQ(args.size(), expected.size() + 1) << testing::PrintToString(Normalised(commandLine));
    EXPECT_EQ(Normalised(args[0]), Normalised(bin + L"\\javaw.exe"));
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(args[i + 1], expected[i]) << "argument " << i + 1;
    EXPECT_EQ(Normalised(workingFolder), Normalised(where_.gameFolder + L"\\game"));

    EXPECT_TRUE(WaitUntilGone(script, 30000)) << "the script did not delete itself";
    EXPECT_EQ(ReadBytes(configFile_), "cameraMinZoom=0.7\r\n");
    EXPECT_EQ(Prefs().rfind("resolution=1366x768x32x60x0\r\n", 0), 0u);
}

TEST_F(GameStart, StartsTheGameThroughTheCommandInterpreter) { StartAndCheckTheRecord(); }

// Folder names may hold characters that cmd acts on; the game must still get the folder.
// (A % is left to the script text test: Wine's cmd scans an expanded variable again and
// drops a lone %, which Windows does not.)
TEST_F(GameStart, FolderWithCommandCharactersReachesTheGameIntact) {
    UseGameFolder(root_ / Wide("游戏 & ^ Wakfu"));
    StartAndCheckTheRecord();
}

}  // namespace
