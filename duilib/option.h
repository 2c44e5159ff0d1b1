// COptionUI: a button with a selected state. A click raises "click" first and only
// then changes the state (callers read the state as it was before the click), then
// raises "selectchanged". Options sharing a "group" within one window are mutually
// exclusive: clicking a selected grouped option keeps it selected.
// CCheckBoxUI: an option without group, with the check box vocabulary.
#pragma once

#include "duilib/button.h"

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;
    const wchar_t* GetClass() const override { return L"OptionUI"; }

    bool IsSelected() const { return m_bSelected; }
    // Changes the state; raises "selectchanged" when it changed and `notify` is set.
    virtual void Selected(bool selected, bool notify = true);
    void SetGroup(const wchar_t* group);
    const CDuiString& GetGroup() const { return m_sGroupName; }
    void SetSelectedImage(const wchar_t* image) { m_sSelectedImage = image; Invalidate(); }

    bool Activate() override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

protected:
    DWORD CurrentTextColor() const override;

    bool m_bSelected = false;
    CDuiString m_sGroupName;
    CDuiString m_sSelectedImage, m_sSelectedHotImage, m_sSelectedDisabledImage;
    DWORD m_dwSelectedTextColor = 0;
};

class CCheckBoxUI : public COptionUI {
public:
    const wchar_t* GetClass() const override { return L"CheckBoxUI"; }
    void SetCheck(bool check) { Selected(check); }
    bool GetCheck() const { return IsSelected(); }
};
