// CEditUI: a text field. While it has the focus a real native EDIT child window lies
// over it, so caret, selection, clipboard and Chinese input methods work as in any
// Windows program; without the focus the control paints its text itself.
//
// Every change the player makes raises "textchanged" (one per typed character);
// SetText by the program raises nothing. Enter raises "return"; losing the focus
// raises "killfocus".
#pragma once

#include "duilib/label.h"

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;
    const wchar_t* GetClass() const override { return L"EditUI"; }
    bool IsFocusable() const override { return IsEnabled(); }

    void SetText(const wchar_t* text) override;
    // 0 means no limit; longer text is cut.
    void SetMaxChar(UINT maxChars);
    UINT GetMaxChar() const { return m_uMaxChar; }
    void SetNumberOnly(bool numberOnly);
    bool IsNumberOnly() const { return m_bNumberOnly; }
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    void SetEnabled(bool enabled = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;

    // The native child while editing, else null.
    HWND GetNativeWindow() const { return m_hNative; }
    DWORD GetNativeBkColor() const { return m_dwEditBkColor; }
    DWORD GetEditTextColor() const { return m_dwTextColor; }

    // Called by the paint manager for the native child's notifications.
    void OnNativeChange();
    void EndEdit();

    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void PaintText(Gdiplus::Graphics& g) override;
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    void BeginEdit();
    RECT NativeRect() const;
    static LRESULT CALLBACK NativeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_uMaxChar = 255;
    bool m_bNumberOnly = false;
    bool m_bReadOnly = false;
    bool m_bSettingNative = false;
    HWND m_hNative = nullptr;
    WNDPROC m_oldProc = nullptr;
    DWORD m_dwEditBkColor = 0xFFFFFFFF;
    CDuiString m_sNormalImage, m_sHotImage, m_sFocusedImage, m_sDisabledImage;
    bool m_bHot = false;
};
