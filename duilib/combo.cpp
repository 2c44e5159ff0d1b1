#include "duilib/combo.h"

#include "duilib/combo_window.h"
#include "duilib/paint_manager.h"
#include "duilib/render.h"

CListLabelElementUI::CListLabelElementUI() {
    m_rcTextPadding = RECT{10, 0, 6, 0};
    m_dwTextColor = 0xFFE8E8E8;
}

void CListLabelElementUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            m_bHot = true;
            Invalidate();
            return;
        case UIEVENT_MOUSELEAVE:
            m_bHot = false;
            Invalidate();
            return;
        case UIEVENT_BUTTONUP:
            if (m_pOwner && IsEnabled() && PtInRect(&m_rcItem, event.ptMouse)) {
                CComboUI* owner = m_pOwner;
                int index = m_iIndex;
                // Closing first: the owner's handler may open other windows.
                owner->CloseDropDown();
                owner->SelectItem(index, false);
            }
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CListLabelElementUI::PaintBkColor(Gdiplus::Graphics& g) {
    DWORD color = m_bHot ? m_dwHotBkColor : m_bSelected ? m_dwSelectedBkColor : m_dwBkColor;
    duirender::FillRect(g, m_rcItem, color);
}

CComboUI::CComboUI() {
    m_textView.SetTextPadding(m_rcTextPadding);
    m_textView.SetTextColor(0xFFE8E8E8);
}

CComboUI::~CComboUI() { CloseDropDown(); }

CDuiString CComboUI::GetText() const {
    CControlUI* item = GetItemAt(m_iCurSel);
    return item ? item->GetText() : CDuiString();
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (index == -1) {
        m_iCurSel = -1;
        Invalidate();
        return false;
    }
    if (index < 0 || index >= GetCount()) return false;
    int old = m_iCurSel;
    m_iCurSel = index;
    if (takeFocus) SetFocus();
    Invalidate();
    if (m_pManager) m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
    return true;
}

bool CComboUI::DropDown() {
    if (m_pWindow || !m_pManager || !m_pManager->GetPaintWindow() || !IsEnabled()) return false;
    auto* window = new CComboWnd();
    m_pWindow = window;
    if (!window->Init(this, m_nDropHeight)) {
        m_pWindow = nullptr;  // Init failure deletes the window object
        return false;
    }
    Invalidate();
    return true;
}

void CComboUI::CloseDropDown() {
    if (m_pWindow) {
        CComboWnd* window = m_pWindow;
        m_pWindow = nullptr;
        window->Detach();
        window->Close();
    }
}

int CComboUI::NextVisible(int from, int step) const {
    for (int i = from + step; i >= 0 && i < GetCount(); i += step) {
        CControlUI* item = GetItemAt(i);
        if (item->IsVisible() && item->IsEnabled()) return i;
    }
    return -1;
}

void CComboUI::SetPos(RECT rc) {
    // The items are shown in the drop-down, not inside the combo.
    CControlUI::SetPos(rc);
    m_rcItem = rc;
    m_textView.SetPos(rc);
}

void CComboUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (!manager) CloseDropDown();
    m_textView.SetManager(manager, this, false);
    CContainerUI::SetManager(manager, parent, init);
}

CControlUI* CComboUI::FindControlByName(const wchar_t* name) { return CControlUI::FindControlByName(name); }

CControlUI* CComboUI::FindControlAt(POINT pt) { return CControlUI::FindControlAt(pt); }

void CComboUI::SetEnabled(bool enabled) {
    if (!enabled) CloseDropDown();
    CContainerUI::SetEnabled(enabled);
}

void CComboUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled()) {
                if (m_pWindow) CloseDropDown();
                else DropDown();
            }
            return;
        case UIEVENT_BUTTONUP:
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
            if (event.chKey == VK_UP || event.chKey == VK_LEFT) {
                int i = NextVisible(m_iCurSel < 0 ? GetCount() : m_iCurSel, -1);
                if (i >= 0) SelectItem(i, false);
                return;
            }
            if (event.chKey == VK_DOWN || event.chKey == VK_RIGHT) {
                int i = NextVisible(m_iCurSel, 1);
                if (i >= 0) SelectItem(i, false);
                return;
            }
            if (event.chKey == VK_SPACE || event.chKey == VK_RETURN || event.chKey == VK_F4) {
                DropDown();
                return;
            }
            break;
        case UIEVENT_SCROLLWHEEL:
            return;  // a turning wheel must not change settings by accident
        case UIEVENT_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IsEnabled() ? IDC_HAND : IDC_ARROW));
            return;
        default:
            break;
    }
    CControlUI::DoEvent(event);
}

void CComboUI::DoPaint(Gdiplus::Graphics& g, const RECT& paint) {
    if (!IntersectsRect(paint, m_rcItem)) return;
    PaintBkColor(g);
    PaintBkImage(g);
    const CDuiString* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.IsEmpty()) image = &m_sDisabledImage;
    else if (m_pWindow && !m_sPushedImage.IsEmpty()) image = &m_sPushedImage;
    else if (m_bHot && !m_sHotImage.IsEmpty()) image = &m_sHotImage;
    DrawImage(g, *image);
    m_textView.SetText(GetText());
    m_textView.SetEnabled(IsEnabled());
    m_textView.PaintText(g);
    PaintBorder(g);
}

void CComboUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"normalimage") m_sNormalImage = value;
    else if (n == L"hotimage") m_sHotImage = value;
    else if (n == L"pushedimage") m_sPushedImage = value;
    else if (n == L"disabledimage") m_sDisabledImage = value;
    else if (n == L"textcolor" || n == L"disabledtextcolor" || n == L"font" || n == L"align")
        m_textView.SetAttribute(name, value);
    else if (n == L"textpadding") m_textView.SetTextPadding(ParseRectAttr(value));
    else if (n == L"itemheight") m_nItemHeight = duiattr::ParseInt(value, 28);
    else if (n == L"dropheight") m_nDropHeight = duiattr::ParseInt(value, 200);
    else if (n == L"itemfont") m_iItemFont = duiattr::ParseInt(value, -1);
    else if (n == L"itemtextcolor") m_dwItemTextColor = ParseColorAttr(value) | 0xFF000000u;
    else if (n == L"dropbkcolor") m_dwDropBkColor = ParseColorAttr(value);
    else if (n == L"itemhotbkcolor") m_dwItemHotBkColor = ParseColorAttr(value);
    else if (n == L"itemselectedbkcolor") m_dwItemSelectedBkColor = ParseColorAttr(value);
    else if (n == L"cursel") m_iCurSel = duiattr::ParseInt(value, -1);
    else CContainerUI::SetAttribute(name, value);
}
