#include "duilib/paint_manager.h"

#include <objidl.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <algorithm>
#include <gdiplus.h>

#include "duilib/combo.h"
#include "duilib/container.h"
#include "duilib/control.h"
#include "duilib/edit.h"
#include "duilib/font_fallback.h"
#include "duilib/image_store.h"
#include "duilib/prepared_image.h"
#include "duilib/repaint_plan.h"
#include "duilib/option.h"
#include "duilib/resources.h"

namespace {

// Internal messages to the paint window. Registered, so they cannot collide with a
// window's own WM_APP messages.
UINT AsyncNotifyMessage() {
    static UINT id = RegisterWindowMessageW(L"VelmoraDuiAsyncNotify");
    return id;
}
UINT EndEditMessage() {
    static UINT id = RegisterWindowMessageW(L"VelmoraDuiEndEdit");
    return id;
}

void StartGdiplus() {
    static ULONG_PTR token = 0;
    if (token) return;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

}  // namespace

// --- process-wide set-up ------------------------------------------------------

void CPaintManagerUI::SetInstance(HINSTANCE instance) { duires::SetInstance(instance); }
HINSTANCE CPaintManagerUI::GetInstance() { return duires::GetInstance(); }
CDuiString CPaintManagerUI::GetInstancePath() { return duires::GetInstancePath(); }
void CPaintManagerUI::SetResourcePath(const wchar_t* folder) { duires::SetResourcePath(folder ? folder : L""); }
CDuiString CPaintManagerUI::GetResourcePath() { return duires::GetResourcePath(); }
void CPaintManagerUI::SetResourceZip(const wchar_t* archiveName, bool cached) {
    duires::SetResourceZip(archiveName ? archiveName : L"", cached);
}
CDuiString CPaintManagerUI::GetResourceZip() { return duires::GetResourceZip(); }

void CPaintManagerUI::MessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool CPaintManagerUI::TranslateMessage(const MSG*) { return false; }

// --- one window ------------------------------------------------------------

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI() {
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    m_fonts.clear();
    m_images.clear();
}

void CPaintManagerUI::Init(HWND hwnd) {
    StartGdiplus();
    m_hWndPaint = hwnd;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (!root) return false;
    if (m_pRoot && m_pRoot != root) {
        CControlUI* old = m_pRoot;
        m_pRoot = nullptr;
        delete old;
    }
    m_pFocus = m_pEventHover = m_pEventClick = nullptr;
    m_pRoot = root;
    root->SetManager(this, nullptr, true);
    NeedUpdate();
    return true;
}

CControlUI* CPaintManagerUI::FindControl(const wchar_t* name) const {
    return (m_pRoot && name && *name) ? m_pRoot->FindControlByName(name) : nullptr;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (!m_pRoot) return nullptr;
    const_cast<CPaintManagerUI*>(this)->UpdateLayout();
    return m_pRoot->FindControlAt(pt);
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (!notifier || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) return false;
    m_notifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
    if (it == m_notifiers.end()) return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
    msg.dwTimestamp = GetTickCount();
    if (m_hWndPaint) {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(m_hWndPaint, &pt);
        msg.ptMouse = pt;
    }
    if (async) {
        m_asyncQueue.push_back(msg);
        if (m_hWndPaint) ::PostMessageW(m_hWndPaint, AsyncNotifyMessage(), 0, 0);
        return;
    }
    // A notifier may remove itself (or others) while being notified.
    std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* n : notifiers) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), n) == m_notifiers.end()) continue;
        n->Notify(msg);
    }
}

void CPaintManagerUI::SendNotify(CControlUI* control, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CPaintManagerUI::DrainAsync() {
    std::vector<TNotifyUI> pending;
    pending.swap(m_asyncQueue);
    for (TNotifyUI& msg : pending) {
        std::vector<INotifyUI*> notifiers = m_notifiers;
        for (INotifyUI* n : notifiers) {
            if (std::find(m_notifiers.begin(), m_notifiers.end(), n) == m_notifiers.end()) continue;
            n->Notify(msg);
        }
    }
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy) {
    m_szRoundCorner = SIZE{cx, cy};
    ApplyRoundCorner();
}

void CPaintManagerUI::ApplyRoundCorner() {
    if (!m_hWndPaint || (m_szRoundCorner.cx == 0 && m_szRoundCorner.cy == 0) || IsIconic(m_hWndPaint)) return;
    RECT rc{};
    GetWindowRect(m_hWndPaint, &rc);
    win32::set_window_region(m_hWndPaint,
                             win32::unique_hrgn(CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1,
                                                                   m_szRoundCorner.cx, m_szRoundCorner.cy)),
                             TRUE);
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    if (m_hWndPaint && cx > 0 && cy > 0)
        SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CPaintManagerUI::AddFont(int index, const wchar_t* face, int size, bool bold, bool underline, bool italic,
                              bool isDefault) {
    FontInfo& info = m_fonts[index];
    info = FontInfo{};
    info.face = face && *face ? face : L"Microsoft YaHei";
    info.size = size > 0 ? size : 12;
    info.bold = bold;
    info.underline = underline;
    info.italic = italic;
    if (isDefault || m_defaultFont < 0) m_defaultFont = index;
}

CPaintManagerUI::FontInfo& CPaintManagerUI::FontAt(int index) {
    auto it = m_fonts.find(index);
    if (it == m_fonts.end()) it = m_fonts.find(m_defaultFont);
    if (it == m_fonts.end()) {
        AddFont(0, L"Microsoft YaHei", 12, false, false, false, true);
        it = m_fonts.find(0);
    }
    return it->second;
}

Gdiplus::Font* CPaintManagerUI::GetFont(int index) {
    StartGdiplus();
    FontInfo& info = FontAt(index);
    if (!info.font) {
        INT style = (info.bold ? Gdiplus::FontStyleBold : 0) | (info.underline ? Gdiplus::FontStyleUnderline : 0) |
                    (info.italic ? Gdiplus::FontStyleItalic : 0);
        Gdiplus::FontFamily family(dui::UsableFontFace(info.face).c_str());
        if (family.GetLastStatus() == Gdiplus::Ok && family.IsAvailable()) {
            info.font = std::make_unique<Gdiplus::Font>(&family, static_cast<Gdiplus::REAL>(info.size), style,
                                                        Gdiplus::UnitPixel);
        }
        if (!info.font || info.font->GetLastStatus() != Gdiplus::Ok) {
            // The face is not installed: use the generic family rather than no text.
            info.font = std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(),
                                                        static_cast<Gdiplus::REAL>(info.size), style, Gdiplus::UnitPixel);
        }
    }
    return info.font.get();
}

HFONT CPaintManagerUI::GetHFont(int index) {
    FontInfo& info = FontAt(index);
    if (!info.hfont) {
        info.hfont.reset(CreateFontW(-info.size, 0, 0, 0, info.bold ? FW_BOLD : FW_NORMAL, info.italic,
                                     info.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     CLEARTYPE_QUALITY, DEFAULT_PITCH, dui::UsableFontFace(info.face).c_str()));
    }
    return info.hfont.get();
}

int CPaintManagerUI::GetFontHeight(int index) {
    HFONT font = GetHFont(index);
    const win32::unique_window_dc dc(m_hWndPaint);
    int height = FontAt(index).size + 4;
    if (dc) {
        const win32::select_object_guard selected(dc.get(), font);
        TEXTMETRICW tm{};
        if (GetTextMetricsW(dc.get(), &tm)) height = tm.tmHeight;
    }
    return height;
}

Gdiplus::Bitmap* CPaintManagerUI::GetImage(const wchar_t* name) {
    duiimg::PreparedImage* image = GetPreparedImage(name);
    return image ? image->Pixels() : nullptr;
}

duiimg::PreparedImage* CPaintManagerUI::GetPreparedImage(const wchar_t* name) {
    if (!name || !*name) return nullptr;
    std::wstring key(name);
    auto it = m_images.find(key);
    if (it != m_images.end()) return it->second.get();
    if (m_missingImages.count(key)) return nullptr;
    StartGdiplus();
    std::wstring error;
    std::shared_ptr<duiimg::PreparedImage> image = duiimg::LoadSharedImage(key, error);
    if (!image) {
        m_missingImages.insert(key);
        m_sLastError = (L"image " + error).c_str();
        return nullptr;
    }
    duiimg::PreparedImage* raw = image.get();
    m_images.emplace(key, std::move(image));
    return raw;
}

void CPaintManagerUI::PrefetchImages(const std::vector<std::wstring>& atRest,
                                     const std::vector<std::wstring>& inOtherStates) {
    std::vector<std::wstring> wanted;
    for (const std::wstring& name : atRest)
        if (!name.empty() && !m_images.count(name) && !m_missingImages.count(name)) wanted.push_back(name);
    m_prefetchAfterPaint = inOtherStates;
    if (wanted.empty()) return;
    StartGdiplus();
    duiimg::PrefetchSharedImages(wanted);
}

void CPaintManagerUI::Invalidate(const RECT& rc) {
    if (!m_hWndPaint || rc.right <= rc.left || rc.bottom <= rc.top) return;
    m_dirty.push_back(rc);
    // A long run of changes between two paints becomes one redraw of the window.
    if (m_dirty.size() > 64) InvalidateAll();
    InvalidateRect(m_hWndPaint, &rc, FALSE);
}

void CPaintManagerUI::InvalidateAll() {
    m_bBackValid = false;
    m_dirty.clear();
    if (m_hWndPaint) InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    InvalidateAll();
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_bUpdateNeeded || !m_pRoot || !m_hWndPaint) return;
    m_bUpdateNeeded = false;
    RECT client{};
    GetClientRect(m_hWndPaint, &client);
    if (client.right > client.left && client.bottom > client.top) m_pRoot->SetPos(client);
    InvalidateAll();
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
    if (control == m_pFocus) return;
    if (control && (!control->IsFocusable() || !control->IsReallyVisible() || !control->IsEnabled())) control = nullptr;
    // Keyboard input must come to this window while a windowless control is focused.
    if (m_hWndPaint && ::GetFocus() != m_hWndPaint && !(m_pEditing && ::GetFocus() == m_pEditing->GetNativeWindow()))
        if (IsWindowEnabled(m_hWndPaint)) ::SetFocus(m_hWndPaint);
    CControlUI* old = m_pFocus;
    m_pFocus = nullptr;
    if (old) {
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.pSender = old;
        event.dwTimestamp = GetTickCount();
        old->DoEvent(event);
    }
    if (control && control->GetManager() == this) {
        m_pFocus = control;
        TEventUI event;
        event.Type = UIEVENT_SETFOCUS;
        event.pSender = control;
        event.dwTimestamp = GetTickCount();
        control->DoEvent(event);
    }
}

void CPaintManagerUI::CollectFocusable(CControlUI* control, std::vector<CControlUI*>& out) const {
    if (!control || !control->IsVisible()) return;
    if (control->IsFocusable() && control->IsEnabled()) out.push_back(control);
    if (auto* container = dynamic_cast<CContainerUI*>(control)) {
        if (dynamic_cast<CComboUI*>(control)) return;  // combo items are not tab stops
        for (int i = 0; i < container->GetCount(); ++i) CollectFocusable(container->GetItemAt(i), out);
    }
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
    std::vector<CControlUI*> stops;
    CollectFocusable(m_pRoot, stops);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), m_pFocus);
    std::size_t index = 0;
    if (it == stops.end()) index = forward ? 0 : stops.size() - 1;
    else if (forward) index = (static_cast<std::size_t>(it - stops.begin()) + 1) % stops.size();
    else index = (static_cast<std::size_t>(it - stops.begin()) + stops.size() - 1) % stops.size();
    // The focus ring appears now even when the focus stays where it is.
    if (!m_bKeyboardFocus && m_pFocus) m_pFocus->Invalidate();
    m_bKeyboardFocus = true;
    SetFocus(stops[index]);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control, bool keepRegistration) {
    auto within = [control](CControlUI* c) {
        for (; c; c = c->GetParent())
            if (c == control) return true;
        return false;
    };
    if (within(m_pEventHover)) m_pEventHover = nullptr;
    if (within(m_pEventClick)) {
        m_pEventClick = nullptr;
        if (GetCapture() == m_hWndPaint) ReleaseCapture();
    }
    if (within(m_pFocus)) {
        if (keepRegistration) SetFocus(nullptr);
        else m_pFocus = nullptr;
    }
    if (m_pEditing && within(m_pEditing)) m_pEditing = keepRegistration ? m_pEditing : nullptr;
    if (keepRegistration) return;
    m_asyncQueue.erase(std::remove_if(m_asyncQueue.begin(), m_asyncQueue.end(),
                                      [control](const TNotifyUI& n) { return n.pSender == control; }),
                       m_asyncQueue.end());
}

void CPaintManagerUI::AddOptionGroup(const CDuiString& group, COptionUI* option) {
    auto& members = m_optionGroups[group.str()];
    if (std::find(members.begin(), members.end(), option) == members.end()) members.push_back(option);
}

void CPaintManagerUI::RemoveOptionGroup(const CDuiString& group, COptionUI* option) {
    auto it = m_optionGroups.find(group.str());
    if (it == m_optionGroups.end()) return;
    auto& members = it->second;
    members.erase(std::remove(members.begin(), members.end(), option), members.end());
}

std::vector<COptionUI*> CPaintManagerUI::GetOptionGroup(const CDuiString& group) const {
    auto it = m_optionGroups.find(group.str());
    return it == m_optionGroups.end() ? std::vector<COptionUI*>{} : it->second;
}

void CPaintManagerUI::PostEndEdit() {
    if (m_hWndPaint) ::PostMessageW(m_hWndPaint, EndEditMessage(), 0, 0);
}

void CPaintManagerUI::EnsureBackBuffer(int cx, int cy) {
    if (m_backDc && m_szBack.cx == cx && m_szBack.cy == cy) return;
    m_backSelected.reset();
    m_backDc.reset();
    m_backBitmap.reset();
    void* bits = nullptr;
    {
        const win32::unique_window_dc screen(m_hWndPaint);
        m_backDc.reset(CreateCompatibleDC(screen.get()));
        m_backBitmap = win32::make_top_down_dib(screen.get(), cx, cy, &bits);
    }
    m_backPixels = static_cast<std::uint32_t*>(bits);
    if (m_backDc && m_backBitmap) m_backSelected.emplace(m_backDc.get(), m_backBitmap.get());
    m_szBack = SIZE{cx, cy};
    m_bBackValid = false;
}

void CPaintManagerUI::Paint() {
    // Images first drawn in this frame come out of one reading of the archive.
    const duires::ArchiveSession archiveRead;
    UpdateLayout();
    // What the system wants on screen, as separate rectangles.
    std::vector<RECT> shown;
    {
        const win32::unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
        if (region && GetUpdateRgn(m_hWndPaint, region.get(), FALSE) > NULLREGION)
            shown = duipaint::RegionRects(region.get());
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWndPaint, &ps);
    if (!dc) return;
    if (shown.empty() || shown.size() > duipaint::kMaxSeparateParts) shown.assign(1, ps.rcPaint);
    RECT client{};
    GetClientRect(m_hWndPaint, &client);
    if (client.right > 0 && client.bottom > 0) {
        EnsureBackBuffer(client.right, client.bottom);
        if (m_backDc && m_backBitmap) {
            // Taken before drawing: a control that changes while being drawn is
            // redrawn at the next paint.
            std::vector<RECT> redraw = duipaint::RectsToRedraw(!m_bBackValid, client, m_dirty);
            m_dirty.clear();
            m_bBackValid = true;
            if (!redraw.empty()) {
                Gdiplus::Graphics g(m_backDc.get());
                g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
                for (const RECT& rc : redraw) {
                    // What was drawn for the previous part is in the pixels before
                    // they are written directly.
                    g.Flush(Gdiplus::FlushIntentionSync);
                    GdiFlush();
                    duipaint::FillOpaque(m_backPixels, m_szBack.cx, m_szBack.cy, rc, m_dwBackground);
                    g.SetClip(Gdiplus::Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
                    if (m_pRoot) m_pRoot->DoPaint(g, rc);
                }
                g.Flush(Gdiplus::FlushIntentionSync);
            }
            for (const RECT& rc : shown)
                BitBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_backDc.get(), rc.left, rc.top,
                       SRCCOPY);
        }
    }
    EndPaint(m_hWndPaint, &ps);
    if (!m_prefetchAfterPaint.empty()) {
        std::vector<std::wstring> later;
        later.swap(m_prefetchAfterPaint);
        PrefetchImages(later, {});
    }
}

void CPaintManagerUI::DispatchMouse(int type, POINT pt, WPARAM wParam) {
    TEventUI event;
    event.Type = type;
    event.ptMouse = pt;
    event.wParam = wParam;
    event.wKeyState = static_cast<WORD>(wParam);
    event.dwTimestamp = GetTickCount();
    CControlUI* target = m_pEventClick ? m_pEventClick : FindControl(pt);
    if (type == UIEVENT_MOUSEMOVE && !m_pEventClick) {
        if (target != m_pEventHover) {
            if (m_pEventHover) {
                TEventUI leave = event;
                leave.Type = UIEVENT_MOUSELEAVE;
                leave.pSender = m_pEventHover;
                m_pEventHover->DoEvent(leave);
            }
            m_pEventHover = target;
            if (target) {
                TEventUI enter = event;
                enter.Type = UIEVENT_MOUSEENTER;
                enter.pSender = target;
                target->DoEvent(enter);
            }
        }
    }
    if (target) {
        event.pSender = target;
        target->DoEvent(event);
    }
}

bool CPaintManagerUI::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!m_hWndPaint) return false;
    if (msg == AsyncNotifyMessage()) {
        DrainAsync();
        result = 0;
        return true;
    }
    if (msg == EndEditMessage()) {
        if (m_pEditing && ::GetFocus() != m_pEditing->GetNativeWindow() && m_pFocus == m_pEditing) SetFocus(nullptr);
        result = 0;
        return true;
    }
    switch (msg) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT:
            Paint();
            result = 0;
            return true;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                NeedUpdate();
                ApplyRoundCorner();
            }
            return false;
        case WM_MOUSEMOVE: {
            if (!m_bMouseTracking) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m_hWndPaint, 0};
                m_bMouseTracking = TrackMouseEvent(&tme) != FALSE;
            }
            DispatchMouse(UIEVENT_MOUSEMOVE, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
            return false;
        }
        case WM_MOUSELEAVE:
            m_bMouseTracking = false;
            if (m_pEventHover && !m_pEventClick) {
                TEventUI leave;
                leave.Type = UIEVENT_MOUSELEAVE;
                leave.pSender = m_pEventHover;
                CControlUI* hover = m_pEventHover;
                m_pEventHover = nullptr;
                hover->DoEvent(leave);
            }
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            CControlUI* control = FindControl(pt);
            if (m_bKeyboardFocus && m_pFocus) m_pFocus->Invalidate();
            m_bKeyboardFocus = false;
            SetFocus(control && control->IsFocusable() ? control : nullptr);
            if (!control || !control->IsEnabled()) return false;
            m_pEventClick = control;
            SetCapture(m_hWndPaint);
            TEventUI event;
            event.Type = msg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK;
            event.pSender = control;
            event.ptMouse = pt;
            event.wParam = wParam;
            event.dwTimestamp = GetTickCount();
            control->DoEvent(event);
            return false;
        }
        case WM_LBUTTONUP: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            CControlUI* control = m_pEventClick;
            m_pEventClick = nullptr;
            if (GetCapture() == m_hWndPaint) ReleaseCapture();
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_BUTTONUP;
            event.pSender = control;
            event.ptMouse = pt;
            event.wParam = wParam;
            event.dwTimestamp = GetTickCount();
            control->DoEvent(event);
            return false;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != m_hWndPaint && m_pEventClick) {
                // Capture taken away (a menu, a dialog): end the press without a click.
                CControlUI* control = m_pEventClick;
                m_pEventClick = nullptr;
                TEventUI event;
                event.Type = UIEVENT_BUTTONUP;
                event.pSender = control;
                event.ptMouse = POINT{-100000, -100000};
                control->DoEvent(event);
            }
            return false;
        case WM_MOUSEWHEEL: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(m_hWndPaint, &pt);
            CControlUI* control = FindControl(pt);
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_SCROLLWHEEL;
            event.pSender = control;
            event.ptMouse = pt;
            event.wParam = wParam;
            event.lParam = lParam;
            event.dwTimestamp = GetTickCount();
            control->DoEvent(event);
            result = 0;
            return true;
        }
        case WM_SETCURSOR: {
            if (reinterpret_cast<HWND>(wParam) != m_hWndPaint || LOWORD(lParam) != HTCLIENT) return false;
            POINT pt{};
            GetCursorPos(&pt);
            ScreenToClient(m_hWndPaint, &pt);
            CControlUI* control = FindControl(pt);
            if (!control) return false;
            TEventUI event;
            event.Type = UIEVENT_SETCURSOR;
            event.pSender = control;
            event.ptMouse = pt;
            ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            control->DoEvent(event);
            result = TRUE;
            return true;
        }
        case WM_KEYDOWN: {
            if (wParam == VK_TAB) {
                SetNextTabControl(GetKeyState(VK_SHIFT) >= 0);
                result = 0;
                return true;
            }
            if (!m_pFocus) return false;
            TEventUI event;
            event.Type = UIEVENT_KEYDOWN;
            event.pSender = m_pFocus;
            event.chKey = static_cast<wchar_t>(wParam);
            event.wParam = wParam;
            event.lParam = lParam;
            event.dwTimestamp = GetTickCount();
            m_pFocus->DoEvent(event);
            return false;
        }
        case WM_CHAR: {
            if (!m_pFocus) return false;
            TEventUI event;
            event.Type = UIEVENT_CHAR;
            event.pSender = m_pFocus;
            event.chKey = static_cast<wchar_t>(wParam);
            event.dwTimestamp = GetTickCount();
            m_pFocus->DoEvent(event);
            return false;
        }
        case WM_COMMAND:
            if (m_pEditing && reinterpret_cast<HWND>(lParam) == m_pEditing->GetNativeWindow() && lParam) {
                if (HIWORD(wParam) == EN_CHANGE) m_pEditing->OnNativeChange();
                result = 0;
                return true;
            }
            return false;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (m_pEditing && reinterpret_cast<HWND>(lParam) == m_pEditing->GetNativeWindow() && lParam) {
                DWORD bk = m_pEditing->GetNativeBkColor();
                COLORREF bkRef = RGB((bk >> 16) & 0xFF, (bk >> 8) & 0xFF, bk & 0xFF);
                if (!m_editBrush || m_dwEditBrushColor != bk) {
                    m_editBrush.reset(CreateSolidBrush(bkRef));
                    m_dwEditBrushColor = bk;
                }
                DWORD text = m_pEditing->GetEditTextColor();
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, RGB((text >> 16) & 0xFF, (text >> 8) & 0xFF, text & 0xFF));
                SetBkColor(dc, bkRef);
                result = reinterpret_cast<LRESULT>(m_editBrush.get());
                return true;
            }
            return false;
        case WM_DESTROY:
            if (m_pEditing) m_pEditing->EndEdit();
            return false;
        default:
            return false;
    }
}
