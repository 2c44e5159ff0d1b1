// CMyUpdateApp: the updater's application object. It shows the update dialog
// modally and the program ends when the dialog has closed.
#pragma once

#include <memory>
#include <string>

#include "updater/updater_context.h"

class CMyUpdateApp {
public:
    // Registers the common controls the dialog uses (list view, progress bar), runs
    // the dialog with `context` over the updater `folder`, and returns false: there
    // is no message loop after it. When a thread of the dialog could not be stopped
    // in time, the process ends here (see CMyUpdateDlg::ThreadsEnded).
    bool InitInstance(std::shared_ptr<UpdaterContext> context, const std::wstring& folder);
};

// The one application object. It holds no state (constant-initialised); the
// program's world is the context made in the entry.
extern CMyUpdateApp theApp;
