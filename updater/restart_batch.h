// The restart batch "delete.bat": swaps in a pending updater, restarts the launcher,
// deletes itself.
#pragma once

#include <string>

// How often the batch tries to delete the old updater, about a second apart, before
// it gives up and starts the launcher with the old updater still in place.
inline constexpr int kRestartDeleteTries = 60;

// The batch's bytes for the given 8-bit paths (each written quoted, '%' doubled),
// CR LF line ends. The launcher is started at normal priority ("start /NORMAL"),
// whatever the batch's own priority.
// With `pendingUpdater` the variant that waits until the old updater can be deleted
// (at most kRestartDeleteTries tries), renames "Updater.exe.tmp" to "Updater.exe"
// and starts the launcher; it never deletes the old updater when the pending one is
// missing. Otherwise the four lines that only wait, start the launcher and delete
// the batch.
std::string RestartBatchText(const std::string& updaterPath, const std::string& launcherPath,
                             const std::string& batchPath, bool pendingUpdater);

// The short (8.3) form of an existing path, of any length; empty when the system
// cannot give it.
std::wstring ShortPath(const std::wstring& path);

// A path as the command interpreter should see it in the batch, without any
// extended-length prefix: the ANSI form when the ANSI code page holds every character
// and the path leaves room for a file name within MAX_PATH; else the short (8.3) form
// when the volume has one; else the ANSI form (with '?' for what the code page lacks:
// the best that can be done).
std::string BatchPathText(const std::wstring& path);

// Writes <folder>\delete.bat, choosing the variant by whether "Updater.exe.tmp"
// exists now: call it only when that file is verified (or absent). False when the
// file cannot be opened or written.
bool WriteRestartBatch(const std::wstring& folder);

// Before a download pass that may write "Updater.exe.tmp": a batch written by an
// earlier run is rewritten as the variant that only restarts the launcher (removed
// when it cannot be rewritten), so that no batch on disk names a file the pass may
// leave half written. Without `updaterListed` (the local updater already matches the
// server) an "Updater.exe.tmp" is deleted as out of date. True when no batch naming
// the pending updater remains.
bool RetireRestartBatch(const std::wstring& folder, bool updaterListed);
