#include "launcher/settings/settings_snapshot.h"

#include "launcher/settings/settings_file.h"

namespace settings {

SettingsSnapshot LoadSnapshotFromFile() {
    SettingsSnapshot s;
    s.startModeEnabled = ReadNumber(kStartMode);
    s.sightview = ReadNumber(kSightview);
    s.noSound = ReadNumber(kNoSound);
    s.memoryTier = ReadNumber(kStartModel);
    s.lodLevel = ReadNumber(kLodLevel);
    s.fightLevel = ReadNumber(kFightLevel);
    s.musicMute = ReadNumber(kMusicMute);
    s.ambianceSoundsMute = ReadNumber(kAmbianceSoundsMute);
    s.uiSoundsMute = ReadNumber(kUiSoundsMute);
    s.meteoEffect = ReadNumber(kMeteoEffect);
    s.shaders = ReadNumber(kShaders);
    s.alphaMask = ReadNumber(kAlphaMask);
    s.resolutionSelection = ReadNumber(kResolution);
    s.windowStyle = ReadNumber(kWindowsStyle);
    s.customWidth = ReadText(kCustomWidth);
    s.customHeight = ReadText(kCustomHeight);
    return s;
}

}  // namespace settings
