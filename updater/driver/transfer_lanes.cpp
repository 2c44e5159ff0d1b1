#include "updater/driver/transfer_lanes.h"

#include <future>
#include <system_error>

namespace {

// Every message to the dialog costs a repaint of the list and the bar on the dialog
// thread before it takes the next one, far more than reading a block from a local
// server. Within a file the row and the bar are therefore refreshed for the first
// block, then at most once per this interval, and always at the end of the body.
constexpr std::uint32_t kRefreshIntervalMs = 100;

// Turns the engine's per-block callbacks of one file into events, marking those due
// to be shown.
class LaneProgress final : public IFileDownloadProgress {
public:
    LaneProgress(IUpdateEngine& engine, PassEvents& events, int row)
        : engine_(engine), events_(events), row_(row), startTick_(engine.Now()) {}

    void OnStart(std::uint64_t) override { startTick_ = engine_.Now(); }

    void OnBlock(std::uint64_t received, std::uint64_t length, std::uint32_t block) override {
        const std::uint32_t now = engine_.Now();
        const bool show = block == 0 || !shown_ || now - lastShown_ >= kRefreshIntervalMs;
        if (show) {
            shown_ = true;
            lastShown_ = now;
        }
        PassEvent event;
        event.kind = PassEvent::kBlock;
        event.row = row_;
        event.received = received;
        event.length = length;
        event.block = block;
        event.show = show;
        events_.Push(std::move(event));
    }

    std::uint32_t startTick() const { return startTick_; }

private:
    IUpdateEngine& engine_;
    PassEvents& events_;
    int row_;
    std::uint32_t startTick_;
    bool shown_ = false;
    std::uint32_t lastShown_ = 0;
};

PassEvent Checked(int row, const FileDownloadOutcome& outcome) {
    PassEvent event;
    event.kind = PassEvent::kChecked;
    event.row = row;
    event.outcome = outcome;
    return event;
}

}  // namespace

// The check of the file a lane fetched last, on a thread of its own. Starting the
// next check, or destroying the object, waits for the running one first.
class TransferLanes::PendingCheck {
public:
    PendingCheck(IUpdateEngine& engine, PassEvents& events, const std::wstring& folder)
        : engine_(engine), events_(events), folder_(folder) {}
    ~PendingCheck() { Settle(); }
    PendingCheck(const PendingCheck&) = delete;
    PendingCheck& operator=(const PendingCheck&) = delete;

    void Start(const TransferJob& job, const FileDownloadOutcome& fetched) {
        Settle();
        auto check = [this, job, fetched] {
            FileDownloadOutcome outcome = fetched;
            outcome.status = FileDownloadStatus::Failed;
            try {
                outcome = engine_.InstallFetchedFile(folder_, job.item, fetched);
            } catch (...) {
                // Out of memory in the check: the file counts as failed, the pass goes on.
            }
            events_.Push(Checked(job.row, outcome));
        };
        try {
            running_ = std::async(std::launch::async, check);
        } catch (const std::system_error&) {
            check();  // no thread to be had: the lane only loses the overlap
        }
    }

    void Settle() {
        if (running_.valid()) running_.get();
    }

private:
    IUpdateEngine& engine_;
    PassEvents& events_;
    const std::wstring& folder_;
    std::future<void> running_;  // valid while a check may still run
};

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
    if (threads_.empty()) inlineCheck_ = std::make_unique<PendingCheck>(engine_, events_, folder_);
}

TransferLanes::~TransferLanes() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        closing_ = true;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    inlineCheck_.reset();
}

int TransferLanes::count() const { return threads_.empty() ? 1 : static_cast<int>(threads_.size()); }

void TransferLanes::Start(TransferJob job) {
    if (threads_.empty()) {
        Transfer(job, *inlineCheck_);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        jobs_.push_back(std::move(job));
    }
    ready_.notify_one();
}

void TransferLanes::Run() {
    PendingCheck check(engine_, events_, folder_);
    for (;;) {
        TransferJob job;
        {
            std::unique_lock<std::mutex> guard(lock_);
            ready_.wait(guard, [this] { return closing_ || !jobs_.empty(); });
            if (jobs_.empty()) return;  // closing, nothing left; `check` settles the last check
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        Transfer(job, check);
    }
}

void TransferLanes::Transfer(const TransferJob& job, PendingCheck& check) {
    PassEvent fetched;
    fetched.kind = PassEvent::kFetched;
    fetched.row = job.row;
    try {
        LaneProgress progress(engine_, events_, job.row);
        fetched.outcome = engine_.FetchUpdateFile(url_, folder_, job.item, resume_, &progress);
        fetched.startTick = progress.startTick();
        fetched.endTick = engine_.Now();
    } catch (...) {
        // Nothing may leave a lane; a fetch that broke off stops the pass like a failed read.
        fetched.outcome.status = FileDownloadStatus::Stop;
    }
    const FileDownloadOutcome outcome = fetched.outcome;
    events_.Push(std::move(fetched));
    if (outcome.status == FileDownloadStatus::Fetched) check.Start(job, outcome);
}
