// One update run, top to bottom: local manifest, server manifest and comparison,
// download pass, outcome on the status line and the buttons, clean-up.
#pragma once

#include <string>

#include "updater/driver/update_engine.h"
#include "updater/driver/update_view.h"

// The body of the worker thread. `folder` is the updater folder, `updateUrl` the
// content server base + "Update" (both normalised here). A run succeeds only when the
// pass processed every file and reports none failed: then the status reads "更新成功.",
// the done flag is set, the Update button reads "更新完成" and Exit is disabled. A
// pass that stopped or had a failed file reads "下载更新文件失败,..." with the Update
// button "重新更新", so the player can retry; files that did arrive stay replaced.
// Before the pass, a restart batch of an earlier run is retired (it no longer names
// "Updater.exe.tmp"). Whatever happened, the manifests are removed and the Update
// button is enabled again at the end. Never throws: a run that breaks off by an
// exception reads as a failed download.
void RunUpdate(IUpdateEngine& engine, IUpdateView& view, const std::wstring& folder, const std::wstring& updateUrl);
