// The text part of a crash report; pure, so it can be tested without crashing.
#pragma once

#include <cstdint>
#include <string>

namespace crashreport {

struct CrashFacts {
    std::wstring appName;
    std::wstring appVersion;
    std::wstring emailTo;
    std::wstring emailSubject;
    std::wstring time;        // "YYYY-MM-DD HH:MM:SS"
    uint32_t exceptionCode = 0;
    uint64_t exceptionAddress = 0;
    std::wstring moduleName;  // module holding the faulting address, or empty
    uint64_t moduleOffset = 0;
    uint32_t processId = 0;
    uint32_t threadId = 0;
    bool minidumpWritten = false;
    bool screenshotWritten = false;
};

// "EXCEPTION_ACCESS_VIOLATION" and friends; empty for codes without a name.
std::wstring ExceptionName(uint32_t code);

// The report, lines ending CR LF, UTF-16 text (the file is written as UTF-8).
std::wstring FormatCrashReport(const CrashFacts& facts);

// The folder name of one report below the save folder: "crash_YYYYMMDD_HHMMSS_<pid>".
std::wstring ReportFolderName(int year, int month, int day, int hour, int minute, int second, uint32_t pid);

}  // namespace crashreport
