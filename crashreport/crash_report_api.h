// The crash reporter's interface, shared by the DLL and the programs that load it.
// The DLL's functions are reached by ordinal (see CrashReport.def):
//   7 install, 9 uninstall, 23 last error message, 27 screenshot option.
#pragma once

#include <windows.h>

#include <cstddef>

namespace crashreport {

// What the reporter needs to know about the program. Fields not used are zero;
// `size` must be sizeof(InstallInfo) (92 bytes in the 32-bit build, 184 in the 64-bit one).
struct InstallInfo {
    DWORD size;
    const wchar_t* appName;
    const wchar_t* appVersion;
    const wchar_t* emailTo;       // where a player may send the report
    const wchar_t* emailSubject;
    DWORD flags;                  // kFlag* below
    const wchar_t* saveFolder;    // reports are written below this folder; must exist
    void* reserved[16];
};

// Flags: only kFlagNoMinidump changes what is written; other bits (the launcher
// passes 0x4000) are accepted and kept for the report's owner.
inline constexpr DWORD kFlagNoMinidump = 0x0001;  // text report only

// Screenshot options (ordinal 27): 9 = the whole virtual screen, as JPEG.
inline constexpr DWORD kScreenshotVirtualScreen = 0x0001;
inline constexpr DWORD kScreenshotUseJpeg = 0x0008;

using InstallFn = int(__cdecl*)(const InstallInfo*);         // 0 on success
using UninstallFn = int(__cdecl*)();                           // 0 on success
using LastErrorMessageFn = int(__cdecl*)(wchar_t*, UINT);      // characters copied
using AddScreenshotFn = int(__cdecl*)(DWORD flags, int quality);  // 0 on success

inline constexpr WORD kOrdinalInstall = 7;
inline constexpr WORD kOrdinalUninstall = 9;
inline constexpr WORD kOrdinalLastErrorMessage = 23;
inline constexpr WORD kOrdinalAddScreenshot = 27;

// The DLL's file name, next to the program.
inline constexpr wchar_t kDllName[] = L"CrashReport.dll";

// The record the launcher installs: "Velmora" 2.0.0, its crash-report subject and
// flags, reports below `saveFolder`, sent by players to `emailTo`.
inline InstallInfo LauncherInstallInfo(const wchar_t* saveFolder, const wchar_t* emailTo) {
    InstallInfo info{};
    info.size = sizeof(info);
    info.appName = L"Velmora";
    info.appVersion = L"2.0.0";
    info.emailTo = emailTo;
    info.emailSubject = L"Velmora CrashReport";
    info.flags = 0x4000;
    info.saveFolder = saveFolder;
    return info;
}

// The record's layout as each build's DLL and programs see it.
#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(InstallInfo) == 92, "the 32-bit record is 92 bytes");
static_assert(offsetof(InstallInfo, reserved) == 28, "32-bit fields are packed at 4 bytes");
#else
static_assert(sizeof(InstallInfo) == 184, "the 64-bit record is 184 bytes");
static_assert(offsetof(InstallInfo, reserved) == 56, "64-bit pointers are 8-byte aligned");
#endif

}  // namespace crashreport
