#include "duilib/shape_forms.h"

namespace duipaint {

const duiimg::PixelBuffer* ShapeForms::Get(const ShapeKey& key, int margin,
                                           const std::function<void(Gdiplus::Graphics&)>& render) {
    if (static_cast<long long>(key.width) * key.height > kLargestArea) return nullptr;
    return forms_.Get(key, key.width + 2 * margin, key.height + 2 * margin, render);
}

}  // namespace duipaint
