// CMyUpdateDlg: the update dialog (template 102) over plain Win32.
//
// The dialog thread runs the modal loop and every handler; an update run happens on
// one worker thread at a time, which reports through DialogView. The dialog never
// waits for the worker: closing during a run marks the shared link closed, runs the
// restart batch and ends the dialog, and the worker ends with the process.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/gdi_handle.h"
#include "common/win32/unique_handle.h"
#include "updater/app/dialog_link.h"
#include "updater/my_fun.h"
#include "updater/updater_context.h"

class CMyUpdateDlg {
public:
    // `context` is shared with the workers, which may outlive the dialog.
    explicit CMyUpdateDlg(std::shared_ptr<UpdaterContext> context) : context_(std::move(context)) {}
    CMyUpdateDlg(const CMyUpdateDlg&) = delete;
    CMyUpdateDlg& operator=(const CMyUpdateDlg&) = delete;

    // Shows the dialog modally; returns when it has closed.
    INT_PTR DoModal();

    // False as soon as one row of `fileList` reads exactly "文件下载失败" in column 1;
    // true otherwise (also for an empty list). Any thread may call it: it only sends
    // messages to the list.
    static bool AllDownloadsSucceeded(HWND fileList);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void OnUpdateClicked();
    void OnCancel();
    void OnPaint();
    void OnRunCommand(WPARAM command, LPARAM argument);

    // Prepares the controls and starts the worker for one run.
    void StartUpdate();
    // Starts <updater folder>\delete.bat hidden, if a run wrote one.
    void RunCleanupBatch();
    void Close(INT_PTR result);

    HWND Item(int id) const { return GetDlgItem(window_, id); }

    HWND window_ = nullptr;
    win32::unique_hicon bigIcon_;  // destroyed after the window that showed it
    win32::unique_hicon smallIcon_;
    std::shared_ptr<UpdaterContext> context_;
    std::unique_ptr<CMyFun> engine_;
    std::shared_ptr<DialogLink> link_;
    win32::unique_handle worker_;  // the running worker, or none
    std::wstring updateUrl_;
    bool done_ = false;
};
