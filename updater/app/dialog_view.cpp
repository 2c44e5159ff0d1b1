#include "updater/app/dialog_view.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "common/win32/gdi_handle.h"
#include "updater/app/resource.h"

namespace {

// Changes that need not show at once are handed over at most every 100 ms. When the
// dialog takes long to apply them (themed controls under Wine repaint slowly), the
// interval grows so that applying stays under an eighth of the time, up to half a
// second, leaving the processor to the download.
constexpr std::uint32_t kHandOverIntervalMs = 100;
constexpr std::uint32_t kLongestHandOverIntervalMs = 500;
constexpr std::uint32_t kApplyShareDivisor = 8;

void SetRowText(HWND list, int index, int column, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

bool TouchesRows(const ControlUpdate& u) {
    return u.kind == ControlUpdate::kClearRows || u.kind == ControlUpdate::kInsertRow ||
           u.kind == ControlUpdate::kRowStatus;
}

// Keeps a list view from redrawing while a batch of rows changes, then repaints only
// the rows that changed (all of them after the list was emptied). Under Wine an
// inserted row otherwise costs a scroll bar update and a repaint of its own, about
// 10 ms each; and repainting the whole list after every batch kept the dialog from
// answering for as long, though in a long run the changed rows lie below the shown
// ones and need no painting at all.
class RowRedrawPause {
public:
    explicit RowRedrawPause(HWND list) : list_(list) {
        if (list_ == nullptr) return;
        // What was waiting to be painted before the batch still is afterwards.
        if (earlier_) GetUpdateRgn(list_, earlier_.get(), FALSE);
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    }
    ~RowRedrawPause() {
        if (list_ == nullptr) return;
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        // Turning redraw back on invalidates the whole list (Wine does, and programs
        // expect it); only the earlier region and the changed rows need painting.
        if (!all_ && earlier_) {
            ValidateRect(list_, nullptr);
            InvalidateRgn(list_, earlier_.get(), TRUE);
        }
        if (all_) {
            InvalidateRect(list_, nullptr, TRUE);
        } else if (first_ <= last_) {
            SendMessageW(list_, LVM_REDRAWITEMS, first_, last_);
        }
    }
    RowRedrawPause(const RowRedrawPause&) = delete;
    RowRedrawPause& operator=(const RowRedrawPause&) = delete;

    void Changed(int row) {
        if (row < first_) first_ = row;
        if (row > last_) last_ = row;
    }
    void ChangedAll() { all_ = true; }

private:
    HWND list_;
    win32::unique_hrgn earlier_{CreateRectRgn(0, 0, 0, 0)};
    int first_ = INT_MAX;
    int last_ = -1;
    bool all_ = false;
};

// Lets the dialog thread answer messages other threads sent it (a window text asked
// for, say) between two changes of a long batch, instead of after all of them.
void ServeSentMessages() {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

std::uint32_t HandOverInterval(std::uint32_t applyMs) {
    return std::clamp(applyMs * kApplyShareDivisor, kHandOverIntervalMs, kLongestHandOverIntervalMs);
}

void QueueControlUpdate(ControlUpdates& pending, ControlUpdate update) {
    if (update.kind == ControlUpdate::kText || update.kind == ControlUpdate::kProgressPos) {
        std::erase_if(pending, [&](const ControlUpdate& earlier) {
            return earlier.kind == update.kind && earlier.control == update.control;
        });
    }
    pending.push_back(std::move(update));
}

void ApplyControlUpdates(HWND dialog, const ControlUpdates& updates) {
    const bool rowsChange = std::any_of(updates.begin(), updates.end(), TouchesRows);
    RowRedrawPause pause(rowsChange ? GetDlgItem(dialog, IDC_FILE_LIST) : nullptr);
    for (const ControlUpdate& u : updates) {
        ServeSentMessages();
        HWND control = u.control ? GetDlgItem(dialog, u.control) : nullptr;
        switch (u.kind) {
        case ControlUpdate::kText: SetWindowTextW(control, u.text.c_str()); break;
        case ControlUpdate::kShow: ShowWindow(control, SW_SHOW); break;
        case ControlUpdate::kEnable: EnableWindow(control, u.value != 0); break;
        case ControlUpdate::kMarkDone: break;  // the dialog's own flag, set by the dialog
        case ControlUpdate::kProgressRange: SendMessageW(control, PBM_SETRANGE32, 0, u.value); break;
        case ControlUpdate::kProgressPos: SendMessageW(control, PBM_SETPOS, u.value, 0); break;
        case ControlUpdate::kClearRows:
            SendMessageW(control, LVM_DELETEALLITEMS, 0, 0);
            pause.ChangedAll();
            break;
        case ControlUpdate::kInsertRow: {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = u.value;
            item.pszText = const_cast<wchar_t*>(u.text.c_str());
            const LRESULT row = SendMessageW(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            if (row >= 0) {
                SetRowText(control, static_cast<int>(row), 1, u.second);
                pause.Changed(static_cast<int>(row));
            }
            break;
        }
        case ControlUpdate::kRowStatus:
            SetRowText(control, u.value, 1, u.text);
            pause.Changed(u.value);
            break;
        }
    }
}

void DialogView::Add(ControlUpdate update, bool now) {
    if (Closed()) return;
    QueueControlUpdate(pending_, std::move(update));
    if (now || GetTickCount() - lastFlush_ >= interval_) Flush();
}

void DialogView::Flush() {
    if (!pending_.empty() && !Closed()) {
        const std::uint32_t start = GetTickCount();
        SendMessageW(link_->dialog, UM_RUNCOMMAND, kApplyUpdates, reinterpret_cast<LPARAM>(&pending_));
        interval_ = HandOverInterval(GetTickCount() - start);
    }
    pending_.clear();
    lastFlush_ = GetTickCount();
}

void DialogView::SetStatus(const std::wstring& text) { Add({ControlUpdate::kText, IDC_STATUS, 0, text, {}}, true); }
void DialogView::ShowStatus() { Add({ControlUpdate::kShow, IDC_STATUS, 0, {}, {}}, true); }
void DialogView::EnableUpdateButton(bool enable) { Add({ControlUpdate::kEnable, IDC_BTN_UPDATE, enable, {}, {}}, true); }
void DialogView::SetUpdateButtonText(const std::wstring& text) {
    Add({ControlUpdate::kText, IDC_BTN_UPDATE, 0, text, {}}, true);
}
void DialogView::EnableExitButton(bool enable) { Add({ControlUpdate::kEnable, IDC_BTN_EXIT, enable, {}, {}}, true); }
void DialogView::MarkDone() { Add({ControlUpdate::kMarkDone, 0, 0, {}, {}}, true); }

void DialogView::ShowProgressBar() { Add({ControlUpdate::kShow, IDC_PROGRESS, 0, {}, {}}, false); }
void DialogView::SetProgressRange(std::uint32_t high) {
    Add({ControlUpdate::kProgressRange, IDC_PROGRESS, static_cast<int>(high), {}, {}}, false);
}
void DialogView::SetProgress(std::uint32_t position) {
    Add({ControlUpdate::kProgressPos, IDC_PROGRESS, static_cast<int>(position), {}, {}}, false);
}
void DialogView::SetCurrentFile(const std::wstring& text) {
    Add({ControlUpdate::kText, IDC_CURRENT_FILE, 0, text, {}}, false);
}
void DialogView::SetSpeed(const std::wstring& text) { Add({ControlUpdate::kText, IDC_SPEED, 0, text, {}}, false); }
void DialogView::SetCount(const std::wstring& text) { Add({ControlUpdate::kText, IDC_COUNT, 0, text, {}}, false); }

void DialogView::ClearRows() { Add({ControlUpdate::kClearRows, IDC_FILE_LIST, 0, {}, {}}, false); }
void DialogView::InsertRow(int index, const std::wstring& name, const std::wstring& status) {
    Add({ControlUpdate::kInsertRow, IDC_FILE_LIST, index, name, status}, false);
}
void DialogView::SetRowStatus(int index, const std::wstring& status) {
    Add({ControlUpdate::kRowStatus, IDC_FILE_LIST, index, status, {}}, false);
}

void DialogView::WorkerEnded() {
    Flush();
    // Posted, not sent: the dialog joins the thread when it takes the message, and the
    // thread must not be waiting for the dialog then.
    if (!Closed()) PostMessageW(link_->dialog, UM_RUNCOMMAND, kWorkerEnded, 0);
}
