#include "duilib/window_impl_base.h"

#include <windowsx.h>

#include "duilib/control.h"

WindowImplBase::WindowImplBase() = default;
WindowImplBase::~WindowImplBase() = default;

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType == L"click") OnClick(msg);
}

CControlUI* WindowImplBase::CreateControl(const wchar_t*) { return nullptr; }

bool WindowImplBase::ResponseDefaultKeyEvent(WPARAM key) {
    if (key == VK_ESCAPE) {
        Close(IDCANCEL);
        return true;
    }
    return false;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = TRUE;
    LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION);
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_PaintManager.Init(m_hWnd);
    if (GetResourceType() == UILIB_ZIP) {
        CPaintManagerUI::SetResourcePath(GetSkinFolder());
        CPaintManagerUI::SetResourceZip(GetZIPFileName());
    }
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), this, &m_PaintManager);
    if (!root) return -1;  // CreateWindowEx fails; m_PaintManager keeps the reason
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = TRUE;
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(m_hWnd, &pt);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    RECT caption = m_PaintManager.GetCaptionRect();
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
        pt.y < caption.bottom) {
        CControlUI* control = m_PaintManager.FindControl(pt);
        if (control) {
            std::wstring_view cls = control->GetClass();
            if (cls != L"ButtonUI" && cls != L"OptionUI" && cls != L"TextUI" && cls != L"CheckBoxUI" &&
                cls != L"EditUI" && cls != L"ComboUI" && cls != L"SliderUI")
                return HTCAPTION;
        }
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = 0;
    switch (msg) {
        case WM_CREATE:
            result = OnCreate(msg, wParam, lParam, handled);
            break;
        case WM_NCHITTEST:
            result = OnNcHitTest(msg, wParam, lParam, handled);
            break;
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            handled = TRUE;
            result = 0;
            break;
        case WM_NCACTIVATE:
            if (!IsIconic(m_hWnd)) {
                handled = TRUE;
                result = wParam == 0 ? TRUE : FALSE;
            }
            break;
        case WM_KEYDOWN:
            if ((wParam == VK_ESCAPE || wParam == VK_RETURN) && ResponseDefaultKeyEvent(wParam)) {
                handled = TRUE;
                result = 0;
            }
            break;
        case WM_DESTROY:
            m_PaintManager.RemoveNotifier(this);
            break;
        default:
            break;
    }
    if (handled) return result;
    if (m_PaintManager.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}
