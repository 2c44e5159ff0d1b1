#include "duilib/layouts.h"

void CVerticalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    m_rcItem = rc;
    RECT inner = InnerRect();
    int available = inner.bottom - inner.top;
    int fixedTotal = 0, adjustable = 0, visibleCount = 0;
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        ++visibleCount;
        RECT pad = c->GetPadding();
        fixedTotal += pad.top + pad.bottom;
        if (c->GetFixedHeight() > 0) fixedTotal += c->GetFixedHeight();
        else ++adjustable;
    }
    if (visibleCount > 1) fixedTotal += (visibleCount - 1) * m_iChildPadding;
    // In a scrolling layout the shared children get nothing extra: the content is as
    // tall as its fixed parts.
    int share = adjustable > 0 && !m_bScrollEnabled ? (available - fixedTotal) / adjustable : 0;
    if (share < 0) share = 0;
    int y = inner.top - m_nScrollPos;
    int cyRequired = 0;
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        RECT pad = c->GetPadding();
        int h = c->GetFixedHeight() > 0 ? c->GetFixedHeight() : share;
        y += pad.top;
        RECT child{inner.left + pad.left, y, inner.right - pad.right, y + h};
        if (c->GetFixedWidth() > 0) child.right = child.left + c->GetFixedWidth();
        c->SetPos(child);
        y += h + pad.bottom + m_iChildPadding;
    }
    cyRequired = y - m_iChildPadding - (inner.top - m_nScrollPos);
    SetFloatPositions();
    ProcessScrollBar(rc, cyRequired);
}

void CHorizontalLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    m_rcItem = rc;
    RECT inner = InnerRect();
    int available = inner.right - inner.left;
    int fixedTotal = 0, adjustable = 0, visibleCount = 0;
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        ++visibleCount;
        RECT pad = c->GetPadding();
        fixedTotal += pad.left + pad.right;
        if (c->GetFixedWidth() > 0) fixedTotal += c->GetFixedWidth();
        else ++adjustable;
    }
    if (visibleCount > 1) fixedTotal += (visibleCount - 1) * m_iChildPadding;
    int share = adjustable > 0 ? (available - fixedTotal) / adjustable : 0;
    if (share < 0) share = 0;
    int x = inner.left;
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        RECT pad = c->GetPadding();
        int w = c->GetFixedWidth() > 0 ? c->GetFixedWidth() : share;
        x += pad.left;
        RECT child{x, inner.top + pad.top, x + w, inner.bottom - pad.bottom};
        if (c->GetFixedHeight() > 0) child.bottom = child.top + c->GetFixedHeight();
        c->SetPos(child);
        x += w + pad.right + m_iChildPadding;
    }
    SetFloatPositions();
    ProcessScrollBar(rc, 0);
}
