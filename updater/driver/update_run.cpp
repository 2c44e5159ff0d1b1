#include "updater/driver/update_run.h"

#include <algorithm>

#include "updater/driver/download_pass.h"
#include "updater/driver/update_texts.h"
#include "updater/file_replace.h"
#include "updater/update_paths.h"
#include "updater/update_state.h"

namespace {

void ShowDownloadFailed(IUpdateView& view) {
    view.SetStatus(update_text::kDownloadFailed);
    view.SetUpdateButtonText(update_text::kButtonRetry);
}

// Downloads the list and shows how the pass ended.
void DownloadAndReport(IUpdateEngine& engine, IUpdateView& view, const std::wstring& folder,
                       const std::wstring& url, const UpdateList& list) {
    view.ShowProgressBar();
    view.SetStatus(update_text::kDownloading);
    const bool updaterListed = std::any_of(list.begin(), list.end(),
                                           [](const UpdateItem& item) { return IsSelfUpdaterName(item.name); });
    // The pass may truncate "Updater.exe.tmp"; a batch still naming it could put a
    // half-written file in the updater's place when the dialog closes.
    if (!engine.RetireRestartBatch(folder, updaterListed)) {
        ShowDownloadFailed(view);
        return;
    }
    const DownloadPassOutcome outcome = DownloadUpdateFiles(engine, view, url, folder, list);
    if (outcome.Succeeded()) {
        view.SetStatus(update_text::kSucceeded);
        view.MarkDone();
        view.SetUpdateButtonText(update_text::kButtonFinish);
        view.EnableExitButton(false);
    } else {
        ShowDownloadFailed(view);
    }
}

void RunSteps(IUpdateEngine& engine, IUpdateView& view, const std::wstring& root, const std::wstring& url) {
    view.SetStatus(update_text::kReadingLocal);
    if (!engine.BuildLocalManifest(root)) {
        view.SetStatus(update_text::kLocalFailed);
        return;
    }
    view.SetStatus(update_text::kReadingServer);
    UpdateList list;
    UpdateState state = UpdateState::Error;
    engine.GetUpdateState(list, url, root, state);
    if (state == UpdateState::Part) {
        DownloadAndReport(engine, view, root, url, list);
    } else if (state == UpdateState::AllNew) {
        view.SetStatus(update_text::kAlreadyNewest);
    } else {
        view.SetStatus(update_text::kServerFailed);
    }
}

}  // namespace

void RunUpdate(IUpdateEngine& engine, IUpdateView& view, const std::wstring& folder, const std::wstring& updateUrl) {
    const std::wstring root = NormaliseFolder(folder);
    const std::wstring url = NormaliseUrl(updateUrl);

    // Nothing may leave the worker thread, whatever it is: a run that broke off (out
    // of memory, a fault in a step) ends like a failed download the player can retry,
    // and the clean-up below still runs.
    try {
        RunSteps(engine, view, root, url);
    } catch (...) {
        try {
            ShowDownloadFailed(view);
        } catch (...) {
        }
    }

    try {
        engine.RemoveManifests(root);
    } catch (...) {
    }
    try {
        view.EnableUpdateButton(true);
        view.ShowStatus();
        view.SetCurrentFile(L"");
        view.SetSpeed(update_text::kSpeedIdle);
    } catch (...) {
    }
}
