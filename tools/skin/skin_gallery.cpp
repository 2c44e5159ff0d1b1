// Shows one of the skin's windows for a while so that tools/skin/screenshots.sh can
// photograph it:  velmora_skin_gallery <home|settings|message|about|findpath|menu-setting|menu-notify> [ms]
// The main window here is a stand-in built from "skin.xml" with the library only; the
// launcher's real main window behaves the same on screen.
#include <windows.h>

#include <cwchar>
#include <string>

#include "duilib/duilib.h"
#include "launcher/ui/about_wnd.h"
#include "launcher/ui/dialog_builder_callback.h"
#include "launcher/ui/find_path_wnd.h"
#include "launcher/ui/message_wnd.h"
#include "launcher/ui/settings_wnd.h"

namespace {

class MainStandIn : public CWindowWnd, public INotifyUI {
public:
    explicit MainStandIn(bool settingsPage) : settingsPage_(settingsPage) {}
    CPaintManagerUI pm;
    void Notify(TNotifyUI&) override {}

protected:
    const wchar_t* GetWindowClassName() const override { return L"ZorvikUIFram"; }
    UINT GetClassStyle() const override { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) {
            LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
            SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & 0xFF3FFFFF) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
            pm.Init(m_hWnd);
            CDialogBuilder builder;
            CDialogBuilderCallback callback;
            CControlUI* root = builder.Create(L"skin.xml", &callback, &pm);
            if (!root) return -1;
            pm.AttachDialog(root);
            pm.AddNotifier(this);
            Populate();
            return 0;
        }
        if (msg == WM_NCCALCSIZE || msg == WM_NCPAINT) return 0;
        if (msg == WM_NCACTIVATE) return IsIconic(m_hWnd) ? CWindowWnd::HandleMessage(msg, wParam, lParam) : !wParam;
        LRESULT result = 0;
        if (pm.MessageHandler(msg, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }

private:
    template <typename T>
    T* Find(const wchar_t* name) { return dynamic_cast<T*>(pm.FindControl(name)); }

    void Populate() {
        if (auto* v = Find<CLabelUI>(L"Zorvik版本号")) v->SetText(L"Velmora2.0.0");
        if (auto* home = Find<CButtonUI>(L"首页")) home->SetForeImage(settingsPage_ ? L"" : L"首页选中.jpg");
        if (auto* more = Find<CButtonUI>(L"详细设置")) more->SetForeImage(settingsPage_ ? L"设置选中.jpg" : L"");
        if (auto* b = Find<CButtonUI>(settingsPage_ ? L"详细设置" : L"首页")) b->SetEnabled(false);
        if (CControlUI* c = pm.FindControl(L"ButtonUI1")) c->SetEnabled(false);
        if (CControlUI* c = pm.FindControl(L"MoreSetting")) c->SetVisible(settingsPage_);
        if (CControlUI* c = pm.FindControl(L"主界面")) c->SetVisible(!settingsPage_);
        if (CControlUI* c = pm.FindControl(L"ResSetting")) c->SetVisible(!settingsPage_);
        if (auto* c = Find<CCheckBoxUI>(L"Lab_youhuajiasu")) c->SetCheck(true);
        if (auto* c = Find<CCheckBoxUI>(L"UIStartMode")) c->SetCheck(true);
        if (auto* c = Find<CCheckBoxUI>(L"CheckBoxTianQinXiaoGuo")) c->SetCheck(true);
        if (auto* c = Find<CCheckBoxUI>(L"CheckBoxbeijingyinyue")) c->SetCheck(true);
        if (auto* s = Find<CSliderUI>(L"Slideryouhuajiasu")) s->SetValue(1);
        if (auto* s = Find<CSliderUI>(L"Sliderhuanjingxijie")) s->SetValue(2);
        if (auto* l = Find<CLabelUI>(L"LabelUI8")) l->SetText(L"适合8G至16G内存的电脑使用,占用内存约1.1G至1.2G");
        if (auto* c = Find<CComboUI>(L"Combochaungkoumoshi")) c->SelectItem(1);
        if (auto* c = Find<CComboUI>(L"Combofenbianlv")) c->SelectItem(5);
        if (auto* e = Find<CEditUI>(L"Editkuan")) e->SetText(L"1920");
        if (auto* e = Find<CEditUI>(L"Editgao")) e->SetText(L"1080");
    }

    bool settingsPage_;
};

void CALLBACK QuitTimer(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring what = argc > 1 ? argv[1] : L"home";
    UINT ms = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 4000;
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourcePath((CPaintManagerUI::GetInstancePath() + L"skin").GetData());
    CPaintManagerUI::SetResourceZip(L"Wakfu.ui", false);
    SetTimer(nullptr, 0, ms, &QuitTimer);

    if (what == L"message") {
        ShowMessageBox(L"提示", L"    点击\"确定\"关闭Velmora\n \t\t\t\t\t\t\t  点击\"取消\"最小化Velmora到托盘\n", 2);
        return 0;
    }
    if (what == L"message5") {
        ShowMessageBox(L"错误", L"\n\t网络连接错误", 5);
        return 0;
    }
    if (what == L"about") {
        CAboutWnd about(L"当前游戏版本:2.0.0");
        about.Create(nullptr, L"", 0x96C80000, WS_EX_WINDOWEDGE, RECT{});
        about.CenterWindow();
        about.ShowModal();
        return 0;
    }
    if (what == L"findpath") {
        CFindPathWnd chooser;
        chooser.Create(nullptr, L"", 0x96C80000, WS_EX_WINDOWEDGE, RECT{});
        chooser.CenterWindow();
        chooser.ShowModal();
        return 0;
    }
    MainStandIn main(what == L"settings");
    if (!main.Create(nullptr, L"Velmora", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 1024, 600)) return 1;
    main.CenterWindow();
    main.ShowWindow(true, true);
    UpdateWindow(main.GetHWND());
    if (what == L"menu-setting" || what == L"menu-notify") {
        CControlUI* anchor = main.pm.FindControl(L"setting");
        RECT rc = anchor ? anchor->GetPos() : RECT{};
        POINT pt{rc.left, rc.bottom - 5};
        ClientToScreen(main.GetHWND(), &pt);
        if (what == L"menu-notify") pt = POINT{pt.x - 160, pt.y + 120};
        CSettingsWnd::Popup(anchor, what == L"menu-setting" ? L"setting.xml" : L"notify.xml", pt.x, pt.y);
    }
    CPaintManagerUI::MessageLoop();
    return 0;
}
