// The folders and the user name that the preference writers and the launch script
// work with, gathered in one value so that callers (and tests) can point a whole
// start at other folders.
#pragma once

#include <string>

struct GameLocations {
    std::wstring gameFolder;          // the game installation (holds game\config.properties)
    std::wstring localAppDataFolder;  // holds Ankama\WakfuChina\game\preferences\userPreferences.properties
    std::wstring userName;            // the logon name the script puts into the profile paths
};

// The locations of the running launcher: the game folder, local application data
// folder and user name as the process-wide `Function` instance reports them now.
// User-interface thread only.
GameLocations CurrentGameLocations();
