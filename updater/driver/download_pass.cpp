#include "updater/driver/download_pass.h"

#include "updater/driver/link_speed.h"
#include "updater/driver/pass_events.h"
#include "updater/driver/progress.h"
#include "updater/driver/transfer_lanes.h"
#include "updater/driver/update_texts.h"
#include "updater/update_paths.h"

namespace {

bool Installed(const FileDownloadOutcome& outcome) {
    return outcome.status == FileDownloadStatus::Replaced || outcome.status == FileDownloadStatus::Pending;
}

// The coordinating side of a pass: hands the files to the lanes in list order, one
// row each, and turns the lanes' events into view calls, all on the calling thread.
class PassCoordinator {
public:
    PassCoordinator(IUpdateView& view, const UpdateList& list, PassEvents& events)
        : view_(view), list_(list), events_(events), progress_(static_cast<int>(list.size())) {}

    // True when every file was processed; false when a fetch stopped the pass or the
    // dialog closed. Returns only when every job handed out and every check has ended.
    bool Run(TransferLanes& lanes) {
        view_.SetProgress(progress_.position());
        for (;;) {
            while (!stopped_ && inFlight_ < lanes.count() && next_ < static_cast<int>(list_.size())) {
                if (view_.Closed()) {
                    stopped_ = true;
                    break;
                }
                StartNext(lanes);
            }
            if (inFlight_ == 0 && checking_ == 0) break;
            Handle(events_.Next());
        }
        return !stopped_ && next_ == static_cast<int>(list_.size());
    }

    // Files whose fetch or check has failed so far.
    int failed() const { return failed_; }

private:
    void StartNext(TransferLanes& lanes) {
        const int row = next_++;
        const std::wstring shown = DisplayName(list_[row].name);
        view_.SetCurrentFile(shown);
        view_.InsertRow(row, shown, update_text::kRowInitial);
        ++inFlight_;
        lanes.Start(TransferJob{row, list_[row]});
    }

    void Handle(const PassEvent& event) {
        switch (event.kind) {
        case PassEvent::kBlock:
            for (std::uint32_t block : event.blocks)
                if (block != 0) progress_.AddBlock(event.row, block, event.length);
            if (!event.show) return;
            view_.SetProgress(progress_.position());
            view_.SetRowStatus(event.row, RowProgressText(event.received, event.length));
            return;
        case PassEvent::kFetched: FetchEnded(event); return;
        case PassEvent::kChecked:
            --checking_;
            if (!Installed(event.outcome)) {
                view_.SetRowStatus(event.row, update_text::kRowFailed);
                ++failed_;
            }
            return;
        }
    }

    void FetchEnded(const PassEvent& event) {
        --inFlight_;
        const FileDownloadOutcome& fetched = event.outcome;
        // A stopped fetch leaves its row as it was and counts as not done; the files
        // under way beside it still end normally.
        if (fetched.status == FileDownloadStatus::Stop) {
            stopped_ = true;
            return;
        }
        view_.SetProgress(progress_.FinishFile(event.row));
        view_.SetRowStatus(event.row, RowProgressText(fetched.received, fetched.length));
        view_.SetSpeed(speed_.FileEnded(fetched.length, event.startTick, event.endTick));
        view_.SetCount(CountText(progress_.filesDone(), static_cast<int>(list_.size())));
        if (fetched.status == FileDownloadStatus::Fetched)
            ++checking_;
        else {
            view_.SetRowStatus(event.row, update_text::kRowFailed);
            ++failed_;
        }
    }

    IUpdateView& view_;
    const UpdateList& list_;
    PassEvents& events_;
    PassProgress progress_;
    LinkSpeed speed_;
    int next_ = 0;      // the next file to hand out
    int inFlight_ = 0;  // files handed out whose fetch has not ended
    int checking_ = 0;  // fetched files whose check has not ended
    int failed_ = 0;    // rows that read "文件下载失败"
    bool stopped_ = false;
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
    PassEvents events;
    bool processed = false;
    int failed = 0;
    {
        TransferLanes lanes(engine, events, url, root, probe.resume, engine.TransfersInFlight());
        PassCoordinator coordinator(view, list, events);
        processed = coordinator.Run(lanes);
        failed = coordinator.failed();
    }  // every lane joined: no fetch or check runs past this point
    if (!processed) return {};

    engine.WriteRestartBatch(root);
    return {true, failed};
}
