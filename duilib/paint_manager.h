// CPaintManagerUI: the engine behind one window. It owns the window's control tree,
// lays it out, paints it double-buffered with GDI+, turns mouse and keyboard
// messages into control events, keeps focus/hover/capture, holds the fonts and the
// images of the window, and delivers notifications to the registered notifiers.
//
// The static part holds the process-wide set-up: module instance and where
// layouts and images come from (a folder, or a zip archive in it).
//
// User-interface thread only. One manager per window; the window calls Init from
// WM_CREATE and passes its messages to MessageHandler.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/win32/gdi_handle.h"
#include "duilib/shape_forms.h"
#include "duilib/ui_base.h"

namespace Gdiplus {
class Bitmap;
class Font;
}  // namespace Gdiplus

namespace duiimg {
class PreparedImage;
}

class COptionUI;
class CEditUI;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // --- process-wide set-up -------------------------------------------------
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The executable's folder with a trailing backslash.
    static CDuiString GetInstancePath();
    // A relative folder is taken below the instance path.
    static void SetResourcePath(const wchar_t* folder);
    static CDuiString GetResourcePath();
    // Layouts and images are then members of this archive inside the resource
    // folder. `cached`: keep the archive parsed in memory between loads.
    static void SetResourceZip(const wchar_t* archiveName, bool cached = false);
    static CDuiString GetResourceZip();
    // Runs the thread's message loop until WM_QUIT.
    static void MessageLoop();
    // Gives the library a look at a message before it is dispatched; true when it
    // was consumed.
    static bool TranslateMessage(const MSG* msg);

    // --- one window ----------------------------------------------------------
    // Binds the manager to its window. Starts GDI+ for the process on first use.
    void Init(HWND hwnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }

    // Takes ownership of the tree (the previous tree is deleted) and lays it out at
    // the next paint. False for null.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    // Control of that name, or null.
    CControlUI* FindControl(const wchar_t* name) const;
    // Deepest visible, mouse-enabled control under a client point, or null.
    CControlUI* FindControl(POINT pt) const;

    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Delivers the notification to every notifier. Synchronous: before returning.
    // Asynchronous: queued and delivered from this window's message queue; the
    // sender must stay alive until then (a deleted sender's pending notifications
    // are dropped).
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* control, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0, bool async = false);

    // Handles what the library does for the window: painting, layout on resize,
    // mouse, keyboard, focus, native edit children, posted notifications. True when
    // handled, with the message's result in `result`.
    bool MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Caption margins from the layout ("caption" of <Window>): left, top, right and
    // bottom, where bottom is the caption's height from the top.
    RECT& GetCaptionRect() { return m_rcCaption; }
    void SetCaptionRect(RECT rc) { m_rcCaption = rc; }
    // Rounded window corners; applied as the window region on every size change.
    void SetRoundCorner(int cx, int cy);
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    // Initial client size from the layout; resizes the window at once.
    void SetInitSize(int cx, int cy);
    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetBackgroundColor(DWORD argb) { m_dwBackground = argb; }

    // Fonts: index → face, pixel size and style. A face missing on the machine falls
    // back to the generic sans-serif family. Index -1 (or unknown) is the default.
    void AddFont(int index, const wchar_t* face, int size, bool bold, bool underline, bool italic, bool isDefault);
    Gdiplus::Font* GetFont(int index);
    HFONT GetHFont(int index);
    int GetFontHeight(int index);

    // Image by name (PNG, JPEG, BMP) from the resources, decoded once and kept for
    // the window's life. Null when missing or undecodable; the reason is kept as the
    // last error.
    Gdiplus::Bitmap* GetImage(const wchar_t* name);
    // The same image with its scaled forms; decoded once for the whole process and
    // shared with the other windows.
    duiimg::PreparedImage* GetPreparedImage(const wchar_t* name);
    // Starts decoding `atRest` on a worker thread, in this order, so that they are
    // ready by the first paint, and `inOtherStates` (hover, pressed...) once the first
    // paint is done, so they do not compete with it. The dialog builder names the
    // images of each layout it builds.
    void PrefetchImages(const std::vector<std::wstring>& atRest, const std::vector<std::wstring>& inOtherStates);
    // Whether images are copied from their prepared pixels, scaled and nine-part ones
    // from forms resampled once per size (the default), or drawn and resampled by GDI+
    // at every frame (the reference drawing the prepared one must look like).
    void SetUsePreparedImages(bool use) { m_bUsePreparedImages = use; }
    bool UsesPreparedImages() const { return m_bUsePreparedImages; }
    // The window's kept forms of filled and outlined shapes; null while prepared
    // drawing is off.
    duipaint::ShapeForms* GetShapeForms() { return m_bUsePreparedImages ? &m_shapes : nullptr; }
    // The last resource problem seen by this manager (missing image, bad layout...).
    const CDuiString& GetLastErrorText() const { return m_sLastError; }
    void SetLastErrorText(const wchar_t* text) { m_sLastError = text; }

    // Redraw a part of the window at the next WM_PAINT. Only such parts are drawn
    // again; the rest of a paint is copied from the frame kept in the back buffer.
    void Invalidate(const RECT& rc);
    // Redraw every control at the next WM_PAINT (the back buffer's frame is stale).
    void InvalidateAll();
    // Redo the layout at the next WM_PAINT.
    void NeedUpdate();
    // Lays out pending changes at once (tests and callers that read positions).
    void UpdateLayout();

    CControlUI* GetFocus() const { return m_pFocus; }
    // Moves the keyboard focus to `control` (null: to nobody).
    void SetFocus(CControlUI* control);
    // Tab order = tree order of focusable, visible, enabled controls.
    bool SetNextTabControl(bool forward = true);
    CControlUI* GetHotControl() const { return m_pEventHover; }
    // True while the focus was last moved with the keyboard: controls then draw a
    // focus ring so a keyboard player sees where they are.
    bool ShowsKeyboardFocus() const { return m_bKeyboardFocus; }

    // Removes every reference the manager holds to a control being deleted or
    // hidden.
    void ReapObjects(CControlUI* control, bool keepRegistration = false);

    // Option groups (mutually exclusive options).
    void AddOptionGroup(const CDuiString& group, COptionUI* option);
    void RemoveOptionGroup(const CDuiString& group, COptionUI* option);
    std::vector<COptionUI*> GetOptionGroup(const CDuiString& group) const;

    // Native edit bookkeeping (used by CEditUI).
    void SetEditing(CEditUI* edit) { m_pEditing = edit; }
    void PostEndEdit();

private:
    struct FontInfo {
        std::wstring face;
        int size = 12;
        bool bold = false, underline = false, italic = false;
        std::unique_ptr<Gdiplus::Font> font;
        win32::unique_hfont hfont;
    };

    FontInfo& FontAt(int index);
    void Paint();
    void EnsureBackBuffer(int cx, int cy);
    void ApplyRoundCorner();
    void DispatchMouse(int type, POINT pt, WPARAM wParam);
    void DrainAsync();
    void CollectFocusable(CControlUI* control, std::vector<CControlUI*>& out) const;

    HWND m_hWndPaint = nullptr;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CEditUI* m_pEditing = nullptr;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<TNotifyUI> m_asyncQueue;
    std::map<std::wstring, std::vector<COptionUI*>> m_optionGroups;
    std::map<int, FontInfo> m_fonts;
    int m_defaultFont = -1;
    std::map<std::wstring, std::shared_ptr<duiimg::PreparedImage>> m_images;
    bool m_bUsePreparedImages = true;
    duipaint::ShapeForms m_shapes;
    std::set<std::wstring> m_missingImages;
    std::vector<std::wstring> m_prefetchAfterPaint;
    CDuiString m_sLastError;
    RECT m_rcCaption{};
    SIZE m_szRoundCorner{};
    SIZE m_szInitWindowSize{};
    DWORD m_dwBackground = 0xFF000000;
    bool m_bUpdateNeeded = false;
    bool m_bMouseTracking = false;
    bool m_bKeyboardFocus = false;
    std::vector<RECT> m_dirty;      // changed since the back buffer's frame was drawn
    bool m_bBackValid = false;      // the back buffer holds a complete frame
    win32::unique_memory_dc m_backDc;
    win32::unique_hbitmap m_backBitmap;
    std::uint32_t* m_backPixels = nullptr;  // the back bitmap's memory
    // The back bitmap selected into the back DC; declared after both, so it is put
    // back before either goes.
    std::optional<win32::select_object_guard> m_backSelected;
    SIZE m_szBack{};
    win32::unique_hbrush m_editBrush;
    DWORD m_dwEditBrushColor = 0;
};
