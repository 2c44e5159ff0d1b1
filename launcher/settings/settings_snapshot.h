// The current values of every launcher setting, mirrored from user\ResInfo.ini. The
// launcher's context owns the one its window works on; used on the user-interface
// thread only.
#pragma once

#include <string>

namespace settings {

struct SettingsSnapshot {
    int startModeEnabled = 0;
    int sightview = 0;
    int noSound = 0;
    int memoryTier = 0;
    int lodLevel = 0;
    int fightLevel = 0;
    int musicMute = 0;
    int ambianceSoundsMute = 0;
    int uiSoundsMute = 0;
    int meteoEffect = 0;
    int shaders = 0;
    int alphaMask = 0;
    int resolutionSelection = 0;  // index of the selected resolution item; -1 means none
    int windowStyle = 0;
    std::wstring customWidth;
    std::wstring customHeight;
};

class SettingsFile;

// Reads every snapshot field from `file` (the number rule for integers, the texts as
// stored).
SettingsSnapshot LoadSnapshotFromFile(const SettingsFile& file);

}  // namespace settings
