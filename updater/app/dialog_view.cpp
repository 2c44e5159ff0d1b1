#include "updater/app/dialog_view.h"

#include <commctrl.h>

#include "updater/app/my_update_dlg.h"
#include "updater/app/resource.h"

LRESULT DialogView::Send(int control, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (Closed()) return 0;
    HWND window = GetDlgItem(link_->dialog, control);
    return window ? SendMessageW(window, message, wParam, lParam) : 0;
}

void DialogView::SetText(int control, const std::wstring& text) const {
    Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogView::Command(DialogCommand command, LPARAM argument) const {
    if (!Closed()) SendMessageW(link_->dialog, UM_RUNCOMMAND, command, argument);
}

void DialogView::SetStatus(const std::wstring& text) { SetText(IDC_STATUS, text); }
void DialogView::SetUpdateButtonText(const std::wstring& text) { SetText(IDC_BTN_UPDATE, text); }
void DialogView::SetCurrentFile(const std::wstring& text) { SetText(IDC_CURRENT_FILE, text); }
void DialogView::SetSpeed(const std::wstring& text) { SetText(IDC_SPEED, text); }
void DialogView::SetCount(const std::wstring& text) { SetText(IDC_COUNT, text); }

void DialogView::SetProgressRange(std::uint32_t high) { Send(IDC_PROGRESS, PBM_SETRANGE32, 0, high); }
void DialogView::SetProgress(std::uint32_t position) { Send(IDC_PROGRESS, PBM_SETPOS, position, 0); }

void DialogView::ClearRows() { Send(IDC_FILE_LIST, LVM_DELETEALLITEMS, 0, 0); }

void DialogView::InsertRow(int index, const std::wstring& name, const std::wstring& status) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const LRESULT inserted = Send(IDC_FILE_LIST, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (inserted >= 0) SetRowStatus(static_cast<int>(inserted), status);
}

void DialogView::SetRowStatus(int index, const std::wstring& status) {
    LVITEMW item = {};
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(status.c_str());
    Send(IDC_FILE_LIST, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

bool DialogView::AllDownloadsSucceeded() {
    if (Closed()) return false;
    return CMyUpdateDlg::AllDownloadsSucceeded(GetDlgItem(link_->dialog, IDC_FILE_LIST));
}
