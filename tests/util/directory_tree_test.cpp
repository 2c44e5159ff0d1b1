#include "launcher/util/directory_tree.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_files.h"
#include "tests/util/folder_checks.h"

using testing_support::TempDir;
using testing_support::Wide;

using testing_support::IsFolder;

TEST(CreateDirectoryTree, CreatesEveryMissingParentBelowTheDrive) {
    TempDir dir;
    const std::wstring deep = dir / Wide("Tarnel\\Velmora 启动器\\CrashRpt");
    EXPECT_EQ(CreateDirectoryTree(deep), 1);
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_EQ(CreateDirectoryTree(deep), 1) << "an existing folder is a success";
}

TEST(CreateDirectoryTree, TrailingBackslashEndsOnTheWholePath) {
    TempDir dir;
    EXPECT_EQ(CreateDirectoryTree(dir / L"a\\b\\"), 1);
    EXPECT_TRUE(IsFolder(dir / L"a\\b"));
}

TEST(CreateDirectoryTree, OnlyTheLastFolderIsNewWhenParentsExist) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW((dir / L"p").c_str(), nullptr));
    EXPECT_EQ(CreateDirectoryTree(dir / L"p\\q"), 1);
    EXPECT_TRUE(IsFolder(dir / L"p\\q"));
}

TEST(CreateDirectoryTree, FailsWhenAFileBlocksThePath) {
    TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir / L"file", "x"));
    EXPECT_EQ(CreateDirectoryTree(dir / L"file\\child"), 0);
    EXPECT_EQ(CreateDirectoryTree(dir / L"file"), 0) << "a file of that name is not a folder";
}

TEST(CreateDirectoryTree, WithoutColonCreatesOneStepOnly) {
    TempDir dir;
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
    EXPECT_EQ(CreateDirectoryTree(L"missing\\child"), 0) << "parents are not made without a drive colon";
    EXPECT_FALSE(testing_support::Exists(dir / L"missing"));
    EXPECT_EQ(CreateDirectoryTree(L"single"), 1);
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(IsFolder(dir / L"single"));
}
