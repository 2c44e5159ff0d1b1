// The install record the launcher passes, pointed at a test's save folder.
#pragma once

#include "crashreport/crash_report_api.h"

inline crashreport::InstallInfo LauncherRecord(const wchar_t* saveFolder) {
    return crashreport::LauncherInstallInfo(saveFolder, L"crash@velmora.cn");
}
