// DuiManager: the registry from small identifiers to control wrappers of the main
// window, owned by that window and handed to what needs it. Register and look-up may
// be called from any thread (the map is guarded); the wrapped controls themselves are
// used on the user-interface thread.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "launcher/ui/dui_wrappers.h"

class CPaintManagerUI;

class DuiManager {
public:
    DuiManager();
    ~DuiManager();
    DuiManager(const DuiManager&) = delete;
    DuiManager& operator=(const DuiManager&) = delete;

    // The paint manager in which names are looked up (the main window's).
    void SetPaintManager(CPaintManagerUI* manager);
    // Wraps the control named `name` under `identifier` (a previous wrapper of that
    // identifier is replaced). False when no paint manager is set or the layout has no
    // such control (nothing is registered then).
    bool Register(int identifier, const wchar_t* name);
    // The wrapper of `identifier`, or null.
    DuiBase* Lookup(int identifier);
    // Removes every wrapper (the main window's layout is going away).
    void Clear();

private:
    CRITICAL_SECTION lock_;
    CPaintManagerUI* manager_ = nullptr;
    std::map<int, std::unique_ptr<DuiBase>> wrappers_;
};

// Unchecks the check boxes of the wrappers 19 to 23 that are registered in `wrappers`.
void ClearStartupChecks(DuiManager& wrappers);
