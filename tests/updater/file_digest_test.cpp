// File digests through CryptoAPI and the local manifest on real folders.
#include "updater/file_digest.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "common/win32/unique_handle.h"
#include "launcher/util/md5.h"
#include "tests/support/test_files.h"
#include "updater/ensure_directory.h"
#include "updater/manifest.h"

using testing_support::Exists;
using testing_support::Gbk;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::Wide;
using testing_support::WriteBytes;

TEST(FileMd5, DigestTextOfKnownContents) {
    DigestProvider provider;
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir / L"empty", ""));
    ASSERT_TRUE(WriteBytes(dir / L"abc", "abc"));
    EXPECT_EQ(FileMd5Record(provider, dir / L"empty"), "d41d8cd98f00b204e9800998ecf8427e\n");
    EXPECT_EQ(FileMd5Record(provider, dir / L"abc"), "900150983cd24fb0d6963f7d28e17f72\n");
    std::string hex;
    EXPECT_TRUE(FileMd5Hex(provider, dir / L"abc", hex));
    EXPECT_EQ(hex, "900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileMd5, FilesOfSeveralBlocksHashLikeTheWholeContent) {
    DigestProvider provider;
    TempDir dir;
    std::string content;
    for (int i = 0; i < (3 << 20) + 12345; ++i) content += static_cast<char>(i * 131 >> 3);
    ASSERT_TRUE(WriteBytes(dir / L"big.bin", content));
    EXPECT_EQ(FileMd5Record(provider, dir / L"big.bin"), Md5Hex(content) + "\n");
}

TEST(FileMd5, UnopenableFilesGetTheFailureText) {
    DigestProvider provider;
    TempDir dir;
    EXPECT_EQ(FileMd5Record(provider, dir / L"missing"), "CalculateMd5Worry\n");
    std::string hex = "x";
    EXPECT_FALSE(FileMd5Hex(provider, dir / L"missing", hex));
    EXPECT_EQ(hex, "");
    // A file someone holds open for writing cannot be opened with read sharing only.
    win32::unique_file writer(CreateFileW((dir / L"busy").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(FileMd5Record(provider, dir / L"busy"), "CalculateMd5Worry\n");
}

TEST(LocalManifest, ListsEveryFileRelativeToTheFolderInAnsi) {
    DigestProvider provider;
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir / L"abc.txt", "abc"));
    ASSERT_TRUE(EnsureDirectory(dir / Wide("皮肤\\子目录")));
    ASSERT_TRUE(WriteBytes(dir / Wide("皮肤\\子目录\\图标.png"), ""));
    ASSERT_TRUE(WriteBytes(dir / L"Updater.exe.tmp", "abc"));
    ASSERT_TRUE(BuildLocalManifest(provider, dir.path()));

    const std::string manifest = ReadBytes(dir / L"LocalDate.ini");
    EXPECT_EQ(manifest.find('\r'), std::string::npos);
    // One record per file, in whatever order the file system lists them.
    auto has = [&](const std::string& record) { return manifest.find(record) != std::string::npos; };
    EXPECT_TRUE(has("abc.txt\t900150983cd24fb0d6963f7d28e17f72\n"));
    EXPECT_TRUE(has("Updater.exe.tmp\t900150983cd24fb0d6963f7d28e17f72\n"));
    EXPECT_TRUE(has(Gbk(Wide("皮肤\\子目录\\图标.png")) + "\td41d8cd98f00b204e9800998ecf8427e\n"));
    // The manifest itself is open while it is written, so it cannot be hashed.
    EXPECT_TRUE(has("LocalDate.ini\tCalculateMd5Worry\n"));
    EXPECT_EQ(std::count(manifest.begin(), manifest.end(), '\n'), 4);

    ASSERT_TRUE(WriteBytes(dir / L"UpDate.ini", "x"));
    RemoveManifests(dir.path());
    RemoveManifests(dir.path());  // nothing there: still fine
    EXPECT_FALSE(Exists(dir / L"LocalDate.ini"));
    EXPECT_FALSE(Exists(dir / L"UpDate.ini"));
    EXPECT_TRUE(Exists(dir / L"abc.txt"));
}

TEST(LocalManifest, FailsOnlyWhenTheFileCannotBeCreated) {
    DigestProvider provider;
    TempDir dir;
    EXPECT_FALSE(BuildLocalManifest(provider, dir / L"no\\such\\folder"));
    EXPECT_TRUE(BuildLocalManifest(provider, dir.path()));  // an empty folder still gets its own record
    EXPECT_EQ(ReadBytes(dir / L"LocalDate.ini"), "LocalDate.ini\tCalculateMd5Worry\n");
}

TEST(EnsureDirectory, CreatesTheWholeChain) {
    TempDir dir;
    EXPECT_TRUE(EnsureDirectory(dir / L"a\\b\\c"));
    EXPECT_TRUE(Exists(dir / L"a\\b\\c"));
    EXPECT_TRUE(EnsureDirectory(dir / L"a\\b\\c"));
    EXPECT_FALSE(EnsureDirectory(L""));
    // Below a file no folder can be made.
    ASSERT_TRUE(WriteBytes(dir / L"file", "x"));
    EXPECT_FALSE(EnsureDirectory(dir / L"file\\sub\\deeper"));
}
