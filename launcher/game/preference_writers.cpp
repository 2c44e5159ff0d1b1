#include "launcher/game/preference_writers.h"

#include "launcher/game/game_locations.h"
#include "launcher/game/matching_files.h"
#include "launcher/game/preference_editor.h"
#include "launcher/util/text_convert.h"

namespace {

bool WriteFlag(const GameLocations& where, const std::string& key, bool flag) {
    const std::string on = key + "=true";
    const std::string off = key + "=false";
    return flag ? SetUserPreference(where, off, on, true) : SetUserPreference(where, on, off, true);
}

bool WriteLevel(const GameLocations& where, const std::string& key, int level) {
    if (level < 0 || level > 2) return false;
    return SetUserPreference(where, key + "=3", key + "=" + std::to_string(level), true);
}

constexpr wchar_t kConfigFile[] = L"config.properties";

}  // namespace

bool WriteNoSound(const GameLocations& where, bool flag) {
    const bool music = WriteFlag(where, "musicMute", flag);
    const bool ambiance = WriteFlag(where, "ambianceSoundsMute", flag);
    const bool ui = WriteFlag(where, "uiSoundsMute", flag);
    return music && ambiance && ui;
}

bool WriteMusicMute(const GameLocations& where, bool flag) { return WriteFlag(where, "musicMute", flag); }

bool WriteAmbianceSoundsMute(const GameLocations& where, bool flag) {
    return WriteFlag(where, "ambianceSoundsMute", flag);
}

bool WriteUiSoundsMute(const GameLocations& where, bool flag) { return WriteFlag(where, "uiSoundsMute", flag); }

bool WriteAlphaMask(const GameLocations& where, bool flag) { return WriteFlag(where, "alphaMaskActivated", flag); }

bool WriteShaders(const GameLocations& where, bool flag) { return WriteFlag(where, "shadersActivated", flag); }

bool WriteMeteoEffect(const GameLocations& where, bool flag) { return WriteFlag(where, "meteoEffectActivated", flag); }

bool WriteFightLodLevel(const GameLocations& where, int level) { return WriteLevel(where, "FightLODLevel", level); }

bool WriteLodLevel(const GameLocations& where, int level) { return WriteLevel(where, "LODLevel", level); }

bool WriteCameraMinZoom(const GameLocations& where, bool flag) {
    // Empty folders would turn the paths below into paths on the current drive's root.
    if (where.gameFolder.empty() || where.localAppDataFolder.empty()) return false;
    const std::wstring gameConfigFolder = where.gameFolder + L"\\game\\";
    const std::wstring& workFolder = where.localAppDataFolder;
    const std::string search = flag ? "cameraMinZoom=1.0" : "cameraMinZoom=0.7";
    const std::string replacement = flag ? "cameraMinZoom=0.7" : "cameraMinZoom=1.0";

    // A copy left behind by an interrupted earlier start must not be edited and copied
    // over the game's file when this start's copy-out fails.
    DeleteMatchingFiles(workFolder, kConfigFile);
    CopyMatchingFiles(gameConfigFolder, workFolder, kConfigFile, true);
    const bool matched = ReplaceInFile(WideToChs(workFolder) + "\\config.properties", search, replacement) == 0;
    CopyMatchingFiles(workFolder, gameConfigFolder, kConfigFile, true);
    DeleteMatchingFiles(workFolder, kConfigFile);
    return matched;
}
