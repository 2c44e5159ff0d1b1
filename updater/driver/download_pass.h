// The download pass of an update run: every file of the update list, with one list
// row per file in list order, byte counts after every block, overall progress, the
// speed of each finished file and the count of files done. Up to the engine's
// TransfersInFlight() files are fetched at once, each by a lane of its own; the
// view is called only from the calling thread.
#pragma once

#include <string>

#include "updater/driver/update_engine.h"
#include "updater/driver/update_view.h"

// How a download pass ended.
struct DownloadPassOutcome {
    bool processed = false;  // every file of the list was processed; false: the pass stopped
    int failedFiles = 0;     // processed files whose row reads "文件下载失败"
    // Every file arrived and is in place (or pending for the restart batch).
    bool Succeeded() const { return processed && failedFiles == 0; }
    explicit operator bool() const { return processed; }
};

// Probes range support with the first name, then downloads each item of `list`
// through `engine` and reports it on `view`; finally writes the restart batch. Rows
// are inserted in list order as their files start. A row's byte counts and the bar
// follow the blocks of its file at most every 100 ms and always show the final
// counts. Each fetched file is checked and installed beside the next fetch of its
// lane; its row reads "文件下载失败" once that check has failed, at the latest when
// the pass returns. A failed file fails its row only. A stop lets the files already
// under way end (and be counted and checked), starts no more, and writes no batch.
// `processed` when every file was processed, each file whose row reads "文件下载失败"
// counted in `failedFiles`; not `processed` when the pass had to stop (probe failure
// or 404, a folder or temporary file that cannot be made, a failed request or read)
// or the dialog closed. An empty list is processed at once. Runs on the worker thread
// and returns only after every lane and check has ended.
DownloadPassOutcome DownloadUpdateFiles(IUpdateEngine& engine, IUpdateView& view, const std::wstring& updateUrl,
                                        const std::wstring& folder, const UpdateList& list);
