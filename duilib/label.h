// CLabelUI: single-line text with colour, font and alignment. CTextUI: the same
// with word wrapping, for paragraphs.
#pragma once

#include "duilib/control.h"

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    const wchar_t* GetClass() const override { return L"LabelUI"; }

    void SetTextColor(DWORD rgbOrArgb);  // 0xRRGGBB is taken as opaque
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD argb) { m_dwDisabledTextColor = argb; Invalidate(); }
    void SetFont(int index) { m_iFont = index; Invalidate(); }
    int GetFont() const { return m_iFont; }
    void SetTextStyle(UINT style) { m_uTextStyle = style; Invalidate(); }
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextPadding(RECT rc) { m_rcTextPadding = rc; Invalidate(); }

    void PaintText(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

protected:
    // Colour for the current state; buttons override for hot/pushed colours.
    virtual DWORD CurrentTextColor() const;

    DWORD m_dwTextColor = 0xFF000000;
    DWORD m_dwDisabledTextColor = 0xFFA0A0A0;
    int m_iFont = -1;
    UINT m_uTextStyle = UITEXT_LEFT | UITEXT_VCENTER | UITEXT_SINGLELINE;
    RECT m_rcTextPadding{};
};

class CTextUI : public CLabelUI {
public:
    CTextUI();
    const wchar_t* GetClass() const override { return L"TextUI"; }
};
