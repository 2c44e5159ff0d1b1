#include "launcher/ui/main_frame_wnd.h"

#include <windowsx.h>

#include <cstring>
#include <utility>

#include "duilib/duilib.h"
#include "errorlog/error_log.h"
#include "launcher/game/game_folder.h"
#include "launcher/game/resolution_entry.h"
#include "launcher/game/start_sequence.h"
#include "launcher/services/control_channel.h"
#include "launcher/services/data_collector.h"
#include "launcher/services/log.h"
#include "launcher/settings/close_choice.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/ui/about_wnd.h"
#include "launcher/ui/dialog_builder_callback.h"
#include "launcher/ui/dui_manager.h"
#include "launcher/ui/find_path_wnd.h"
#include "launcher/ui/launcher_messages.h"
#include "launcher/ui/local_user_info.h"
#include "launcher/ui/memory_tier_choice.h"
#include "launcher/ui/message_wnd.h"
#include "launcher/ui/settings_wnd.h"
#include "launcher/ui/start_game_rules.h"
#include "launcher/ui/updater_start.h"
#include "launcher/ui/web_addresses.h"

namespace {

constexpr DWORD kChildWindowStyle = 0x96C80000;
constexpr UINT kTrayIconId = 100;

void Trace(const wchar_t* text) {
    if (g_log) g_log->Write(LOG_INTER, text, true);
}

// An error record of this window, made only when level 7 is enabled.
void ErrorRecord(int line, const char* function, const char* message) {
    if (!genericLogCheckLevel(static_cast<Util::Log::Level>(7))) return;
    Util::Log::Guard guard(static_cast<Util::Log::Level>(7), "TessikUI", "TessikUIFrameWnd", line);
    guard.stream() << function << message;
}

bool SenderIs(const TNotifyUI& msg, const wchar_t* name) {
    return msg.pSender && std::wcscmp(msg.pSender->GetName().GetData(), name) == 0;
}

void SetForeImage(CControlUI* control, const wchar_t* image) {
    if (auto* button = dynamic_cast<CButtonUI*>(control)) button->SetForeImage(image);
}

// The message the shell broadcasts when the task bar is created again (a restarted
// explorer): every tray icon must be added anew.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace

CCorvaneUIFrameWnd::CCorvaneUIFrameWnd(ProgramFolder folder, settings::SettingsSnapshot& settings)
    : m_folder(std::move(folder)), m_settingsFile(m_folder.Path()), m_settings(settings) {}

CCorvaneUIFrameWnd::~CCorvaneUIFrameWnd() = default;

LRESULT CCorvaneUIFrameWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY:
            ::PostQuitMessage(0);
            if (m_trayIconAdded) Shell_NotifyIconW(NIM_DELETE, &m_trayIcon);
            m_trayIconAdded = false;
            break;
        case WM_NCACTIVATE:
            if (!::IsIconic(m_hWnd)) return wParam == 0 ? 1 : 0;
            break;
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
        case WM_NCLBUTTONDBLCLK:
            return 0;
        case WM_NCHITTEST:
            return OnNcHitTest(lParam);
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MAXIMIZE) return 0;
            break;
        case WM_MOUSEWHEEL: {
            LRESULT result = 1;
            return m_pm.MessageHandler(msg, wParam, lParam, result) ? 1 : 0;
        }
        case UM_TRAYICON:
            if (lParam == WM_LBUTTONDBLCLK) {
                ShowWindow(true, true);
                ::SetForegroundWindow(m_hWnd);
            } else if (lParam == WM_RBUTTONDOWN) {
                ShowTrayMenu();
            }
            return 0;
        case UM_STARTGAME:
            StartGame();
            return 0;
        case UM_OPENSITE:
            web::Open(web::OfficialSite(), SW_SHOWNORMAL);
            return 0;
        case UM_OPENFEEDBACK:
            web::Open(web::FeedbackPage(), SW_SHOWNORMAL);
            return 0;
        case UM_OPENPORTAL:
            web::Open(web::PortalPage(), SW_SHOWNORMAL);
            return 0;
        case UM_FINDPATH:
            ShowFolderChooser();
            return 0;
        case UM_ABOUT:
            ShowAbout();
            break;
        case UM_GAMEENDED:
            OnGameEnded();
            break;
        default: {
            if (msg == TaskbarCreatedMessage() && msg != 0) {
                AddTrayIcon();
                return 0;
            }
            LRESULT result = 0;
            if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
            break;
        }
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

LRESULT CCorvaneUIFrameWnd::OnCreate() {
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    style = (style & 0xFF3FFFFF) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style);

    m_pm.Init(m_hWnd);
    CDialogBuilder builder;
    CDialogBuilderCallback callback;
    CControlUI* root = builder.Create(L"skin.xml", &callback, &m_pm);
    if (!root) {
        // Without its layout the window cannot be used; creation fails and the start-up
        // tells the player.
        Trace((L"uicpp:layout missing " + std::wstring(builder.GetLastErrorText().GetData()) + L"\n").c_str());
        return -1;
    }
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    m_settingsPage = std::make_unique<SettingsPage>(m_pm, m_hWnd, m_settings, m_settingsFile, m_wrappers);

    Trace(L"uicpp:cr datinfo begin\n");
    if (!CreateDataInfo()) {
        Trace(L"uicpp:cr fail,ass head\n");
        ErrorRecord(617, "CCorvaneUIFrameWnd::HandleMessage", " | 创建数据信息功能失败");
        Trace(L"uicpp:ass after\n");
    }
    Trace(L"uicpp:cr datinfo over and notice begin\n");
    AddTrayIcon();
    Trace(L"uicpp: notice over and init bgin\n");
    InitMainPage();
    return 0;
}

bool CCorvaneUIFrameWnd::CreateDataInfo() {
    bool result = true;
    Trace(L"crdainfo:dacoll begin\n");
    if (!m_collector) {
        m_collector = std::make_unique<CDataCollector>();
        Trace(L"crdainfo:star coll\n");
        if (!m_collector->StartCollector()) {
            ErrorRecord(814, "CCorvaneUIFrameWnd::CreateDataInfo", " | 开启数据收集功能失败");
        }
        m_collector->AddUsageRecord();
    }
    Trace(L"crdainfo:dacoll end\n");
    Trace(L"crdainfo:pipe begin\n");
    if (!m_interaction) {
        m_interaction = std::make_unique<CFuncInteraction>();
        if (!m_interaction->StartInteraction()) {
            ErrorRecord(828, "CCorvaneUIFrameWnd::CreateDataInfo", " | 获取默认用户配置失败");
            result = false;
        }
    }
    Trace(L"crdainfo:pipe end\n");
    Trace(L"crdainfo:usinfo begin\n");
    if (!m_userInfo) {
        m_userInfo = std::make_unique<CLocalUserInfo>();
        bool firstRun = true;
        if (m_userInfo->PrepareUserFolder(m_folder, firstRun)) {
            m_userFolderState = firstRun ? UserFolderState::Fresh : UserFolderState::Complete;
        } else {
            ErrorRecord(842, "CCorvaneUIFrameWnd::CreateDataInfo", " | 初始化本地用户信息管理器失败");
            result = false;
        }
    }
    Trace(L"crdainfo:usinfo begin\n");
    return result;
}

void CCorvaneUIFrameWnd::AddTrayIcon() {
    m_trayIcon.cbSize = sizeof(m_trayIcon);
    m_trayIcon.hWnd = m_hWnd;
    m_trayIcon.uID = kTrayIconId;
    m_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_trayIcon.uCallbackMessage = UM_TRAYICON;
    const std::wstring iconFile = m_folder.WithSlash() + L"Velmora.ico";
    m_trayIconImage.reset(static_cast<HICON>(LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE)));
    m_trayIcon.hIcon = m_trayIconImage.get();
    wcscpy_s(m_trayIcon.szTip, L"Velmora");
    m_trayIconAdded = Shell_NotifyIconW(NIM_ADD, &m_trayIcon) != FALSE;
}

void CCorvaneUIFrameWnd::InitMainPage() {
    if (auto* version = m_pm.FindControl(L"Zorvik版本号")) version->SetText((L"Velmora" + m_ownVersion).c_str());

    DuiManager& wrappers = m_wrappers;
    wrappers.SetPaintManager(&m_pm);
    wrappers.Register(5, L"首页");
    wrappers.Register(19, L"Lab_youhuajiasu");
    wrappers.Register(21, L"Lab_View");
    wrappers.Register(22, L"LabelUI4");

    if (auto* more = m_pm.FindControl(L"MoreSetting")) more->SetVisible(false);
    m_settingsButton = m_pm.FindControl(L"setting");
    // Clicks and the game-ended restore both use the button's real name.
    m_startButton = m_pm.FindControl(L"btnStartGame");

    if (m_userFolderState == UserFolderState::Fresh) {
        ClearStartupChecks(m_wrappers);
    } else {
        m_settingsPage->ApplySavedSettings();
    }
    // Until the player picks a tier, the slider shows the one that fits this machine.
    if (m_userFolderState == UserFolderState::Fresh || m_settingsFile.ReadText(settings::kStartModel).empty()) {
        m_settingsPage->PreselectMemoryTier(MemoryTierForThisMachine());
    }
    if (auto* home = dynamic_cast<DuiButton*>(wrappers.Lookup(5))) home->SetForeImage(L"首页选中.jpg");
    for (const wchar_t* name : {L"ButtonUI1", L"主界面"}) {
        if (auto* control = m_pm.FindControl(name)) control->SetEnabled(false);
    }
}

LRESULT CCorvaneUIFrameWnd::OnNcHitTest(LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const RECT caption = m_pm.GetCaptionRect();
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
        pt.y < caption.bottom) {
        CControlUI* control = m_pm.FindControl(pt);
        if (control) {
            const wchar_t* cls = control->GetClass();
            if (std::wcscmp(cls, L"ButtonUI") != 0 && std::wcscmp(cls, L"OptionUI") != 0 &&
                std::wcscmp(cls, L"TextUI") != 0) {
                return HTCAPTION;
            }
        }
    }
    return HTCLIENT;
}

void CCorvaneUIFrameWnd::Notify(TNotifyUI& msg) {
    const std::wstring type = msg.sType.GetData();
    if (type == L"itemselect") m_settingsPage->OnItemSelect(msg);
    else if (type == L"textchanged") m_settingsPage->OnTextChanged(msg);
    else if (type == L"click") OnClick(msg);
    OnMenuItem(type);
    if (SenderIs(msg, L"Slideryouhuajiasu") || SenderIs(msg, L"Sliderhuanjingxijie") ||
        SenderIs(msg, L"Sliderzhandouxijie")) {
        m_settingsPage->OnSliderNotify(msg);
    }
}

void CCorvaneUIFrameWnd::OnClick(TNotifyUI& msg) {
    if (SenderIs(msg, L"feedback")) {
        PostMessage(UM_OPENFEEDBACK);
    } else if (SenderIs(msg, L"setting")) {
        const RECT rc = msg.pSender->GetPos();
        POINT anchor{rc.left, rc.bottom - 5};
        ::ClientToScreen(m_hWnd, &anchor);
        CSettingsWnd::Popup(m_settingsButton ? m_settingsButton : msg.pSender, L"setting.xml", anchor.x, anchor.y);
    } else if (SenderIs(msg, L"close")) {
        CloseOrMinimise();
    } else if (SenderIs(msg, L"min")) {
        MinimiseToTray();
    } else if (SenderIs(msg, L"BtnTarnelLogo")) {
        PostMessage(UM_OPENPORTAL);
    }

    if (SenderIs(msg, L"首页")) ShowHomePage();
    else if (SenderIs(msg, L"详细设置")) ShowDetailedSettingsPage();
    else if (SenderIs(msg, L"数据库")) OpenDatabasePage();

    m_settingsPage->OnCheckBoxClick(msg);

    if (SenderIs(msg, L"恢复默认")) m_settingsPage->RestoreDefaults();
    else if (SenderIs(msg, L"btnStartGame")) StartGame();
}

void CCorvaneUIFrameWnd::OnMenuItem(const std::wstring& item) {
    if (item == L"自定义路径") {
        PostMessage(UM_FINDPATH);
    } else if (item == L"官方网站") {
        web::Open(web::OfficialSite(), SW_SHOWNORMAL);
    } else if (item == L"检查更新") {
        // Without a running updater the launcher stays: ending it would leave nothing.
        if (StartUpdater(m_folder.Path())) {
            Close(1);
        } else {
            ShowMessageBox(L"错误", kUpdaterNotStartedText, 5, m_hWnd);
        }
    } else if (item == L"关于") {
        PostMessage(UM_ABOUT);
    } else if (item == L"启动游戏") {
        PostMessage(UM_STARTGAME);
    } else if (item == L"反馈问题") {
        PostMessage(UM_OPENFEEDBACK);
    } else if (item == L"退出") {
        Close(1);
    }
}

void CCorvaneUIFrameWnd::ShowTrayMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    cursor.x -= 30;
    cursor.y -= 110;
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    if (!m_settingsButton) return;
    if (CSettingsWnd* menu = CSettingsWnd::Popup(m_settingsButton, L"notify.xml", cursor.x, cursor.y)) {
        ::BringWindowToTop(menu->GetHWND());
    }
}

void CCorvaneUIFrameWnd::MinimiseToTray() {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    // Without a tray icon a hidden window could not be reached again: it stays on the
    // task bar instead.
    if (m_trayIconAdded) ::ShowWindow(m_hWnd, SW_HIDE);
}

void CCorvaneUIFrameWnd::CloseOrMinimise() {
    switch (settings::ParseCloseChoice(settings::ReadCloseChoiceText(m_folder.Path()))) {
        case settings::CloseChoice::Close:
            Close(1);
            return;
        case settings::CloseChoice::MinimiseToTray:
            MinimiseToTray();
            return;
        case settings::CloseChoice::Ask:
            break;
    }
    // One question at a time: a second click while it is open asks nothing more.
    if (m_askingCloseChoice) return;
    m_askingCloseChoice = true;
    const int answer = ShowMessageBox(
        L"提示", L"    点击\"确定\"关闭Velmora\n \t\t\t\t\t\t\t  点击\"取消\"最小化Velmora到托盘\n", 2, m_hWnd);
    m_askingCloseChoice = false;
    if (answer == 1) {
        m_settingsFile.WriteText(settings::kCloseOrMin, L"c");
        Close(1);
    } else if (answer == 2) {
        m_settingsFile.WriteText(settings::kCloseOrMin, L"m");
        MinimiseToTray();
    }
}

void CCorvaneUIFrameWnd::ShowHomePage() {
    for (const wchar_t* name : {L"ResSetting", L"主界面"}) {
        if (auto* control = m_pm.FindControl(name)) control->SetVisible(true);
    }
    if (auto* more = m_pm.FindControl(L"MoreSetting")) more->SetVisible(false);
    CControlUI* home = m_pm.FindControl(L"首页");
    SetForeImage(home, L"首页选中.jpg");
    for (const wchar_t* name : {L"详细设置", L"数据库"}) {
        CControlUI* other = m_pm.FindControl(name);
        SetForeImage(other, L"");
        if (other) other->SetEnabled(true);
    }
    if (home) home->SetEnabled(false);
}

void CCorvaneUIFrameWnd::ShowDetailedSettingsPage() {
    CControlUI* detailed = m_pm.FindControl(L"详细设置");
    SetForeImage(detailed, L"设置选中.jpg");
    for (const wchar_t* name : {L"首页", L"数据库"}) {
        CControlUI* other = m_pm.FindControl(name);
        SetForeImage(other, L"");
        if (other) other->SetEnabled(true);
    }
    for (const wchar_t* name : {L"ResSetting", L"主界面"}) {
        if (auto* control = m_pm.FindControl(name)) control->SetVisible(false);
    }
    if (auto* more = m_pm.FindControl(L"MoreSetting")) more->SetVisible(true);
    if (detailed) detailed->SetEnabled(false);
    m_settingsPage->LoadDetailedSettings();
}

void CCorvaneUIFrameWnd::OpenDatabasePage() {
    for (const wchar_t* name : {L"首页", L"详细设置", L"数据库"}) {
        if (auto* control = m_pm.FindControl(name)) control->SetEnabled(true);
    }
    web::Open(web::DatabasePage(), SW_SHOW);
}

void CCorvaneUIFrameWnd::ShowFolderChooser() {
    auto chooser = std::make_unique<CFindPathWnd>();
    if (!chooser->Create(m_hWnd, L"", kChildWindowStyle, WS_EX_WINDOWEDGE, RECT{0, 0, 0, 0})) {
        ::EnableWindow(m_hWnd, TRUE);
        return;
    }
    chooser->CenterWindow();
    chooser->ShowModal();
    // The chooser re-enables its owner when it ends; make sure of it also when the
    // window went away some other way.
    ::EnableWindow(m_hWnd, TRUE);
}

void CCorvaneUIFrameWnd::ShowAbout() {
    auto about = std::make_unique<CAboutWnd>(L"当前游戏版本:" + m_ownVersion);
    if (!about->Create(m_hWnd, L"", kChildWindowStyle, WS_EX_WINDOWEDGE, RECT{0, 0, 0, 0})) return;
    about->CenterWindow();
    about->ShowModal();
}

void CCorvaneUIFrameWnd::OnGameEnded() {
    if (m_interaction) m_interaction->ResetReadiness();
    if (m_startButton) {
        if (!m_startButton->IsVisible()) m_startButton->SetVisible(true);
        m_startButton->SetEnabled(true);
        SetForeImage(m_startButton, L"");
    }
    ShowWindow(true, true);
}

void CCorvaneUIFrameWnd::StartGame() {
    settings::SettingsSnapshot& snapshot = m_settings;
    if (!CustomSizeAcceptable(snapshot)) {
        MessageBoxExW(nullptr, kCustomSizeRangeText, L"Velmora", MB_OK, 0);
        return;
    }
    if (!g_function->IsGameFolderValid()) {
        ::EnableWindow(m_hWnd, FALSE);
        PostMessage(UM_FINDPATH);
        return;
    }
    if (!g_function->IsGameFolderValid()) {
        MessageBoxW(m_hWnd, kUseAnkamaJavaText, L"Velmora", MB_OK);
    } else {
        FillEmptyCustomSize(snapshot);
        UseListSizeInFullScreen(snapshot);
        const StartSequenceResult started = RunStartSequence(snapshot, BuildResolutionEntry(snapshot));
        if (!started.scriptStarted) {
            // The game is not running: say why and keep the window as it is.
            const StartFailure failure =
                started.scriptWritten ? StartFailure::ScriptNotStarted : StartFailure::ScriptNotWritten;
            Trace(L"uicpp:start game failed\n");
            ShowMessageBox(L"提示", StartFailureText(failure), 5, m_hWnd);
            return;
        }
    }
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CCorvaneUIFrameWnd::OnFinalMessage(HWND) {
    const std::wstring avatar = m_folder.Join(L"user\\myhead_" + m_userId + L".jpg");
    if (GetFileAttributesW(avatar.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileW(avatar.c_str());
    if (m_collector) {
        m_collector->StopCollector();
        m_collector.reset();
    }
    if (m_interaction) {
        m_interaction->StopInteraction();
        m_interaction.reset();
    }
    m_userInfo.reset();
    m_wrappers.Clear();
    delete this;
}
