#include "duilib/window_wnd.h"

#include <utility>

#include "duilib/paint_manager.h"
#include "duilib/resources.h"

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    // A window outliving its object would call into freed memory.
    if (m_hWnd && IsWindow(m_hWnd)) {
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        HWND hwnd = m_hWnd;
        m_hWnd = nullptr;
        DestroyWindow(hwnd);
    }
}

CWindowWnd* CWindowWnd::FromHandle(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (proc != &CWindowWnd::WndProc) return nullptr;
    return reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool CWindowWnd::RegisterWindowClass() {
    HINSTANCE instance = duires::GetInstance() ? duires::GetInstance() : GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, GetWindowClassName(), &wc)) return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    if (const wchar_t* super = GetSuperClassName()) {
        if (!GetClassInfoExW(nullptr, super, &wc) && !GetClassInfoExW(instance, super, &wc)) return false;
        m_superProc = wc.lpfnWndProc;
    }
    wc.style = GetClassStyle();
    wc.lpfnWndProc = &CWindowWnd::WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = GetWindowClassName();
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc, HMENU menu) {
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, menu);
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HMENU menu) {
    if (GetSuperClassName() && !m_superProc) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (GetClassInfoExW(nullptr, GetSuperClassName(), &wc)) m_superProc = wc.lpfnWndProc;
    }
    if (!RegisterWindowClass()) return nullptr;
    HINSTANCE instance = duires::GetInstance() ? duires::GetInstance() : GetModuleHandleW(nullptr);
    HWND hwnd = CreateWindowExW(exStyle, GetWindowClassName(), name ? name : L"", style, x, y, cx, cy, parent, menu,
                                instance, this);
    if (!hwnd) m_hWnd = nullptr;
    return hwnd;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (!IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
    if (!m_hWnd || !IsWindow(m_hWnd)) return static_cast<UINT>(-1);
    ModalState state;
    state.owner = GetWindow(m_hWnd, GW_OWNER);
    m_modal = &state;
    HWND hwnd = m_hWnd;
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    if (state.owner) EnableWindow(state.owner, FALSE);
    MSG msg{};
    bool quit = false;
    while (!state.ended && IsWindow(hwnd)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The object may be gone by now (deleted in OnFinalMessage): only the local state
    // is used below.
    if (state.owner) {
        EnableWindow(state.owner, TRUE);
        if (!state.ended) SetFocus(state.owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return state.result;
}

void CWindowWnd::Close(UINT code) {
    if (IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, code, 0);
}

void CWindowWnd::CenterWindow() {
    if (!IsWindow(m_hWnd)) return;
    RECT rc{};
    GetWindowRect(m_hWnd, &rc);
    RECT area{};
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &info);
    area = info.rcWork;
    RECT center = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &center);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = (center.left + center.right - w) / 2, y = (center.top + center.bottom - h) / 2;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    if (x + w > area.right) x = area.right - w;
    if (y + h > area.bottom) y = area.bottom - h;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    RECT rc{};
    if (!GetClientRect(m_hWnd, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_superProc) return CallWindowProcW(m_superProc, m_hWnd, msg, wParam, lParam);
    return DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

LRESULT CALLBACK CWindowWnd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        self->m_hWnd = hwnd;
        if (self->m_attached) *std::exchange(self->m_attached, nullptr) = true;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);

    if (msg == WM_CLOSE && self->m_modal) {
        // Re-enable the owner before the window goes, so the owner gets the activation
        // back instead of some other program.
        self->m_modal->result = static_cast<UINT>(wParam);
        if (self->m_modal->owner) {
            EnableWindow(self->m_modal->owner, TRUE);
            SetFocus(self->m_modal->owner);
        }
    }
    if (msg == WM_NCDESTROY) {
        LRESULT r = self->HandleMessage(msg, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self->m_modal) {
            self->m_modal->ended = true;
            self->m_modal = nullptr;
            // Wake the modal loop even if no other message is on its way.
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        }
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hwnd);
        return r;
    }
    return self->HandleMessage(msg, wParam, lParam);
}
