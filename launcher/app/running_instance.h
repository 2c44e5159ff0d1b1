// Finding the launcher that already runs, for a second start.
#pragma once

#include <windows.h>

// The running launcher's main window (class "ZorvikUIFram"), or null.
HWND FindRunningLauncherWindow();

// Shows the running launcher's window again (also when it is hidden in the tray or
// minimised) and brings it to the front. False when no such window exists.
bool BringRunningLauncherToFront();
