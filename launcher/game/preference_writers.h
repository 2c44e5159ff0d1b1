// One writer per launcher setting that the game's preference files carry. Each edits
// the files of `where`; the result (true when the expected old entry was found) is
// informative only. User-interface thread only.
#pragma once

#include <string>

struct GameLocations;

// Flag writers: "key=false" becomes "key=true" when the flag is on, and the reverse
// when it is off; when no line holds the old entry the new one is appended.
// WriteNoSound sets musicMute, ambianceSoundsMute and uiSoundsMute to the one flag.
bool WriteNoSound(const GameLocations& where, bool flag);
bool WriteMusicMute(const GameLocations& where, bool flag);
bool WriteAmbianceSoundsMute(const GameLocations& where, bool flag);
bool WriteUiSoundsMute(const GameLocations& where, bool flag);
bool WriteAlphaMask(const GameLocations& where, bool flag);
bool WriteShaders(const GameLocations& where, bool flag);
bool WriteMeteoEffect(const GameLocations& where, bool flag);

// Level writers: replace the game's shipped entry "FightLODLevel=3" / "LODLevel=3" by
// the level, or append the new entry. Levels other than 0, 1 and 2 write nothing
// (result false). The search is always for the value 3, so once the launcher has
// changed the entry each later write appends another one; the game reads the last.
bool WriteFightLodLevel(const GameLocations& where, int level);
bool WriteLodLevel(const GameLocations& where, int level);

// Sets cameraMinZoom in game\config.properties to 0.7 (flag on) or 1.0 (flag off).
// The file is edited through a copy in the local application data folder, which is
// removed afterwards; no entry is added when the file has none.
bool WriteCameraMinZoom(const GameLocations& where, bool flag);
