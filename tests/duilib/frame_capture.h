// Frames of 32-bit pixels for drawing tests: a control tree drawn into memory the way
// the paint manager draws a frame, what a window shows, and how far two frames differ.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gdiplus.h>
#include <vector>

#include "common/win32/gdi_handle.h"
#include "duilib/duilib.h"

namespace uitest {

struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Runs `draw` on a memory DC holding a `width` x `height` DIB and returns its pixels.
template <typename Draw>
Frame DrawIntoMemory(int width, int height, Draw draw) {
    Frame frame;
    void* bits = nullptr;
    const win32::unique_hbitmap dib = win32::make_top_down_dib(nullptr, width, height, &bits);
    const win32::unique_memory_dc dc(CreateCompatibleDC(nullptr));
    if (!dib || !dc || !bits) return frame;
    {
        const win32::select_object_guard selected(dc.get(), dib.get());
        draw(dc.get());
        GdiFlush();
    }
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(static_cast<std::size_t>(width) * height);
    std::memcpy(frame.pixels.data(), bits, frame.pixels.size() * 4);
    for (auto& p : frame.pixels) p |= 0xFF000000u;  // GDI leaves the alpha byte of screen copies undefined
    return frame;
}

// The manager's tree drawn as one full frame over a black background.
inline Frame RenderTree(CPaintManagerUI& pm, int width, int height) {
    return DrawIntoMemory(width, height, [&](HDC dc) {
        Gdiplus::Graphics g(dc);
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
        g.FillRectangle(&black, 0, 0, width, height);
        g.SetClip(Gdiplus::Rect(0, 0, width, height));
        RECT all{0, 0, width, height};
        if (pm.GetRoot()) pm.GetRoot()->DoPaint(g, all);
        g.Flush(Gdiplus::FlushIntentionSync);
    });
}

// What the window's client area shows now.
inline Frame CaptureClient(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const win32::unique_window_dc window(hwnd);
    return DrawIntoMemory(client.right, client.bottom, [&](HDC dc) {
        BitBlt(dc, 0, 0, client.right, client.bottom, window.get(), 0, 0, SRCCOPY);
    });
}

// The largest difference of one colour channel between two frames of one size, or
// 256 when the sizes differ.
inline int LargestChannelDifference(const Frame& a, const Frame& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 256;
    int largest = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            largest = std::max(largest, std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                                                 static_cast<int>((b.pixels[i] >> shift) & 0xFF)));
    return largest;
}

// Pixels of `frame` inside `rc` that differ from `other`.
inline int DifferingPixels(const Frame& frame, const Frame& other, const RECT& rc) {
    int count = 0;
    for (int y = std::max(0, static_cast<int>(rc.top)); y < std::min(frame.height, static_cast<int>(rc.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(rc.left)); x < std::min(frame.width, static_cast<int>(rc.right)); ++x)
            if (frame.At(x, y) != other.At(x, y)) ++count;
    return count;
}

}  // namespace uitest
