// Shared vocabulary of the library: events passed from the paint manager to
// controls, notifications passed from controls to the window, control states.
#pragma once

#include <windows.h>

#include "duilib/ui_string.h"

class CControlUI;
class CPaintManagerUI;

// Events the paint manager hands to CControlUI::DoEvent.
enum UIEVENT {
    UIEVENT_MOUSEMOVE = 1,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_DBLCLICK,
    UIEVENT_SCROLLWHEEL,
    UIEVENT_KEYDOWN,
    UIEVENT_CHAR,
    UIEVENT_SETFOCUS,
    UIEVENT_KILLFOCUS,
    UIEVENT_SETCURSOR,
};

struct TEventUI {
    int Type = 0;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse{};
    wchar_t chKey = 0;
    WORD wKeyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A notification from a control to the window's notifiers.
struct TNotifyUI {
    CDuiString sType;             // "click", "itemselect", "textchanged", ... or any text given to SendNotify
    CDuiString sVirtualWnd;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse{};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Button/option state bits.
enum : UINT {
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,
};

// Text alignment flags for labels (bit values match DrawText's DT_ flags).
enum : UINT {
    UITEXT_LEFT = DT_LEFT,
    UITEXT_CENTER = DT_CENTER,
    UITEXT_RIGHT = DT_RIGHT,
    UITEXT_TOP = DT_TOP,
    UITEXT_VCENTER = DT_VCENTER,
    UITEXT_BOTTOM = DT_BOTTOM,
    UITEXT_SINGLELINE = DT_SINGLELINE,
    UITEXT_WORDBREAK = DT_WORDBREAK,
    UITEXT_END_ELLIPSIS = DT_END_ELLIPSIS,
};

// Where WindowImplBase finds its layout.
enum UILIB_RESOURCETYPE {
    UILIB_FILE = 1,  // a file below the resource folder
    UILIB_ZIP = 2,   // a member of the zip archive in the resource folder
};
