// Installs the crash reporter with the save folder given on the command line and
// then crashes with an access violation, so a test can inspect what was written.
// Usage: crash_victim <save folder> [screenshot]
#include <windows.h>

#include <cwchar>

#include "crashreport/crash_reporter_client.h"
#include "tests/crashreport/launcher_record.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    crashreport::CrashReporterClient reporter;
    if (reporter.Install(LauncherRecord(argv[1])) != 0) return 3;
    if (argc > 2 && std::wcscmp(argv[2], L"screenshot") == 0 && reporter.AddScreenshot(9, 95) != 0) return 4;
    volatile int* nowhere = nullptr;
    *nowhere = 42;
    return 0;
}
