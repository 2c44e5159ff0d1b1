#include "updater/driver/transfer_lanes.h"

#include <system_error>

namespace {

// Every message to the dialog costs a repaint of the list and the bar on the dialog
// thread before it takes the next one, far more than reading a block from a local
// server. Within a file the row and the bar are therefore refreshed for the first
// block, then at most once per this interval, and always at the end of the body.
constexpr std::uint32_t kRefreshIntervalMs = 100;

// Turns the engine's per-block callbacks of one file into events: the blocks are
// gathered and sent with the next one due to be shown.
class LaneProgress final : public IFileDownloadProgress {
public:
    LaneProgress(IUpdateEngine& engine, PassEvents& events, int row)
        : engine_(engine), events_(events), row_(row), startTick_(engine.Now()) {}

    void OnStart(std::uint64_t) override { startTick_ = engine_.Now(); }

    void OnBlock(std::uint64_t received, std::uint64_t length, std::uint32_t block) override {
        const std::uint32_t now = engine_.Now();
        const bool show = block == 0 || !shown_ || now - lastShown_ >= kRefreshIntervalMs;
        received_ = received;
        length_ = length;
        pending_.push_back(block);
        if (!show) return;
        shown_ = true;
        lastShown_ = now;
        Send(true);
    }

    // Sends the blocks not sent yet (a body that broke off has no final block).
    void Flush() {
        if (!pending_.empty()) Send(false);
    }

    std::uint32_t startTick() const { return startTick_; }

private:
    void Send(bool show) {
        PassEvent event;
        event.kind = PassEvent::kBlock;
        event.row = row_;
        event.received = received_;
        event.length = length_;
        event.blocks.swap(pending_);
        event.show = show;
        events_.Push(std::move(event));
    }

    IUpdateEngine& engine_;
    PassEvents& events_;
    int row_;
    std::uint32_t startTick_;
    bool shown_ = false;
    std::uint32_t lastShown_ = 0;
    std::uint64_t received_ = 0;
    std::uint64_t length_ = 1;
    std::vector<std::uint32_t> pending_;
};

PassEvent Checked(int row, const FileDownloadOutcome& outcome) {
    PassEvent event;
    event.kind = PassEvent::kChecked;
    event.row = row;
    event.outcome = outcome;
    return event;
}

}  // namespace

TransferLanes::TransferLanes(IUpdateEngine& engine, PassEvents& events, std::wstring url, std::wstring folder,
                             bool resume, int lanes)
    : engine_(engine), events_(events), url_(std::move(url)), folder_(std::move(folder)), resume_(resume) {
    for (int i = 0; i < (lanes < 1 ? 1 : lanes); ++i) {
        try {
            threads_.emplace_back([this] { Run(); });
        } catch (const std::system_error&) {
            break;  // fewer lanes; with none at all the caller's thread fetches
        }
    }
}

TransferLanes::~TransferLanes() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        closing_ = true;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

int TransferLanes::count() const { return threads_.empty() ? 1 : static_cast<int>(threads_.size()); }

void TransferLanes::Start(TransferJob job) {
    if (threads_.empty()) {
        Transfer(job);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        jobs_.push_back(std::move(job));
    }
    ready_.notify_one();
}

void TransferLanes::Run() {
    for (;;) {
        TransferJob job;
        {
            std::unique_lock<std::mutex> guard(lock_);
            ready_.wait(guard, [this] { return closing_ || !jobs_.empty(); });
            if (jobs_.empty()) return;  // closing, nothing left
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        Transfer(job);
    }
}

void TransferLanes::Transfer(const TransferJob& job) {
    PassEvent fetched;
    fetched.kind = PassEvent::kFetched;
    fetched.row = job.row;
    try {
        LaneProgress progress(engine_, events_, job.row);
        fetched.outcome = engine_.FetchUpdateFile(url_, folder_, job.item, resume_, &progress);
        progress.Flush();
        fetched.startTick = progress.startTick();
        fetched.endTick = engine_.Now();
    } catch (...) {
        // Nothing may leave a lane; a fetch that broke off stops the pass like a failed read.
        fetched.outcome.status = FileDownloadStatus::Stop;
    }
    const FileDownloadOutcome outcome = fetched.outcome;
    events_.Push(std::move(fetched));
    if (outcome.status != FileDownloadStatus::Fetched) return;
    // The digest was taken as the body arrived, so the check is a comparison and the
    // replacement: the lane does it before its next file.
    FileDownloadOutcome checked = outcome;
    checked.status = FileDownloadStatus::Failed;
    try {
        checked = engine_.InstallFetchedFile(folder_, job.item, outcome);
    } catch (...) {
        // Out of memory in the check: the file counts as failed, the pass goes on.
    }
    events_.Push(Checked(job.row, checked));
}
