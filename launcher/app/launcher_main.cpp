#include "launcher/app/launcher_main.h"

#include <shellapi.h>

#include <memory>
#include <new>
#include <string>

#include "common/http/download_to_file.h"
#include "common/win32/com_owner.h"
#include "common/win32/unique_handle.h"
#include "crashreport/crash_reporter_client.h"
#include "duilib/paint_manager.h"
#include "launcher/app/launcher_context.h"
#include "launcher/app/version_check.h"
#include "launcher/ui/main_frame_wnd.h"
#include "launcher/ui/message_wnd.h"
#include "launcher/ui/updater_start.h"
#include "duilib/font_fallback.h"
#include "launcher/app/running_instance.h"
#include "launcher/util/directory_tree.h"
#include "launcher/util/module_folder.h"

#define VELMORA_WIDEN2(x) L##x
#define VELMORA_WIDEN(x) VELMORA_WIDEN2(x)

namespace {

constexpr wchar_t kCrashMailbox[] = VELMORA_WIDEN(VELMORA_CRASH_MAILBOX);

// The launcher variant of the download: no resume, the file replaced after a complete
// download. True when the whole file arrived.
bool DownloadVersionFile(const std::wstring& url, const std::wstring& localFile) {
    return DownloadToFile(url, localFile, nullptr, nullptr, false, true) == DOWNLOAD_OK;
}

// The version check's answer, by name.
enum class VersionCheck { UpToDate, ServerNewer, DownloadFailed };

VersionCheck ClassifyVersionCheck(int result) {
    if (result == 1) return VersionCheck::ServerNewer;
    if (result == -1) return VersionCheck::DownloadFailed;
    return VersionCheck::UpToDate;
}

}  // namespace

int LauncherMain(HINSTANCE instance) {
    // The process's world, made once: folder, logs, game folder holder, settings and
    // server base. It outlives the window and the message loop.
    LauncherContext context{ProgramFolder(GetModuleFolder())};
    CPaintManagerUI::SetInstance(instance);
    // A face the system lacks is drawn in its default UI face; the log says so once.
    dui::SetFontFallbackReporter([](const std::wstring& missing, const std::wstring& used) {
        if (g_log) g_log->Write(LOG_INTER, L"uicpp:font " + missing + L" missing, using " + used + L"\n", true);
    });

    win32::unique_handle mutex(CreateMutexW(nullptr, FALSE, L"TessikRunOnlyOneInstance"));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        // The running launcher may sit hidden in the tray: bring it back first.
        BringRunningLauncherToFront();
        MessageBoxW(nullptr, L"程序已经在运行", L"Zorvik提示", MB_OK);
        return 0;
    }

    CPaintManagerUI::SetResourcePath((context.folder.WithSlash() + L"skin").c_str());
    CPaintManagerUI::SetResourceZip(L"Wakfu.ui", false);

    win32::com_apartment com;
    if (!com.initialised()) return 0;

    std::wstring crashFolder;
    GetRoamingAppDataFolder(crashFolder);
    crashFolder += L"\\Tarnel\\Velmora\\CrashRpt";
    CreateDirectoryTree(crashFolder);

    crashreport::CrashReporterClient crashReporter;
    const crashreport::InstallInfo record = crashreport::LauncherInstallInfo(crashFolder.c_str(), kCrashMailbox);
    if (crashReporter.Install(record) != 0) {
        MessageBoxW(nullptr, crashReporter.LastErrorMessage().c_str(), L"CrInstall Error", MB_OK);
        return 0;
    }
    crashReporter.AddScreenshot(9, 95);

    // Owned here until its window exists; from then on the window deletes itself in
    // its final message.
    std::unique_ptr<CCorvaneUIFrameWnd> window(new (std::nothrow) CCorvaneUIFrameWnd(context.folder, context.settings));
    if (!window) return 0;

    std::wstring serverVersion, ownVersion;
    const VersionCheck check =
        ClassifyVersionCheck(CheckServerVersion(context.folder.WithSlash(), context.serverBase + L"Version/",
                                                serverVersion, ownVersion, DownloadVersionFile));
    const std::wstring serverCut = CutVersionForDisplay(serverVersion);
    const std::wstring ownCut = CutVersionForDisplay(ownVersion);
    if (check == VersionCheck::ServerNewer) {
        const std::wstring prompt = BuildUpdatePromptText(serverCut, ownCut);
        if (ShowMessageBox(L"更新提示", prompt.c_str(), 2) == 1) {
            if (StartUpdater(context.folder.Path())) {
                window.reset();
                return 0;
            }
            // No updater to hand over to: the player still gets the launcher.
            ShowMessageBox(L"错误", kUpdaterNotStartedText, 5);
        }
    } else if (check == VersionCheck::DownloadFailed) {
        ShowMessageBox(L"错误", L"\n\t网络连接错误", 5);
        return 0;
    }

    context.log.Write(LOG_INTER, L"versi end \n", true);
    context.log.Write(LOG_INTER, L"show wod begin \n", true);
    window->SetOwnVersion(ownCut);
    bool attached = false;
    window->ReportAttachment(&attached);
    const bool created =
        window->Create(nullptr, L"Velmora", 0x81, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT) != nullptr;
    // Once the system window existed (also when its creation failed later, in
    // WM_CREATE) the final message has deleted or will delete the object: let go. A
    // failure before any window existed leaves it with us, and the owner frees it.
    CCorvaneUIFrameWnd* shown = attached ? window.release() : nullptr;
    if (!created) {
        // Only a missing or broken skin gets here.
        MessageBoxW(nullptr, L"界面资源加载失败,请重新安装或更新Velmora", L"Velmora", MB_OK);
        return 0;
    }
    shown->CenterWindow();
    ::ShowWindow(shown->GetHWND(), SW_SHOW);
    context.log.Write(LOG_INTER, L"show wod over \n", true);

    CPaintManagerUI::MessageLoop();

    // Shut-down in its fixed order; the context (Function and logs) goes last.
    mutex.reset();
    crashReporter.Uninstall();
    com.uninitialise();
    return 0;
}
