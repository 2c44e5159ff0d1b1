#include "duilib/shape_forms.h"

#include <objidl.h>

#include <algorithm>
#include <gdiplus.h>

namespace duipaint {

const duiimg::PixelBuffer* ShapeForms::Get(const ShapeKey& key, int margin,
                                           const std::function<void(Gdiplus::Graphics&)>& render) {
    if (static_cast<long long>(key.width) * key.height > kLargestArea) return nullptr;
    auto it = std::find_if(forms_.begin(), forms_.end(), [&key](const Form& f) { return f.key == key; });
    if (it != forms_.end()) {
        forms_.splice(forms_.begin(), forms_, it);
        return forms_.front().pixels.get();
    }
    std::unique_ptr<duiimg::PixelBuffer> form = duiimg::PixelBuffer::Make(key.width + 2 * margin, key.height + 2 * margin);
    if (!form) return nullptr;
    {
        Gdiplus::Graphics g(form->Bitmap());
        if (g.GetLastStatus() != Gdiplus::Ok) return nullptr;
        render(g);
        g.Flush(Gdiplus::FlushIntentionSync);
    }
    form->CheckOpacity();
    forms_.push_front(Form{key, std::move(form)});
    if (forms_.size() > kFormsKept) forms_.pop_back();
    return forms_.front().pixels.get();
}

}  // namespace duipaint
