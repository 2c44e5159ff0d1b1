#include "launcher/game/start_sequence.h"

#include "launcher/game/game_locations.h"
#include "launcher/game/launch_script.h"
#include "launcher/game/preference_editor.h"
#include "launcher/game/preference_writers.h"
#include "launcher/game/resolution_entry.h"
#include "launcher/settings/settings_snapshot.h"

namespace {
constexpr int kDefaultMemoryTier = 5;
}

int ChooseMemoryTier(const settings::SettingsSnapshot& snapshot) {
    return snapshot.startModeEnabled != 0 ? snapshot.memoryTier : kDefaultMemoryTier;
}

StartSequenceResult RunStartSequence(const GameLocations& where, const settings::SettingsSnapshot& snapshot,
                                     const std::string& resolutionEntry) {
    // The order matters: the single mute writers run after NoSound so their own
    // settings decide the three mute keys, and FightLODLevel goes before LODLevel.
    // A broken entry would replace the player's working resolution with one the game
    // cannot read; without a complete one the game keeps its own.
    if (IsCompleteResolutionEntry(resolutionEntry)) SetUserPreference(where, "resolution", resolutionEntry, true);
    WriteNoSound(where, snapshot.noSound != 0);
    WriteAlphaMask(where, snapshot.alphaMask != 0);
    WriteAmbianceSoundsMute(where, snapshot.ambianceSoundsMute != 0);
    WriteMeteoEffect(where, snapshot.meteoEffect != 0);
    WriteMusicMute(where, snapshot.musicMute != 0);
    WriteShaders(where, snapshot.shaders != 0);
    WriteUiSoundsMute(where, snapshot.uiSoundsMute != 0);
    WriteFightLodLevel(where, snapshot.fightLevel);
    WriteLodLevel(where, snapshot.lodLevel);
    WriteCameraMinZoom(where, snapshot.sightview != 0);

    StartSequenceResult result;
    result.memoryTier = ChooseMemoryTier(snapshot);
    const int script = WriteLaunchScript(where, result.memoryTier);
    result.scriptWritten = script != 0;
    result.scriptStarted = script == 1;
    return result;
}

StartSequenceResult RunStartSequence(const settings::SettingsSnapshot& snapshot, const std::string& resolutionEntry) {
    return RunStartSequence(CurrentGameLocations(), snapshot, resolutionEntry);
}
