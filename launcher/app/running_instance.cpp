#include "launcher/app/running_instance.h"

HWND FindRunningLauncherWindow() { return FindWindowW(L"ZorvikUIFram", nullptr); }

bool BringRunningLauncherToFront() {
    HWND window = FindRunningLauncherWindow();
    if (!window) return false;
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A process just started by the player may hand the foreground to another one.
    SetForegroundWindow(window);
    return true;
}
