#include "updater/driver/update_run.h"

#include "updater/driver/download_pass.h"
#include "updater/driver/update_texts.h"
#include "updater/update_paths.h"
#include "updater/update_state.h"

namespace {

// Downloads the list and shows how the pass ended.
void DownloadAndReport(IUpdateEngine& engine, IUpdateView& view, const std::wstring& folder,
                       const std::wstring& url, const UpdateList& list) {
    view.ShowProgressBar();
    view.SetStatus(update_text::kDownloading);
    const bool processed = DownloadUpdateFiles(engine, view, url, folder, list);
    if (processed && view.AllDownloadsSucceeded()) {
        view.SetStatus(update_text::kSucceeded);
        view.MarkDone();
        view.SetUpdateButtonText(update_text::kButtonFinish);
        view.EnableExitButton(false);
    } else {
        view.SetStatus(update_text::kDownloadFailed);
        view.SetUpdateButtonText(update_text::kButtonRetry);
    }
}

}  // namespace

void RunUpdate(IUpdateEngine& engine, IUpdateView& view, const std::wstring& folder, const std::wstring& updateUrl) {
    const std::wstring root = NormaliseFolder(folder);
    const std::wstring url = NormaliseUrl(updateUrl);

    view.SetStatus(update_text::kReadingLocal);
    if (!engine.BuildLocalManifest(root)) {
        view.SetStatus(update_text::kLocalFailed);
    } else {
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

    engine.RemoveManifests(root);
    view.EnableUpdateButton(true);
    view.ShowStatus();
    view.SetCurrentFile(L"");
    view.SetSpeed(update_text::kSpeedIdle);
}
