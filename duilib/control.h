// CControlUI: the base of every windowless control. A control owns no window; the
// paint manager of its window positions it, paints it and hands it events.
//
// Threading: user-interface thread only. Ownership: a container owns its children
// and deletes them; the root is owned by the paint manager it is attached to.
#pragma once

#include <windows.h>

#include "duilib/attributes.h"
#include "duilib/ui_base.h"

namespace Gdiplus {
class Graphics;
}

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Class name as reported by hit tests ("ButtonUI", "OptionUI", ...).
    virtual const wchar_t* GetClass() const { return L"ControlUI"; }

    const CDuiString& GetName() const { return m_sName; }
    void SetName(const wchar_t* name) { m_sName = name; }

    virtual CDuiString GetText() const { return m_sText; }
    virtual void SetText(const wchar_t* text);

    virtual bool IsVisible() const { return m_bVisible; }
    virtual void SetVisible(bool visible = true);
    // Visible and every ancestor visible.
    bool IsReallyVisible() const;
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    void SetMouseEnabled(bool enabled) { m_bMouseEnabled = enabled; }
    // Whether Tab and clicks give this control the keyboard focus.
    virtual bool IsFocusable() const { return false; }
    bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();

    const RECT& GetPos() const { return m_rcItem; }
    virtual void SetPos(RECT rc);
    // Size wanted by the parent's layout; 0 means "share what is left".
    int GetFixedWidth() const { return m_cxFixed; }
    int GetFixedHeight() const { return m_cyFixed; }
    void SetFixedWidth(int cx);
    void SetFixedHeight(int cy);
    // Floating controls are placed at their "pos" relative to the parent's top-left.
    bool IsFloat() const { return m_bFloat; }
    const RECT& GetFloatPos() const { return m_rcFloat; }
    void SetFloatPos(RECT rc);
    const RECT& GetPadding() const { return m_rcPadding; }

    DWORD GetBkColor() const { return m_dwBkColor; }
    void SetBkColor(DWORD argb);
    const CDuiString& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(const wchar_t* image);
    void SetBorderColor(DWORD argb);
    void SetBorderSize(int size);

    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }
    // Called when the control enters a window's tree (or leaves it, with nulls).
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    // Called once after the tree has been attached to a paint manager.
    virtual void DoInit() {}

    // Control named `name` in this subtree (this one included), or null.
    virtual CControlUI* FindControlByName(const wchar_t* name);
    // Deepest visible, mouse-enabled control containing `pt`, or null.
    virtual CControlUI* FindControlAt(POINT pt);

    virtual void DoEvent(TEventUI& event);
    // Performs the control's action (a button's click). False when disabled.
    virtual bool Activate();

    // Paints into the frame: background colour, background image, state images,
    // text, border. `paint` is the part of the window being redrawn.
    virtual void DoPaint(Gdiplus::Graphics& g, const RECT& paint);
    virtual void PaintBkColor(Gdiplus::Graphics& g);
    virtual void PaintBkImage(Gdiplus::Graphics& g);
    virtual void PaintStatusImage(Gdiplus::Graphics&) {}
    virtual void PaintText(Gdiplus::Graphics&) {}
    virtual void PaintBorder(Gdiplus::Graphics& g);

    // Applies one layout attribute; unknown names are ignored.
    virtual void SetAttribute(const wchar_t* name, const wchar_t* value);

    // Repaints the control's rectangle at the next WM_PAINT.
    void Invalidate();
    // Redoes the layout of the whole window at the next paint (size or visibility
    // changed).
    void NeedParentUpdate();

    UINT_PTR GetTag() const { return m_tag; }
    void SetTag(UINT_PTR tag) { m_tag = tag; }

protected:
    // Draws a named image (layout syntax) into the control's rectangle; false when
    // the image is missing.
    bool DrawImage(Gdiplus::Graphics& g, const CDuiString& image, const RECT* rc = nullptr);

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sName;
    CDuiString m_sText;
    RECT m_rcItem{};
    RECT m_rcFloat{};
    RECT m_rcPadding{};
    int m_cxFixed = 0;
    int m_cyFixed = 0;
    bool m_bFloat = false;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bFocused = false;
    DWORD m_dwBkColor = 0;
    DWORD m_dwBorderColor = 0;
    int m_nBorderSize = 0;
    int m_nBorderRound = 0;
    CDuiString m_sBkImage;
    UINT_PTR m_tag = 0;
};

// Helpers for attribute values.
DWORD ParseColorAttr(const wchar_t* value);
RECT ParseRectAttr(const wchar_t* value);
bool IntersectsRect(const RECT& a, const RECT& b);
