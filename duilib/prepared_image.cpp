#include "duilib/prepared_image.h"

#include <algorithm>
#include <array>

#include <objidl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <gdiplus.h>

#include "common/win32/com_owner.h"
#include "common/win32/gdi_handle.h"

namespace duiimg {

std::unique_ptr<PixelBuffer> PixelBuffer::Make(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<PixelBuffer> buffer(new PixelBuffer());
    void* bits = nullptr;
    buffer->dib_.reset(win32::make_top_down_dib(nullptr, width, height, &bits).release());
    if (!buffer->dib_ || !bits) return nullptr;
    buffer->width_ = width;
    buffer->height_ = height;
    buffer->bits_ = static_cast<std::uint32_t*>(bits);  // a new DIB section is all zeroes
    buffer->bitmap_ = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                        static_cast<BYTE*>(bits));
    if (buffer->bitmap_->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return buffer;
}

PixelBuffer::~PixelBuffer() = default;

void PixelBuffer::CheckOpacity() {
    GdiFlush();  // GDI may still be writing into the section
    opaque_ = true;
    for (int y = 0; y < height_ && opaque_; ++y) {
        const std::uint32_t* row = Row(y);
        for (int x = 0; x < width_; ++x)
            if ((row[x] >> 24) != 0xFF) {
                opaque_ = false;
                break;
            }
    }
}

PreparedImage::PreparedImage(std::unique_ptr<PixelBuffer> pixels)
    : pixels_(std::move(pixels)), scaled_(kScaledFormsKept) {}

PreparedImage::~PreparedImage() = default;

const PixelBuffer* PreparedImage::Scaled(const ScaleKey& key, const std::function<void(Gdiplus::Graphics&)>& render) {
    return scaled_.Get(key, key.dw, key.dh, render);
}

std::size_t PreparedImage::ScaledFormCount() const { return scaled_.Count(); }

std::unique_ptr<PixelBuffer> RenderPixels(int width, int height, const std::function<void(Gdiplus::Graphics&)>& render) {
    std::unique_ptr<PixelBuffer> form = PixelBuffer::Make(width, height);
    if (!form) return nullptr;
    {
        Gdiplus::Graphics g(form->Bitmap());
        if (g.GetLastStatus() != Gdiplus::Ok) return nullptr;
        render(g);
        g.Flush(Gdiplus::FlushIntentionSync);
    }
    form->CheckOpacity();
    return form;
}

std::unique_ptr<PixelBuffer> DecodeToPremultiplied(const std::string& bytes) {
    if (bytes.empty()) return nullptr;
    const win32::unique_com<IStream> stream(
        SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    if (!stream) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return nullptr;
    int w = static_cast<int>(decoded->GetWidth()), h = static_cast<int>(decoded->GetHeight());
    std::unique_ptr<PixelBuffer> result = PixelBuffer::Make(w, h);
    if (!result) return nullptr;
    // GDI+ converts the pixels while reading them out (one pass, no resampling); the
    // rows go into our own memory, which also lets the stream go.
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData from{};
    if (decoded->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &from) != Gdiplus::Ok) return nullptr;
    for (int y = 0; y < h; ++y)
        std::memcpy(result->Row(y), static_cast<const BYTE*>(from.Scan0) + static_cast<std::ptrdiff_t>(y) * from.Stride,
                    static_cast<std::size_t>(w) * 4);
    decoded->UnlockBits(&from);
    decoded.reset();  // the decoded bitmap reads from the stream: it goes first
    result->CheckOpacity();
    return result;
}

bool BlitPixels(HDC dc, const PixelBuffer& pixels, int dx, int dy, int width, int height, int sx, int sy) {
    const win32::unique_memory_dc source(CreateCompatibleDC(dc));
    if (!source) return false;
    const win32::select_object_guard selected(source.get(), pixels.Dib());
    if (!selected.selected()) return false;
    if (pixels.Opaque()) return BitBlt(dc, dx, dy, width, height, source.get(), sx, sy, SRCCOPY) != FALSE;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(dc, dx, dy, width, height, source.get(), sx, sy, width, height, blend) != FALSE;
}

bool BlitNineParts(HDC dc, const PixelBuffer& pixels, const RECT& dest, int edge, const RECT& clip) {
    const win32::unique_memory_dc source(CreateCompatibleDC(dc));
    if (!source) return false;
    const win32::select_object_guard selected(source.get(), pixels.Dib());
    if (!selected.selected()) return false;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // Per axis: the three spans of the destination and of the source.
    struct Span {
        long to, length;  // destination
        int from, size;   // source
    };
    const auto spans = [edge](long start, long end) {
        return std::array<Span, 3>{Span{start, edge, 0, edge}, Span{start + edge, end - start - 2 * edge, edge, 1},
                                   Span{end - edge, edge, edge + 1, edge}};
    };
    const std::array<Span, 3> columns = spans(dest.left, dest.right), rows = spans(dest.top, dest.bottom);
    bool drawn = true;
    for (const Span& row : rows) {
        for (const Span& column : columns) {
            // The visible part; along a stretched span the source stays its one pixel.
            const long left = std::max(column.to, clip.left), right = std::min(column.to + column.length, clip.right);
            const long top = std::max(row.to, clip.top), bottom = std::min(row.to + row.length, clip.bottom);
            if (right <= left || bottom <= top) continue;
            const bool wide = column.size == 1, tall = row.size == 1;
            const int sx = column.from + (wide ? 0 : static_cast<int>(left - column.to));
            const int sy = row.from + (tall ? 0 : static_cast<int>(top - row.to));
            const int sw = wide ? 1 : static_cast<int>(right - left), sh = tall ? 1 : static_cast<int>(bottom - top);
            const int dw = static_cast<int>(right - left), dh = static_cast<int>(bottom - top);
            const BOOL ok = pixels.Opaque()
                                ? StretchBlt(dc, left, top, dw, dh, source.get(), sx, sy, sw, sh, SRCCOPY)
                                : AlphaBlend(dc, left, top, dw, dh, source.get(), sx, sy, sw, sh, blend);
            drawn = drawn && ok;
        }
    }
    return drawn;
}

}  // namespace duiimg
