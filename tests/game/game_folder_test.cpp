#include "launcher/game/game_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/game/folder_commit.h"
#include "launcher/settings/settings_file.h"
#include "tests/support/exe_user_folder.h"
#include "tests/support/test_files.h"

using testing_support::TempDir;
using testing_support::Wide;

namespace {

// Makes <root>\Game\jre\win32\x86\bin\javaw.exe, as a file or as a folder.
void InstallRuntime(const std::wstring& root, bool asFolder = false) {
    const std::wstring bin = root + L"\\Game\\jre\\win32\\x86\\bin";
    ASSERT_TRUE(testing_support::MakeFolders(bin));
    if (asFolder) {
        ASSERT_TRUE(CreateDirectoryW((bin + L"\\javaw.exe").c_str(), nullptr));
    } else {
        ASSERT_TRUE(testing_support::WriteBytes(bin + L"\\javaw.exe", "MZ"));
    }
}

using GameFolderCommitTest = testing_support::ExeUserFolderTest;

}  // namespace

TEST(Function, KnowsTheLauncherFolderFromConstruction) {
    Function function(L"C:\\Velmora");
    EXPECT_EQ(function.GetLauncherFolder(), L"C:\\Velmora");
    EXPECT_TRUE(function.GetGameFolder().empty());
    EXPECT_EQ(g_function, nullptr) << "no instance is made during static initialisation";
    {
        ProcessFunctionScope scope(function);
        ASSERT_EQ(g_function, &function);
        EXPECT_EQ(g_function->GetLauncherFolder(), L"C:\\Velmora");
    }
    EXPECT_EQ(g_function, nullptr);
}

TEST(Function, StoresTheGameFolderExactlyAsGiven) {
    Function function(testing_support::ExecutableFolder());
    function.SetGameFolder(L"D:\\Games\\Wakfu\\");
    EXPECT_EQ(function.GetGameFolder(), L"D:\\Games\\Wakfu\\");
    function.SetGameFolder(L"  spaced  ");
    EXPECT_EQ(function.GetGameFolder(), L"  spaced  ");
    function.SetGameFolder(L"");
    EXPECT_EQ(function.GetGameFolder(), L"");
}

TEST(Function, ValidExactlyWhenTheJavaRuntimeExists) {
    TempDir dir(L"游戏");
    Function function(testing_support::ExecutableFolder());
    function.SetGameFolder(dir.path());
    EXPECT_FALSE(function.IsGameFolderValid());
    InstallRuntime(dir.path());
    EXPECT_TRUE(function.IsGameFolderValid()) << "nothing else of the game is needed";
    function.SetGameFolder(dir.path() + L"\\");
    EXPECT_TRUE(function.IsGameFolderValid()) << "a trailing backslash doubles it, which Windows accepts";
    // Validity is tested anew each time.
    ASSERT_TRUE(DeleteFileW((dir.path() + L"\\Game\\jre\\win32\\x86\\bin\\javaw.exe").c_str()));
    EXPECT_FALSE(function.IsGameFolderValid());
}

TEST(Function, AFolderNamedLikeTheRuntimeCountsToo) {
    TempDir dir;
    InstallRuntime(dir.path(), true);
    Function function(testing_support::ExecutableFolder());
    function.SetGameFolder(dir.path());
    EXPECT_TRUE(function.IsGameFolderValid());
}

TEST(Function, EmptyFolderTestsTheRootRelativePath) {
    TempDir dir;
    Function function(testing_support::ExecutableFolder());
    // On the current drive, \Game\jre\... does not exist in the test prefix.
    EXPECT_FALSE(function.IsGameFolderValid());
}

TEST(LocalAppData, XpUsesTheFixedAdministratorFolder) {
    EXPECT_EQ(ChooseLocalAppDataFolder(L"C:\\Documents and Settings\\x\\Local Settings\\Application Data", 5, 1),
              L"C:\\Users\\Administrator\\AppData\\Local");
    EXPECT_EQ(ChooseLocalAppDataFolder(L"", 5, 1), L"C:\\Users\\Administrator\\AppData\\Local");
    for (auto [major, minor] : {std::pair{5u, 0u}, {5u, 2u}, {6u, 1u}, {10u, 0u}}) {
        EXPECT_EQ(ChooseLocalAppDataFolder(L"C:\\shell", major, minor), L"C:\\shell") << major << "." << minor;
        EXPECT_EQ(ChooseLocalAppDataFolder(L"", major, minor), L"") << "an unresolved folder stays empty";
    }
}

TEST(LocalAppData, AsksTheShellOnThisSystem) {
    Function function(testing_support::ExecutableFolder());
    const std::wstring folder = function.GetLocalAppDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(CurrentUser, IsTheLogonName) {
    wchar_t expected[256] = {};
    DWORD size = 256;
    ASSERT_TRUE(GetUserNameW(expected, &size));
    EXPECT_EQ(Function(L"").GetCurrentUserName(), expected);
    EXPECT_FALSE(Function(L"").GetCurrentUserName().empty());
}

TEST_F(GameFolderCommitTest, AcceptedCandidateIsStoredWithItsTrailingBackslash) {
    TempDir dir(L"沃土");
    InstallRuntime(dir.path());
    Function function(testing_support::ExecutableFolder());
    const std::wstring candidate = dir.path() + L"\\";
    EXPECT_TRUE(CommitGameFolderCandidate(function, candidate));
    EXPECT_EQ(function.GetGameFolder(), candidate);
    EXPECT_EQ(settingsFile_.ReadText(settings::kGamePath), candidate);
}

TEST_F(GameFolderCommitTest, RejectedCandidateRestoresThePreviousFolderAndWritesNothing) {
    TempDir good;
    InstallRuntime(good.path());
    TempDir bad;
    Function function(testing_support::ExecutableFolder());

    // Previous folder empty.
    EXPECT_FALSE(CommitGameFolderCandidate(function, bad.path()));
    EXPECT_EQ(function.GetGameFolder(), L"");
    EXPECT_EQ(settingsFile_.ReadText(settings::kGamePath), L"");

    // Previous folder valid and stored.
    ASSERT_TRUE(CommitGameFolderCandidate(function, good.path()));
    EXPECT_FALSE(CommitGameFolderCandidate(function, bad.path()));
    EXPECT_EQ(function.GetGameFolder(), good.path());
    EXPECT_EQ(settingsFile_.ReadText(settings::kGamePath), good.path());
    EXPECT_EQ(kRejectedFolderText, Wide(" 错误,请选择正确的游戏根目录路径"));
}
