#include "launcher/game/scrambled_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/util/module_folder.h"
#include "tests/support/test_files.h"

TEST(ScrambledFile, LivesBesideTheExecutable) {
    EXPECT_EQ(GetScrambledFilePath(), GetModuleFolder() + L"\\SEWI.bin");
}

TEST(ScrambledFile, LoadsTheFileAndMissingFileIsEmpty) {
    const std::wstring path = GetScrambledFilePath();
    DeleteFileW(path.c_str());
    EXPECT_EQ(LoadScrambledText(), "");
    ASSERT_TRUE(testing_support::WriteBytes(path, EncodeScrambledContent("http://a.example/") + "\r\n"));
    EXPECT_EQ(LoadScrambledText(), "http://a.example/");
    // Readable while someone else holds it open for writing.
    HANDLE other = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(LoadScrambledText(), "http://a.example/");
    CloseHandle(other);
    ASSERT_TRUE(testing_support::WriteBytes(path, ""));
    EXPECT_EQ(LoadScrambledText(), "");
    DeleteFileW(path.c_str());
}
