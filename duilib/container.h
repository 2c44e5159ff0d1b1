// CContainerUI: a control holding child controls, with an optional vertical scroll
// bar. A plain container gives every non-floating child its whole inner area; the
// layouts (vertical_layout.h, horizontal_layout.h) stack them.
#pragma once

#include <vector>

#include "duilib/control.h"

class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    const wchar_t* GetClass() const override { return L"ContainerUI"; }

    // Takes ownership. False for null.
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    // Deletes the child. False when it is not a child.
    virtual bool Remove(CControlUI* control);
    virtual void RemoveAll();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;

    void SetInset(RECT inset) { m_rcInset = inset; NeedParentUpdate(); }
    void SetChildPadding(int padding) { m_iChildPadding = padding; NeedParentUpdate(); }

    // Vertical scrolling. The position is clamped to the range; cx is ignored (no
    // horizontal bar).
    void EnableScrollBar(bool vertical = true);
    bool IsVerticalScrollBarVisible() const { return m_bScrollVisible; }
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    void LineUp();
    void LineDown();

    void SetPos(RECT rc) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetVisible(bool visible = true) override;
    CControlUI* FindControlByName(const wchar_t* name) override;
    CControlUI* FindControlAt(POINT pt) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(Gdiplus::Graphics& g, const RECT& paint) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

protected:
    // Places the floating children; the others get `inner` shifted by the scroll
    // position.
    void SetFloatPositions();
    // The vertical bar rule: shown when the content (`cyRequired`) is taller than the
    // area, range = content − area; hidden and reset when the content fits. Redoes
    // the layout when the position had to shrink.
    virtual void ProcessScrollBar(RECT rc, int cyRequired);
    RECT InnerRect() const;  // item rectangle less inset and scroll bar
    RECT ScrollBarRect() const;
    RECT ThumbRect() const;

    std::vector<CControlUI*> m_items;
    RECT m_rcInset{};
    int m_iChildPadding = 0;
    bool m_bScrollEnabled = false;
    bool m_bScrollVisible = false;
    int m_nScrollPos = 0;
    int m_nScrollRange = 0;
    int m_nScrollBarWidth = 8;
    DWORD m_dwTrackColor = 0x30FFFFFF;
    DWORD m_dwThumbColor = 0xA0D8B26A;
    bool m_bDraggingThumb = false;
    int m_nDragOffset = 0;
    bool m_bInLayout = false;
};
