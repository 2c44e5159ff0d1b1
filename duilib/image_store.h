// The process's decoded skin images, shared by every window: each image is read from
// the resources and decoded once, however many windows (main window, message boxes,
// pop-up menus) draw it. User-interface thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "duilib/prepared_image.h"

namespace duiimg {

// The image `name` of the current resource settings, decoded on first use. Null when
// it is missing or undecodable, with the reason in `error`; a failure is not kept,
// so an image added to the resources later is found.
std::shared_ptr<PreparedImage> LoadSharedImage(const std::wstring& name, std::wstring& error);

// Starts decoding the images `names` (not decoded yet) on a worker thread, in that
// order, so that they are ready when a window first draws them. Their bytes are read
// now. GDI+ must be started.
void PrefetchSharedImages(const std::vector<std::wstring>& names);

// Forgets every shared image (windows keep the ones they hold). Used to measure a cold
// start and by tests.
void ForgetSharedImages();
std::size_t SharedImageCount();
// Images prefetched and not yet taken by a window.
std::size_t PrefetchedImageCount();

}  // namespace duiimg
