#include "updater/app/my_update_dlg.h"

#include <commctrl.h>

#include <exception>

#include "updater/app/content_base.h"
#include "updater/app/dialog_view.h"
#include "updater/app/log_box_text.h"
#include "updater/app/update_key.h"
#include "updater/app/resource.h"
#include "updater/driver/update_run.h"
#include "updater/driver/update_texts.h"
#include "updater/update_log.h"

namespace {

// Everything one worker needs, owned by the worker thread itself.
struct WorkerStart {
    std::shared_ptr<DialogLink> link;
    std::wstring folder;
    std::wstring updateUrl;
};

DWORD WINAPI UpdateWorker(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    try {
        DialogView view(start->link);
        CMyFunEngine engine(BuiltInManifestTrust());
        RunUpdate(engine, view, start->folder, start->updateUrl);
        view.WorkerEnded();
    } catch (const std::exception&) {
        // Nothing may leave the thread; the dialog stays usable through Exit.
    }
    return 0;
}

// The updater folder: the module path cut before its last backslash.
std::wstring UpdaterFolder(CMyFun& engine) {
    const std::wstring path = engine.GetModulePath();
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

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
    return self ? self->HandleMessage(message, wParam, lParam) : FALSE;
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
        return reinterpret_cast<INT_PTR>(smallIcon_);
    case UM_RUNCOMMAND:
        OnRunCommand(wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

BOOL CMyUpdateDlg::OnInitDialog() {
    bigIcon_ = LoadProgramIcon(SM_CXICON, SM_CYICON);
    smallIcon_ = LoadProgramIcon(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    worker_.reset();
    engine_ = std::make_unique<CMyFun>();
    link_ = std::make_shared<DialogLink>(window_);

    ShowWindow(Item(IDC_STATUS), SW_HIDE);
    SetDlgItemTextW(window_, IDC_CURRENT_FILE, L"");

    HWND list = Item(IDC_FILE_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    AddColumn(list, 0, L"文件名", 250);
    AddColumn(list, 1, L"文件状态", 234);

    const std::wstring log = LoadUpdateLog(std::wstring(ContentBaseUrl()) + L"UpdateLog", UpdaterFolder(*engine_));
    SetDlgItemTextW(window_, IDC_LOG, LogBoxText(log).c_str());

    done_ = false;
    // Focus on the Update button: the default focus would select the whole log text.
    SetFocus(Item(IDC_BTN_UPDATE));
    return FALSE;
}

void CMyUpdateDlg::OnUpdateClicked() {
    if (!done_) {
        // The button is disabled during a run; this guards against a click that was
        // queued before it was, so there is never a second run beside the first.
        if (!worker_) StartUpdate();
        return;
    }
    RunCleanupBatch();
    Close(IDCANCEL);
}

void CMyUpdateDlg::OnCancel() {
    RunCleanupBatch();
    engine_.reset();
    Close(IDCANCEL);
}

void CMyUpdateDlg::Close(INT_PTR result) {
    // From here on the worker, if one runs, sends nothing to the dialog.
    if (link_) link_->closed = true;
    EndDialog(window_, result);
}

void CMyUpdateDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window_, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, bigIcon_);
    EndPaint(window_, &paint);
}

void CMyUpdateDlg::OnRunCommand(WPARAM command, LPARAM argument) {
    switch (command) {
    case kApplyUpdates: {
        const auto& updates = *reinterpret_cast<const ControlUpdates*>(argument);
        ApplyControlUpdates(window_, updates);
        for (const ControlUpdate& update : updates)
            if (update.kind == ControlUpdate::kMarkDone) done_ = true;
        break;
    }
    case kWorkerEnded: worker_.reset(); break;
    }
}

void CMyUpdateDlg::StartUpdate() {
    ShowWindow(Item(IDC_STATUS), SW_SHOW);
    SetDlgItemTextW(window_, IDC_STATUS, update_text::kDownloading);
    EnableWindow(Item(IDC_BTN_UPDATE), FALSE);
    SetDlgItemTextW(window_, IDC_COUNT, CountText(0, 0).c_str());
    updateUrl_ = std::wstring(ContentBaseUrl()) + L"Update";

    auto start = std::make_unique<WorkerStart>();
    start->link = link_;
    start->folder = UpdaterFolder(*engine_);
    start->updateUrl = updateUrl_;
    worker_.reset(CreateThread(nullptr, 0, UpdateWorker, start.get(), 0, nullptr));
    if (worker_) {
        (void)start.release();  // the worker owns it now
    } else {
        EnableWindow(Item(IDC_BTN_UPDATE), TRUE);
        SetDlgItemTextW(window_, IDC_STATUS, update_text::kDownloadFailed);
    }
}

void CMyUpdateDlg::RunCleanupBatch() {
    CMyFun engine;
    const std::wstring batch = UpdaterFolder(engine) + L"\\delete.bat";
    if (GetFileAttributesW(batch.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // no run wrote one
    engine.StartHiddenProcess(batch);
}

bool CMyUpdateDlg::AllDownloadsSucceeded(HWND fileList) {
    const LRESULT rows = SendMessageW(fileList, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows; ++row) {
        wchar_t text[128] = {};
        LVITEMW item = {};
        item.iSubItem = 1;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(fileList, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        if (std::wstring(text) == update_text::kRowFailed) return false;
    }
    return true;
}
