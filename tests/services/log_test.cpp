#include "launcher/services/log.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/support/test_files.h"

using testing_support::Gbk;
using testing_support::TempDir;
using testing_support::Wide;

TEST(LogTimePrefix, PadsEverythingButTheYear) {
    EXPECT_EQ(FormatTimePrefix(2026, 12, 7, 9, 5, 3), L"[2026-12-07 09:05:03]\t");
    EXPECT_EQ(FormatTimePrefix(999, 1, 2, 23, 59, 59), L"[999-01-02 23:59:59]\t");
    const std::wstring now = Log::TimeStamp();
    EXPECT_TRUE(std::regex_match(testing_support::Gbk(now), std::regex(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\]\t)")));
}

TEST(LogWrite, AppendsOneLineWithPrefixTabAndCrLf) {
    TempDir dir;
    Log log(dir / L"log");
    log.Write(LOG_INTER, L"post end\n", true);
    const std::string bytes = testing_support::ReadBytes(dir / L"log\\log_inter.log");
    EXPECT_TRUE(std::regex_match(bytes, std::regex("\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\]\tpost end\r\n")))
        << bytes;
    log.Write(LOG_INTER, L"versi end \n", false);
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_inter.log").substr(bytes.size()), "versi end \r\n");
}

TEST(LogWrite, StoresChineseInTheAnsiCodePage) {
    TempDir dir;
    Log log(dir / L"log");
    const std::wstring text = Wide("用户是用记录添加失败\n");
    log.Write(LOG_IPC, text, false);
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_IPC.log"), Gbk(Wide("用户是用记录添加失败")) + "\r\n");
}

TEST(LogWrite, EachIdHasItsFileAndUnknownIdsWriteNothing) {
    TempDir dir;
    Log log(dir / L"log");
    log.Write(LOG_INTER, L"a\n", false);
    log.Write(LOG_IPC, L"b\n", false);
    log.Write(LOG_DLL, L"c\n", false);
    log.Write(3, L"d\n", false);
    log.Write(-1, L"e\n", false);
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_inter.log"), "a\r\n");
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_IPC.log"), "b\r\n");
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_DLL.log"), "c\r\n");
}

TEST(LogWrite, ManyThreadsNeitherTearNorLoseLines) {
    TempDir dir;
    Log log(dir / L"log");
    constexpr int kThreads = 8;
    constexpr int kLines = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i) {
                log.Write(LOG_INTER, L"thread " + std::to_wstring(t) + L" line " + std::to_wstring(i) +
                                         std::wstring(40, L'x') + L"\n",
                          true);
            }
        });
    }
    for (auto& thread : threads) thread.join();

    std::istringstream lines(testing_support::ReadBytes(dir / L"log\\log_inter.log"));
    const std::regex shape(R"(\[[^\]]+\]\tthread (\d) line (\d+)x{40}\r)");
    std::set<std::pair<int, int>> seen;
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, shape)) << "torn line: " << line;
        seen.insert({std::stoi(m[1]), std::stoi(m[2])});
        ++count;
    }
    EXPECT_EQ(count, kThreads * kLines);
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

TEST(LogWrite, LockedFileLosesTheLineSilently) {
    TempDir dir;
    Log log(dir / L"log");
    log.Write(LOG_DLL, L"first\n", false);
    HANDLE exclusive = CreateFileW((dir / L"log\\log_DLL.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    log.Write(LOG_DLL, L"lost\n", false);
    CloseHandle(exclusive);
    log.Write(LOG_DLL, L"after\n", false);
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_DLL.log"), "first\r\nafter\r\n");
}

TEST(MakeLogFolder, CreatesMissingParentsAndAcceptsExistingOnes) {
    TempDir dir;
    const std::wstring deep = dir / Wide("a\\日志\\c\\log");
    EXPECT_TRUE(MakeLogFolder(deep));
    EXPECT_TRUE(GetFileAttributesW(deep.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(MakeLogFolder(deep));
    ASSERT_TRUE(testing_support::WriteBytes(dir / L"plainfile", ""));
    EXPECT_TRUE(MakeLogFolder(dir / L"plainfile")) << "an existing entry of that name counts";
    EXPECT_FALSE(MakeLogFolder(dir / L"plainfile\\sub")) << "a file cannot hold a folder";
}

TEST(LogInstance, CreatesTheFolderItIsGivenWithMissingParents) {
    TempDir dir;
    Log log(dir / L"program\\log");
    EXPECT_EQ(log.Folder(), dir / L"program\\log\\");
    EXPECT_TRUE(GetFileAttributesW((dir / L"program\\log").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(LogInstance, IsInstalledForTheLifetimeOfItsScopeOnly) {
    EXPECT_EQ(g_log, nullptr) << "no log is made during static initialisation";
    TempDir dir;
    Log outer(dir / L"outer");
    {
        ProcessLogScope outerScope(outer);
        EXPECT_EQ(g_log, &outer);
        Log inner(dir / L"inner");
        {
            ProcessLogScope innerScope(inner);
            EXPECT_EQ(g_log, &inner);
        }
        EXPECT_EQ(g_log, &outer) << "the previous log comes back";
    }
    EXPECT_EQ(g_log, nullptr);
}

TEST(LogRollover, MovesOnlyANonEmptyFileThatWouldPassTheCap) {
    EXPECT_FALSE(LogNeedsRollover(0, 100, 10));  // a single oversized line still lands
    EXPECT_FALSE(LogNeedsRollover(6, 4, 10));    // exactly at the cap is kept
    EXPECT_TRUE(LogNeedsRollover(6, 5, 10));
    EXPECT_FALSE(LogNeedsRollover(Log::kDefaultMaxFileBytes - 3, 3, Log::kDefaultMaxFileBytes));
}

TEST(LogRollover, AFullFileMovesToDotOneAndEachFileHasItsOwnCap) {
    TempDir dir;
    Log log(dir / L"log", 12);
    log.Write(LOG_IPC, L"aaaa\n", false);  // 6 bytes on disk
    log.Write(LOG_IPC, L"bbbb\n", false);  // 12: still fits
    log.Write(LOG_INTER, L"x\n", false);
    log.Write(LOG_IPC, L"cccc\n", false);  // would be 18: the file moves aside first
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_IPC.log"), "cccc\r\n");
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_IPC.log.1"), "aaaa\r\nbbbb\r\n");
    log.Write(LOG_IPC, L"dddd\n", false);
    log.Write(LOG_IPC, L"eeee\n", false);  // the second move replaces the older copy
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_IPC.log"), "eeee\r\n");
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_IPC.log.1"), "cccc\r\ndddd\r\n");
    EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_inter.log"), "x\r\n");
}
