// Everything a start-game request does below the user interface, in its fixed order:
// the resolution entry, the preference writers, then the launch script.
#pragma once

#include <string>

struct GameLocations;

namespace settings {
struct SettingsSnapshot;
}

// The memory tier of the launch script: the memory slider's tier when the memory
// profile is enabled, otherwise the default tier 5.
int ChooseMemoryTier(const settings::SettingsSnapshot& snapshot);

struct StartSequenceResult {
    int memoryTier = 0;          // the tier the script was built for
    bool scriptWritten = false;  // game\RunGame.bat was written
    bool scriptStarted = false;  // the script was written and the shell ran it
};

// Writes `resolutionEntry` (a whole "resolution=..." entry) and the snapshot's
// settings into the game's preference files of `where`, then writes and starts the
// launch script. Every step runs whatever the earlier ones achieved; nothing is shown
// to the user. The caller has checked the custom size and the game folder before.
// User-interface thread only.
StartSequenceResult RunStartSequence(const GameLocations& where, const settings::SettingsSnapshot& snapshot,
                                     const std::string& resolutionEntry);
// The same for the running launcher's game folder, user and local application data.
StartSequenceResult RunStartSequence(const settings::SettingsSnapshot& snapshot, const std::string& resolutionEntry);
