#include "duilib/repaint_plan.h"

#include <algorithm>

namespace duipaint {

void FillOpaque(std::uint32_t* pixels, int width, int height, const RECT& rc, std::uint32_t rgb) {
    if (!pixels) return;
    const long left = std::max(rc.left, 0L), top = std::max(rc.top, 0L);
    const long right = std::min(rc.right, static_cast<long>(width)), bottom = std::min(rc.bottom, static_cast<long>(height));
    if (right <= left || bottom <= top) return;
    const std::uint32_t value = rgb | 0xFF000000u;
    for (long y = top; y < bottom; ++y) {
        std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * width;
        std::fill(row + left, row + right, value);
    }
}

std::vector<RECT> RectsToRedraw(bool wholeFrame, const RECT& client, const std::vector<RECT>& dirty,
                                std::size_t maxParts) {
    if (client.right <= client.left || client.bottom <= client.top) return {};
    if (wholeFrame) return {client};
    std::vector<RECT> parts;
    for (const RECT& rc : dirty) {
        RECT clipped{std::max(rc.left, client.left), std::max(rc.top, client.top), std::min(rc.right, client.right),
                     std::min(rc.bottom, client.bottom)};
        if (clipped.right > clipped.left && clipped.bottom > clipped.top) parts.push_back(clipped);
    }
    if (parts.size() <= maxParts) return parts;
    RECT box = parts.front();
    for (const RECT& rc : parts) {
        box.left = std::min(box.left, rc.left);
        box.top = std::min(box.top, rc.top);
        box.right = std::max(box.right, rc.right);
        box.bottom = std::max(box.bottom, rc.bottom);
    }
    return {box};
}

std::vector<RECT> RegionRects(HRGN region) {
    if (!region) return {};
    DWORD size = GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER)) return {};
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (!GetRegionData(region, size, data)) return {};
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

}  // namespace duipaint
