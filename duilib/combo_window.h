// The drop-down window of a CComboUI: a topmost pop-up below the combo listing its
// items. It closes when it loses the focus, on Escape or Enter, and when an item is
// picked. Deletes itself when its window is gone.
#pragma once

#include "duilib/paint_manager.h"
#include "duilib/window_wnd.h"

class CComboUI;
class CListLabelElementUI;

class CComboWnd : public CWindowWnd {
public:
    // Creates and shows the window. On failure the object deletes itself and the
    // result is false.
    bool Init(CComboUI* owner, int maxHeight);
    // The combo no longer wants to hear of this window (it is closing it or going).
    void Detach() { m_pOwner = nullptr; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"VelmoraComboWnd"; }
    UINT GetClassStyle() const override { return CS_DROPSHADOW; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

private:
    void BuildRows();
    void Step(int direction);

    CPaintManagerUI m_pm;
    CComboUI* m_pOwner = nullptr;
    bool m_creating = false;  // a window ending during Create is deleted by Init
};
