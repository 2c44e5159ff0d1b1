// The body of the launcher's WinMain: single instance, skin, crash reporter, version
// check (with the hand-over to the updater), main window, message loop, shut-down.
#pragma once

#include <windows.h>

// Returns 0 in every case, also on every early exit.
int LauncherMain(HINSTANCE instance);
