#include "common/fs/folder_tree.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_files.h"
#include "tests/util/folder_checks.h"

using testing_support::TempDir;
using testing_support::Wide;
using testing_support::WriteBytes;

using testing_support::IsFolder;

TEST(MakeFolderTree, CreatesNestedFoldersAndAcceptsExistingOnes) {
    TempDir dir;
    const std::wstring deep = dir / Wide("皮肤\\子目录\\三");
    EXPECT_TRUE(files::MakeFolderTree(deep));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_TRUE(files::MakeFolderTree(deep)) << "an existing tree is a success";
    EXPECT_TRUE(files::MakeFolderTree(dir.path()));
    EXPECT_TRUE(files::MakeFolderTree(dir / L"with\\trailing\\"));
    EXPECT_TRUE(IsFolder(dir / L"with\\trailing"));
}

TEST(MakeFolderTree, AFileInTheWayOrAnEmptyPathFails) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir / L"file", "x"));
    EXPECT_FALSE(files::MakeFolderTree(dir / L"file"));
    EXPECT_FALSE(files::MakeFolderTree(dir / L"file\\sub\\deeper"));
    EXPECT_FALSE(IsFolder(dir / L"file\\sub"));
    EXPECT_FALSE(files::MakeFolderTree(L""));
    EXPECT_FALSE(files::MakeFolder(dir / L"file"));
}

TEST(MakeFolder, MakesOneLevelOnly) {
    TempDir dir;
    EXPECT_TRUE(files::MakeFolder(dir / L"one"));
    EXPECT_TRUE(files::MakeFolder(dir / L"one"));
    EXPECT_FALSE(files::MakeFolder(dir / L"missing\\two"));
    EXPECT_FALSE(IsFolder(dir / L"missing"));
}

TEST(MakeFolderChain, StartsAtTheGivenBoundary) {
    TempDir dir;
    // With the search starting past "<dir>\a", "<dir>\a" is never attempted, so its
    // absence makes the first step fail.
    const std::wstring path = dir / L"a\\b";
    EXPECT_FALSE(files::MakeFolderChain(path, dir.path().size() + 3));
    EXPECT_FALSE(IsFolder(dir / L"a"));
    EXPECT_TRUE(files::MakeFolderChain(path, dir.path().size() + 1));
    EXPECT_TRUE(IsFolder(path));
}

TEST(FolderRootLength, KnowsDrivesUncSharesAndLongPathForms) {
    EXPECT_EQ(files::FolderRootLength(L"C:\\a\\b"), 3u);
    EXPECT_EQ(files::FolderRootLength(L"C:"), 2u);
    EXPECT_EQ(files::FolderRootLength(L"c:a"), 2u);
    EXPECT_EQ(files::FolderRootLength(L"\\\\server\\share\\a\\b"), 15u);
    EXPECT_EQ(files::FolderRootLength(L"\\\\server\\share"), 14u);
    EXPECT_EQ(files::FolderRootLength(L"\\\\?\\C:\\a"), 7u);
    EXPECT_EQ(files::FolderRootLength(L"\\\\?\\UNC\\server\\share\\a"), 21u);
    EXPECT_EQ(files::FolderRootLength(L"\\a\\b"), 1u);
    EXPECT_EQ(files::FolderRootLength(L"a\\b"), 0u);
    EXPECT_EQ(files::FolderRootLength(L""), 0u);
}

TEST(MakeFolderTree, WorksThroughTheLongPathForm) {
    TempDir dir;
    const std::wstring deep = L"\\\\?\\" + (dir / L"x\\y");
    EXPECT_TRUE(files::MakeFolderTree(deep));
    EXPECT_TRUE(IsFolder(dir / L"x\\y"));
}
