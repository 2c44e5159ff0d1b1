#include "duilib/menu_element.h"

#include "duilib/paint_manager.h"
#include "duilib/render.h"

CMenuElementUI::CMenuElementUI() {
    m_rcTextPadding = RECT{36, 0, 8, 0};
    m_dwTextColor = 0xFFE6E0D2;
}

bool CMenuElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pManager) {
        m_pManager->SendNotify(this, L"itemclick");
        m_pManager->SendNotify(this, L"itemselect");
    }
    return true;
}

void CMenuElementUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_bHot = true;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            m_bHot = false;
            Invalidate();
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            m_bPressed = IsEnabled();
            return;
        case UIEVENT_BUTTONUP:
            if (m_bPressed && PtInRect(&m_rcItem, event.ptMouse)) {
                m_bPressed = false;
                Activate();
            }
            m_bPressed = false;
            return;
        case UIEVENT_KEYDOWN:
            if (event.chKey == VK_RETURN || event.chKey == VK_SPACE) {
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

DWORD CMenuElementUI::CurrentTextColor() const {
    if (IsEnabled() && (m_bHot || IsFocused()) && m_dwHotTextColor) return m_dwHotTextColor;
    return CLabelUI::CurrentTextColor();
}

void CMenuElementUI::PaintBkColor(Gdiplus::Graphics& g) {
    CLabelUI::PaintBkColor(g);
    if (IsEnabled() && (m_bHot || IsFocused())) duirender::FillRect(g, m_rcItem, m_dwHotBkColor);
}

void CMenuElementUI::PaintStatusImage(Gdiplus::Graphics& g) {
    if (IsEnabled() && (m_bHot || IsFocused()) && !m_sHotImage.IsEmpty()) DrawImage(g, m_sHotImage);
    if (m_sIcon.IsEmpty()) return;
    int size = 16;
    int top = (m_rcItem.top + m_rcItem.bottom - size) / 2;
    RECT icon{m_rcItem.left + 12, top, m_rcItem.left + 12 + size, top + size};
    DrawImage(g, m_sIcon, &icon);
}

void CMenuElementUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"hotbkcolor") m_dwHotBkColor = ParseColorAttr(value);
    else if (n == L"hottextcolor") m_dwHotTextColor = ParseColorAttr(value) | 0xFF000000u;
    else if (n == L"icon") m_sIcon = value;
    else if (n == L"hotimage") m_sHotImage = value;
    else CLabelUI::SetAttribute(name, value);
}
