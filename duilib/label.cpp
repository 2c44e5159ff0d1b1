#include "duilib/label.h"

#include <gdiplus.h>

#include "duilib/paint_manager.h"
#include "duilib/render.h"

namespace {

DWORD Opaque(DWORD color) { return (color >> 24) == 0 ? (color | 0xFF000000u) : color; }

}  // namespace

CLabelUI::CLabelUI() = default;

void CLabelUI::SetTextColor(DWORD color) {
    m_dwTextColor = Opaque(color);
    Invalidate();
}

DWORD CLabelUI::CurrentTextColor() const { return IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor; }

void CLabelUI::PaintText(Gdiplus::Graphics& g) {
    if (m_sText.IsEmpty() || !m_pManager) return;
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    duirender::DrawText(g, m_pManager->GetFont(m_iFont), rc, m_sText.str(), CurrentTextColor(), m_uTextStyle);
}

void CLabelUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name), v(value);
    if (n == L"textcolor") SetTextColor(ParseColorAttr(value));
    else if (n == L"disabledtextcolor") SetDisabledTextColor(Opaque(ParseColorAttr(value)));
    else if (n == L"font") SetFont(duiattr::ParseInt(value, -1));
    else if (n == L"textpadding") SetTextPadding(ParseRectAttr(value));
    else if (n == L"align") {
        m_uTextStyle &= ~(UITEXT_LEFT | UITEXT_CENTER | UITEXT_RIGHT);
        m_uTextStyle |= v == L"center" ? UITEXT_CENTER : v == L"right" ? UITEXT_RIGHT : UITEXT_LEFT;
        Invalidate();
    } else if (n == L"valign") {
        m_uTextStyle &= ~(UITEXT_TOP | UITEXT_VCENTER | UITEXT_BOTTOM);
        m_uTextStyle |= v == L"top" ? UITEXT_TOP : v == L"bottom" ? UITEXT_BOTTOM : UITEXT_VCENTER;
        Invalidate();
    } else if (n == L"wordbreak" || n == L"multiline") {
        if (duiattr::ParseBool(value)) {
            m_uTextStyle |= UITEXT_WORDBREAK;
            m_uTextStyle &= ~UITEXT_SINGLELINE;
        } else {
            m_uTextStyle &= ~UITEXT_WORDBREAK;
            m_uTextStyle |= UITEXT_SINGLELINE;
        }
        Invalidate();
    } else if (n == L"endellipsis") {
        if (duiattr::ParseBool(value)) m_uTextStyle |= UITEXT_END_ELLIPSIS;
        else m_uTextStyle &= ~UITEXT_END_ELLIPSIS;
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

CTextUI::CTextUI() { m_uTextStyle = UITEXT_LEFT | UITEXT_TOP | UITEXT_WORDBREAK; }
