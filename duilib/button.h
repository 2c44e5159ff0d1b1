// CButtonUI: a label that reacts to the mouse and the keyboard. It draws the image of
// its state (normal, hot, pushed, focused, disabled), then its foreground image and
// its text, and raises "click" when pressed and released over it, or when Space or
// Enter is pressed while it has the focus.
#pragma once

#include "duilib/label.h"

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    const wchar_t* GetClass() const override { return L"ButtonUI"; }
    bool IsFocusable() const override { return true; }

    void SetNormalImage(const wchar_t* image);
    void SetHotImage(const wchar_t* image);
    void SetPushedImage(const wchar_t* image);
    void SetFocusedImage(const wchar_t* image);
    void SetDisabledImage(const wchar_t* image);
    // Drawn over the state image; an empty text clears it.
    void SetForeImage(const wchar_t* image);
    const CDuiString& GetForeImage() const { return m_sForeImage; }
    void SetHotTextColor(DWORD argb) { m_dwHotTextColor = argb; }
    UINT GetButtonState() const { return m_uButtonState; }

    bool Activate() override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

protected:
    DWORD CurrentTextColor() const override;

    UINT m_uButtonState = 0;
    CDuiString m_sNormalImage, m_sHotImage, m_sPushedImage, m_sFocusedImage, m_sDisabledImage, m_sForeImage;
    CDuiString m_sHotForeImage;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
};
