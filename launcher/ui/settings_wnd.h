// CSettingsWnd: the pop-up menu used for the settings button ("setting.xml") and
// the tray icon ("notify.xml"). It appears topmost at a given screen point with
// rounded corners, and closes when it loses the focus, on Escape and when an item
// is chosen. A chosen item is passed on to the owner control's paint manager as an
// asynchronous notification whose type is the item's name and whose sender is the
// owner control. The object deletes itself when its window is gone.
#pragma once

#include "duilib/paint_manager.h"
#include "duilib/window_wnd.h"

class CSettingsWnd : public CWindowWnd, public INotifyUI {
public:
    // Shows the menu built from `layout` with its top-left at (left, top) in screen
    // coordinates, owned by the owner control's window. 1 when shown (from then on
    // the object owns itself); 0 when the control or layout is missing, the control
    // has no window or the window cannot be made (the caller still owns the object).
    int ShowMenu(CControlUI* owner, const wchar_t* layout, int left, int top);
    // Creates a menu object and shows it; deletes the object again when showing
    // fails. Returns the shown menu, or null.
    static CSettingsWnd* Popup(CControlUI* owner, const wchar_t* layout, int left, int top);

    void Notify(TNotifyUI& msg) override;
    CPaintManagerUI& GetPaintManager() { return m_pm; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"SettingsWnd"; }
    UINT GetClassStyle() const override { return CS_DROPSHADOW | CS_HREDRAW | CS_VREDRAW; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

private:
    CPaintManagerUI m_pm;
    CControlUI* m_pOwner = nullptr;
    int m_left = 0;
    int m_top = 0;
    const wchar_t* m_layout = nullptr;
    bool m_shown = false;
};
