// Stands for the game's side: posts UM_GAMEENDED (0xA553) to the launcher's window
// from a process of its own. Exit code 0 when the window was found.
#include <windows.h>

int wmain() {
    HWND launcher = FindWindowW(L"ZorvikUIFram", nullptr);
    if (!launcher) return 1;
    return PostMessageW(launcher, 0xA553, 0, 0) ? 0 : 2;
}
