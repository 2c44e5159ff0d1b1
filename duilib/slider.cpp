#include "duilib/slider.h"

#include <algorithm>

#include "duilib/paint_manager.h"

void CProgressUI::SetMinValue(int value) {
    m_nMin = value;
    if (m_nMax < m_nMin) m_nMax = m_nMin;
    SetValue(m_nValue);
}

void CProgressUI::SetMaxValue(int value) {
    m_nMax = value < m_nMin ? m_nMin : value;
    SetValue(m_nValue);
}

void CProgressUI::SetValue(int value) {
    value = std::clamp(value, m_nMin, m_nMax);
    if (value == m_nValue) return;
    m_nValue = value;
    Invalidate();
}

void CProgressUI::PaintStatusImage(Gdiplus::Graphics& g) {
    if (m_sForeImage.IsEmpty() || m_nMax <= m_nMin) return;
    RECT rc = m_rcItem;
    rc.right = rc.left + static_cast<LONG>((m_rcItem.right - m_rcItem.left) * static_cast<long long>(m_nValue - m_nMin) /
                                           (m_nMax - m_nMin));
    if (rc.right > rc.left) DrawImage(g, m_sForeImage, &rc);
}

void CProgressUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"min") SetMinValue(duiattr::ParseInt(value));
    else if (n == L"max") SetMaxValue(duiattr::ParseInt(value));
    else if (n == L"value") SetValue(duiattr::ParseInt(value));
    else if (n == L"foreimage") SetForeImage(value);
    else CLabelUI::SetAttribute(name, value);
}

RECT CSliderUI::GetThumbRect() const {
    int width = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
    int span = m_nMax - m_nMin;
    int left = m_rcItem.left + (span > 0 ? static_cast<int>(static_cast<long long>(width) * (m_nValue - m_nMin) / span) : 0);
    int top = (m_rcItem.top + m_rcItem.bottom - m_szThumb.cy) / 2;
    return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

int CSliderUI::ValueAtX(int x) const {
    int width = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
    if (width <= 0 || m_nMax <= m_nMin) return m_nMin;
    int offset = x - m_rcItem.left - m_szThumb.cx / 2;
    // Round to the nearest value so the thumb snaps to the step under the cursor.
    long long span = m_nMax - m_nMin;
    long long value = m_nMin + (offset * span * 2 + width) / (2LL * width);
    if (offset < 0) value = m_nMin;
    return std::clamp(static_cast<int>(value), m_nMin, m_nMax);
}

void CSliderUI::ChangeByPlayer(int value, const wchar_t* notification) {
    value = std::clamp(value, m_nMin, m_nMax);
    bool changed = value != m_nValue;
    SetValue(value);
    if (m_pManager && (changed || std::wstring_view(notification) == L"valuechanged"))
        m_pManager->SendNotify(this, notification);
}

void CSliderUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (!IsEnabled()) return;
            m_bDragging = true;
            Invalidate();  // the thumb shows its hot image while dragged
            {
                RECT thumb = GetThumbRect();
                if (!PtInRect(&thumb, event.ptMouse)) ChangeByPlayer(ValueAtX(event.ptMouse.x), L"movevaluechanged");
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_bDragging && IsEnabled()) ChangeByPlayer(ValueAtX(event.ptMouse.x), L"movevaluechanged");
            return;
        case UIEVENT_BUTTONUP:
            if (m_bDragging) {
                m_bDragging = false;
                Invalidate();
                if (IsEnabled()) ChangeByPlayer(ValueAtX(event.ptMouse.x), L"valuechanged");
            }
            return;
        case UIEVENT_MOUSEENTER:
            m_bHot = true;
            Invalidate();
            return;
        case UIEVENT_MOUSELEAVE:
            m_bHot = false;
            Invalidate();
            return;
        case UIEVENT_KEYDOWN:
            if (!IsEnabled()) break;
            switch (event.chKey) {
                case VK_LEFT:
                case VK_DOWN: ChangeByPlayer(m_nValue - m_nStep, L"valuechanged"); return;
                case VK_RIGHT:
                case VK_UP: ChangeByPlayer(m_nValue + m_nStep, L"valuechanged"); return;
                case VK_HOME: ChangeByPlayer(m_nMin, L"valuechanged"); return;
                case VK_END: ChangeByPlayer(m_nMax, L"valuechanged"); return;
                default: break;
            }
            break;
        case UIEVENT_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_HAND : IDC_ARROW));
            return;
        default:
            break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::PaintStatusImage(Gdiplus::Graphics& g) {
    CProgressUI::PaintStatusImage(g);
    RECT thumb = GetThumbRect();
    const CDuiString& image = (m_bHot || m_bDragging) && !m_sThumbHotImage.IsEmpty() ? m_sThumbHotImage : m_sThumbImage;
    DrawImage(g, image, &thumb);
}

void CSliderUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"thumbimage") SetThumbImage(value);
    else if (n == L"thumbhotimage") SetThumbHotImage(value);
    else if (n == L"thumbsize") {
        int cx = 0, cy = 0;
        if (duiattr::ParseSize(value, cx, cy)) SetThumbSize(SIZE{cx, cy});
    } else if (n == L"step") SetChangeStep(duiattr::ParseInt(value, 1));
    else CProgressUI::SetAttribute(name, value);
}
