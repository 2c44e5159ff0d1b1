// CComboUI: a drop-down list. Its children are the list items (CListLabelElementUI);
// the combo shows the current item's text and, when clicked, opens a drop-down
// window listing the visible items. Picking an item there, or the arrow keys while
// the combo has the focus, select it.
//
// SelectItem raises "itemselect" synchronously (wParam new index, lParam old index)
// for every valid index, also when it equals the current one, so a handler can rely
// on running after each selection. Index -1 clears the selection silently.
#pragma once

#include "duilib/container.h"
#include "duilib/label.h"

class CComboUI;

class CListLabelElementUI : public CLabelUI {
public:
    CListLabelElementUI();
    const wchar_t* GetClass() const override { return L"ListLabelElementUI"; }
    // Used by the drop-down: the combo and index this row stands for.
    void SetOwner(CComboUI* owner, int index) { m_pOwner = owner; m_iIndex = index; }
    void SetHotBkColor(DWORD argb) { m_dwHotBkColor = argb; }
    void SetSelectedBkColor(DWORD argb) { m_dwSelectedBkColor = argb; }
    void SetRowSelected(bool selected) { m_bSelected = selected; Invalidate(); }

    void DoEvent(TEventUI& event) override;
    void PaintBkColor(Gdiplus::Graphics& g) override;

private:
    CComboUI* m_pOwner = nullptr;
    int m_iIndex = -1;
    bool m_bHot = false;
    bool m_bSelected = false;
    DWORD m_dwHotBkColor = 0xFF3A4A5C;
    DWORD m_dwSelectedBkColor = 0xFF2C3846;
};

class CComboWnd;

class CComboUI : public CContainerUI {
public:
    CComboUI();
    ~CComboUI() override;
    const wchar_t* GetClass() const override { return L"ComboUI"; }
    bool IsFocusable() const override { return IsEnabled(); }

    int GetCurSel() const { return m_iCurSel; }
    // See the class comment. False for an index outside the items (nothing changes)
    // and for -1 (the selection is cleared). `takeFocus` also gives the combo the
    // keyboard focus.
    bool SelectItem(int index, bool takeFocus = false);
    CDuiString GetText() const override;

    // Opens the drop-down window below the combo. False when it cannot be created.
    bool DropDown();
    void CloseDropDown();
    bool IsDroppedDown() const { return m_pWindow != nullptr; }
    void OnDropDownClosed() { m_pWindow = nullptr; Invalidate(); }

    // Item appearance in the drop-down.
    int GetItemHeight() const { return m_nItemHeight; }
    int GetItemFont() const { return m_iItemFont; }
    DWORD GetItemTextColor() const { return m_dwItemTextColor; }
    DWORD GetDropBkColor() const { return m_dwDropBkColor; }
    DWORD GetItemHotBkColor() const { return m_dwItemHotBkColor; }
    DWORD GetItemSelectedBkColor() const { return m_dwItemSelectedBkColor; }

    void SetPos(RECT rc) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    CControlUI* FindControlByName(const wchar_t* name) override;
    CControlUI* FindControlAt(POINT pt) override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(Gdiplus::Graphics& g, const RECT& paint) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    int NextVisible(int from, int step) const;

    CLabelUI m_textView;  // paints the current text with the combo's text attributes
    CComboWnd* m_pWindow = nullptr;
    int m_iCurSel = -1;
    bool m_bHot = false;
    CDuiString m_sNormalImage, m_sHotImage, m_sPushedImage, m_sDisabledImage;
    int m_nItemHeight = 28;
    int m_nDropHeight = 200;
    int m_iItemFont = -1;
    DWORD m_dwItemTextColor = 0xFFE8E8E8;
    DWORD m_dwDropBkColor = 0xFF1F2731;
    DWORD m_dwItemHotBkColor = 0xFF3A4A5C;
    DWORD m_dwItemSelectedBkColor = 0xFF2C3846;
    RECT m_rcTextPadding{8, 0, 24, 0};
};
