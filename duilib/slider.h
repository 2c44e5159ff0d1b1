// CProgressUI: a value in [min, max] shown as the foreground image cut at the value.
// CSliderUI: a progress with a draggable thumb. The player changes the value by
// dragging the thumb, clicking the track (the thumb jumps there) or with the arrow,
// Home and End keys while it has the focus. Every change the player makes raises
// "valuechanged" (and "movevaluechanged" while dragging); SetValue raises nothing.
#pragma once

#include "duilib/label.h"

class CProgressUI : public CLabelUI {
public:
    const wchar_t* GetClass() const override { return L"ProgressUI"; }

    int GetMinValue() const { return m_nMin; }
    int GetMaxValue() const { return m_nMax; }
    void SetMinValue(int value);
    void SetMaxValue(int value);
    int GetValue() const { return m_nValue; }
    // Clamped to the range.
    void SetValue(int value);
    void SetForeImage(const wchar_t* image) { m_sForeImage = image; Invalidate(); }

    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

protected:
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    CDuiString m_sForeImage;
};

class CSliderUI : public CProgressUI {
public:
    const wchar_t* GetClass() const override { return L"SliderUI"; }
    bool IsFocusable() const override { return true; }

    void SetThumbImage(const wchar_t* image) { m_sThumbImage = image; Invalidate(); }
    void SetThumbHotImage(const wchar_t* image) { m_sThumbHotImage = image; Invalidate(); }
    void SetThumbSize(SIZE size) { m_szThumb = size; Invalidate(); }
    void SetChangeStep(int step) { m_nStep = step > 0 ? step : 1; }
    // Thumb rectangle for the current value, in client coordinates.
    RECT GetThumbRect() const;
    // Value the thumb would have with its centre at client x.
    int ValueAtX(int x) const;

    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    void ChangeByPlayer(int value, const wchar_t* notification);

    CDuiString m_sThumbImage, m_sThumbHotImage;
    SIZE m_szThumb{16, 16};
    int m_nStep = 1;
    bool m_bDragging = false;
    bool m_bHot = false;
};
