// Which parts of a window's back buffer a paint redraws. The back buffer keeps the
// last frame, so a paint redraws only what controls marked as changed (their
// rectangles) and copies everything else the system asks for (a window uncovered,
// restored or invalidated from outside) straight from the buffer.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace duipaint {

// More separate rectangles than this are redrawn as their bounding box: GDI+ pays per
// clip change, and many small parts are usually one moving thing.
inline constexpr std::size_t kMaxSeparateParts = 8;

// The rectangles to redraw: the whole client area when the buffer holds no valid frame
// (`wholeFrame`), otherwise the `dirty` rectangles clipped to the client area, empty
// ones dropped, or their bounding box when there are more than `maxParts`.
std::vector<RECT> RectsToRedraw(bool wholeFrame, const RECT& client, const std::vector<RECT>& dirty,
                                std::size_t maxParts = kMaxSeparateParts);

// Fills `rc` (clipped to the buffer) of top-down 32-bit pixels with the opaque colour
// `rgb` (alpha 255), as a GDI+ solid fill of an opaque colour leaves them. Written
// directly: GDI+ fills a window-sized rectangle pixel by pixel through its blending
// path, tens of milliseconds on a first frame. GDI must have finished drawing into
// the buffer (GdiFlush) before.
void FillOpaque(std::uint32_t* pixels, int width, int height, const RECT& rc, std::uint32_t rgb);

// The rectangles of a region, in the system's order; empty for a null or empty region.
std::vector<RECT> RegionRects(HRGN region);

}  // namespace duipaint
