#include "duilib/image_store.h"

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>
#include <map>

#include "duilib/image_prefetch.h"
#include "duilib/resources.h"

namespace duiimg {
namespace {

std::map<std::wstring, std::shared_ptr<PreparedImage>>& Store() {
    static std::map<std::wstring, std::shared_ptr<PreparedImage>> images;
    return images;
}

ImagePrefetch& Prefetch() {
    static ImagePrefetch prefetch;
    return prefetch;
}

std::shared_ptr<PreparedImage> Keep(std::wstring identity, std::unique_ptr<PixelBuffer> pixels) {
    auto image = std::make_shared<PreparedImage>(std::move(pixels));
    Store().emplace(std::move(identity), image);
    return image;
}

std::wstring Undecodable(const std::wstring& name) { return L"\"" + name + L"\" cannot be decoded"; }

}  // namespace

std::shared_ptr<PreparedImage> LoadSharedImage(const std::wstring& name, std::wstring& error) {
    std::wstring identity = duires::ResourceIdentity(name);
    auto& images = Store();
    auto it = images.find(identity);
    if (it != images.end()) return it->second;
    std::unique_ptr<PixelBuffer> pixels;
    switch (Prefetch().Take(identity, pixels)) {
        case ImagePrefetch::Taken::Decoded:
            return Keep(std::move(identity), std::move(pixels));
        case ImagePrefetch::Taken::Undecodable:
            error = Undecodable(name);
            return nullptr;
        case ImagePrefetch::Taken::NotQueued:
            break;
    }
    std::string bytes;
    if (!duires::LoadResource(name, bytes, error)) return nullptr;
    pixels = DecodeToPremultiplied(bytes);
    if (!pixels) {
        error = Undecodable(name);
        return nullptr;
    }
    return Keep(std::move(identity), std::move(pixels));
}

void PrefetchSharedImages(const std::vector<std::wstring>& names) {
    // One reading of the archive for all of them.
    const duires::ArchiveSession archiveRead;
    for (const std::wstring& name : names) {
        std::wstring identity = duires::ResourceIdentity(name);
        if (Store().count(identity)) continue;
        std::string bytes;
        std::wstring error;
        // A missing image is reported when a control draws it, as without a prefetch.
        if (duires::LoadResource(name, bytes, error)) Prefetch().Add(identity, std::move(bytes));
    }
}

void ForgetSharedImages() {
    Prefetch().Clear();
    Store().clear();
}
std::size_t SharedImageCount() { return Store().size(); }
std::size_t PrefetchedImageCount() { return Prefetch().QueuedCount(); }

}  // namespace duiimg
