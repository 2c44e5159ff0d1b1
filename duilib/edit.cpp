#include "duilib/edit.h"

#include "duilib/paint_manager.h"

namespace {
constexpr wchar_t kEditProp[] = L"VelmoraDuiEdit";
}

CEditUI::CEditUI() {
    m_uTextStyle = UITEXT_LEFT | UITEXT_VCENTER | UITEXT_SINGLELINE;
    m_rcTextPadding = RECT{4, 0, 4, 0};
}

CEditUI::~CEditUI() {
    if (m_hNative) {
        HWND native = m_hNative;
        m_hNative = nullptr;
        RemovePropW(native, kEditProp);
        SetWindowLongPtrW(native, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
        DestroyWindow(native);
    }
}

void CEditUI::SetText(const wchar_t* text) {
    std::wstring value = text ? text : L"";
    if (m_uMaxChar > 0 && value.size() > m_uMaxChar) value.resize(m_uMaxChar);
    CLabelUI::SetText(value.c_str());
    if (m_hNative) {
        m_bSettingNative = true;
        SetWindowTextW(m_hNative, m_sText);
        m_bSettingNative = false;
    }
}

void CEditUI::SetMaxChar(UINT maxChars) {
    m_uMaxChar = maxChars;
    if (m_uMaxChar > 0 && static_cast<UINT>(m_sText.GetLength()) > m_uMaxChar) SetText(m_sText);
    if (m_hNative) SendMessageW(m_hNative, EM_LIMITTEXT, m_uMaxChar, 0);
}

void CEditUI::SetNumberOnly(bool numberOnly) {
    m_bNumberOnly = numberOnly;
    if (m_hNative) {
        LONG_PTR style = GetWindowLongPtrW(m_hNative, GWL_STYLE);
        style = numberOnly ? (style | ES_NUMBER) : (style & ~static_cast<LONG_PTR>(ES_NUMBER));
        SetWindowLongPtrW(m_hNative, GWL_STYLE, style);
    }
}

void CEditUI::SetEnabled(bool enabled) {
    if (!enabled) EndEdit();
    CLabelUI::SetEnabled(enabled);
}

void CEditUI::SetVisible(bool visible) {
    if (!visible) EndEdit();
    CLabelUI::SetVisible(visible);
}

RECT CEditUI::NativeRect() const {
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.right -= m_rcTextPadding.right;
    // A single-line EDIT draws at its top: centre a box of one text line.
    int line = 20;
    if (m_pManager) line = m_pManager->GetFontHeight(m_iFont) + 4;
    int height = rc.bottom - rc.top;
    if (height > line) {
        rc.top += (height - line) / 2;
        rc.bottom = rc.top + line;
    }
    return rc;
}

void CEditUI::SetPos(RECT rc) {
    CLabelUI::SetPos(rc);
    if (m_hNative) {
        RECT n = NativeRect();
        MoveWindow(m_hNative, n.left, n.top, n.right - n.left, n.bottom - n.top, TRUE);
    }
}

void CEditUI::BeginEdit() {
    if (m_hNative || !m_pManager || !m_pManager->GetPaintWindow() || !IsEnabled()) return;
    RECT n = NativeRect();
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_LEFT;
    if (m_bNumberOnly) style |= ES_NUMBER;
    if (m_bReadOnly) style |= ES_READONLY;
    m_hNative = CreateWindowExW(0, L"EDIT", nullptr, style, n.left, n.top, n.right - n.left, n.bottom - n.top,
                                m_pManager->GetPaintWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_hNative) return;
    SetPropW(m_hNative, kEditProp, this);
    m_oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hNative, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CEditUI::NativeProc)));
    SendMessageW(m_hNative, WM_SETFONT, reinterpret_cast<WPARAM>(m_pManager->GetHFont(m_iFont)), TRUE);
    SendMessageW(m_hNative, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageW(m_hNative, EM_LIMITTEXT, m_uMaxChar, 0);
    m_bSettingNative = true;
    SetWindowTextW(m_hNative, m_sText);
    m_bSettingNative = false;
    m_pManager->SetEditing(this);
    ::SetFocus(m_hNative);
    SendMessageW(m_hNative, EM_SETSEL, 0, -1);
    Invalidate();
}

void CEditUI::EndEdit() {
    if (!m_hNative) return;
    HWND native = m_hNative;
    m_hNative = nullptr;
    RemovePropW(native, kEditProp);
    SetWindowLongPtrW(native, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    if (m_pManager) m_pManager->SetEditing(nullptr);
    bool hadFocus = GetFocus() == native;
    DestroyWindow(native);
    if (hadFocus && m_pManager && m_pManager->GetPaintWindow()) ::SetFocus(m_pManager->GetPaintWindow());
    Invalidate();
}

void CEditUI::OnNativeChange() {
    if (!m_hNative || m_bSettingNative) return;
    int length = GetWindowTextLengthW(m_hNative);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(m_hNative, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    // Some edit implementations report a refused key as a change: only real changes
    // are passed on.
    if (m_sText == text.c_str()) return;
    m_sText = text;
    if (m_pManager) m_pManager->SendNotify(this, L"textchanged");
}

LRESULT CALLBACK CEditUI::NativeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CEditUI*>(GetPropW(hwnd, kEditProp));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    WNDPROC old = self->m_oldProc;
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)) {
        CPaintManagerUI* manager = self->m_pManager;
        if (wParam == VK_RETURN && manager) manager->SendNotify(self, L"return");
        if (wParam == VK_TAB && manager) {
            manager->SetNextTabControl(GetKeyState(VK_SHIFT) >= 0);
            return 0;
        }
        if (manager) manager->SetFocus(nullptr);
        return 0;
    }
    if (msg == WM_CHAR && (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)) return 0;
    if (msg == WM_KILLFOCUS) {
        LRESULT r = CallWindowProcW(old, hwnd, msg, wParam, lParam);
        // Ending the edit destroys this window: do it once this message is done.
        if (self->m_pManager) self->m_pManager->PostEndEdit();
        return r;
    }
    return CallWindowProcW(old, hwnd, msg, wParam, lParam);
}

void CEditUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            CLabelUI::DoEvent(event);
            BeginEdit();
            return;
        case UIEVENT_KILLFOCUS:
            CLabelUI::DoEvent(event);
            EndEdit();
            if (m_pManager) m_pManager->SendNotify(this, L"killfocus");
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled() && !m_hNative && IsFocused()) BeginEdit();
            return;
        case UIEVENT_MOUSEENTER:
            m_bHot = true;
            Invalidate();
            return;
        case UIEVENT_MOUSELEAVE:
            m_bHot = false;
            Invalidate();
            return;
        case UIEVENT_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_IBEAM : IDC_ARROW));
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::PaintStatusImage(Gdiplus::Graphics& g) {
    const CDuiString* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.IsEmpty()) image = &m_sDisabledImage;
    else if (IsFocused() && !m_sFocusedImage.IsEmpty()) image = &m_sFocusedImage;
    else if (m_bHot && !m_sHotImage.IsEmpty()) image = &m_sHotImage;
    DrawImage(g, *image);
}

void CEditUI::PaintText(Gdiplus::Graphics& g) {
    if (m_hNative) return;  // the native child draws the text while editing
    CLabelUI::PaintText(g);
}

void CEditUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"maxchar") SetMaxChar(static_cast<UINT>(duiattr::ParseInt(value)));
    else if (n == L"numberonly") SetNumberOnly(duiattr::ParseBool(value));
    else if (n == L"readonly") SetReadOnly(duiattr::ParseBool(value));
    else if (n == L"nativebkcolor") m_dwEditBkColor = ParseColorAttr(value);
    else if (n == L"normalimage") m_sNormalImage = value;
    else if (n == L"hotimage") m_sHotImage = value;
    else if (n == L"focusedimage") m_sFocusedImage = value;
    else if (n == L"disabledimage") m_sDisabledImage = value;
    else CLabelUI::SetAttribute(name, value);
}
