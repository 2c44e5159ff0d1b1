// Filled and outlined (rounded) rectangles drawn once per size and colour and kept,
// so that panels with translucent, anti-aliased rounded backgrounds and borders are
// copied 1:1 in later frames instead of being rasterised by GDI+ again. One per
// window (paint manager).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "duilib/prepared_image.h"

namespace duipaint {

struct ShapeKey {
    enum class Kind { Fill, Border } kind = Kind::Fill;
    int width = 0, height = 0;
    int radius = 0;
    int lineWidth = 0;  // borders only
    std::uint32_t argb = 0;
    bool operator==(const ShapeKey&) const = default;
};

class ShapeForms {
public:
    // Forms kept; the least recently drawn goes first. A window has a few panels and
    // buttons of each look, far fewer than this.
    static constexpr std::size_t kFormsKept = 48;
    // Larger shapes are not kept (a window-sized fill is cheap to draw anyway).
    static constexpr long long kLargestArea = 1024LL * 768LL;

    // The form for `key`: the key's size plus `margin` transparent pixels on every
    // side, drawn by `render` the first time; null when it is not kept (too large) or
    // cannot be made.
    const duiimg::PixelBuffer* Get(const ShapeKey& key, int margin, const std::function<void(Gdiplus::Graphics&)>& render);
    std::size_t Count() const { return forms_.Count(); }

private:
    duiimg::RecentForms<ShapeKey> forms_{kFormsKept};
};

}  // namespace duipaint
