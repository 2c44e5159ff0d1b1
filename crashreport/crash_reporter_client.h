// Loads the crash reporter DLL and reaches its functions by ordinal. A missing DLL
// or function makes Install fail with a message, like any other install failure.
#pragma once

#include <string>

#include "common/win32/unique_handle.h"

#include "crashreport/crash_report_api.h"

namespace crashreport {

class CrashReporterClient {
public:
    // Loads `dllPath` (default: the DLL beside the executable).
    explicit CrashReporterClient(const std::wstring& dllPath = L"");
    // Unloads the DLL unless its exception filter is still installed: then it stays
    // loaded for the rest of the process, as the filter's code lives in it.
    ~CrashReporterClient();
    CrashReporterClient(const CrashReporterClient&) = delete;
    CrashReporterClient& operator=(const CrashReporterClient&) = delete;

    int Install(const InstallInfo& info);           // 0 on success
    std::wstring LastErrorMessage();                // at most 255 characters
    int AddScreenshot(DWORD flags, int quality);    // 0 on success
    int Uninstall();                                // 0 on success

private:
    win32::unique_hmodule module_;
    bool filterInstalled_ = false;  // the DLL's exception filter may be in place
    std::wstring loadError_;
    InstallFn install_ = nullptr;
    UninstallFn uninstall_ = nullptr;
    LastErrorMessageFn lastError_ = nullptr;
    AddScreenshotFn addScreenshot_ = nullptr;
};

}  // namespace crashreport
