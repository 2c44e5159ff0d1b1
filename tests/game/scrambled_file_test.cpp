#include "launcher/game/scrambled_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_files.h"

TEST(ScrambledFile, LivesInTheProgramFolder) {
    EXPECT_EQ(ScrambledFilePathIn(L"C:\\Velmora"), L"C:\\Velmora\\SEWI.bin");
    EXPECT_EQ(ScrambledFilePathIn(L""), L"") << "an unknown folder names no file";
    EXPECT_EQ(LoadScrambledTextFrom(L""), "");
}

TEST(ScrambledFile, LoadsTheFileAndMissingFileIsEmpty) {
    const testing_support::TempDir program;
    const std::wstring path = ScrambledFilePathIn(program.path());
    auto load = [&] { return LoadScrambledTextFrom(path); };
    EXPECT_EQ(load(), "");
    ASSERT_TRUE(testing_support::WriteBytes(path, EncodeScrambledContent("http://a.example/") + "\r\n"));
    EXPECT_EQ(load(), "http://a.example/");
    // Readable while someone else holds it open for writing.
    HANDLE other = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(load(), "http://a.example/");
    CloseHandle(other);
    ASSERT_TRUE(testing_support::WriteBytes(path, ""));
    EXPECT_EQ(load(), "");
    DeleteFileW(path.c_str());
}
