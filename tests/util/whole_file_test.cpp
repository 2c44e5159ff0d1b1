#include "common/fs/whole_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "common/fs/file_size.h"
#include "common/win32/unique_handle.h"
#include "tests/support/test_files.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(ReadWholeFile, MissingFileAndMissingFolderAreMissingAndEmpty) {
    TempDir dir;
    std::string bytes = "stale";
    EXPECT_EQ(files::ReadWholeFile(dir / L"none.ini", bytes, 100), files::ReadResult::Missing);
    EXPECT_TRUE(bytes.empty());
    bytes = "stale";
    EXPECT_EQ(files::ReadWholeFile(dir / L"no\\such\\none.ini", bytes, 100), files::ReadResult::Missing);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(files::ExistingFileSize(dir / L"none.ini"), 0u);
}

TEST(ReadWholeFile, EmptyFileIsReadAsEmpty) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir / L"empty.ini", ""));
    std::string bytes = "stale";
    EXPECT_EQ(files::ReadWholeFile(dir / L"empty.ini", bytes, 0), files::ReadResult::Read);
    EXPECT_TRUE(bytes.empty());
}

TEST(ReadWholeFile, LargeFileIsReadWholeAcrossBlocks) {
    TempDir dir;
    // More than three of the reader's 1 MiB blocks, with an uneven tail and content
    // that tells the blocks apart.
    std::string content(3 * (1 << 20) + 12345, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 131 + i / 4096) & 0xff);
    ASSERT_TRUE(WriteBytes(dir / L"big.bin", content));
    std::string bytes;
    ASSERT_EQ(files::ReadWholeFile(dir / L"big.bin", bytes, content.size()), files::ReadResult::Read);
    EXPECT_TRUE(bytes == content);
    EXPECT_EQ(files::ExistingFileSize(dir / L"big.bin"), content.size());
}

TEST(ReadWholeFile, FileOverTheLimitIsNotRead) {
    TempDir dir;
    ASSERT_TRUE(WriteBytes(dir / L"five.txt", "12345"));
    std::string bytes;
    EXPECT_EQ(files::ReadWholeFile(dir / L"five.txt", bytes, 4), files::ReadResult::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(files::ReadWholeFile(dir / L"five.txt", bytes, 5), files::ReadResult::Read);
    EXPECT_EQ(bytes, "12345");
}

TEST(ReadWholeFile, ReadsAFileAnotherHandleIsWriting) {
    TempDir dir;
    const std::wstring path = dir / L"open.log";
    win32::unique_file writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.get(), "line\r\n", 6, &written, nullptr));
    std::string bytes;
    EXPECT_EQ(files::ReadWholeFile(path, bytes, 100), files::ReadResult::Read);
    EXPECT_EQ(bytes, "line\r\n");
}

TEST(ReadWholeFile, AFolderIsNoFileToRead) {
    TempDir dir;
    std::string bytes;
    const files::ReadResult result = files::ReadWholeFile(dir.path(), bytes, 100);
    EXPECT_NE(result, files::ReadResult::Read);
    EXPECT_TRUE(bytes.empty());
}
