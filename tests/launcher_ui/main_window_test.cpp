// The main window controller on the real window and the real skin under Wine: the
// close rule, the tray, pages, menu items, messages from outside and the start.
#include "launcher/ui/main_frame_wnd.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "duilib/duilib.h"
#include "launcher/game/game_folder.h"
#include "launcher/settings/close_choice.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/ui/launcher_messages.h"
#include "launcher/ui/web_addresses.h"
#include "tests/duilib/ui_test_support.h"
#include "tests/support/exe_user_folder.h"
#include "tests/support/test_files.h"

using namespace settings;
using testing_support::TempDir;
using uitest::Pump;
using uitest::PumpUntil;

namespace {

std::vector<std::pair<std::wstring, int>> g_opened;
void RecordOpen(const wchar_t* url, int show) { g_opened.emplace_back(url, show); }

// Answers the next skinned box (class "MessageWnd") from a timer inside its modal
// loop: notes what the box and its owner looked like, then presses `button`.
struct BoxAnswer {
    static inline const wchar_t* button = nullptr;
    static inline HWND main = nullptr;
    static inline HWND owner = nullptr;
    static inline bool mainEnabled = true;
    static inline int mostBoxes = 0;
    static inline int boxesSeen = 0;
    static inline std::wstring text;
    static inline int ticks = 0;
    static BOOL CALLBACK CountOne(HWND hwnd, LPARAM out) {
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (std::wstring(name) == L"MessageWnd" && IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(out);
        return TRUE;
    }
    static int CountBoxes() {
        int count = 0;
        EnumWindows(&CountOne, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        if (++ticks > 100) {  // about 5 s: give up, close whatever is open
            KillTimer(nullptr, id);
            if (HWND box = FindWindowW(L"MessageWnd", nullptr)) PostMessageW(box, WM_CLOSE, 1, 0);
            return;
        }
        HWND box = FindWindowW(L"MessageWnd", nullptr);
        auto* wnd = dynamic_cast<WindowImplBase*>(CWindowWnd::FromHandle(box));
        if (!wnd || !IsWindowVisible(box)) return;
        // Let any queued clicks reach the window before the answer goes.
        if (ticks < 4) return;
        KillTimer(nullptr, id);
        ++boxesSeen;
        mostBoxes = CountBoxes();
        owner = GetWindow(box, GW_OWNER);
        mainEnabled = IsWindowEnabled(main) != FALSE;
        CPaintManagerUI& pm = wnd->GetPaintManager();
        pm.UpdateLayout();
        if (auto* label = pm.FindControl(L"messagebox")) text = label->GetText().str();
        CControlUI* target = pm.FindControl(button);
        if (!target) return;
        POINT pt = uitest::Center(target);
        PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    static void Arm(HWND mainWindow, const wchar_t* press) {
        button = press;
        main = mainWindow;
        owner = nullptr;
        mainEnabled = true;
        mostBoxes = 0;
        boxesSeen = 0;
        text.clear();
        ticks = 0;
        SetTimer(nullptr, 0, 50, &Tick);
    }
};

// Closes the next window of `windowClass` (a system box "#32770", the folder chooser
// "FindPath") from a timer, noting its owner and the main window's state.
struct WindowCloser {
    static inline const wchar_t* windowClass = nullptr;
    static inline HWND main = nullptr;
    static inline bool seen = false;
    static inline bool mainEnabled = true;
    static inline std::wstring title;
    static inline int ticks = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND found = FindWindowW(windowClass, nullptr);
        if (++ticks > 100 || (found && IsWindowVisible(found))) {
            KillTimer(nullptr, id);
            if (!found) return;
            seen = true;
            mainEnabled = IsWindowEnabled(main) != FALSE;
            wchar_t text[128] = {};
            GetWindowTextW(found, text, 128);
            title = text;
            PostMessageW(found, WM_CLOSE, 1, 0);
        }
    }
    static void Arm(HWND mainWindow, const wchar_t* cls) {
        windowClass = cls;
        main = mainWindow;
        seen = false;
        mainEnabled = true;
        title.clear();
        ticks = 0;
        SetTimer(nullptr, 0, 50, &Tick);
    }
};

class MainWindowTest : public testing_support::ExeUserFolderTest {
protected:
    Function function_{testing_support::ExecutableFolder()};
    ProcessFunctionScope functionScope_{function_};

    void SetUp() override {
        ExeUserFolderTest::SetUp();
        CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        CPaintManagerUI::SetResourcePath((CPaintManagerUI::GetInstancePath() + L"skin").GetData());
        CPaintManagerUI::SetResourceZip(L"Wakfu.ui", false);
        g_opened.clear();
        web::SetOpener(RecordOpen);
    }
    void Open() {
        window_ = new CCorvaneUIFrameWnd(ProgramFolder(testing_support::ExecutableFolder()), settings_);
        window_->SetOwnVersion(L"2.0.0");
        hwnd_ = window_->Create(nullptr, L"Velmora", 0x81, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
        ASSERT_NE(hwnd_, nullptr);
        window_->CenterWindow();
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
        Pump(100);
        window_->GetPaintManager().UpdateLayout();
    }
    void TearDown() override {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        Pump(50);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        web::SetOpener(nullptr);
        g_function->SetGameFolder(L"");
        ExeUserFolderTest::TearDown();
    }
    bool Alive() const { return IsWindow(hwnd_) != FALSE; }
    CControlUI* Control(const wchar_t* name) { return window_->GetPaintManager().FindControl(name); }
    void ClickControl(const wchar_t* name) {
        CControlUI* control = Control(name);
        ASSERT_NE(control, nullptr) << name;
        uitest::Click(hwnd_, uitest::Center(control));
    }
    void MenuItem(const wchar_t* item) {
        TNotifyUI msg;
        msg.sType = item;
        msg.pSender = Control(L"setting");
        window_->Notify(msg);
        Pump(100);
    }
    bool WaitClosed() {
        return PumpUntil([&] { return !Alive(); }, 3000);
    }
    std::wstring MakeGameFolder() {
        const std::wstring bin = game_.path() + L"\\Game\\jre\\win32\\x86\\bin";
        EXPECT_TRUE(testing_support::MakeFolders(bin));
        EXPECT_TRUE(testing_support::WriteBytes(bin + L"\\javaw.exe", "MZ"));
        settingsFile_.WriteText(kGamePath, game_.path());
        g_function->SetGameFolder(game_.path());
        return game_.path();
    }

    // The snapshot the window works on, as the launcher's context owns it; each test
    // starts from a zeroed one.
    SettingsSnapshot settings_;
    CCorvaneUIFrameWnd* window_ = nullptr;
    HWND hwnd_ = nullptr;
    TempDir game_;
};

}  // namespace

TEST_F(MainWindowTest, TheCloseQuestionIsOwnedByTheWindowAndItsAnswerIsStored) {
    Open();
    BoxAnswer::Arm(hwnd_, L"closebtn");
    ClickControl(L"close");
    ASSERT_TRUE(PumpUntil([] { return BoxAnswer::boxesSeen == 1 && !IsWindow(FindWindowW(L"MessageWnd", nullptr)); }));
    EXPECT_EQ(BoxAnswer::owner, hwnd_);
    EXPECT_FALSE(BoxAnswer::mainEnabled) << "the window takes no input behind its box";
    EXPECT_TRUE(IsWindowEnabled(hwnd_));
    EXPECT_TRUE(Alive());
    EXPECT_FALSE(IsIconic(hwnd_)) << "the box's own close changes nothing";
    EXPECT_EQ(ReadCloseChoiceText(settingsFile_.ProgramFolderPath()), L"");

    BoxAnswer::Arm(hwnd_, L"cancleBtn");
    ClickControl(L"close");
    ASSERT_TRUE(PumpUntil([] { return BoxAnswer::boxesSeen == 1 && !IsWindow(FindWindowW(L"MessageWnd", nullptr)); }));
    EXPECT_EQ(ReadCloseChoiceText(settingsFile_.ProgramFolderPath()), L"m");
    EXPECT_TRUE(IsIconic(hwnd_));
    EXPECT_EQ(IsWindowVisible(hwnd_) == FALSE, window_->HasTrayIcon()) << "hidden only when the tray can bring it back";

    // Double click on the tray icon brings it back.
    SendMessageW(hwnd_, UM_TRAYICON, 100, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_FALSE(IsIconic(hwnd_));
}

TEST_F(MainWindowTest, OkClosesAndTwoQuickClicksAskOnlyOnce) {
    Open();
    BoxAnswer::Arm(hwnd_, L"yesBtn");
    CControlUI* close = Control(L"close");
    ASSERT_NE(close, nullptr);
    const POINT at = uitest::Center(close);
    for (int i = 0; i < 2; ++i) {
        PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(BoxAnswer::mostBoxes, 1);
    EXPECT_EQ(ReadCloseChoiceText(settingsFile_.ProgramFolderPath()), L"c");
    Pump(300);
    EXPECT_EQ(FindWindowW(L"MessageWnd", nullptr), nullptr) << "no second question outlives the window";
}

TEST_F(MainWindowTest, ASavedCloseChoiceIsFollowedWithoutAsking) {
    settingsFile_.WriteText(kCloseOrMin, L"m");
    Open();
    ClickControl(L"close");
    Pump(200);
    EXPECT_TRUE(Alive());
    EXPECT_TRUE(IsIconic(hwnd_));
    EXPECT_EQ(FindWindowW(L"MessageWnd", nullptr), nullptr);
    SendMessageW(hwnd_, UM_TRAYICON, 100, WM_MOUSEMOVE);  // other tray events change nothing
    EXPECT_TRUE(IsIconic(hwnd_));
    SendMessageW(hwnd_, UM_TRAYICON, 100, WM_LBUTTONDBLCLK);

    settingsFile_.WriteText(kCloseOrMin, L"c");
    ClickControl(L"close");
    EXPECT_TRUE(WaitClosed());
}

TEST_F(MainWindowTest, AnyOtherSavedChoiceAsks) {
    settingsFile_.WriteText(kCloseOrMin, L"x");
    Open();
    BoxAnswer::Arm(hwnd_, L"yesBtn");
    ClickControl(L"close");
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ(BoxAnswer::boxesSeen, 1);
    EXPECT_EQ(ReadCloseChoiceText(settingsFile_.ProgramFolderPath()), L"c");
}

TEST_F(MainWindowTest, ARightClickOnTheTrayOpensTheMenuAboveTheCursor) {
    Open();
    SetCursorPos(600, 500);
    POINT cursor{};
    GetCursorPos(&cursor);
    SendMessageW(hwnd_, UM_TRAYICON, 100, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowW(L"SettingsWnd", nullptr)) != nullptr; }));
    RECT rc{};
    GetWindowRect(menu, &rc);
    EXPECT_EQ(rc.left, cursor.x - 30);
    EXPECT_EQ(rc.top, cursor.y - 110);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([] { return FindWindowW(L"SettingsWnd", nullptr) == nullptr; }));
}

TEST_F(MainWindowTest, TabsSwitchPagesAndTheDatabaseTabOpensItsSite) {
    Open();
    ClickControl(L"详细设置");
    EXPECT_TRUE(Control(L"MoreSetting")->IsVisible());
    EXPECT_FALSE(Control(L"ResSetting")->IsVisible());
    EXPECT_FALSE(Control(L"详细设置")->IsEnabled());
    EXPECT_TRUE(Control(L"首页")->IsEnabled());
    window_->GetPaintManager().UpdateLayout();
    ClickControl(L"首页");
    EXPECT_FALSE(Control(L"MoreSetting")->IsVisible());
    EXPECT_TRUE(Control(L"ResSetting")->IsVisible());
    EXPECT_FALSE(Control(L"首页")->IsEnabled());
    ClickControl(L"数据库");
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].first, web::DatabasePage());
    EXPECT_EQ(g_opened[0].second, SW_SHOW);
    EXPECT_TRUE(Control(L"首页")->IsEnabled());
}

TEST_F(MainWindowTest, MenuItemsAndButtonsOpenTheirPagesAndWindows) {
    Open();
    MenuItem(L"官方网站");
    MenuItem(L"反馈问题");
    ClickControl(L"feedback");
    ClickControl(L"BtnTarnelLogo");
    Pump(100);
    const std::vector<std::pair<std::wstring, int>> expected{{web::OfficialSite(), SW_SHOWNORMAL},
                                                            {web::FeedbackPage(), SW_SHOWNORMAL},
                                                            {web::FeedbackPage(), SW_SHOWNORMAL},
                                                            {web::PortalPage(), SW_SHOWNORMAL}};
    EXPECT_EQ(g_opened, expected);

    WindowCloser::Arm(hwnd_, L"FindPath");
    MenuItem(L"自定义路径");
    ASSERT_TRUE(PumpUntil([] { return WindowCloser::seen && !FindWindowW(L"FindPath", nullptr); }));
    EXPECT_FALSE(WindowCloser::mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(hwnd_));

    BoxAnswer::Arm(hwnd_, L"closebtn");
    MenuItem(L"关于");
    ASSERT_TRUE(PumpUntil([] { return BoxAnswer::boxesSeen == 1 && !FindWindowW(L"MessageWnd", nullptr); }));
    EXPECT_EQ(BoxAnswer::owner, hwnd_) << "the about window belongs to the main window";
    EXPECT_FALSE(BoxAnswer::mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(hwnd_));

    MenuItem(L"退出");
    EXPECT_TRUE(WaitClosed());
}

// The test folder has no Updater.exe: the launcher says so and stays.
TEST_F(MainWindowTest, CheckForUpdatesWithoutAnUpdaterSaysSoAndStays) {
    Open();
    BoxAnswer::Arm(hwnd_, L"yesBtn");
    MenuItem(L"检查更新");
    ASSERT_TRUE(PumpUntil([] { return BoxAnswer::boxesSeen == 1 && !FindWindowW(L"MessageWnd", nullptr); }));
    EXPECT_NE(BoxAnswer::text.find(L"Updater.exe"), std::wstring::npos) << testing_support::Gbk(BoxAnswer::text);
    Pump(200);
    EXPECT_TRUE(Alive());
}

TEST_F(MainWindowTest, GameEndedFromAnotherProcessRestoresTheWindowAndTheStartButton) {
    Open();
    CControlUI* start = Control(L"btnStartGame");
    ASSERT_NE(start, nullptr);
    start->SetEnabled(false);
    start->SetVisible(false);
    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ::ShowWindow(hwnd_, SW_HIDE);

    const std::wstring sender = testing_support::ExecutableFolder() + L"\\game_ended_sender.exe";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + sender + L"\"";
    ASSERT_TRUE(CreateProcessW(sender.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 10000);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(hwnd_) != FALSE; }));
    EXPECT_TRUE(start->IsVisible());
    EXPECT_TRUE(start->IsEnabled());
}

TEST_F(MainWindowTest, TheCaptionDragsExceptOverButtonsAndMaximiseIsSwallowed) {
    Open();
    const RECT caption = window_->GetPaintManager().GetCaptionRect();
    ASSERT_GT(caption.bottom, caption.top);
    RECT client{};
    GetClientRect(hwnd_, &client);
    auto hit = [&](POINT pt) {
        ClientToScreen(hwnd_, &pt);
        return SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    };
    // A free spot of the caption: left of the buttons, right of the logo.
    CControlUI* close = Control(L"close");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(hit(uitest::Center(close)), HTCLIENT) << "buttons take their clicks";
    EXPECT_EQ(hit(POINT{client.right / 2, caption.top + 2}), HTCAPTION);
    EXPECT_EQ(hit(POINT{client.right / 2, caption.bottom + 5}), HTCLIENT) << "below the caption";

    SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(IsZoomed(hwnd_));
}

TEST_F(MainWindowTest, AStartWithoutAGameFolderOffersTheChooserInstead) {
    Open();
    WindowCloser::Arm(hwnd_, L"FindPath");
    ClickControl(L"btnStartGame");
    ASSERT_TRUE(PumpUntil([] { return WindowCloser::seen && !FindWindowW(L"FindPath", nullptr); }));
    EXPECT_FALSE(WindowCloser::mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(hwnd_));
    EXPECT_FALSE(IsIconic(hwnd_));
}

TEST_F(MainWindowTest, ACustomSizeOutOfRangeIsRefusedWithTheSizeMessage) {
    MakeGameFolder();
    Open();
    SettingsSnapshot& s = settings_;
    s.windowStyle = 1;
    s.resolutionSelection = 5;
    s.customWidth = L"799";
    s.customHeight = L"600";
    WindowCloser::Arm(hwnd_, L"#32770");
    window_->StartGame();
    EXPECT_TRUE(WindowCloser::seen);
    EXPECT_EQ(WindowCloser::title, L"Velmora");
    EXPECT_EQ(GetFileAttributesW((game_.path() + L"\\game\\RunGame.bat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(IsIconic(hwnd_));
}

// A folder where the launch script goes: the start fails, the box says why and the
// window stays as it was.
TEST_F(MainWindowTest, AScriptThatCannotBeWrittenIsShownAndTheWindowStays) {
    MakeGameFolder();
    ASSERT_TRUE(testing_support::MakeFolders(game_.path() + L"\\game\\RunGame.bat"));
    Open();
    BoxAnswer::Arm(hwnd_, L"yesBtn");
    window_->StartGame();
    EXPECT_EQ(BoxAnswer::boxesSeen, 1);
    EXPECT_NE(BoxAnswer::text.find(L"游戏未能启动"), std::wstring::npos);
    EXPECT_EQ(BoxAnswer::owner, hwnd_);
    EXPECT_FALSE(IsIconic(hwnd_));
    EXPECT_TRUE(IsWindowVisible(hwnd_));
}

TEST_F(MainWindowTest, TheTrayIconComesBackWhenTheShellRestarts) {
    Open();
    const bool had = window_->HasTrayIcon();
    NOTIFYICONDATAW gone{};
    gone.cbSize = sizeof(gone);
    gone.hWnd = hwnd_;
    gone.uID = 100;
    Shell_NotifyIconW(NIM_DELETE, &gone);
    SendMessageW(hwnd_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(window_->HasTrayIcon(), had);
    if (had) {
        // Present again: deleting it once more succeeds.
        EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
        SendMessageW(hwnd_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    }
}
