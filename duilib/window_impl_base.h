// WindowImplBase: a caption-less skinned window built from a layout. A derived
// window names its skin folder, layout file, resource type and archive through the
// hooks below; WM_CREATE then loads the layout, attaches it and registers the
// window as notifier, and calls InitWindow. Creation fails (Create returns null)
// when the layout cannot be built; the reason is in the paint manager's last error.
//
// Default behaviour: dragging by the layout's caption area (except over buttons,
// options and text), no system frame, rounded corners from the layout, Escape closes
// the window, a "click" notification goes to OnClick.
#pragma once

#include "duilib/dialog_builder.h"
#include "duilib/paint_manager.h"
#include "duilib/window_wnd.h"

class WindowImplBase : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
public:
    WindowImplBase();
    ~WindowImplBase() override;

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const wchar_t* className) override;

protected:
    // Called once the layout is attached, before the window is shown.
    virtual void InitWindow() {}
    virtual void OnClick(TNotifyUI&) {}
    // Where the layout comes from. The skin folder is relative to the instance path.
    virtual CDuiString GetSkinFolder() = 0;
    virtual CDuiString GetSkinFile() = 0;
    virtual UILIB_RESOURCETYPE GetResourceType() const { return UILIB_FILE; }
    virtual CDuiString GetZIPFileName() const { return CDuiString(); }
    // Escape and Enter; true when handled. Escape closes with code IDCANCEL.
    virtual bool ResponseDefaultKeyEvent(WPARAM key);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    virtual LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    CPaintManagerUI m_PaintManager;
};
