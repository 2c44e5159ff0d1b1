// A skin image decoded once into 32-bit premultiplied ARGB pixels held in a DIB
// section: GDI draws it with one AlphaBlend (a plain BitBlt when it has no
// transparency), and GDI+ reads the same pixels when it has to resample them. Scaled
// and nine-part forms are resampled once per destination size and kept with the
// image, so every later frame copies them 1:1.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/win32/gdi_handle.h"
#include "duilib/recent_forms.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
}  // namespace Gdiplus

namespace duiimg {

// Premultiplied 32-bit pixels, top row first, in a DIB section, with a GDI+ bitmap
// over the same memory.
class PixelBuffer {
public:
    // Transparent black pixels of that size; null when the size is empty or the
    // system refuses the bitmap. GDI+ must be started.
    static std::unique_ptr<PixelBuffer> Make(int width, int height);
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t* Row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * width_; }
    HBITMAP Dib() const { return dib_.get(); }
    Gdiplus::Bitmap* Bitmap() const { return bitmap_.get(); }
    // No pixel is even partly transparent: copying is the same as blending.
    bool Opaque() const { return opaque_; }
    void CheckOpacity();

private:
    PixelBuffer() = default;
    int width_ = 0, height_ = 0;
    std::uint32_t* bits_ = nullptr;
    bool opaque_ = false;
    win32::unique_hbitmap dib_;
    std::unique_ptr<Gdiplus::Bitmap> bitmap_;  // reads dib_'s memory: declared after it, so it goes first
};

// What makes one scaled form: the source part, the unscaled corner margins, the
// destination size and the opacity.
struct ScaleKey {
    int sx = 0, sy = 0, sw = 0, sh = 0;
    int cornerLeft = 0, cornerTop = 0, cornerRight = 0, cornerBottom = 0;
    int dw = 0, dh = 0;
    int fade = 255;
    bool operator==(const ScaleKey&) const = default;
};

class PreparedImage {
public:
    // Scaled forms kept per image; the least recently drawn goes first (a progress
    // bar's fill takes a new width at every value).
    static constexpr std::size_t kScaledFormsKept = 8;

    explicit PreparedImage(std::unique_ptr<PixelBuffer> pixels);
    ~PreparedImage();
    PreparedImage(const PreparedImage&) = delete;
    PreparedImage& operator=(const PreparedImage&) = delete;

    const PixelBuffer& Buffer() const { return *pixels_; }
    Gdiplus::Bitmap* Pixels() const { return pixels_->Bitmap(); }
    int Width() const { return pixels_->Width(); }
    int Height() const { return pixels_->Height(); }

    // The form for `key`, drawn by `render` onto transparent pixels of the key's
    // destination size the first time it is asked for. Null when those pixels cannot
    // be made.
    const PixelBuffer* Scaled(const ScaleKey& key, const std::function<void(Gdiplus::Graphics&)>& render);
    std::size_t ScaledFormCount() const;

private:
    std::unique_ptr<PixelBuffer> pixels_;
    RecentForms<ScaleKey> scaled_;
};

// Decodes PNG, JPEG or BMP bytes into premultiplied pixels. Null when the bytes are
// no image GDI+ can read. GDI+ must be started.
std::unique_ptr<PixelBuffer> DecodeToPremultiplied(const std::string& bytes);

// Copies the part (sx, sy, width, height) of `pixels` to (dx, dy) of `dc`, blended
// over what is there (copied when the pixels are opaque). False when GDI refused.
bool BlitPixels(HDC dc, const PixelBuffer& pixels, int dx, int dy, int width, int height, int sx, int sy);

// Draws `pixels` as a nine-part image onto `dest` of `dc`, blended like BlitPixels:
// the `edge`-pixel corners 1:1, the one-pixel middle column and row stretched along
// the edges and over the middle. `pixels` must be 2 x edge + 1 pixels on each side,
// and `dest` at least that large. Only what lies inside `clip` is drawn. False when
// GDI refused a piece.
bool BlitNineParts(HDC dc, const PixelBuffer& pixels, const RECT& dest, int edge, const RECT& clip);

}  // namespace duiimg
