#include "duilib/container.h"

#include <memory>

#include <algorithm>
#include <gdiplus.h>

#include "duilib/paint_manager.h"
#include "duilib/render.h"

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    for (CControlUI* c : m_items) delete c;
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (!control || index < 0 || index > GetCount()) return false;
    m_items.insert(m_items.begin() + index, control);
    if (m_pManager) control->SetManager(m_pManager, this, true);
    else control->SetManager(nullptr, this, false);
    NeedParentUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control) {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    if (it == m_items.end()) return false;
    m_items.erase(it);
    delete control;
    NeedParentUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* c : items) delete c;
    m_nScrollPos = 0;
    NeedParentUpdate();
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? m_items[static_cast<std::size_t>(index)] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void CContainerUI::EnableScrollBar(bool vertical) {
    m_bScrollEnabled = vertical;
    if (!vertical) {
        m_bScrollVisible = false;
        m_nScrollPos = 0;
    }
    NeedParentUpdate();
}

SIZE CContainerUI::GetScrollPos() const { return SIZE{0, m_nScrollPos}; }
SIZE CContainerUI::GetScrollRange() const { return SIZE{0, m_nScrollRange}; }

void CContainerUI::SetScrollPos(SIZE pos) {
    int y = std::clamp(static_cast<int>(pos.cy), 0, m_nScrollRange);
    if (y == m_nScrollPos) return;
    int delta = y - m_nScrollPos;
    m_nScrollPos = y;
    // Shift the children instead of a full relayout: scrolling must stay cheap.
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        RECT rc = c->GetPos();
        OffsetRect(&rc, 0, -delta);
        c->SetPos(rc);
    }
    Invalidate();
}

void CContainerUI::LineUp() { SetScrollPos(SIZE{0, m_nScrollPos - 40}); }
void CContainerUI::LineDown() { SetScrollPos(SIZE{0, m_nScrollPos + 40}); }

RECT CContainerUI::InnerRect() const {
    RECT rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_bScrollVisible) rc.right -= m_nScrollBarWidth;
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

RECT CContainerUI::ScrollBarRect() const {
    RECT rc = m_rcItem;
    rc.right -= m_rcInset.right;
    rc.left = rc.right - m_nScrollBarWidth;
    rc.top += m_rcInset.top;
    rc.bottom -= m_rcInset.bottom;
    return rc;
}

RECT CContainerUI::ThumbRect() const {
    RECT bar = ScrollBarRect();
    int track = bar.bottom - bar.top;
    int content = track + m_nScrollRange;
    int thumb = content > 0 ? std::max(24, track * track / content) : track;
    thumb = std::min(thumb, track);
    int top = m_nScrollRange > 0 ? (track - thumb) * m_nScrollPos / m_nScrollRange : 0;
    return RECT{bar.left, bar.top + top, bar.right, bar.top + top + thumb};
}

void CContainerUI::SetFloatPositions() {
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || !c->IsFloat()) continue;
        RECT f = c->GetFloatPos();
        c->SetPos(RECT{m_rcItem.left + f.left, m_rcItem.top + f.top, m_rcItem.left + f.right, m_rcItem.top + f.bottom});
    }
}

void CContainerUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    m_rcItem = rc;
    RECT inner = InnerRect();
    int cyRequired = 0;
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        RECT pad = c->GetPadding();
        RECT child{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right, inner.bottom - pad.bottom};
        if (c->GetFixedWidth() > 0) child.right = child.left + c->GetFixedWidth();
        if (c->GetFixedHeight() > 0) child.bottom = child.top + c->GetFixedHeight();
        cyRequired = std::max(cyRequired, static_cast<int>(child.bottom - inner.top + pad.bottom));
        OffsetRect(&child, 0, -m_nScrollPos);
        c->SetPos(child);
    }
    SetFloatPositions();
    ProcessScrollBar(rc, cyRequired);
}

void CContainerUI::ProcessScrollBar(RECT rc, int cyRequired) {
    if (!m_bScrollEnabled || m_bInLayout) return;
    int area = (rc.bottom - rc.top) - m_rcInset.top - m_rcInset.bottom;
    bool relayout = false;
    if (cyRequired > area) {
        int range = cyRequired - area;
        if (!m_bScrollVisible) relayout = true;  // children lose the bar's width
        m_bScrollVisible = true;
        m_nScrollRange = range;
        if (m_nScrollPos > range) {
            m_nScrollPos = range;
            relayout = true;
        }
    } else if (m_bScrollVisible || m_nScrollPos != 0) {
        m_bScrollVisible = false;
        m_nScrollRange = 0;
        m_nScrollPos = 0;
        relayout = true;
    }
    if (relayout) {
        m_bInLayout = true;
        RECT again = rc;
        m_rcItem = RECT{};  // force the base to accept the same rectangle again
        SetPos(again);
        m_bInLayout = false;
    }
    Invalidate();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* c : m_items) c->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

void CContainerUI::SetVisible(bool visible) { CControlUI::SetVisible(visible); }

CControlUI* CContainerUI::FindControlByName(const wchar_t* name) {
    if (CControlUI* self = CControlUI::FindControlByName(name)) return self;
    for (CControlUI* c : m_items)
        if (CControlUI* found = c->FindControlByName(name)) return found;
    return nullptr;
}

CControlUI* CContainerUI::FindControlAt(POINT pt) {
    if (!m_bVisible || !PtInRect(&m_rcItem, pt)) return nullptr;
    if (m_bScrollVisible) {
        RECT bar = ScrollBarRect();
        if (PtInRect(&bar, pt)) return this;
    }
    RECT inner = InnerRect();
    // Floating children may lie in the inset; the others are clipped to the inner area.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        CControlUI* c = *it;
        if (!c->IsFloat() && !PtInRect(&inner, pt)) continue;
        if (CControlUI* found = c->FindControlAt(pt)) return found;
    }
    return m_bMouseEnabled ? this : nullptr;
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (m_bScrollVisible) {
        RECT bar = ScrollBarRect();
        switch (event.Type) {
            case UIEVENT_SCROLLWHEEL:
                if (static_cast<short>(HIWORD(event.wParam)) > 0) LineUp();
                else LineDown();
                return;
            case UIEVENT_BUTTONDOWN:
            case UIEVENT_DBLCLICK:
                if (PtInRect(&bar, event.ptMouse)) {
                    RECT thumb = ThumbRect();
                    if (PtInRect(&thumb, event.ptMouse)) {
                        m_bDraggingThumb = true;
                        m_nDragOffset = event.ptMouse.y - thumb.top;
                    } else {
                        int page = std::max(40, static_cast<int>(InnerRect().bottom - InnerRect().top) - 40);
                        SetScrollPos(SIZE{0, m_nScrollPos + (event.ptMouse.y < thumb.top ? -page : page)});
                    }
                    return;
                }
                break;
            case UIEVENT_MOUSEMOVE:
                if (m_bDraggingThumb) {
                    RECT thumb = ThumbRect();
                    int free = (bar.bottom - bar.top) - (thumb.bottom - thumb.top);
                    if (free > 0) {
                        int top = event.ptMouse.y - m_nDragOffset - bar.top;
                        SetScrollPos(SIZE{0, top * m_nScrollRange / free});
                    }
                    return;
                }
                break;
            case UIEVENT_BUTTONUP:
                if (m_bDraggingThumb) {
                    m_bDraggingThumb = false;
                    return;
                }
                break;
            default:
                break;
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::DoPaint(Gdiplus::Graphics& g, const RECT& paint) {
    if (!IntersectsRect(paint, m_rcItem)) return;
    CControlUI::DoPaint(g, paint);
    RECT inner = InnerRect();
    const bool clipped = m_bScrollVisible;
    // Only a scrolled container narrows the clip (and must put it back); saving the
    // clip costs a region, so the others leave it alone.
    std::unique_ptr<Gdiplus::Region> saved;
    if (clipped) {
        saved = std::make_unique<Gdiplus::Region>();
        g.GetClip(saved.get());
        g.SetClip(Gdiplus::Rect(inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top),
                  Gdiplus::CombineModeIntersect);
    }
    for (CControlUI* c : m_items) {
        if (!c->IsVisible()) continue;
        if (clipped && !IntersectsRect(c->GetPos(), inner)) continue;
        c->DoPaint(g, paint);
    }
    if (saved) g.SetClip(saved.get());
    if (m_bScrollVisible) {
        RECT bar = ScrollBarRect();
        RECT thumb = ThumbRect();
        InflateRect(&bar, -2, 0);
        InflateRect(&thumb, -2, 0);
        duipaint::ShapeForms* forms = m_pManager ? m_pManager->GetShapeForms() : nullptr;
        duirender::FillRoundRect(g, bar, 2, m_dwTrackColor, forms);
        duirender::FillRoundRect(g, thumb, 2, m_dwThumbColor, forms);
    }
}

void CContainerUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"inset") SetInset(ParseRectAttr(value));
    else if (n == L"childpadding") SetChildPadding(duiattr::ParseInt(value));
    else if (n == L"vscrollbar") EnableScrollBar(duiattr::ParseBool(value));
    else if (n == L"scrollbarwidth") m_nScrollBarWidth = duiattr::ParseInt(value, 8);
    else if (n == L"scrollthumbcolor") m_dwThumbColor = ParseColorAttr(value);
    else if (n == L"scrolltrackcolor") m_dwTrackColor = ParseColorAttr(value);
    else CControlUI::SetAttribute(name, value);
}
