#include "updater/driver/download_pass.h"

#include <future>
#include <optional>
#include <system_error>

#include "updater/driver/progress.h"
#include "updater/driver/update_texts.h"
#include "updater/update_paths.h"

namespace {

// Every message to the dialog costs a repaint of the list and the bar on the dialog
// thread before it takes the next one, far more than reading a block from a local
// server. Within a file the row and the bar are therefore refreshed for the first
// block, then at most once per this interval, and always at the end of the body.
constexpr std::uint32_t kRefreshIntervalMs = 100;

// Turns the engine's per-block callbacks of one file into its row text and the bar.
class RowProgress final : public IFileDownloadProgress {
public:
    RowProgress(IUpdateEngine& engine, IUpdateView& view, PassProgress& progress, int row)
        : engine_(engine), view_(view), progress_(progress), row_(row), startTick_(engine.Now()) {}

    void OnStart(std::uint64_t) override { startTick_ = engine_.Now(); }

    void OnBlock(std::uint64_t received, std::uint64_t length, std::uint32_t block) override {
        if (block != 0) progress_.AddBlock(block, length);
        const std::uint32_t now = engine_.Now();
        if (block != 0 && shown_ && now - lastShown_ < kRefreshIntervalMs) return;
        shown_ = true;
        lastShown_ = now;
        view_.SetProgress(progress_.position());
        view_.SetRowStatus(row_, RowProgressText(received, length));
    }

    std::uint32_t startTick() const { return startTick_; }

private:
    IUpdateEngine& engine_;
    IUpdateView& view_;
    PassProgress& progress_;
    int row_;
    std::uint32_t startTick_;
    bool shown_ = false;
    std::uint32_t lastShown_ = 0;
};

// The check and installation of the file fetched last, on a thread of its own: the
// digest of a large file takes as long as fetching a good part of the next one, so
// the two overlap. At most one check runs at a time, and its row is settled on the
// worker thread before the next check starts and before the pass returns.
class PendingInstall {
public:
    explicit PendingInstall(IUpdateView& view) : view_(view) {}
    ~PendingInstall() { Settle(); }
    PendingInstall(const PendingInstall&) = delete;
    PendingInstall& operator=(const PendingInstall&) = delete;

    void Start(IUpdateEngine& engine, const std::wstring& folder, const UpdateItem& item,
               const FileDownloadOutcome& fetched, int row) {
        Settle();
        row_ = row;
        try {
            result_ = std::async(std::launch::async, [&engine, folder, item, fetched] {
                return engine.InstallFetchedFile(folder, item, fetched);
            });
        } catch (const std::system_error&) {
            // No thread to be had: the check runs here, the pass only loses the overlap.
            std::promise<FileDownloadOutcome> done;
            done.set_value(engine.InstallFetchedFile(folder, item, fetched));
            result_ = done.get_future();
        }
    }

    // Waits for the running check, if any, and marks its row when it failed.
    void Settle() {
        if (!result_) return;
        const FileDownloadOutcome outcome = result_->get();
        result_.reset();
        if (outcome.status != FileDownloadStatus::Replaced && outcome.status != FileDownloadStatus::Pending) {
            view_.SetRowStatus(row_, update_text::kRowFailed);
            ++failed_;
        }
    }

    // Files whose check has failed so far.
    int failed() const { return failed_; }

private:
    IUpdateView& view_;
    std::optional<std::future<FileDownloadOutcome>> result_;
    int row_ = 0;
    int failed_ = 0;
};

}  // namespace

DownloadPassOutcome DownloadUpdateFiles(IUpdateEngine& engine, IUpdateView& view, const std::wstring& updateUrl,
                                        const std::wstring& folder, const UpdateList& list) {
    if (list.empty()) return {true, 0};
    const std::wstring url = NormaliseUrl(updateUrl);
    const std::wstring root = NormaliseFolder(folder);
    view.SetProgressRange(kProgressMax);

    const RangeProbe probe = engine.ProbeRangeSupport(url, list.front().name, root);
    if (!probe.ok) return {};

    view.ClearRows();
    const int total = static_cast<int>(list.size());
    PassProgress progress(total);
    view.SetProgress(progress.position());

    PendingInstall install(view);
    int fetchFailures = 0;
    for (const UpdateItem& item : list) {
        if (view.Closed()) return {};
        const int row = progress.filesDone();
        const std::wstring shown = DisplayName(item.name);
        view.SetCurrentFile(shown);
        view.InsertRow(row, shown, update_text::kRowInitial);

        RowProgress rowProgress(engine, view, progress, row);
        const FileDownloadOutcome fetched = engine.FetchUpdateFile(url, root, item, probe.resume, &rowProgress);
        if (fetched.status == FileDownloadStatus::Stop) return {};

        view.SetProgress(progress.FinishFile());
        const std::uint32_t endTick = engine.Now();
        view.SetRowStatus(row, RowProgressText(fetched.received, fetched.length));
        view.SetSpeed(SpeedText(fetched.length, rowProgress.startTick(), endTick));
        view.SetCount(CountText(progress.filesDone(), total));
        if (fetched.status == FileDownloadStatus::Fetched) {
            install.Start(engine, root, item, fetched, row);
        } else {
            install.Settle();
            view.SetRowStatus(row, update_text::kRowFailed);
            ++fetchFailures;
        }
    }
    install.Settle();

    engine.WriteRestartBatch(root);
    return {true, fetchFailures + install.failed()};
}
