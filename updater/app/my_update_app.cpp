#include "updater/app/my_update_app.h"

#include <windows.h>
#include <commctrl.h>

#include "updater/app/my_update_dlg.h"

CMyUpdateApp theApp;

bool CMyUpdateApp::InitInstance(std::shared_ptr<UpdaterContext> context) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CMyUpdateDlg dialog(std::move(context));
    dialog.DoModal();  // the result does not matter: every way out has done its work
    return false;
}
