#include "duilib/image_prefetch.h"

namespace duiimg {
namespace {

// The worker's previous thread has left its loop by the time a new one is needed;
// this only bounds the wait for it to finish returning.
constexpr DWORD kPreviousWorkerEndMs = 2000;

}  // namespace

ImagePrefetch::ImagePrefetch() : worker_(L"skin image decoder") {}

ImagePrefetch::~ImagePrefetch() { Clear(); }

void ImagePrefetch::Add(const std::wstring& identity, std::string bytes) {
    std::unique_lock<std::mutex> held(lock_);
    if (entries_.count(identity)) return;
    auto entry = std::make_shared<Entry>();
    entry->bytes = std::move(bytes);
    entries_.emplace(identity, entry);
    order_.push_back(std::move(entry));
    if (!working_) StartWorkerLocked(held);
}

void ImagePrefetch::StartWorkerLocked(std::unique_lock<std::mutex>&) {
    if (worker_.Owned() && worker_.TryJoin(kPreviousWorkerEndMs) == win32::JoinResult::TimedOut) return;
    // Without a worker the images are decoded by whoever takes them.
    working_ = worker_.Start([this](const win32::StopSignal& stop) { Work(stop); });
}

void ImagePrefetch::Work(const win32::StopSignal& stop) {
    std::unique_lock<std::mutex> held(lock_);
    while (!stop.Requested()) {
        while (!order_.empty() && order_.front()->stage != Stage::Queued) order_.pop_front();
        if (order_.empty()) break;
        std::shared_ptr<Entry> entry = std::move(order_.front());
        order_.pop_front();
        entry->stage = Stage::Decoding;
        held.unlock();
        std::unique_ptr<PixelBuffer> pixels = DecodeToPremultiplied(entry->bytes);
        held.lock();
        entry->pixels = std::move(pixels);
        entry->bytes.clear();
        entry->stage = Stage::Done;
        done_.notify_all();
    }
    working_ = false;
}

ImagePrefetch::Taken ImagePrefetch::Take(const std::wstring& identity, std::unique_ptr<PixelBuffer>& pixels) {
    std::unique_lock<std::mutex> held(lock_);
    auto it = entries_.find(identity);
    if (it == entries_.end()) return Taken::NotQueued;
    std::shared_ptr<Entry> entry = it->second;
    entries_.erase(it);
    if (entry->stage == Stage::Queued) {
        // Not started: decode it here rather than wait behind the others. The worker
        // skips it, as it is no longer queued.
        entry->stage = Stage::Decoding;
        held.unlock();
        pixels = DecodeToPremultiplied(entry->bytes);
    } else {
        done_.wait(held, [&] { return entry->stage == Stage::Done; });
        pixels = std::move(entry->pixels);
    }
    return pixels ? Taken::Decoded : Taken::Undecodable;
}

void ImagePrefetch::Clear() {
    {
        std::lock_guard<std::mutex> held(lock_);
        entries_.clear();
        order_.clear();
    }
    worker_.StopAndJoin();
}

std::size_t ImagePrefetch::QueuedCount() {
    std::lock_guard<std::mutex> held(lock_);
    return entries_.size();
}

}  // namespace duiimg
