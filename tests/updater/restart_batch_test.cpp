// The restart batch: exact bytes of both variants, and a real run under cmd.
#include "updater/restart_batch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "common/win32/unique_handle.h"
#include "tests/support/test_files.h"
#include "updater/process_start.h"

using testing_support::ExecutableFolder;
using testing_support::Exists;
using testing_support::Gbk;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::Wide;
using testing_support::WriteBytes;

TEST(RestartBatch, BothVariantsByteForByte) {
    EXPECT_EQ(RestartBatchText("C:\\a b\\Updater.exe", "C:\\a b\\Velmora.exe", "C:\\a b\\delete.bat", true),
              "setlocal\r\n"
              "set velmora_tries=0\r\n"
              ":try\r\n"
              "choice /t 1 /d y >nul\r\n"
              "if not exist \"C:\\a b\\Updater.exe.tmp\" goto :launch\r\n"
              "del \"C:\\a b\\Updater.exe\"\r\n"
              "if not exist \"C:\\a b\\Updater.exe\" goto :swap\r\n"
              "set /a velmora_tries+=1\r\n"
              "if %velmora_tries% lss 60 goto :try\r\n"
              "goto :launch\r\n"
              ":swap\r\n"
              "rename \"C:\\a b\\Updater.exe.tmp\" Updater.exe\r\n"
              ":launch\r\n"
              "start \"\" /NORMAL \"C:\\a b\\Velmora.exe\"\r\n"
              "del \"C:\\a b\\delete.bat\"\r\n");
    EXPECT_EQ(RestartBatchText("C:\\a b\\Updater.exe", "C:\\a b\\Velmora.exe", "C:\\a b\\delete.bat", false),
              ":try\r\n"
              "choice /t 1 /d y >nul\r\n"
              "start \"\" /NORMAL \"C:\\a b\\Velmora.exe\"\r\n"
              "del \"C:\\a b\\delete.bat\"\r\n");
}

TEST(RestartBatch, PercentSignsAreDoubled) {
    EXPECT_EQ(RestartBatchText("C:\\50%\\Updater.exe", "C:\\50%\\Velmora.exe", "C:\\50%\\delete.bat", false),
              ":try\r\n"
              "choice /t 1 /d y >nul\r\n"
              "start \"\" /NORMAL \"C:\\50%%\\Velmora.exe\"\r\n"
              "del \"C:\\50%%\\delete.bat\"\r\n");
    // The batch's own counter is the one single '%' pair.
    const std::string pending = RestartBatchText("C:\\50%\\Updater.exe", "C:\\50%\\Velmora.exe",
                                                 "C:\\50%\\delete.bat", true);
    EXPECT_NE(pending.find("del \"C:\\50%%\\Updater.exe\""), std::string::npos);
    EXPECT_NE(pending.find("if %velmora_tries% lss"), std::string::npos);
}

TEST(RestartBatch, WrittenVariantFollowsThePendingUpdater) {
    TempDir dir(L"batch dir");
    const std::string folder = Gbk(dir.path()) + "\\";
    ASSERT_TRUE(WriteRestartBatch(dir.path()));
    EXPECT_EQ(ReadBytes(dir / L"delete.bat"),
              RestartBatchText(folder + "Updater.exe", folder + "Velmora.exe", folder + "delete.bat", false));
    ASSERT_TRUE(WriteBytes(dir / L"Updater.exe.tmp", "new"));
    ASSERT_TRUE(WriteRestartBatch(dir.path() + L"\\"));
    EXPECT_EQ(ReadBytes(dir / L"delete.bat"),
              RestartBatchText(folder + "Updater.exe", folder + "Velmora.exe", folder + "delete.bat", true));
    EXPECT_FALSE(WriteRestartBatch(dir / L"missing folder"));
}

TEST(RestartBatch, ChineseFolderNamesStayReadable) {
    TempDir dir;
    const std::wstring folder = dir / Wide("更新 目录");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteRestartBatch(folder));
    EXPECT_NE(ReadBytes(folder + L"\\delete.bat").find(Gbk(folder) + "\\Velmora.exe\""), std::string::npos);
}

TEST(RestartBatch, FolderOutsideTheCodePageIsWrittenInShortForm) {
    TempDir dir;
    const std::wstring folder = dir / Wide("게임 폴더");  // Hangul: not in code page 936
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD n = GetShortPathNameW(folder.c_str(), shortPath, MAX_PATH);
    ASSERT_TRUE(WriteRestartBatch(folder));
    const std::string text = ReadBytes(folder + L"\\delete.bat");
    if (n == 0 || std::wstring(shortPath) == folder) {
        GTEST_SKIP() << "the volume keeps no short names";
    }
    EXPECT_EQ(text.find('?'), std::string::npos) << text;
    EXPECT_NE(text.find(Gbk(shortPath)), std::string::npos) << text;
}

TEST(RestartBatch, RetiringRewritesAnEarlierBatchSoItNamesNoPendingUpdater) {
    TempDir dir(L"retire");
    const std::string folder = Gbk(dir.path()) + "\\";
    const std::string launcherOnly =
        RestartBatchText(folder + "Updater.exe", folder + "Velmora.exe", folder + "delete.bat", false);

    // No batch: none is made.
    EXPECT_TRUE(RetireRestartBatch(dir.path(), true));
    EXPECT_FALSE(Exists(dir / L"delete.bat"));

    // A batch of an earlier run that names the pending updater, which the coming pass
    // may truncate: it keeps restarting the launcher but swaps nothing in.
    ASSERT_TRUE(WriteBytes(dir / L"Updater.exe.tmp", "verified earlier"));
    ASSERT_TRUE(WriteRestartBatch(dir.path()));
    ASSERT_NE(ReadBytes(dir / L"delete.bat").find("rename"), std::string::npos);
    EXPECT_TRUE(RetireRestartBatch(dir.path(), true));
    EXPECT_EQ(ReadBytes(dir / L"delete.bat"), launcherOnly);
    EXPECT_TRUE(Exists(dir / L"Updater.exe.tmp"));  // the pass may continue it

    // The server no longer lists the updater: the pending one is out of date.
    EXPECT_TRUE(RetireRestartBatch(dir.path() + L"\\", false));
    EXPECT_FALSE(Exists(dir / L"Updater.exe.tmp"));
    EXPECT_EQ(ReadBytes(dir / L"delete.bat"), launcherOnly);
}

TEST(RestartBatch, ShortPathOfAnyLength) {
    TempDir dir;
    std::wstring deep = dir.path();
    for (int level = 0; level < 6; ++level) deep += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + level));
    ASSERT_TRUE(testing_support::MakeFolders(L"\\\\?\\" + deep));
    ASSERT_GT(deep.size(), static_cast<size_t>(MAX_PATH));
    const std::wstring shortForm = ShortPath(L"\\\\?\\" + deep);
    ASSERT_FALSE(shortForm.empty());
    EXPECT_EQ(GetFileAttributesW(shortForm.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(ShortPath(dir / L"no such folder").empty());
}

namespace {

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

// A stub Velmora.exe that leaves launcher-ran.txt, an old updater, the new one when
// `withPendingUpdater`, and the restart batch beside them.
void PrepareProgramFolder(const std::wstring& folder, bool withPendingUpdater) {
    ASSERT_TRUE(
        CopyFileW((ExecutableFolder() + L"\\stub_launcher.exe").c_str(), (folder + L"\\Velmora.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder + L"\\Updater.exe", "old updater"));
    if (withPendingUpdater) {
        ASSERT_TRUE(WriteBytes(folder + L"\\Updater.exe.tmp", "new updater"));
    }
    ASSERT_TRUE(WriteRestartBatch(folder));
}

void RunBatchAgainstStubLauncher(bool withPendingUpdater) {
    TempDir dir(L"restart test");
    // Blanks and a percent sign, which the command interpreter would otherwise expand.
    const std::wstring folder = dir / L"program 100% folder";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_NO_FATAL_FAILURE(PrepareProgramFolder(folder, withPendingUpdater));

    // Started from another current directory: the batch must not depend on it.
    ASSERT_TRUE(StartHiddenProcess(folder + L"\\delete.bat"));
    const bool finished =
        WaitFor([&] { return Exists(folder + L"\\launcher-ran.txt") && !Exists(folder + L"\\delete.bat"); }, 30000);
    ASSERT_TRUE(finished);
    EXPECT_EQ(ReadBytes(folder + L"\\Updater.exe"), withPendingUpdater ? "new updater" : "old updater");
    EXPECT_FALSE(Exists(folder + L"\\Updater.exe.tmp"));
    // The stub and cmd may still be on their way out; give them a moment before the folder goes.
    Sleep(300);
}

}  // namespace

TEST(RestartBatchRun, SwapsInThePendingUpdaterAndStartsTheLauncher) {
    RunBatchAgainstStubLauncher(true);
}

TEST(RestartBatchRun, WithoutPendingUpdaterOnlyStartsTheLauncher) {
    RunBatchAgainstStubLauncher(false);
}

TEST(RestartBatchRun, GivesUpOnAnUpdaterThatCannotBeDeletedAndStartsTheLauncherAnyway) {
    TempDir dir(L"restart held");
    const std::wstring folder = dir.path();
    ASSERT_NO_FATAL_FAILURE(PrepareProgramFolder(folder, true));
    {
        // Another copy of the updater that keeps running: its file cannot be deleted.
        win32::unique_file held(CreateFileW((folder + L"\\Updater.exe").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        ASSERT_TRUE(StartHiddenProcess(folder + L"\\delete.bat"));
        // About a minute on Windows; under Wine "choice" does not wait, so sooner.
        ASSERT_TRUE(WaitFor([&] { return Exists(folder + L"\\launcher-ran.txt"); }, 150000));
        ASSERT_TRUE(WaitFor([&] { return !Exists(folder + L"\\delete.bat"); }, 30000));
    }
    EXPECT_EQ(ReadBytes(folder + L"\\Updater.exe"), "old updater");
    EXPECT_EQ(ReadBytes(folder + L"\\Updater.exe.tmp"), "new updater");  // waits for a later run
    Sleep(300);
}

TEST(RestartBatchRun, NeverDeletesTheUpdaterWhenItsReplacementIsGone) {
    TempDir dir(L"restart gone");
    const std::wstring folder = dir.path();
    ASSERT_NO_FATAL_FAILURE(PrepareProgramFolder(folder, true));
    ASSERT_TRUE(DeleteFileW((folder + L"\\Updater.exe.tmp").c_str()));
    ASSERT_TRUE(StartHiddenProcess(folder + L"\\delete.bat"));
    ASSERT_TRUE(WaitFor([&] { return Exists(folder + L"\\launcher-ran.txt") && !Exists(folder + L"\\delete.bat"); },
                        30000));
    EXPECT_EQ(ReadBytes(folder + L"\\Updater.exe"), "old updater");
    Sleep(300);
}

TEST(StartHiddenProcess, FailsForAMissingProgram) {
    EXPECT_FALSE(StartHiddenProcess(L"C:\\no\\such\\program.exe"));
    EXPECT_NE(GetModulePath(), L"Error");
}
