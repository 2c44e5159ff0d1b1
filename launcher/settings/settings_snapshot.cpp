#include "launcher/settings/settings_snapshot.h"

#include "launcher/settings/settings_file.h"

namespace settings {

SettingsSnapshot LoadSnapshotFromFile(const SettingsFile& file) {
    SettingsSnapshot s;
    s.startModeEnabled = file.ReadNumber(kStartMode);
    s.sightview = file.ReadNumber(kSightview);
    s.noSound = file.ReadNumber(kNoSound);
    s.memoryTier = file.ReadNumber(kStartModel);
    s.lodLevel = file.ReadNumber(kLodLevel);
    s.fightLevel = file.ReadNumber(kFightLevel);
    s.musicMute = file.ReadNumber(kMusicMute);
    s.ambianceSoundsMute = file.ReadNumber(kAmbianceSoundsMute);
    s.uiSoundsMute = file.ReadNumber(kUiSoundsMute);
    s.meteoEffect = file.ReadNumber(kMeteoEffect);
    s.shaders = file.ReadNumber(kShaders);
    s.alphaMask = file.ReadNumber(kAlphaMask);
    s.resolutionSelection = file.ReadNumber(kResolution);
    s.windowStyle = file.ReadNumber(kWindowsStyle);
    s.customWidth = file.ReadText(kCustomWidth);
    s.customHeight = file.ReadText(kCustomHeight);
    return s;
}

}  // namespace settings
