// One update run, top to bottom: local manifest, server manifest and comparison,
// download pass, outcome on the status line and the buttons, clean-up.
#pragma once

#include <string>

#include "updater/driver/update_engine.h"
#include "updater/driver/update_view.h"

// The body of the worker thread. `folder` is the updater folder, `updateUrl` the
// content server base + "Update" (both normalised here). A run succeeds only when the
// pass processed every file and no row reads "文件下载失败": then the status reads
// "更新成功.", the done flag is set, the Update button reads "更新完成" and Exit is
// disabled. A pass that stopped or left a failed row reads "下载更新文件失败,..." with
// the Update button "重新更新", so the player can retry; files that did arrive stay
// replaced. Whatever happened, the manifests are removed and the Update button is
// enabled again at the end.
void RunUpdate(IUpdateEngine& engine, IUpdateView& view, const std::wstring& folder, const std::wstring& updateUrl);
