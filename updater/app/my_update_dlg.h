// CMyUpdateDlg: the update dialog (template 102) over plain Win32.
//
// The dialog thread runs the modal loop and every handler. Two threads of the dialog
// may run beside it: an update run (one at a time), which reports through DialogView,
// and the download of the update log, which starts with the dialog so that a slow
// server cannot hold up its appearance (the earlier copy of the log is shown until
// then). Closing hides the dialog at once, marks the shared link closed (the threads
// send nothing more), waits a bounded time for both threads while it serves what they
// were sending, runs the restart batch and ends the dialog. A thread that has not
// ended by then is reported by ThreadsEnded(); the program then ends its process at
// once rather than tear down state the thread still uses.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/win32/gdi_handle.h"
#include "updater/app/dialog_link.h"
#include "updater/app/file_rows.h"
#include "updater/app/worker_thread.h"
#include "updater/my_fun.h"
#include "updater/updater_context.h"

class CMyUpdateDlg {
public:
    // How long closing waits for the threads. The run stops between its steps and
    // files, the log download only at its end; a transfer in the middle of a large
    // file is not waited for.
    static constexpr DWORD kStopWaitMs = 2000;

    // `context` is shared with the threads; `folder` is the updater folder (no
    // trailing backslash), where every file of the run lies.
    CMyUpdateDlg(std::shared_ptr<UpdaterContext> context, std::wstring folder)
        : context_(std::move(context)), folder_(std::move(folder)) {}
    CMyUpdateDlg(const CMyUpdateDlg&) = delete;
    CMyUpdateDlg& operator=(const CMyUpdateDlg&) = delete;

    // Shows the dialog modally; returns when it has closed.
    INT_PTR DoModal();

    // After DoModal: true when no thread of the dialog runs any more. False when one
    // could not be stopped in time: the dialog must then not be destroyed (its thread
    // still uses it); the caller ends the process instead.
    bool ThreadsEnded() const { return !worker_.Owned() && !logLoader_.Owned(); }

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
    // Shows the local copy of the update log and starts its download.
    void StartLogDownload();
    // Starts <updater folder>\delete.bat hidden, if a run wrote one.
    void RunCleanupBatch();
    // Every way out: hide, stop the threads (bounded), the batch, end the dialog.
    void Finish();

    HWND Item(int id) const { return GetDlgItem(window_, id); }

    HWND window_ = nullptr;
    win32::unique_hicon bigIcon_;  // destroyed after the window that showed it
    win32::unique_hicon smallIcon_;
    std::shared_ptr<UpdaterContext> context_;
    std::wstring folder_;
    std::unique_ptr<CMyFun> engine_;
    std::shared_ptr<DialogLink> link_;
    WorkerThread worker_{L"update run"};
    WorkerThread logLoader_{L"update log"};
    std::wstring updateUrl_;
    FileRows rows_;  // what the file list shows; it holds no rows itself
    bool done_ = false;
    bool finishing_ = false;
};
