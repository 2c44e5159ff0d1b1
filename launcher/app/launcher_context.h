// What the launcher's process works with, built once by its entry and handed down:
// the program folder, the logs, the game folder holder, the settings snapshot (owned
// here, zeroed at start) and the server base text. While the context lives it is also
// what the process-wide names g_log and g_function refer to.
#pragma once

#include <string>

#include "launcher/game/game_folder.h"
#include "launcher/services/log.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/util/program_folder.h"

struct LauncherContext {
    // Resolves the folder, makes the log folder and reads SEWI.bin.
    explicit LauncherContext(ProgramFolder programFolder);
    LauncherContext(const LauncherContext&) = delete;
    LauncherContext& operator=(const LauncherContext&) = delete;

    ProgramFolder folder;
    Log log;                              // <folder>\log
    Function function;                    // game folder; launcher folder = folder
    settings::SettingsSnapshot settings;  // the current settings; StartGame reads them
    std::wstring serverBase;              // prefix of the version server's addresses

private:
    ProcessLogScope logScope_;
    ProcessFunctionScope functionScope_;
};
