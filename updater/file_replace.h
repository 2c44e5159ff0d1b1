// Putting a downloaded temporary file in place of its target.
#pragma once

#include <string>

// Replaces `target` with `temp` in one step (MoveFileExW with REPLACE_EXISTING), so
// at every moment the target holds either its old or its new content. False when
// the move fails (target in use, ...): the target is untouched and `temp` is kept
// for a later run.
bool ReplaceTarget(const std::wstring& temp, const std::wstring& target);

// True for the name of the running updater ("Updater.exe", exact case), which is
// never moved into place by the download: it stays "Updater.exe.tmp" and the restart
// batch swaps it in after the updater has exited.
bool IsSelfUpdaterName(const std::wstring& name);
