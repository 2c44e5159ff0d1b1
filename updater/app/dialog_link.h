// What the dialog and its worker share: the dialog's window and whether it has
// closed. Owned jointly (shared_ptr), so it outlives whichever side ends last.
#pragma once

#include <windows.h>

#include <atomic>

// Private message the worker sends to the dialog for changes that belong to the
// dialog thread: wParam is a DialogCommand, lParam its argument.
inline constexpr UINT UM_RUNCOMMAND = WM_APP + 1;

enum DialogCommand : WPARAM {
    kEnableUpdate = 1,  // lParam: enable
    kEnableExit,        // lParam: enable
    kShowStatus,
    kShowProgress,
    kMarkDone,
    kWorkerEnded,
};

struct DialogLink {
    explicit DialogLink(HWND window) : dialog(window) {}
    const HWND dialog;
    std::atomic<bool> closed{false};
};
