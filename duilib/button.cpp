#include "duilib/button.h"

#include "duilib/paint_manager.h"

CButtonUI::CButtonUI() { m_uTextStyle = UITEXT_CENTER | UITEXT_VCENTER | UITEXT_SINGLELINE; }

void CButtonUI::SetNormalImage(const wchar_t* image) { m_sNormalImage = image; Invalidate(); }
void CButtonUI::SetHotImage(const wchar_t* image) { m_sHotImage = image; Invalidate(); }
void CButtonUI::SetPushedImage(const wchar_t* image) { m_sPushedImage = image; Invalidate(); }
void CButtonUI::SetFocusedImage(const wchar_t* image) { m_sFocusedImage = image; Invalidate(); }
void CButtonUI::SetDisabledImage(const wchar_t* image) { m_sDisabledImage = image; Invalidate(); }
void CButtonUI::SetForeImage(const wchar_t* image) { m_sForeImage = image; Invalidate(); }

bool CButtonUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, L"click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!enabled) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT_MOUSEMOVE && event.Type < UIEVENT_KEYDOWN) {
        if (m_pParent) m_pParent->DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_uButtonState & UISTATE_CAPTURED) {
                UINT old = m_uButtonState;
                if (PtInRect(&m_rcItem, event.ptMouse)) m_uButtonState |= UISTATE_PUSHED;
                else m_uButtonState &= ~UISTATE_PUSHED;
                if (old != m_uButtonState) Invalidate();
            }
            return;
        case UIEVENT_BUTTONUP:
            if (m_uButtonState & UISTATE_CAPTURED) {
                bool inside = PtInRect(&m_rcItem, event.ptMouse) != FALSE;
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
                if (inside) Activate();
            }
            return;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            if (m_uButtonState & UISTATE_HOT) {
                m_uButtonState &= ~UISTATE_HOT;
                Invalidate();
            }
            return;
        case UIEVENT_KEYDOWN:
            if (IsEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
                Activate();
                return;
            }
            break;
        case UIEVENT_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_HAND : IDC_ARROW));
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

DWORD CButtonUI::CurrentTextColor() const {
    if (!IsEnabled()) return m_dwDisabledTextColor;
    if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor) return m_dwPushedTextColor;
    if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor) return m_dwHotTextColor;
    return m_dwTextColor;
}

void CButtonUI::PaintStatusImage(Gdiplus::Graphics& g) {
    const CDuiString* image = &m_sNormalImage;
    if (!IsEnabled()) {
        if (!m_sDisabledImage.IsEmpty()) image = &m_sDisabledImage;
    } else if (m_uButtonState & UISTATE_PUSHED) {
        if (!m_sPushedImage.IsEmpty()) image = &m_sPushedImage;
        else if (!m_sHotImage.IsEmpty()) image = &m_sHotImage;
    } else if (m_uButtonState & UISTATE_HOT) {
        if (!m_sHotImage.IsEmpty()) image = &m_sHotImage;
    } else if (IsFocused() && !m_sFocusedImage.IsEmpty()) {
        image = &m_sFocusedImage;
    }
    DrawImage(g, *image);
    if ((m_uButtonState & UISTATE_HOT) && !m_sHotForeImage.IsEmpty()) DrawImage(g, m_sHotForeImage);
    else DrawImage(g, m_sForeImage);
}

void CButtonUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"normalimage") SetNormalImage(value);
    else if (n == L"hotimage") SetHotImage(value);
    else if (n == L"pushedimage") SetPushedImage(value);
    else if (n == L"focusedimage") SetFocusedImage(value);
    else if (n == L"disabledimage") SetDisabledImage(value);
    else if (n == L"foreimage") SetForeImage(value);
    else if (n == L"hotforeimage") m_sHotForeImage = value;
    else if (n == L"hottextcolor") m_dwHotTextColor = ParseColorAttr(value) | 0xFF000000u;
    else if (n == L"pushedtextcolor") m_dwPushedTextColor = ParseColorAttr(value) | 0xFF000000u;
    else CLabelUI::SetAttribute(name, value);
}
