// Demo helper: waits (bounded, 60 s) for a visible top-level window of the given
// class, then clicks it at client coordinates, one pair after another, with a pause
// between clicks; the pointer is moved to each point first. Without coordinates it
// only waits. Exits 1 when no window came.
// Usage: click_window <window class> [<x> <y> ...]
#include <windows.h>

#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HWND window = nullptr;
    for (int i = 0; i < 600; ++i) {
        window = FindWindowW(argv[1], nullptr);
        if (window && IsWindowVisible(window)) break;
        window = nullptr;
        Sleep(100);
    }
    if (!window) return 1;
    for (int i = 2; i + 1 < argc; i += 2) {
        POINT point{_wtoi(argv[i]), _wtoi(argv[i + 1])};
        const LPARAM at = MAKELPARAM(point.x, point.y);
        // The pointer itself goes there too: a control that captures the mouse on the
        // press hears of the real pointer position, and would take the release as
        // happening outside it.
        ClientToScreen(window, &point);
        SetCursorPos(point.x, point.y);
        Sleep(100);
        PostMessageW(window, WM_MOUSEMOVE, 0, at);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
        Sleep(1000);
    }
    return 0;
}
