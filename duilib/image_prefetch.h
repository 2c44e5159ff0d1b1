// Skin images decoded ahead of their first use on a worker thread: a window names the
// images of its layout as soon as the layout is built, and they are decoded while the
// window is still being created and shown, on a second core, instead of one after
// the other inside the first paint.
//
// The bytes are read by the caller (the user-interface thread, which owns the
// resource settings); only the decoding runs on the worker. Whoever needs an image
// first gets it: the worker's result when it is done, a wait while the worker is on
// it, or, when the worker has not reached it yet, the caller decodes it itself.
// GDI+ must be started before images are added.
#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "common/win32/thread_owner.h"
#include "duilib/prepared_image.h"

namespace duiimg {

class ImagePrefetch {
public:
    ImagePrefetch();
    // Stops the worker after the image it is decoding and drops what is left.
    ~ImagePrefetch();
    ImagePrefetch(const ImagePrefetch&) = delete;
    ImagePrefetch& operator=(const ImagePrefetch&) = delete;

    // Queues `bytes` for decoding under `identity` (see duires::ResourceIdentity),
    // after those queued before. An identity already queued is left as it is.
    void Add(const std::wstring& identity, std::string bytes);

    enum class Taken {
        NotQueued,  // nothing was added under this identity (or it was taken already)
        Decoded,    // `pixels` holds the image
        Undecodable // the bytes are no image this system can decode
    };
    // Takes the image added under `identity` out of the prefetch, decoding it here
    // when the worker has not started on it.
    Taken Take(const std::wstring& identity, std::unique_ptr<PixelBuffer>& pixels);

    // Waits for the image being decoded, if any, and drops every queued one.
    void Clear();
    std::size_t QueuedCount();

private:
    enum class Stage { Queued, Decoding, Done };
    struct Entry {
        std::string bytes;
        Stage stage = Stage::Queued;
        std::unique_ptr<PixelBuffer> pixels;
    };

    void Work(const win32::StopSignal& stop);
    void StartWorkerLocked(std::unique_lock<std::mutex>& held);

    std::mutex lock_;
    std::condition_variable done_;
    std::map<std::wstring, std::shared_ptr<Entry>> entries_;  // not yet taken
    std::deque<std::shared_ptr<Entry>> order_;                 // decoding order; taken ones are skipped
    bool working_ = false;                                      // the worker is in its loop
    win32::ThreadOwner worker_;
};

}  // namespace duiimg
