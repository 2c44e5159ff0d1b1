#include "launcher/app/version_check.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_files.h"

using testing_support::TempDir;
using testing_support::Wide;

TEST(CompareVersions, ComparesComponentsAsNumbers) {
    EXPECT_EQ(CompareVersions(L"2.0.0.5", L"2.0.1.0"), 1);
    EXPECT_EQ(CompareVersions(L"2.0.0.5", L"2.0.0.7"), 1) << "the fourth component counts";
    EXPECT_EQ(CompareVersions(L"9.9.9.9", L"10.0.0.0"), 1) << "numbers, not text";
    EXPECT_EQ(CompareVersions(L"2.1.0.0", L"2.0.9.9"), -1);
    EXPECT_EQ(CompareVersions(L"2.0.0.5", L"2.0.0.5"), 0);
    EXPECT_EQ(CompareVersions(L"2.0.0", L"2.0.0.0"), 0);
    EXPECT_EQ(CompareVersions(L"2.0.0.5", L"2.0.0.5.1"), 0) << "the remainder is read by atoi as a whole";
}

TEST(CompareVersions, EmptyOrJunkCountsAsZero) {
    EXPECT_EQ(CompareVersions(L"2.0.0.5", L""), -1) << "an empty server version is never newer";
    EXPECT_EQ(CompareVersions(L"", L"1.0.0.0"), 1) << "a missing own version makes any real version newer";
    EXPECT_EQ(CompareVersions(L"", L"0.0.0.1"), 1);
    EXPECT_EQ(CompareVersions(L"", L"x.y"), 0);
    EXPECT_EQ(CompareVersions(L"1.0", L"1.0<html>"), 0);
}

TEST(OwnVersion, ReadsFileVersionFromTheResource) {
    const std::wstring stub = testing_support::ExecutableFolder() + L"\\versioned_stub.exe";
    EXPECT_EQ(GetOwnFileVersion(stub), L"2.0.0.5");
    EXPECT_EQ(GetOwnFileVersion(testing_support::ExecutableFolder() + L"\\missing.exe"), L"");
}

TEST(CheckServerVersion, DownloadsComparesAndReportsFailure) {
    TempDir dir;
    const std::wstring folder = dir.path() + L"\\";
    const std::wstring stub = testing_support::ExecutableFolder() + L"\\versioned_stub.exe";
    std::wstring requested, server, own;
    auto serve = [&](const std::string& content) {
        return [&, content](const std::wstring& url, const std::wstring& file) {
            requested = url;
            return testing_support::WriteBytes(file, content);
        };
    };
    EXPECT_EQ(CheckServerVersion(folder, L"http://h/Version/", server, own, serve("2.0.1.0\r\n\r\n"), stub), 1);
    EXPECT_EQ(requested, L"http://h/Version/server_version.ini");
    EXPECT_EQ(server, L"2.0.1.0");
    EXPECT_EQ(own, L"2.0.0.5");
    EXPECT_TRUE(testing_support::Exists(folder + L"server_version.ini"));

    EXPECT_EQ(CheckServerVersion(folder, L"u/", server, own, serve("2.0.0.5"), stub), 0);
    EXPECT_EQ(CheckServerVersion(folder, L"u/", server, own, serve(""), stub), 0) << "empty file: not newer";
    EXPECT_EQ(server, L"");
    auto fail = [](const std::wstring&, const std::wstring&) { return false; };
    EXPECT_EQ(CheckServerVersion(folder, L"u/", server, own, fail, stub), -1);
}
