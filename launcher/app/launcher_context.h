// What the launcher's process works with, built once by its entry and handed down:
// the program folder, the logs, the game folder holder, the settings snapshot and
// the server base text. While the context lives it is also what the process-wide
// names g_log and g_function refer to.
#pragma once

#include <string>

#include "launcher/game/game_folder.h"
#include "launcher/services/log.h"
#include "launcher/settings/settings_snapshot.h"

// The folder of the running executable, resolved once; everything the launcher keeps
// beside itself is joined onto it.
class ProgramFolder {
public:
    // `path` without trailing backslash; empty when the executable's path is unknown.
    explicit ProgramFolder(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const noexcept { return path_; }
    // With the trailing backslash, as DuiLib's instance path has it; empty stays empty.
    std::wstring WithSlash() const { return path_.empty() ? path_ : path_ + L"\\"; }
    // <folder>\<relative>.
    std::wstring Join(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

struct LauncherContext {
    // Resolves the folder, makes the log folder and reads SEWI.bin.
    explicit LauncherContext(ProgramFolder programFolder);
    LauncherContext(const LauncherContext&) = delete;
    LauncherContext& operator=(const LauncherContext&) = delete;

    ProgramFolder folder;
    Log log;                              // <folder>\log
    Function function;                    // game folder; launcher folder = folder
    settings::SettingsSnapshot& settings;  // the snapshot StartGame reads
    std::wstring serverBase;              // prefix of the version server's addresses

private:
    ProcessLogScope logScope_;
    ProcessFunctionScope functionScope_;
};
