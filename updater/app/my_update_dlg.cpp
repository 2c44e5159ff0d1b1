#include "updater/app/my_update_dlg.h"

#include <commctrl.h>


#include "updater/app/content_base.h"
#include "updater/app/dialog_view.h"
#include "updater/app/log_box_text.h"
#include "updater/app/resource.h"
#include "updater/driver/update_run.h"
#include "updater/driver/update_texts.h"
#include "updater/update_log.h"
#include "updater/update_paths.h"

namespace {

HICON LoadProgramIcon(int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title);
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

INT_PTR CMyUpdateDlg::DoModal() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MYUPDATE_DIALOG), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CMyUpdateDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CMyUpdateDlg* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CMyUpdateDlg*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
    } else {
        self = reinterpret_cast<CMyUpdateDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) return FALSE;
    // Nothing may leave a window procedure: the system's code lies between it and
    // the modal loop.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CMyUpdateDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        switch (LOWORD(wParam)) {
        case IDC_BTN_UPDATE: OnUpdateClicked(); return TRUE;
        case IDC_BTN_EXIT:
        case IDCANCEL: OnCancel(); return TRUE;
        case IDOK: return TRUE;  // Enter: there is no default button to press
        }
        return FALSE;
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    case WM_PAINT:
        if (!IsIconic(window_)) return FALSE;
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(smallIcon_.get());
    case UM_RUNCOMMAND:
        OnRunCommand(wParam, lParam);
        return TRUE;
    case WM_NOTIFY: {
        auto* request = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (request->hdr.idFrom != IDC_FILE_LIST || request->hdr.code != LVN_GETDISPINFOW) return FALSE;
        AnswerRowText(rows_, *request);
        return TRUE;
    }
    }
    return FALSE;
}

BOOL CMyUpdateDlg::OnInitDialog() {
    bigIcon_.reset(LoadProgramIcon(SM_CXICON, SM_CYICON));
    smallIcon_.reset(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    engine_ = std::make_unique<CMyFun>(*context_);
    link_ = std::make_shared<DialogLink>(window_);

    ShowWindow(Item(IDC_STATUS), SW_HIDE);
    SetDlgItemTextW(window_, IDC_CURRENT_FILE, L"");

    HWND list = Item(IDC_FILE_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    AddColumn(list, 0, L"文件名", 250);
    AddColumn(list, 1, L"文件状态", 234);

    StartLogDownload();

    done_ = false;
    // Focus on the Update button: the default focus would select the whole log text.
    SetFocus(Item(IDC_BTN_UPDATE));
    return FALSE;
}

void CMyUpdateDlg::StartLogDownload() {
    SetDlgItemTextW(window_, IDC_LOG, LogBoxText(ReadUpdateLog(folder_)).c_str());
    const std::shared_ptr<DialogLink> link = link_;
    const std::wstring logUrl = std::wstring(ContentBaseUrl()) + L"UpdateLog";
    const std::wstring folder = folder_;
    logLoader_.Start([link, logUrl, folder] {
        if (DownloadUpdateLog(logUrl, folder) != UpdateLogFetch::Replaced || link->closed) return;
        const std::wstring shown = LogBoxText(ReadUpdateLog(folder));
        if (!link->closed) SendMessageW(link->dialog, UM_RUNCOMMAND, kShowLog, reinterpret_cast<LPARAM>(&shown));
    });
}

void CMyUpdateDlg::OnUpdateClicked() {
    if (finishing_) return;
    if (!done_) {
        // The button is disabled during a run; this guards against a click that was
        // queued before it was, so there is never a second run beside the first. A
        // run that has just ended is joined first.
        if (worker_.Owned() && !(worker_.Finished() && worker_.Join(kStopWaitMs))) return;
        StartUpdate();
        return;
    }
    Finish();
}

void CMyUpdateDlg::OnCancel() {
    if (!finishing_) Finish();
}

void CMyUpdateDlg::Finish() {
    finishing_ = true;
    // From here on the threads send nothing to the dialog; the player sees it go now.
    if (link_) link_->closed = true;
    ShowWindow(window_, SW_HIDE);
    // A thread may be inside a SendMessage to the dialog right now: it is served
    // while the dialog waits, so neither waits for the other.
    const HANDLE finished[] = {worker_.FinishedEvent(), logLoader_.FinishedEvent()};
    WaitServingSentMessages(finished, 2, kStopWaitMs);
    if (worker_.Finished()) worker_.Join(kStopWaitMs);
    if (logLoader_.Finished()) logLoader_.Join(kStopWaitMs);
    // The run has ended (or will be ended with the process): the batch on disk is
    // the one it leaves.
    RunCleanupBatch();
    engine_.reset();
    EndDialog(window_, IDCANCEL);
}

void CMyUpdateDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window_, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, bigIcon_.get());
    EndPaint(window_, &paint);
}

void CMyUpdateDlg::OnRunCommand(WPARAM command, LPARAM argument) {
    switch (command) {
    case kApplyUpdates: {
        const auto& updates = *reinterpret_cast<const ControlUpdates*>(argument);
        ApplyControlUpdates(window_, rows_, updates);
        for (const ControlUpdate& update : updates)
            if (update.kind == ControlUpdate::kMarkDone) done_ = true;
        break;
    }
    case kWorkerEnded:
        // Posted by the worker as its last word; the thread is ending, but letting go
        // of the run (its connections, its lists) can take a while under load. That
        // wait serves the messages sent to the dialog, so the dialog keeps answering.
        if (!finishing_) {
            const HANDLE finished = worker_.FinishedEvent();
            WaitServingSentMessages(&finished, 1, kStopWaitMs);
            worker_.Join(kStopWaitMs);
        }
        break;
    case kShowLog: SetDlgItemTextW(window_, IDC_LOG, reinterpret_cast<const std::wstring*>(argument)->c_str()); break;
    }
}

void CMyUpdateDlg::StartUpdate() {
    ShowWindow(Item(IDC_STATUS), SW_SHOW);
    SetDlgItemTextW(window_, IDC_STATUS, update_text::kDownloading);
    EnableWindow(Item(IDC_BTN_UPDATE), FALSE);
    SetDlgItemTextW(window_, IDC_COUNT, CountText(0, 0).c_str());
    updateUrl_ = std::wstring(ContentBaseUrl()) + L"Update";

    // The worker keeps the context alive while it runs; it owns its engine and view.
    const std::shared_ptr<UpdaterContext> context = context_;
    const std::shared_ptr<DialogLink> link = link_;
    const std::wstring folder = folder_;
    const std::wstring url = updateUrl_;
    const bool started = worker_.Start([context, link, folder, url] {
        DialogView view(link);
        CMyFunEngine engine(*context);
        RunUpdate(engine, view, folder, url);
        view.WorkerEnded();
    });
    if (!started) {
        EnableWindow(Item(IDC_BTN_UPDATE), TRUE);
        SetDlgItemTextW(window_, IDC_STATUS, update_text::kDownloadFailed);
    }
}

void CMyUpdateDlg::RunCleanupBatch() {
    const std::wstring batch = NormaliseFolder(folder_) + L"delete.bat";
    if (GetFileAttributesW(batch.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // no run wrote one
    // The command interpreter takes no extended-length path; the batch's short form
    // fits where the long one may not.
    std::wstring command = PlainPath(batch);
    if (command.size() >= MAX_PATH) {
        const std::wstring shortForm = PlainPath(ShortPath(batch));
        if (!shortForm.empty()) command = shortForm;
    }
    StartHiddenProcess(command);
}
