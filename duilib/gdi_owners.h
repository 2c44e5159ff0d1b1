// RAII owners for the GDI objects, icons and COM interfaces the library and the
// launcher's windows hold, built on the one handle owner of common/win32.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

#include "common/win32/unique_handle.h"

namespace dui {

// Fonts, bitmaps, brushes and regions: DeleteObject, NULL when none.
template <typename T>
using unique_gdi = win32::unique_any<win32::handle_traits<T, ::DeleteObject, 0>>;
using unique_font = unique_gdi<HFONT>;
using unique_bitmap = unique_gdi<HBITMAP>;
using unique_brush = unique_gdi<HBRUSH>;
using unique_region = unique_gdi<HRGN>;

using unique_icon = win32::unique_any<win32::handle_traits<HICON, ::DestroyIcon, 0>>;

// Selects `object` into `dc` for the guard's lifetime and puts the previous object
// back at its end, on every way out.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (dc_ && previous_) SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Hands a region to a window: once SetWindowRgn succeeds the system owns it, so the
// owner lets go; a refused region is deleted.
inline bool SetWindowRegion(HWND window, unique_region region, BOOL redraw) {
    if (!region) return false;
    if (!SetWindowRgn(window, region.get(), redraw)) return false;
    (void)region.release();
    return true;
}

// One reference to a COM interface, released at the end.
template <typename Interface>
class unique_com {
public:
    unique_com() noexcept = default;
    explicit unique_com(Interface* p) noexcept : p_(p) {}
    unique_com(const unique_com&) = delete;
    unique_com& operator=(const unique_com&) = delete;
    unique_com(unique_com&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    unique_com& operator=(unique_com&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~unique_com() { reset(); }

    Interface* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset(Interface* p = nullptr) noexcept {
        if (p_) p_->Release();
        p_ = p;
    }

private:
    Interface* p_ = nullptr;
};

}  // namespace dui
