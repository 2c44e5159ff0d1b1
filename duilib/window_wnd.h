// CWindowWnd: a Win32 window owned by a C++ object. The object registers the
// window class it names, receives every message in HandleMessage, and hears of the
// window's end in OnFinalMessage (the last call the library makes on it; deleting
// the object there is allowed).
//
// User-interface thread only.
#pragma once

#include <windows.h>

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    // The object behind a window made by this library, or null.
    static CWindowWnd* FromHandle(HWND hwnd);
    operator HWND() const { return m_hWnd; }

    // Registers the class (GetWindowClassName, GetClassStyle) and creates the window.
    // Returns the handle, or null when the class or window cannot be made (also when
    // WM_CREATE refuses, for example because the layout is missing).
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc, HMENU menu = nullptr);
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);
    // For an object that deletes itself in OnFinalMessage: the next Create sets
    // `*attached` (the caller's, outliving that Create) once a system window exists
    // for this object. From then on the window's end owns the object, even when
    // Create fails in WM_CREATE and the object is already gone when Create returns;
    // while it stays false the caller still owns it.
    void ReportAttachment(bool* attached) { m_attached = attached; }

    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window and runs a nested message loop until it is gone. The owner
    // window is disabled meanwhile and re-enabled (and given the focus back) before
    // this window is destroyed. Returns the code given to Close, or (UINT)-1 when
    // there is no window. A WM_QUIT seen by the loop is posted again for the outer
    // loop.
    UINT ShowModal();
    // Posts WM_CLOSE carrying `code`; the window is destroyed when it is handled.
    void Close(UINT code = IDOK);
    // Centres on the owner, or on the work area of the monitor when there is none.
    void CenterWindow();
    void ResizeClient(int cx = -1, int cy = -1);

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual const wchar_t* GetWindowClassName() const = 0;
    // Non-null: the window is created as a superclass of that class (e.g. "EDIT").
    virtual const wchar_t* GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hwnd);

    bool RegisterWindowClass();
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_superProc = nullptr;

private:
    struct ModalState {
        HWND owner = nullptr;
        UINT result = 0;
        bool ended = false;
    };
    ModalState* m_modal = nullptr;
    bool* m_attached = nullptr;  // told once, at WM_NCCREATE
};
