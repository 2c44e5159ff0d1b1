// CMenuElementUI: one item of a pop-up menu. Highlighted under the mouse; a click
// (or Enter while it has the focus) raises "itemclick" and then "itemselect", so the
// menu window can pass the choice on and then close.
#pragma once

#include "duilib/label.h"

class CMenuElementUI : public CLabelUI {
public:
    CMenuElementUI();
    const wchar_t* GetClass() const override { return L"MenuElementUI"; }
    bool IsFocusable() const override { return true; }

    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(Gdiplus::Graphics& g) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    bool m_bHot = false;
    bool m_bPressed = false;
    DWORD m_dwHotBkColor = 0xFF3B2F1E;
    DWORD m_dwHotTextColor = 0;
    CDuiString m_sIcon;
    CDuiString m_sHotImage;

protected:
    DWORD CurrentTextColor() const override;
};
