#include "launcher/settings/user_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_files.h"

using settings::PrepareUserFolder;
using testing_support::TempDir;

TEST(PrepareUserFolder, FirstRunCreatesFoldersAndEmptyMarker) {
    TempDir dir(L"用户");
    const auto first = PrepareUserFolder(dir.path() + L"\\");
    EXPECT_TRUE(first.ok);
    EXPECT_TRUE(first.firstRun);
    const std::wstring marker = dir / L"user\\default\\config.ini";
    ASSERT_TRUE(testing_support::Exists(marker));
    EXPECT_EQ(testing_support::ReadBytes(marker), "");

    const auto second = PrepareUserFolder(dir.path() + L"\\");
    EXPECT_TRUE(second.ok);
    EXPECT_FALSE(second.firstRun);
}

TEST(PrepareUserFolder, DeletingTheMarkerMakesTheNextStartAFirstRun) {
    TempDir dir;
    ASSERT_TRUE(PrepareUserFolder(dir.path() + L"\\").ok);
    // The settings file is left alone; only the marker decides.
    ASSERT_TRUE(testing_support::WriteBytes(dir / L"user\\ResInfo.ini", "[LodLevel]\r\nLodLevel=2\r\n"));
    ASSERT_TRUE(DeleteFileW((dir / L"user\\default\\config.ini").c_str()));
    const auto again = PrepareUserFolder(dir.path() + L"\\");
    EXPECT_TRUE(again.ok);
    EXPECT_TRUE(again.firstRun);
    EXPECT_TRUE(testing_support::Exists(dir / L"user\\default\\config.ini"));
    EXPECT_EQ(testing_support::ReadBytes(dir / L"user\\ResInfo.ini"), "[LodLevel]\r\nLodLevel=2\r\n");
}

TEST(PrepareUserFolder, FailsWhenTheFolderCannotBeMade) {
    TempDir dir;
    // A file named "user" stands where the folder must go.
    ASSERT_TRUE(testing_support::WriteBytes(dir / L"user", "x"));
    const auto result = PrepareUserFolder(dir.path() + L"\\");
    EXPECT_FALSE(result.ok);
    // A launcher folder that does not exist at all.
    EXPECT_FALSE(PrepareUserFolder(dir.path() + L"\\missing\\deeper\\").ok);
}
