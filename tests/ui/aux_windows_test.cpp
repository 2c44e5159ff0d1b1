// The launcher's auxiliary windows on the real skin archive under Wine.
#include <gtest/gtest.h>

#include "launcher/game/folder_commit.h"
#include "launcher/game/game_folder.h"
#include "launcher/settings/settings_file.h"
#include "launcher/ui/custom_vertical_layout.h"
#include "launcher/ui/dialog_builder_callback.h"
#include "launcher/ui/dui_manager.h"
#include "launcher/ui/find_path_wnd.h"
#include "launcher/ui/message_box_rules.h"
#include "launcher/ui/message_wnd.h"
#include "launcher/ui/settings_wnd.h"
#include "tests/duilib/ui_test_support.h"

using namespace uitest;
using testing_support::TempDir;

namespace {

void UseRealSkin() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourcePath((CPaintManagerUI::GetInstancePath() + L"skin").GetData());
    CPaintManagerUI::SetResourceZip(L"Wakfu.ui", false);
}

// A window over a layout of the real skin that also records UM_LAYOUTSCROLL.
class SkinWindow : public LayoutWindow {
public:
    explicit SkinWindow(const wchar_t* layout) : LayoutWindow(layout) {}
    std::vector<WPARAM> scrolls;
    CControlUI* CreateControl(const wchar_t* className) override { return callback_.CreateControl(className); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == UM_LAYOUTSCROLL) scrolls.push_back(wParam);
        return LayoutWindow::HandleMessage(msg, wParam, lParam);
    }

private:
    CDialogBuilderCallback callback_;
};

// Drives the message box that ShowMessageBox runs: from a timer inside its modal
// loop, checks the buttons and clicks the one named.
struct BoxDriver {
    static inline const wchar_t* button = nullptr;
    static inline bool cancelVisible = true;
    static inline RECT yesFloat{};
    static inline bool pressEscape = false;
    static inline DWORD headerColor = 0, textColor = 0;
    static inline std::wstring header, text;
    static inline int ticks = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        if (++ticks > 100) {  // give up after ~5 s: close whatever is there
            KillTimer(nullptr, id);
            if (HWND box = FindWindowW(L"MessageWnd", nullptr)) PostMessageW(box, WM_CLOSE, 1, 0);
            return;
        }
        HWND box = FindWindowW(L"MessageWnd", nullptr);
        auto* wnd = dynamic_cast<WindowImplBase*>(CWindowWnd::FromHandle(box));
        if (!wnd || !IsWindowVisible(box)) return;
        KillTimer(nullptr, id);
        CPaintManagerUI& pm = wnd->GetPaintManager();
        pm.UpdateLayout();
        CControlUI* cancel = pm.FindControl(L"cancleBtn");
        CControlUI* yes = pm.FindControl(L"yesBtn");
        cancelVisible = cancel && cancel->IsVisible();
        yesFloat = yes ? yes->GetFloatPos() : RECT{};
        if (auto* h = dynamic_cast<CLabelUI*>(pm.FindControl(L"header"))) {
            headerColor = h->GetTextColor();
            header = h->GetText().str();
        }
        if (auto* m = dynamic_cast<CLabelUI*>(pm.FindControl(L"messagebox"))) {
            textColor = m->GetTextColor();
            text = m->GetText().str();
        }
        if (pressEscape) {
            PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        CControlUI* target = pm.FindControl(button);
        if (!target) return;
        POINT pt = Center(target);
        PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    static int Run(int type, const wchar_t* press, bool escape = false) {
        button = press;
        pressEscape = escape;
        cancelVisible = true;
        yesFloat = RECT{};
        ticks = 0;
        SetTimer(nullptr, 0, 50, &Tick);
        return ShowMessageBox(L"提示", L"测试文字", type);
    }
};

}  // namespace

TEST(MessageBoxRules, TypesAndButtons) {
    EXPECT_EQ(MessageBoxKindForType(1), MessageBoxKind::Big);
    EXPECT_EQ(MessageBoxKindForType(2), MessageBoxKind::Normal);
    EXPECT_EQ(MessageBoxKindForType(3), MessageBoxKind::Normal);
    EXPECT_EQ(MessageBoxKindForType(4), MessageBoxKind::BigNoCancel);
    EXPECT_EQ(MessageBoxKindForType(5), MessageBoxKind::NormalNoCancel);
    EXPECT_EQ(MessageBoxKindForType(6), MessageBoxKind::NormalNoCancel);
    EXPECT_EQ(MessageBoxKindForType(0), MessageBoxKind::None);
    EXPECT_EQ(MessageBoxKindForType(7), MessageBoxKind::None);
    EXPECT_EQ(MessageBoxResultForButton(L"yesBtn"), 1);
    EXPECT_EQ(MessageBoxResultForButton(L"cancleBtn"), 2);
    EXPECT_EQ(MessageBoxResultForButton(L"closebtn"), 3);
    EXPECT_EQ(MessageBoxResultForButton(L"messagebox"), 0);
}

TEST(MessageBoxes, SingleOkBoxShowsOneCentredButton) {
    UseRealSkin();
    EXPECT_EQ(BoxDriver::Run(5, L"yesBtn"), 1);
    EXPECT_FALSE(BoxDriver::cancelVisible);
    EXPECT_EQ(BoxDriver::yesFloat.left, 60);
    EXPECT_EQ(BoxDriver::yesFloat.top, 0);
    EXPECT_EQ(BoxDriver::yesFloat.right, 160);
    EXPECT_EQ(BoxDriver::yesFloat.bottom, 45);
    EXPECT_EQ(BoxDriver::Run(5, L"closebtn"), 3);
    EXPECT_EQ(BoxDriver::Run(4, L"yesBtn"), 1);
    EXPECT_FALSE(BoxDriver::cancelVisible);
    EXPECT_EQ(BoxDriver::Run(6, L"closebtn"), 3);
    EXPECT_FALSE(BoxDriver::cancelVisible);
}

TEST(MessageBoxes, BoxesWithCancelAnswerEachButton) {
    UseRealSkin();
    EXPECT_EQ(BoxDriver::Run(2, L"cancleBtn"), 2);
    EXPECT_TRUE(BoxDriver::cancelVisible);
    EXPECT_EQ(BoxDriver::header, L"提示");
    EXPECT_EQ(BoxDriver::text, L"测试文字");
    EXPECT_EQ(BoxDriver::headerColor, 0xFFFFFFFFu);
    EXPECT_EQ(BoxDriver::textColor, 0xFF4A4949u);
    EXPECT_EQ(BoxDriver::Run(2, L"yesBtn"), 1);
    EXPECT_EQ(BoxDriver::Run(1, L"closebtn"), 3);
    EXPECT_TRUE(BoxDriver::cancelVisible);
    EXPECT_EQ(BoxDriver::Run(3, L"cancleBtn"), 2);
    // Closed another way (Escape): 0.
    EXPECT_EQ(BoxDriver::Run(2, nullptr, true), 0);
}

TEST(MessageBoxes, UnknownTypeShowsNothing) {
    UseRealSkin();
    EXPECT_EQ(ShowMessageBox(L"t", L"x", 0), 0);
    EXPECT_EQ(ShowMessageBox(L"t", L"x", 7), 0);
    EXPECT_EQ(FindWindowW(L"MessageWnd", nullptr), nullptr);
}

class FolderChooser : public ::testing::Test {
protected:
    // The chooser works on the process's game folder holder, as in the launcher.
    Function function_{testing_support::ExecutableFolder()};
    ProcessFunctionScope functionScope_{function_};
    settings::SettingsFile settingsFile_{function_.GetLauncherFolder()};

    void SetUp() override {
        UseRealSkin();
        settingsPath_ = g_function->GetLauncherFolder() + L"\\" + settings::kSettingsFile;
        savedSettings_ = testing_support::ReadBytes(settingsPath_);
        hadSettings_ = testing_support::Exists(settingsPath_);
        testing_support::MakeFolders(g_function->GetLauncherFolder() + L"\\user");
        previousFolder_ = g_function->GetGameFolder();
        ASSERT_TRUE(testing_support::MakeFolders(game_ / L"Game\\jre\\win32\\x86\\bin"));
        ASSERT_TRUE(testing_support::WriteBytes(game_ / L"Game\\jre\\win32\\x86\\bin\\javaw.exe", "MZ"));
    }
    void TearDown() override {
        g_function->SetGameFolder(previousFolder_);
        if (hadSettings_) testing_support::WriteBytes(settingsPath_, savedSettings_);
        else DeleteFileW(settingsPath_.c_str());
    }
    // Types `path` into the chooser and presses "surepath".
    void Confirm(CFindPathWnd& chooser, const std::wstring& path) {
        CPaintManagerUI& pm = chooser.GetPaintManager();
        pm.UpdateLayout();
        pm.FindControl(L"pathstr")->SetText(path.c_str());
        Click(chooser.GetHWND(), Center(pm.FindControl(L"surepath")));
    }
    TempDir game_{L"game"};
    TempDir other_{L"notgame"};
    std::wstring settingsPath_;
    std::string savedSettings_;
    bool hadSettings_ = false;
    std::wstring previousFolder_;
};

TEST_F(FolderChooser, AcceptsAGameFolderAndSavesIt) {
    g_function->SetGameFolder(L"");
    CFindPathWnd chooser;
    ASSERT_NE(chooser.Create(nullptr, L"", 0x96C80000, WS_EX_WINDOWEDGE, RECT{}), nullptr);
    EXPECT_EQ(chooser.GetPaintManager().FindControl(L"pathstr")->GetText(), L"");  // no valid folder yet
    Pump(300);
    EXPECT_EQ(dynamic_cast<CEditUI*>(chooser.GetPaintManager().FindControl(L"pathstr"))->GetNativeWindow(), nullptr);
    EXPECT_EQ(chooser.GetPaintManager().GetFocus(), nullptr);
    HWND hwnd = chooser.GetHWND();
    Confirm(chooser, game_.path());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }));
    EXPECT_TRUE(chooser.IsAccepted());
    EXPECT_EQ(g_function->GetGameFolder(), game_.path());
    EXPECT_EQ(settingsFile_.ReadText(settings::kGamePath), game_.path());

    // Opened again, it shows the folder now in use.
    CFindPathWnd again;
    ASSERT_NE(again.Create(nullptr, L"", 0x96C80000, WS_EX_WINDOWEDGE, RECT{}), nullptr);
    EXPECT_EQ(again.GetPaintManager().FindControl(L"pathstr")->GetText(), game_.path());
}

TEST_F(FolderChooser, RefusesAFolderWithoutTheGameRuntime) {
    g_function->SetGameFolder(game_.path());
    settingsFile_.WriteText(settings::kGamePath, game_.path());
    CFindPathWnd chooser;
    ASSERT_NE(chooser.Create(nullptr, L"", 0x96C80000, WS_EX_WINDOWEDGE, RECT{}), nullptr);
    Confirm(chooser, other_.path());
    Pump(100);
    EXPECT_TRUE(IsWindow(chooser.GetHWND()));  // stays open
    EXPECT_FALSE(chooser.IsAccepted());
    EXPECT_EQ(chooser.GetPaintManager().FindControl(L"pathstr")->GetText(), kRejectedFolderText);
    EXPECT_EQ(g_function->GetGameFolder(), game_.path());
    EXPECT_EQ(settingsFile_.ReadText(settings::kGamePath), game_.path());
    // The cancel button closes it.
    Click(chooser.GetHWND(), Center(chooser.GetPaintManager().FindControl(L"canlepath")));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(chooser.GetHWND()); }));
}

class PopupMenu : public ::testing::Test {
protected:
    void SetUp() override {
        UseRealSkin();
        ASSERT_TRUE(owner_.Open());
        anchor_ = owner_.pm().FindControl(L"closebtn");
        ASSERT_NE(anchor_, nullptr);
    }
    HWND OpenMenu(const wchar_t* layout, int x = 200, int y = 150) {
        CSettingsWnd* menu = CSettingsWnd::Popup(anchor_, layout, x, y);
        if (!menu) return nullptr;
        HWND hwnd = menu->GetHWND();
        Pump(50);
        return hwnd;
    }
    SkinWindow owner_{L"MessageWndNormal.xml"};
    CControlUI* anchor_ = nullptr;
};

TEST_F(PopupMenu, AppearsTopmostAtThePointAndClosesOnFocusLoss) {
    HWND menu = OpenMenu(L"setting.xml", 220, 160);
    ASSERT_NE(menu, nullptr);
    RECT rc{};
    GetWindowRect(menu, &rc);
    EXPECT_EQ(rc.left, 220);
    EXPECT_EQ(rc.top, 160);
    EXPECT_TRUE(GetWindowLongPtrW(menu, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(menu, GW_OWNER), owner_.GetHWND());
    // Another window takes the focus: the menu goes away (and deletes itself).
    SetForegroundWindow(owner_.GetHWND());
    SetFocus(owner_.GetHWND());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu); }));
}

TEST_F(PopupMenu, ChosenItemReachesTheOwnerAsANotificationAndCloses) {
    HWND menu = OpenMenu(L"notify.xml");
    ASSERT_NE(menu, nullptr);
    auto* wnd = dynamic_cast<CSettingsWnd*>(CWindowWnd::FromHandle(menu));
    ASSERT_NE(wnd, nullptr);
    wnd->GetPaintManager().UpdateLayout();
    CControlUI* item = wnd->GetPaintManager().FindControl(L"启动游戏");
    ASSERT_NE(item, nullptr);
    Click(menu, Center(item));
    EXPECT_TRUE(PumpUntil([&] { return !owner_.recorder.Of(L"启动游戏").empty() && !IsWindow(menu); }));
    auto got = owner_.recorder.Of(L"启动游戏");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].sender, L"closebtn");
    EXPECT_EQ(got[0].wParam, 0u);
}

TEST_F(PopupMenu, EscapeClosesAndBadArgumentsShowNothing) {
    HWND menu = OpenMenu(L"setting.xml");
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu); }));
    CSettingsWnd lonely;
    EXPECT_EQ(lonely.ShowMenu(nullptr, L"setting.xml", 0, 0), 0);
    EXPECT_EQ(lonely.ShowMenu(anchor_, nullptr, 0, 0), 0);
    EXPECT_EQ(CSettingsWnd::Popup(anchor_, L"absent.xml", 0, 0), nullptr);
}

TEST(ControlWrappers, KindsFollowTheIdentifierRanges) {
    EXPECT_EQ(WrapperKindForIdentifier(5), kDuiButton);
    EXPECT_EQ(WrapperKindForIdentifier(11), kDuiButton);
    EXPECT_EQ(WrapperKindForIdentifier(12), kDuiCombobox);
    EXPECT_EQ(WrapperKindForIdentifier(15), kDuiCombobox);
    EXPECT_EQ(WrapperKindForIdentifier(16), kDuiButton);
    EXPECT_EQ(WrapperKindForIdentifier(18), kDuiCheckbox);
    EXPECT_EQ(WrapperKindForIdentifier(23), kDuiCheckbox);
}

TEST(ControlWrappers, ClearStartupChecksUnchecksTheRegisteredBoxes) {
    UseRealSkin();
    SkinWindow main(L"skin.xml");
    ASSERT_TRUE(main.Open());
    DuiManager registry;
    EXPECT_FALSE(registry.Register(19, L"Lab_youhuajiasu"));  // no paint manager yet
    registry.SetPaintManager(&main.pm());
    EXPECT_TRUE(registry.Register(5, L"首页"));
    EXPECT_TRUE(registry.Register(19, L"Lab_youhuajiasu"));
    EXPECT_TRUE(registry.Register(21, L"Lab_View"));
    EXPECT_TRUE(registry.Register(22, L"LabelUI4"));
    EXPECT_FALSE(registry.Register(23, L"NoSuchControl"));
    ASSERT_NE(registry.Lookup(5), nullptr);
    EXPECT_EQ(registry.Lookup(5)->kind, kDuiButton);
    EXPECT_EQ(registry.Lookup(20), nullptr);
    EXPECT_EQ(registry.Lookup(23), nullptr);
    for (const wchar_t* name : {L"Lab_youhuajiasu", L"Lab_View", L"LabelUI4", L"UIStartMode"})
        dynamic_cast<CCheckBoxUI*>(main.pm().FindControl(name))->SetCheck(true);
    // Another registry (another window's) holds none of these and clears nothing.
    DuiManager other;
    EXPECT_EQ(other.Lookup(19), nullptr);
    ClearStartupChecks(other);
    EXPECT_TRUE(dynamic_cast<CCheckBoxUI*>(main.pm().FindControl(L"Lab_youhuajiasu"))->GetCheck());
    ClearStartupChecks(registry);
    EXPECT_FALSE(dynamic_cast<CCheckBoxUI*>(main.pm().FindControl(L"Lab_youhuajiasu"))->GetCheck());
    EXPECT_FALSE(dynamic_cast<CCheckBoxUI*>(main.pm().FindControl(L"Lab_View"))->GetCheck());
    EXPECT_FALSE(dynamic_cast<CCheckBoxUI*>(main.pm().FindControl(L"LabelUI4"))->GetCheck());
    EXPECT_TRUE(dynamic_cast<CCheckBoxUI*>(main.pm().FindControl(L"UIStartMode"))->GetCheck());  // not registered
    registry.Clear();
}

TEST(CustomLayout, ScrollingTellsTheWindowFirst) {
    UseRealSkin();
    EXPECT_EQ(CDialogBuilderCallback().CreateControl(L"Unknown"), nullptr);
    SkinWindow main(L"skin.xml");
    ASSERT_TRUE(main.Open());
    auto* page = dynamic_cast<CCustomVerticalLayoutUI*>(main.pm().FindControl(L"MoreSetting"));
    ASSERT_NE(page, nullptr);
    main.pm().UpdateLayout();
    ASSERT_TRUE(page->IsVerticalScrollBarVisible());  // the settings page is taller than its area
    int range = page->GetScrollRange().cy;
    ASSERT_GT(range, 0);
    CControlUI* first = main.pm().FindControl(L"UIStartMode");
    LONG top = first->GetPos().top;
    page->SetScrollPos(SIZE{0, 50});
    ASSERT_EQ(main.scrolls.size(), 1u);
    EXPECT_EQ(main.scrolls[0], 50u);
    EXPECT_EQ(page->GetScrollPos().cy, 50);
    EXPECT_EQ(first->GetPos().top, top - 50);  // content moved up
    page->SetScrollPos(SIZE{0, 100000});
    EXPECT_EQ(page->GetScrollPos().cy, range);  // clamped to the range
    // The wheel scrolls too, through the same path.
    POINT pt = Center(page);
    ClientToScreen(main.GetHWND(), &pt);
    SendMessageW(main.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(main.scrolls.size(), 3u);
    EXPECT_LT(page->GetScrollPos().cy, range);
}
