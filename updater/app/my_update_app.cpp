#include "updater/app/my_update_app.h"

#include <windows.h>
#include <commctrl.h>

#include "updater/app/my_update_dlg.h"

CMyUpdateApp theApp;

bool CMyUpdateApp::InitInstance(std::shared_ptr<UpdaterContext> context, const std::wstring& folder) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CMyUpdateDlg dialog(std::move(context), folder);
    dialog.DoModal();  // the result does not matter: every way out has done its work
    if (!dialog.ThreadsEnded()) {
        // A thread still blocks in a transfer. Returning would destroy the dialog and
        // then the program's static state under it; ExitProcess ends that thread
        // first, before anything is torn down. Its files are left as a failed run
        // leaves them, and the restart batch has already been started.
        ExitProcess(0);
    }
    return false;
}
