// The settings page's handlers: every change goes at once into the settings snapshot
// and user\ResInfo.ini. Nothing here touches the game's files; StartGame writes them
// from the snapshot. User-interface thread only.
#pragma once

#include <windows.h>

#include "duilib/ui_base.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"

class CPaintManagerUI;
class DuiManager;

class SettingsPage {
public:
    // `manager` is the main window's; `mainWindow` receives UM_FINDPATH and is disabled
    // while the folder chooser is offered; `snapshot` is the one StartGame reads;
    // `file` is the program folder's settings file; `wrappers` holds the home page's
    // registered boxes. Manager, snapshot and wrappers outlive the page.
    SettingsPage(CPaintManagerUI& manager, HWND mainWindow, settings::SettingsSnapshot& snapshot,
                 settings::SettingsFile file, DuiManager& wrappers);

    // "click" on a check box; arrives before the box toggles. True when handled.
    bool OnCheckBoxClick(TNotifyUI& msg);
    // Any notification of one of the three sliders. True when handled.
    bool OnSliderNotify(TNotifyUI& msg);
    // "itemselect" of the resolution or window-mode list. True when handled.
    bool OnItemSelect(TNotifyUI& msg);
    // "textchanged" of the custom width or height. True when handled.
    bool OnTextChanged(TNotifyUI& msg);

    // Loads the lists and edits when the detailed-settings tab opens.
    void LoadDetailedSettings();
    // Puts the saved check boxes and sliders into the controls (not on a first run),
    // and the saved resolution choice into the snapshot.
    void ApplySavedSettings();
    // A first run: no tier is saved yet, so the slider and its label show `tier`
    // (the one that fits the machine) in the snapshot and the controls; nothing is
    // written until the player moves the slider.
    void PreselectMemoryTier(int tier);
    // "恢复默认": the three start options (memory optimisation, wide view, mute
    // everything) go back to off in the snapshot, the file and on every box that
    // shows them, the home page's three boxes included.
    void RestoreDefaults();

private:
    template <typename T>
    T* Find(const wchar_t* name) const;
    bool GameFolderOrOfferChooser(TNotifyUI& msg);
    bool OnGameBoxClick(const wchar_t* gameBox, TNotifyUI& msg, int newState);
    void ShowMemoryBlock(bool enabled);
    void SetGameBoxes(const wchar_t* gameBox, bool checked);
    void SetTierLabel(const wchar_t* text);
    void SetCustomSizeEdits(bool enabled, bool clear);

    CPaintManagerUI& manager_;
    HWND mainWindow_;
    settings::SettingsSnapshot& snapshot_;
    settings::SettingsFile file_;
    DuiManager& wrappers_;
};

// Reads the saved window style, resolution selection (1 to 5 only) and, for a custom
// size, the two custom texts from `file` into the snapshot, as the detailed page does
// when it opens, without touching any control.
void LoadSavedResolution(const settings::SettingsFile& file, settings::SettingsSnapshot& snapshot);
