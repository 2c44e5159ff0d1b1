// Helpers for tests that drive real windows of the UI library under Wine: a test
// archive on disk, a window built from one of its layouts, a notification recorder,
// bounded message pumping and synthetic mouse input.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "duilib/duilib.h"
#include "tests/support/test_files.h"

namespace uitest {

struct Seen {
    std::wstring type;
    std::wstring sender;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool senderChecked = false;  // check state of an option sender when notified
    std::wstring senderText;
};

class Recorder : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override {
        Seen s;
        s.type = msg.sType.str();
        s.sender = msg.pSender ? msg.pSender->GetName().str() : L"";
        s.wParam = msg.wParam;
        s.lParam = msg.lParam;
        if (auto* option = dynamic_cast<COptionUI*>(msg.pSender)) s.senderChecked = option->IsSelected();
        if (msg.pSender) s.senderText = msg.pSender->GetText().str();
        seen.push_back(s);
        if (onNotify) onNotify(msg);
    }
    std::vector<Seen> Of(const std::wstring& type) const {
        std::vector<Seen> out;
        for (const Seen& s : seen)
            if (s.type == type) out.push_back(s);
        return out;
    }
    std::vector<Seen> seen;
    std::function<void(TNotifyUI&)> onNotify;
};

// Dispatches messages until `done` holds or `ms` milliseconds have passed; returns
// `done()`.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!any) Sleep(5);
    }
    return true;
}
inline void Pump(DWORD ms) { PumpUntil([] { return false; }, ms); }

inline POINT Center(CControlUI* control) {
    RECT rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Press and release the left button at a client point of `hwnd`.
inline void Click(HWND hwnd, POINT pt) {
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    Pump(50);
}

// A window showing one layout of the current resource settings.
class LayoutWindow : public WindowImplBase {
public:
    explicit LayoutWindow(std::wstring layout) : layout_(std::move(layout)) {}
    Recorder recorder;
    CPaintManagerUI& pm() { return m_PaintManager; }
    // Creates and shows the window; false when creation failed.
    bool Open(HWND owner = nullptr) {
        if (!Create(owner, L"test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0)) return false;
        m_PaintManager.AddNotifier(&recorder);
        ShowWindow(true, true);
        UpdateWindow(m_hWnd);
        m_PaintManager.UpdateLayout();
        return true;
    }
    ~LayoutWindow() override {
        if (m_hWnd) DestroyWindow(m_hWnd);
    }

protected:
    const wchar_t* GetWindowClassName() const override { return L"VelmoraTestLayoutWnd"; }
    CDuiString GetSkinFolder() override { return L""; }
    CDuiString GetSkinFile() override { return layout_.c_str(); }
    bool ResponseDefaultKeyEvent(WPARAM) override { return false; }

private:
    std::wstring layout_;
};

}  // namespace uitest
