#include "launcher/app/launcher_main.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "common/http/download_to_file.h"
#include "common/win32/unique_handle.h"
#include "crashreport/crash_reporter_client.h"
#include "duilib/paint_manager.h"
#include "launcher/app/version_check.h"
#include "launcher/game/game_folder.h"
#include "launcher/game/server_base.h"
#include "launcher/services/log.h"
#include "launcher/ui/main_frame_wnd.h"
#include "launcher/ui/message_wnd.h"
#include "launcher/util/directory_tree.h"
#include "launcher/util/module_folder.h"

#define VELMORA_WIDEN2(x) L##x
#define VELMORA_WIDEN(x) VELMORA_WIDEN2(x)

namespace {

constexpr wchar_t kCrashMailbox[] = VELMORA_WIDEN(VELMORA_CRASH_MAILBOX);

// The launcher variant of the download: no resume, the file replaced after a complete
// download.
int DownloadVersionFile(const std::wstring& url, const std::wstring& localFile) {
    return DownloadToFile(url, localFile, nullptr, nullptr, false, true) == DOWNLOAD_OK ? 0 : 1;
}

// Balances CoInitialize on the normal way out; the early exits leave it to the end of
// the process, as they leave the mutex and the crash reporter.
struct ComScope {
    bool ok = SUCCEEDED(CoInitialize(nullptr));
};

}  // namespace

int LauncherMain(HINSTANCE instance) {
    CPaintManagerUI::SetInstance(instance);

    win32::unique_handle mutex(CreateMutexW(nullptr, FALSE, L"TessikRunOnlyOneInstance"));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        MessageBoxW(nullptr, L"程序已经在运行", L"Zorvik提示", MB_OK);
        return 0;
    }

    CPaintManagerUI::SetResourcePath((std::wstring(CPaintManagerUI::GetInstancePath().GetData()) + L"skin").c_str());
    CPaintManagerUI::SetResourceZip(L"Wakfu.ui", false);

    ComScope com;
    if (!com.ok) return 0;

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

    auto* window = new (std::nothrow) CCorvaneUIFrameWnd();
    if (!window) return 0;

    std::wstring serverVersion, ownVersion;
    const int check = CheckServerVersion(CPaintManagerUI::GetInstancePath().GetData(), ServerBaseText() + L"Version/",
                                         serverVersion, ownVersion, DownloadVersionFile);
    const std::wstring serverCut = CutVersionForDisplay(serverVersion);
    const std::wstring ownCut = CutVersionForDisplay(ownVersion);
    if (check == 1) {
        const std::wstring prompt = BuildUpdatePromptText(serverCut, ownCut);
        if (ShowMessageBox(L"更新提示", prompt.c_str(), 2) == 1) {
            delete window;
            ShellExecuteW(nullptr, L"open", L"Updater.exe", nullptr, nullptr, SW_SHOWNORMAL);
            return 0;
        }
    } else if (check == -1) {
        ShowMessageBox(L"错误", L"\n\t网络连接错误", 5);
        delete window;
        return 0;
    }

    g_log->Write(LOG_INTER, L"versi end \n", true);
    g_log->Write(LOG_INTER, L"show wod begin \n", true);
    window->SetOwnVersion(ownCut);
    if (!window->Create(nullptr, L"Velmora", 0x81, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT)) {
        // Only a missing or broken skin gets here; the window object is already gone
        // when creation failed after the window existed, so it is not touched again.
        MessageBoxW(nullptr, L"界面资源加载失败,请重新安装或更新Velmora", L"Velmora", MB_OK);
        return 0;
    }
    window->CenterWindow();
    ::ShowWindow(window->GetHWND(), SW_SHOW);
    g_log->Write(LOG_INTER, L"show wod over \n", true);

    CPaintManagerUI::MessageLoop();

    mutex.reset();
    crashReporter.Uninstall();
    CoUninitialize();
    delete g_function;
    g_function = nullptr;
    delete g_log;
    g_log = nullptr;
    return 0;
}
