// Writing the launch script into the game folder and starting it through the shell.
#pragma once

#include <string>

#include "launcher/game/launch_script_text.h"

struct GameLocations;

// The game folder as the script names it: Chinese ANSI text with every backslash
// turned into a forward slash. The slashes are swapped before the conversion so that
// double-byte characters whose second byte is 0x5C stay intact.
std::string ScriptFolderText(const std::wstring& gameFolder);

// True when the folder survives the conversion to Chinese ANSI text unchanged, that
// is, when a script can name it at all.
bool IsScriptFolderRepresentable(const std::wstring& gameFolder);

// The whole script for `where` as a wide string (the 8-bit text through ChsToWide).
std::wstring BuildLaunchScript(const GameLocations& where, int tier);
std::wstring BuildLaunchScript(int tier);

// Writes game\RunGame.bat below the game folder as a fresh file (never appended to a
// leftover). False, with no file left behind, when the game folder cannot be named in
// Chinese ANSI text or the file cannot be written completely (for example when the
// game folder or its game subfolder is missing).
bool WriteLaunchScriptFile(const GameLocations& where, int tier);

// Writes the script and has the shell run it hidden in game\ below the game folder;
// the launcher does not wait for it. 1 when the script was written and handed to the
// shell, 0 when it could not be written (then nothing is run), -1 when it was written
// but the shell refused to run it.
int WriteLaunchScript(const GameLocations& where, int tier);
int WriteLaunchScript(int tier);
