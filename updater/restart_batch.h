// The restart batch "delete.bat": swaps in a pending updater, restarts the launcher,
// deletes itself.
#pragma once

#include <string>

// The batch's bytes for the given 8-bit paths (each written quoted, '%' doubled),
// CR LF line ends.
// With `pendingUpdater` the seven-line variant that replaces the updater; otherwise
// the four lines that only wait, start the launcher and delete the batch.
std::string RestartBatchText(const std::string& updaterPath, const std::string& launcherPath,
                             const std::string& batchPath, bool pendingUpdater);

// A path as the command interpreter should see it in the batch: the ANSI form when
// the ANSI code page holds every character, else the short (8.3) form when the
// volume has one, else the ANSI form with '?' (the best that can be done).
std::string BatchPathText(const std::wstring& path);

// Writes <folder>\delete.bat, choosing the variant by whether "Updater.exe.tmp"
// exists now. False only when the file cannot be opened.
bool WriteRestartBatch(const std::wstring& folder);
