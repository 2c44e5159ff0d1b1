#include "launcher/ui/settings_wnd.h"

#include "common/win32/gdi_handle.h"
#include "duilib/control.h"
#include "duilib/dialog_builder.h"
#include "launcher/ui/dialog_builder_callback.h"

namespace {
constexpr DWORD kMenuStyle = 0x96000000;  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
constexpr int kShadowMargin = 8;
}  // namespace

int CSettingsWnd::ShowMenu(CControlUI* owner, const wchar_t* layout, int left, int top) {
    if (!owner || !layout || !*layout || !owner->GetManager()) return 0;
    HWND parent = owner->GetManager()->GetPaintWindow();
    if (!parent) return 0;
    m_pOwner = owner;
    m_layout = layout;
    m_left = left;
    m_top = top;
    if (!Create(parent, L"", kMenuStyle, WS_EX_TOOLWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT))
        return 0;
    m_shown = true;
    ShowWindow(true, true);
    ::SetFocus(m_hWnd);
    return 1;
}

CSettingsWnd* CSettingsWnd::Popup(CControlUI* owner, const wchar_t* layout, int left, int top) {
    auto* menu = new CSettingsWnd();
    if (menu->ShowMenu(owner, layout, left, top)) return menu;
    delete menu;
    return nullptr;
}

void CSettingsWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == L"itemselect") {
        Close(1);
    } else if (msg.sType == L"itemclick") {
        if (m_pOwner && m_pOwner->GetManager() && msg.pSender)
            m_pOwner->GetManager()->SendNotify(m_pOwner, msg.pSender->GetName(), 0, 0, true);
    }
}

LRESULT CSettingsWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            m_pm.Init(m_hWnd);
            CDialogBuilder builder;
            CDialogBuilderCallback callback;
            CControlUI* root = builder.Create(m_layout, &callback, &m_pm);
            if (!root) return -1;
            m_pm.AttachDialog(root);
            m_pm.AddNotifier(this);
            m_pm.SetRoundCorner(3, 3);
            SetWindowPos(m_hWnd, HWND_TOPMOST, m_left, m_top, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
            return 0;
        }
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                RECT rc{};
                GetClientRect(m_hWnd, &rc);
                SIZE round = m_pm.GetRoundCorner();
                win32::set_window_region(m_hWnd,
                                         win32::unique_hrgn(CreateRoundRectRgn(
                                             rc.left + kShadowMargin, rc.top + kShadowMargin,
                                             rc.right - kShadowMargin + 1, rc.bottom - kShadowMargin + 1, round.cx,
                                             round.cy)),
                                         TRUE);
                m_pm.NeedUpdate();
                return 0;
            }
            break;
        case WM_KILLFOCUS:
            if (reinterpret_cast<HWND>(wParam) != m_hWnd) Close(1);
            break;
        case WM_KEYDOWN:
            switch (wParam) {
                case VK_ESCAPE: Close(1); break;
                // Keyboard players move through the items and choose with Enter.
                case VK_DOWN:
                case VK_TAB: m_pm.SetNextTabControl(!(wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0)); break;
                case VK_UP: m_pm.SetNextTabControl(false); break;
                case VK_RETURN:
                    if (CControlUI* focus = m_pm.GetFocus()) focus->Activate();
                    break;
                default: break;
            }
            return 0;
        case WM_MOUSEWHEEL:
            return 0;
        default:
            break;
    }
    LRESULT result = 0;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CSettingsWnd::OnFinalMessage(HWND) {
    if (m_shown) delete this;
}
