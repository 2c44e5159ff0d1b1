// CMyUpdateApp: the updater's application object. It shows the update dialog
// modally and the program ends when the dialog has closed.
#pragma once

class CMyUpdateApp {
public:
    // Registers the common controls the dialog uses (list view, progress bar), runs
    // the dialog, and returns false: there is no message loop after it.
    bool InitInstance();
};

extern CMyUpdateApp theApp;
