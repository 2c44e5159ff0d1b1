// The skinned message boxes and ShowMessageBox.
//
// A box shows a title in "header", a text in "messagebox" and the buttons "yesBtn",
// "cancleBtn" and "closebtn"; the no-cancel kinds hide "cancleBtn" and put "yesBtn"
// alone in the middle of the button bar. The result is 1 (OK), 2 (cancel), 3 (the
// box's close button) or 0 (closed otherwise, e.g. with Escape).
#pragma once

#include "launcher/ui/base_wnd.h"

class CMessageWnd : public CBaseWnd {
public:
    // Keeps the two texts (not copied: they must outlive the window), then creates
    // the window. Returns the handle or null.
    virtual HWND CreateWithTexts(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc,
                                 const wchar_t* title, const wchar_t* text);
    // Runs after the texts are in place.
    virtual void AfterInit() {}
    int GetResult() const { return m_result; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"MessageWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;

    const wchar_t* m_title = nullptr;
    const wchar_t* m_text = nullptr;
    int m_result = 0;
};

class CMessageBoxWndBig : public CMessageWnd {
protected:
    CDuiString GetSkinFile() override { return L"MessageWndBig.xml"; }
};

class CMessageBoxWndNormal : public CMessageWnd {
protected:
    CDuiString GetSkinFile() override { return L"MessageWndNormal.xml"; }
};

// Hides "cancleBtn" and moves "yesBtn" to (60, 0, 160, 45) in its bar.
void ShowSingleOkButton(CPaintManagerUI& manager);

class CMessageNoCnlBoxWndBig : public CMessageBoxWndBig {
public:
    void AfterInit() override { ShowSingleOkButton(m_PaintManager); }
};

class CMessageNoCnlBoxWndNormal : public CMessageBoxWndNormal {
public:
    void AfterInit() override { ShowSingleOkButton(m_PaintManager); }
};

// Shows a modal box of `type` (1–6) and returns its result; 0 for an unknown type
// (nothing is shown) or when the box cannot be created. With an `owner`, the box is
// that window's and the owner takes no input until the box closes, so no click can
// reach (or delete) the owner under the caller. User-interface thread only.
int ShowMessageBox(const wchar_t* title, const wchar_t* text, int type, HWND owner = nullptr);
