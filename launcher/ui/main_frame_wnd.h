// CCorvaneUIFrameWnd: the launcher's only top-level window. It owns the paint
// manager, the tray icon and the long-lived services (usage statistics, control
// channel, local user information), turns messages and notifications into actions,
// switches pages, applies the close-or-minimise rule and starts the game.
// User-interface thread only; the object deletes itself in OnFinalMessage.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "common/win32/gdi_handle.h"
#include "duilib/paint_manager.h"
#include "duilib/window_wnd.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/ui/dui_manager.h"
#include "launcher/ui/settings_page.h"
#include "launcher/util/program_folder.h"

class CDataCollector;
class CFuncInteraction;
class CLocalUserInfo;
class CControlUI;

class CCorvaneUIFrameWnd : public CWindowWnd, public INotifyUI {
public:
    // `folder` is the program folder (user files, tray icon, updater); `settings` is
    // the snapshot the settings page fills and StartGame reads, and it outlives the
    // window.
    CCorvaneUIFrameWnd(ProgramFolder folder, settings::SettingsSnapshot& settings);
    ~CCorvaneUIFrameWnd() override;

    // The cut own version, shown as the version label and in the about window.
    void SetOwnVersion(const std::wstring& version) { m_ownVersion = version; }

    void Notify(TNotifyUI& msg) override;
    CPaintManagerUI& GetPaintManager() { return m_pm; }
    // Whether the tray icon is in the notification area now.
    bool HasTrayIcon() const { return m_trayIconAdded; }
    // True when every service came up (the window opens either way).
    bool CreateDataInfo();
    void StartGame();

protected:
    const wchar_t* GetWindowClassName() const override { return L"ZorvikUIFram"; }
    UINT GetClassStyle() const override { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

private:
    LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    void AddTrayIcon();
    void InitMainPage();
    void OnClick(TNotifyUI& msg);
    void OnMenuItem(const std::wstring& item);
    void ShowTrayMenu();
    void MinimiseToTray();
    void CloseOrMinimise();
    void ShowHomePage();
    void ShowDetailedSettingsPage();
    void OpenDatabasePage();
    void ShowFolderChooser();
    void ShowAbout();
    void OnGameEnded();

    std::wstring m_userId;
    std::wstring m_userFolderName = L"default";
    // Whether the saved settings apply: only when the user folder and its marker were
    // all present (not a first run); a folder that could not be prepared counts as
    // fresh, so saved settings are not applied.
    enum class UserFolderState { Fresh, Complete };
    UserFolderState m_userFolderState = UserFolderState::Fresh;
    std::wstring m_ownVersion;
    ProgramFolder m_folder;
    settings::SettingsFile m_settingsFile;
    settings::SettingsSnapshot& m_settings;
    CPaintManagerUI m_pm;
    DuiManager m_wrappers;  // wrappers of this window's controls, by identifier
    CControlUI* m_startButton = nullptr;
    CControlUI* m_settingsButton = nullptr;
    NOTIFYICONDATAW m_trayIcon{};
    win32::unique_hicon m_trayIconImage;  // the icon m_trayIcon shows; outlives its removal
    bool m_trayIconAdded = false;
    bool m_askingCloseChoice = false;  // the close question is open
    std::unique_ptr<CDataCollector> m_collector;
    std::unique_ptr<CFuncInteraction> m_interaction;
    std::unique_ptr<CLocalUserInfo> m_userInfo;
    std::unique_ptr<SettingsPage> m_settingsPage;
};
