#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/game/game_folder.h"
#include "launcher/game/launch_script.h"
#include "tests/game/game_fixture.h"
#include "tests/game/launch_script_golden.h"

namespace {

using game_test::ScriptFileGolden;
using testing_support::Exists;
using testing_support::Gbk;
using testing_support::ReadBytes;
using testing_support::Wide;
using testing_support::WriteBytes;

class LaunchScript : public game_test::GameFolders {
protected:
    std::wstring ScriptPath() const { return where_.gameFolder + L"\\game\\RunGame.bat"; }
    std::string FolderInScript() const {
        std::wstring slashed = where_.gameFolder;
        std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
        return Gbk(slashed);
    }
};

TEST_F(LaunchScript, FileMatchesTheGoldenScriptOfEachTier) {
    for (const int tier : {0, 1, 2, 5}) {
        SCOPED_TRACE(tier);
        ASSERT_TRUE(WriteLaunchScriptFile(where_, tier));
        EXPECT_EQ(ReadBytes(ScriptPath()), ScriptFileGolden(tier, FolderInScript(), Gbk(where_.userName)));
    }
}

TEST_F(LaunchScript, FolderUsesForwardSlashesWhileTheFileLiesBelowTheRealFolder) {
    const std::string text = BuildLaunchScriptText(5, ScriptFolderText(L"D:\\Games\\Wakfu"), "");
    EXPECT_EQ(ToTextModeBytes(text), ScriptFileGolden(5, "D:/Games/Wakfu", ""));
    EXPECT_EQ(text.rfind("set game_directory=D:/Games/Wakfu\nset user_name=\nStart", 0), 0u);
}

TEST_F(LaunchScript, RunningLauncherUsesItsOwnGameFolderAndUser) {
    Function running(L"C:\\Velmora");
    ProcessFunctionScope scope(running);
    g_function->SetGameFolder(L"D:\\Games\\Wakfu");
    const std::wstring script = BuildLaunchScript(5);
    const std::wstring start = L"set game_directory=D:/Games/Wakfu\nset user_name=" + g_function->GetCurrentUserName();
    EXPECT_EQ(script.rfind(start + L"\nStart \"wakfu\" \"D:/Games/Wakfu/game/", 0), 0u);
}

TEST_F(LaunchScript, DoubleByteCharactersWithABackslashByteStayIntact) {
    // A code page 936 character whose second byte is 0x5C, the backslash.
    wchar_t character[2] = {};
    ASSERT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "\x81\x5C", 2, character, 1), 1);
    const std::wstring folder = std::wstring(L"D:\\") + character[0] + L"\\Wakfu";
    EXPECT_EQ(ScriptFolderText(folder), "D:/\x81\x5C/Wakfu");
}

TEST_F(LaunchScript, CommandCharactersAreEscapedWhereCmdWouldActOnThem) {
    // 0x81 0x7C is one double-byte character whose second byte is '|': copied whole.
    const std::string text = BuildLaunchScriptText(5, "C:/Tom & Jerry/100%^x|<>\x81\x7C", "a&b");
    EXPECT_EQ(text.rfind("set game_directory=C:/Tom ^& Jerry/100%%^^x^|^<^>\x81\x7C\n"
                         "set user_name=a^&b\n"
                         "Start \"wakfu\" \"C:/Tom & Jerry/100%%^x|<>\x81\x7C/game/jre/",
                         0),
              0u);
}

TEST_F(LaunchScript, UnknownTiersGiveAnEmptyScript) {
    for (const int tier : {-1, 3, 4, 6, 100}) {
        EXPECT_TRUE(BuildLaunchScript(where_, tier).empty()) << tier;
    }
    ASSERT_TRUE(WriteLaunchScriptFile(where_, 3));
    EXPECT_EQ(ReadBytes(ScriptPath()), "");
}

TEST_F(LaunchScript, LeftoverScriptIsReplacedNotAppendedTo) {
    ASSERT_TRUE(WriteBytes(ScriptPath(), "set game_directory=old\r\nStart \"wakfu\" \"old\" \r\r\ndel %0 "));
    ASSERT_TRUE(WriteLaunchScriptFile(where_, 1));
    EXPECT_EQ(ReadBytes(ScriptPath()), ScriptFileGolden(1, FolderInScript(), Gbk(where_.userName)));
}

TEST_F(LaunchScript, NothingIsWrittenOrRunWhereNoScriptCanWork) {
    // A folder name that code page 936 cannot hold (Thai) would reach the script as '?'.
    where_.gameFolder = root_ / Wide("เกม");
    ASSERT_TRUE(testing_support::MakeFolders(where_.gameFolder + L"\\game"));
    EXPECT_FALSE(IsScriptFolderRepresentable(where_.gameFolder));
    EXPECT_EQ(WriteLaunchScript(where_, 5), 0);
    EXPECT_FALSE(Exists(ScriptPath()));

    // No game subfolder, no game folder, no folder at all.
    for (const std::wstring& folder : {root_ / L"bare", root_ / L"missing", std::wstring()}) {
        where_.gameFolder = folder;
        if (folder == root_ / L"bare") {
            ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        }
        EXPECT_EQ(WriteLaunchScript(where_, 5), 0);
        EXPECT_FALSE(Exists(folder + L"\\game"));
    }
    EXPECT_FALSE(Exists(root_ / L"missing"));
}

}  // namespace
