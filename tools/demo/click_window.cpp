// Demo helper: waits (bounded) for a top-level window of the given class and clicks
// it at client coordinates, one pair after another, with a pause between clicks.
// Usage: click_window <window class> <x> <y> [<x> <y> ...]
#include <windows.h>

#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        window = FindWindowW(argv[1], nullptr);
        if (!window) Sleep(100);
    }
    if (!window) return 1;
    for (int i = 2; i + 1 < argc; i += 2) {
        const LPARAM at = MAKELPARAM(_wtoi(argv[i]), _wtoi(argv[i + 1]));
        PostMessageW(window, WM_MOUSEMOVE, 0, at);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
        Sleep(1000);
    }
    return 0;
}
