// Pixels drawn once per key and kept, the most recently used first; when more than
// `capacity` are kept the least recently used goes. Used for the resampled forms of
// skin images and for the rasterised shapes of panels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>

namespace Gdiplus {
class Graphics;
}  // namespace Gdiplus

namespace duiimg {

class PixelBuffer;

// Transparent pixels of that size with `render` drawn on them through GDI+; null when
// the pixels or the GDI+ surface cannot be made.
std::unique_ptr<PixelBuffer> RenderPixels(int width, int height, const std::function<void(Gdiplus::Graphics&)>& render);

template <typename Key>
class RecentForms {
public:
    explicit RecentForms(std::size_t capacity) : capacity_(capacity) {}

    // The form for `key`, drawn by `render` on width x height pixels the first time.
    const PixelBuffer* Get(const Key& key, int width, int height,
                           const std::function<void(Gdiplus::Graphics&)>& render) {
        auto it = std::find_if(forms_.begin(), forms_.end(), [&key](const Form& f) { return f.key == key; });
        if (it != forms_.end()) {
            forms_.splice(forms_.begin(), forms_, it);
            return forms_.front().pixels.get();
        }
        std::unique_ptr<PixelBuffer> pixels = RenderPixels(width, height, render);
        if (!pixels) return nullptr;
        forms_.push_front(Form{key, std::move(pixels)});
        if (forms_.size() > capacity_) forms_.pop_back();
        return forms_.front().pixels.get();
    }
    std::size_t Count() const { return forms_.size(); }

private:
    struct Form {
        Key key;
        std::unique_ptr<PixelBuffer> pixels;
    };
    std::size_t capacity_;
    std::list<Form> forms_;
};

}  // namespace duiimg
