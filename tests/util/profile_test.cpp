#include "launcher/util/profile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/util/module_folder.h"
#include "tests/support/test_files.h"

using testing_support::TempDir;
using testing_support::Wide;

TEST(Profile, RoundTripsTextThroughTheWindowsProfileFunctions) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW((dir / L"user").c_str(), nullptr));
    EXPECT_NE(WriteProfileValueIn(dir.path(), L"GamePath", L"Path", Wide("D:\\游戏\\Wakfu"), L"user\\ResInfo.ini"), 0);
    EXPECT_NE(WriteProfileValueIn(dir.path(), L"Editkuan", L"Width", L"1920a", L"user\\ResInfo.ini"), 0);
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"GamePath", L"Path", L"user\\ResInfo.ini"), Wide("D:\\游戏\\Wakfu"));
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"Editkuan", L"Width", L"user\\ResInfo.ini"), L"1920a");
    // Overwriting keeps one value.
    WriteProfileValueIn(dir.path(), L"Editkuan", L"Width", L"800", L"user\\ResInfo.ini");
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"Editkuan", L"Width", L"user\\ResInfo.ini"), L"800");
}

TEST(Profile, MissingFileSectionOrKeyReadsEmpty) {
    TempDir dir;
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"A", L"b", L"absent.ini"), L"");
    WriteProfileValueIn(dir.path(), L"A", L"b", L"1", L"present.ini");
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"Other", L"b", L"present.ini"), L"");
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"A", L"other", L"present.ini"), L"");
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"A", L"b", L"present.ini"), L"1");
}

TEST(Profile, LongValuesAreCutTo779Characters) {
    TempDir dir;
    const std::wstring longValue(1000, L'x');
    WriteProfileValueIn(dir.path(), L"A", L"b", longValue, L"long.ini");
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"A", L"b", L"long.ini"), std::wstring(779, L'x'));
    WriteProfileValueIn(dir.path(), L"A", L"c", std::wstring(779, L'y'), L"long.ini");
    EXPECT_EQ(ReadProfileValueIn(dir.path(), L"A", L"c", L"long.ini"), std::wstring(779, L'y'));
}

TEST(Profile, TheGivenFolderIsUsedNotTheCurrentOne) {
    TempDir program, current;
    const std::wstring relative = L"profile-test.ini";
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(current.path().c_str());
    EXPECT_NE(WriteProfileValueIn(program.path(), L"S", L"k", L"v", relative), 0);
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(testing_support::Exists(program / relative));
    EXPECT_FALSE(testing_support::Exists(current / relative));
    EXPECT_EQ(ReadProfileValueIn(program.path(), L"S", L"k", relative), L"v");
    // No folder (the executable's path was unknown): nothing is read or written.
    EXPECT_EQ(WriteProfileValueIn(L"", L"S", L"k", L"v", relative), 0);
    EXPECT_EQ(ReadProfileValueIn(L"", L"S", L"k", relative), L"");
}

TEST(ModuleFolder, IsTheExecutableFolderWithoutTrailingBackslash) {
    const std::wstring folder = GetModuleFolder();
    EXPECT_EQ(folder, testing_support::ExecutableFolder());
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
}

TEST(RoamingAppData, ReturnsAnExistingFolder) {
    std::wstring folder = L"stale";
    EXPECT_EQ(GetRoamingAppDataFolder(folder), 0);
    EXPECT_FALSE(folder.empty());
    EXPECT_NE(folder, L"stale");
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
