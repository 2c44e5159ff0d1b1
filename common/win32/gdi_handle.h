// RAII owners for GDI objects, icons and device contexts, a guard that restores the
// object a device context had selected before, and the hand-over of a window region.
#pragma once

#include <windows.h>


#include "common/win32/unique_handle.h"

namespace win32 {

// A device context of the whole screen (GetDC(nullptr)), given back with ReleaseDC.
struct screen_dc_traits {
    using type = HDC;
    static type invalid() noexcept { return nullptr; }
    static bool is_valid(type h) noexcept { return h != nullptr; }
    static void close(type h) noexcept { ReleaseDC(nullptr, h); }
};
using unique_screen_dc = unique_any<screen_dc_traits>;

// The device context of one window's client area (GetDC(window)), given back to that
// window with ReleaseDC. Null when GetDC fails.
class unique_window_dc {
public:
    explicit unique_window_dc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~unique_window_dc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Memory device contexts (CreateCompatibleDC), deleted with DeleteDC.
using unique_memory_dc = unique_any<handle_traits<HDC, ::DeleteDC, 0>>;

// Bitmaps, brushes, pens, fonts, regions: deleted with DeleteObject, null when none.
// Delete an object only after it is no longer selected into a device context
// (select_object_guard).
template <typename T>
struct gdi_object_traits {
    using type = T;
    static type invalid() noexcept { return nullptr; }
    static bool is_valid(type h) noexcept { return h != nullptr; }
    static void close(type h) noexcept { DeleteObject(h); }
};
template <typename T>
using unique_gdi = unique_any<gdi_object_traits<T>>;
using unique_hbitmap = unique_gdi<HBITMAP>;
using unique_hfont = unique_gdi<HFONT>;
using unique_hbrush = unique_gdi<HBRUSH>;
using unique_hrgn = unique_gdi<HRGN>;

// A 32-bit DIB section of width x height laid out top row first (as GDI+ lays out its
// pixels), compatible with `reference` (null: the screen); `*bits` points at its
// pixels, all zero. Null (and `*bits` null) when the system refuses it.
inline unique_hbitmap make_top_down_dib(HDC reference, int width, int height, void** bits) noexcept {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    unique_hbitmap dib(CreateDIBSection(reference, &bmi, DIB_RGB_COLORS, bits, nullptr, 0));
    if (!dib) *bits = nullptr;
    return dib;
}

// Icons loaded or created (LoadImageW without LR_SHARED, CreateIconIndirect).
using unique_hicon = unique_any<handle_traits<HICON, ::DestroyIcon, 0>>;

// Selects `object` into `dc` for its lifetime and selects the previous object back
// when it ends, so the object can then be deleted and the DC released cleanly. A
// null `dc` or `object` selects nothing (selected() is false), so a failed creation
// needs no check of its own before the guard.
class select_object_guard {
public:
    select_object_guard(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~select_object_guard() {
        if (selected()) SelectObject(dc_, previous_);
    }
    select_object_guard(const select_object_guard&) = delete;
    select_object_guard& operator=(const select_object_guard&) = delete;
    bool selected() const noexcept { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Hands a region to a window: once SetWindowRgn succeeds the system owns it, so the
// owner lets go; a refused region is deleted. False for a null or refused region.
inline bool set_window_region(HWND window, unique_hrgn region, BOOL redraw) noexcept {
    if (!region) return false;
    if (!SetWindowRgn(window, region.get(), redraw)) return false;
    (void)region.release();
    return true;
}

}  // namespace win32
