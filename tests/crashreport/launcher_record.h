// The install record the launcher passes, pointed at a test's save folder.
#pragma once

#include "crashreport/crash_report_api.h"

inline crashreport::InstallInfo LauncherRecord(const wchar_t* saveFolder) {
    crashreport::InstallInfo info{};
    info.size = sizeof(info);
    info.appName = L"Velmora";
    info.appVersion = L"2.0.0";
    info.emailTo = L"crash@velmora.cn";
    info.emailSubject = L"Velmora CrashReport";
    info.flags = 0x4000;
    info.saveFolder = saveFolder;
    return info;
}
