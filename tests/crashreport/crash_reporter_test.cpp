#include <gtest/gtest.h>

#include <windows.h>

#include "crashreport/crash_reporter_client.h"
#include "crashreport/report_text.h"
#include "tests/crashreport/launcher_record.h"
#include "tests/support/test_files.h"

using namespace crashreport;
using testing_support::TempDir;

namespace {

// Runs crash_victim and waits (bounded) for it to end; returns its exit code.
DWORD RunVictim(const std::wstring& folder, const wchar_t* extra) {
    std::wstring command = L"\"" + testing_support::ExecutableFolder() + L"\\crash_victim.exe\" \"" + folder + L"\"";
    if (extra) command += std::wstring(L" ") + extra;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return 0xFFFFFFFF;
    }
    CloseHandle(process.hThread);
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    else TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return code;
}

std::wstring OnlyReportFolder(const std::wstring& saveFolder) {
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW((saveFolder + L"\\crash_*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return {};
    FindClose(find);
    return saveFolder + L"\\" + entry.cFileName;
}

}  // namespace

TEST(CrashReporter, InstallChecksTheRecordAndExplainsFailures) {
    TempDir dir;
    CrashReporterClient reporter;
    InstallInfo wrongSize = LauncherRecord(dir.path().c_str());
    wrongSize.size = 12;
    EXPECT_NE(reporter.Install(wrongSize), 0);
    EXPECT_NE(reporter.LastErrorMessage().find(L"size"), std::wstring::npos);

    const std::wstring missing = dir / L"missing";
    EXPECT_NE(reporter.Install(LauncherRecord(missing.c_str())), 0);
    EXPECT_NE(reporter.LastErrorMessage().find(missing), std::wstring::npos);
    EXPECT_NE(reporter.AddScreenshot(9, 95), 0) << "not installed yet";

    ASSERT_EQ(reporter.Install(LauncherRecord(dir.path().c_str())), 0);
    EXPECT_NE(reporter.Install(LauncherRecord(dir.path().c_str())), 0) << "a second install is refused";
    EXPECT_EQ(reporter.AddScreenshot(9, 95), 0);
    EXPECT_NE(reporter.AddScreenshot(9, 101), 0);
    EXPECT_EQ(reporter.Uninstall(), 0);
    EXPECT_NE(reporter.Uninstall(), 0);
    EXPECT_LE(reporter.LastErrorMessage().size(), 255u);
}

TEST(CrashReporter, MissingDllFailsInstallWithAMessage) {
    CrashReporterClient reporter(L"C:\\nowhere\\CrashReport.dll");
    TempDir dir;
    EXPECT_NE(reporter.Install(LauncherRecord(dir.path().c_str())), 0);
    EXPECT_NE(reporter.LastErrorMessage().find(L"could not be loaded"), std::wstring::npos);
}

TEST(CrashReporter, ACrashWritesMinidumpAndReport) {
    TempDir dir(L"崩溃");
    const DWORD exitCode = RunVictim(dir.path(), L"screenshot");
    EXPECT_EQ(exitCode, 0xC0000005u);
    const std::wstring report = OnlyReportFolder(dir.path());
    ASSERT_FALSE(report.empty()) << "no report folder was made";
    EXPECT_EQ(testing_support::ReadBytes(report + L"\\crash.dmp").substr(0, 4), "MDMP");
    const std::string text = testing_support::ReadBytes(report + L"\\crash.txt");
    EXPECT_NE(text.find("Application: Velmora\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Version: 2.0.0\r\n"), std::string::npos);
    EXPECT_NE(text.find("0xC0000005 EXCEPTION_ACCESS_VIOLATION"), std::string::npos);
    EXPECT_NE(text.find("crash_victim.exe"), std::string::npos) << "the faulting module is named";
    EXPECT_NE(text.find("Velmora CrashReport"), std::string::npos);
    // JPEG start-of-image marker: the screenshot option took effect.
    EXPECT_EQ(testing_support::ReadBytes(report + L"\\screenshot.jpg").substr(0, 2), "\xFF\xD8");
}

TEST(CrashReportText, NamesKnownCodesAndFormatsUnknownOnes) {
    CrashFacts facts;
    facts.appName = L"Velmora";
    facts.exceptionCode = 0x12345678;
    facts.exceptionAddress = 0x401000;
    const std::wstring text = FormatCrashReport(facts);
    EXPECT_NE(text.find(L"Exception: 0x12345678\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Address: 0x401000\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Minidump: not written\r\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Module:"), std::wstring::npos);
    EXPECT_EQ(ExceptionName(0xC00000FD), L"EXCEPTION_STACK_OVERFLOW");
    EXPECT_EQ(ReportFolderName(2026, 1, 2, 3, 4, 5, 77), L"crash_20260102_030405_77");
}
