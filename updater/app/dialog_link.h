// What the dialog and its worker share: the dialog's window and whether it has
// closed. Owned jointly (shared_ptr), so it outlives whichever side ends last.
#pragma once

#include <windows.h>

#include <atomic>

// Private message the worker sends to the dialog: wParam is a DialogCommand.
inline constexpr UINT UM_RUNCOMMAND = WM_APP + 1;

enum DialogCommand : WPARAM {
    kApplyUpdates = 1,  // lParam: const ControlUpdates*, applied in order
    kWorkerEnded,       // posted: the worker is finished with the dialog and can be joined
    kShowLog,           // lParam: const std::wstring*, the update log for the log box
};

struct DialogLink {
    explicit DialogLink(HWND window) : dialog(window) {}
    const HWND dialog;
    std::atomic<bool> closed{false};
};
