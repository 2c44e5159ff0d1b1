#include "duilib/control.h"

#include <gdiplus.h>

#include "duilib/paint_manager.h"
#include "duilib/render.h"

DWORD ParseColorAttr(const wchar_t* value) {
    std::uint32_t argb = 0;
    duiattr::ParseColor(value ? value : L"", argb);
    return argb;
}

RECT ParseRectAttr(const wchar_t* value) {
    duiattr::Rect r;
    duiattr::ParseRect(value ? value : L"", r);
    return RECT{r.left, r.top, r.right, r.bottom};
}

bool IntersectsRect(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager) m_pManager->ReapObjects(this);
}

void CControlUI::SetText(const wchar_t* text) {
    if (m_sText == text) return;
    m_sText = text;
    Invalidate();
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    if (!visible && m_pManager) m_pManager->ReapObjects(this, /*keepRegistration*/ true);
    m_bVisible = visible;
    NeedParentUpdate();
}

bool CControlUI::IsReallyVisible() const {
    for (const CControlUI* c = this; c; c = c->m_pParent)
        if (!c->m_bVisible) return false;
    return true;
}

void CControlUI::SetEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    if (!enabled && m_pManager) m_pManager->ReapObjects(this, true);
    Invalidate();
}

void CControlUI::SetFocus() {
    if (m_pManager) m_pManager->SetFocus(this);
}

void CControlUI::SetPos(RECT rc) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (EqualRect(&rc, &m_rcItem)) return;
    Invalidate();
    m_rcItem = rc;
    Invalidate();
}

void CControlUI::SetFixedWidth(int cx) {
    m_cxFixed = cx < 0 ? 0 : cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
    m_cyFixed = cy < 0 ? 0 : cy;
    NeedParentUpdate();
}

void CControlUI::SetFloatPos(RECT rc) {
    m_rcFloat = rc;
    m_bFloat = true;
    m_cxFixed = rc.right - rc.left;
    m_cyFixed = rc.bottom - rc.top;
    NeedParentUpdate();
}

void CControlUI::SetBkColor(DWORD argb) {
    m_dwBkColor = argb;
    Invalidate();
}

void CControlUI::SetBkImage(const wchar_t* image) {
    if (m_sBkImage == image) return;
    m_sBkImage = image;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD argb) {
    m_dwBorderColor = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int size) {
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_pManager = manager;
    m_pParent = parent;
    if (init && manager) DoInit();
}

CControlUI* CControlUI::FindControlByName(const wchar_t* name) {
    return (name && m_sName == name) ? this : nullptr;
}

CControlUI* CControlUI::FindControlAt(POINT pt) {
    if (!m_bVisible || !m_bMouseEnabled) return nullptr;
    return PtInRect(&m_rcItem, pt) ? this : nullptr;
}

void CControlUI::DoEvent(TEventUI& event) {
    // Unhandled wheel turns go to the parent, so a scrolling container sees the wheel
    // over any of its children.
    if (event.Type == UIEVENT_SCROLLWHEEL && m_pParent) {
        m_pParent->DoEvent(event);
        return;
    }
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        Invalidate();
    } else if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        Invalidate();
    }
}

bool CControlUI::Activate() { return IsReallyVisible() && IsEnabled(); }

void CControlUI::DoPaint(Gdiplus::Graphics& g, const RECT& paint) {
    if (!IntersectsRect(paint, m_rcItem)) return;
    PaintBkColor(g);
    PaintBkImage(g);
    PaintStatusImage(g);
    PaintText(g);
    PaintBorder(g);
}

void CControlUI::PaintBkColor(Gdiplus::Graphics& g) {
    if (m_dwBkColor == 0) return;
    duirender::FillRoundRect(g, m_rcItem, m_nBorderRound, m_dwBkColor, m_pManager ? m_pManager->GetShapeForms() : nullptr);
}

void CControlUI::PaintBkImage(Gdiplus::Graphics& g) {
    if (!m_sBkImage.IsEmpty()) DrawImage(g, m_sBkImage);
}

void CControlUI::PaintBorder(Gdiplus::Graphics& g) {
    duipaint::ShapeForms* forms = m_pManager ? m_pManager->GetShapeForms() : nullptr;
    if (m_nBorderSize > 0) duirender::DrawBorder(g, m_rcItem, m_nBorderSize, m_nBorderRound, m_dwBorderColor, forms);
    if (m_bFocused && m_pManager && m_pManager->ShowsKeyboardFocus())
        duirender::DrawBorder(g, m_rcItem, 1, 3, 0xC0F3D58E, forms);
}

bool CControlUI::DrawImage(Gdiplus::Graphics& g, const CDuiString& image, const RECT* rc) {
    if (!m_pManager || image.IsEmpty()) return false;
    duiattr::ImageSpec spec;
    if (!duiattr::ParseImageSpec(image.str(), spec)) return false;
    duiimg::PreparedImage* prepared = m_pManager->GetPreparedImage(spec.file.c_str());
    if (!prepared) return false;
    duirender::DrawImage(g, prepared, rc ? *rc : m_rcItem, spec, m_pManager->UsesPreparedImages());
    return true;
}

void CControlUI::Invalidate() {
    if (m_pManager && m_bVisible) m_pManager->Invalidate(m_rcItem);
}

void CControlUI::NeedParentUpdate() {
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"name") SetName(value);
    else if (n == L"text") SetText(value);
    else if (n == L"pos") {
        SetFloatPos(ParseRectAttr(value));
        m_bFloat = true;
    } else if (n == L"float") m_bFloat = duiattr::ParseBool(value);
    else if (n == L"width") SetFixedWidth(duiattr::ParseInt(value));
    else if (n == L"height") SetFixedHeight(duiattr::ParseInt(value));
    else if (n == L"padding") m_rcPadding = ParseRectAttr(value);
    else if (n == L"bkcolor") SetBkColor(ParseColorAttr(value));
    else if (n == L"bkimage") SetBkImage(value);
    else if (n == L"bordercolor") SetBorderColor(ParseColorAttr(value));
    else if (n == L"bordersize") SetBorderSize(duiattr::ParseInt(value));
    else if (n == L"borderround") m_nBorderRound = duiattr::ParseInt(value);
    else if (n == L"visible") SetVisible(duiattr::ParseBool(value));
    else if (n == L"enabled") SetEnabled(duiattr::ParseBool(value));
    else if (n == L"mouse") SetMouseEnabled(duiattr::ParseBool(value));
}
