#include "duilib/image_store.h"

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>
#include <map>

#include "duilib/resources.h"

namespace duiimg {
namespace {

std::map<std::wstring, std::shared_ptr<PreparedImage>>& Store() {
    static std::map<std::wstring, std::shared_ptr<PreparedImage>> images;
    return images;
}

}  // namespace

std::shared_ptr<PreparedImage> LoadSharedImage(const std::wstring& name, std::wstring& error) {
    std::wstring identity = duires::ResourceIdentity(name);
    auto& images = Store();
    auto it = images.find(identity);
    if (it != images.end()) return it->second;
    std::string bytes;
    if (!duires::LoadResource(name, bytes, error)) return nullptr;
    std::unique_ptr<PixelBuffer> pixels = DecodeToPremultiplied(bytes);
    if (!pixels) {
        error = L"\"" + name + L"\" cannot be decoded";
        return nullptr;
    }
    auto image = std::make_shared<PreparedImage>(std::move(pixels));
    images.emplace(std::move(identity), image);
    return image;
}

void ForgetSharedImages() { Store().clear(); }
std::size_t SharedImageCount() { return Store().size(); }

}  // namespace duiimg
