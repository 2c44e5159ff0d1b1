#include "updater/app/dialog_view.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "updater/app/resource.h"

namespace {

// Changes that need not show at once are handed over at most every 100 ms. When the
// dialog takes long to apply them (themed controls under Wine repaint slowly), the
// interval grows so that applying stays under an eighth of the time, up to half a
// second, leaving the processor to the download.
constexpr std::uint32_t kHandOverIntervalMs = 100;
constexpr std::uint32_t kLongestHandOverIntervalMs = 500;
constexpr std::uint32_t kApplyShareDivisor = 8;

// The rows a batch changed, and whether it emptied the list.
struct RowChanges {
    int first = INT_MAX;
    int last = -1;
    bool cleared = false;

    void Changed(int from, int to) {
        first = std::min(first, from);
        last = std::max(last, to);
    }
};

// Tells the owner-data list what a batch did to its rows: the new count, which updates
// the scroll bar once, and a repaint of the changed rows in view. Rows out of view are
// not touched at all; the list asks for their text when they scroll in.
void ShowRowChanges(HWND list, const FileRows& rows, int countBefore, const RowChanges& changes) {
    if (list == nullptr) return;
    if (changes.cleared) {
        SendMessageW(list, LVM_SETITEMCOUNT, rows.Count(), 0);  // repaints the whole list
        return;
    }
    if (rows.Count() != countBefore)
        SendMessageW(list, LVM_SETITEMCOUNT, rows.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    // The rows a page holds in full, and one shown in part below them.
    const int shown = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
    const int first = std::max(changes.first, top);
    const int last = std::min({changes.last, top + shown - 1, rows.Count() - 1});
    if (first > last) return;
    RECT firstRow = {LVIR_BOUNDS, 0, 0, 0};
    RECT lastRow = {LVIR_BOUNDS, 0, 0, 0};
    if (!SendMessageW(list, LVM_GETITEMRECT, first, reinterpret_cast<LPARAM>(&firstRow)) ||
        !SendMessageW(list, LVM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&lastRow))) {
        InvalidateRect(list, nullptr, TRUE);
        return;
    }
    RECT area;
    UnionRect(&area, &firstRow, &lastRow);
    InvalidateRect(list, &area, TRUE);
}

// Lets the dialog thread answer messages other threads sent it (a window text asked
// for, say) during a long batch, instead of after all of it. Each look costs a round
// trip to the Wine server and, when nothing waits, a yield of the processor, which
// under a busy download can take long to come back; so it looks only once a few
// milliseconds of the batch have passed since the last look.
class SentMessageServer {
public:
    void ServeWhenDue() {
        if (GetTickCount() - last_ < kServeEveryMs) return;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        last_ = GetTickCount();
    }

private:
    static constexpr DWORD kServeEveryMs = 2;
    DWORD last_ = GetTickCount();
};

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

void ApplyControlUpdates(HWND dialog, FileRows& rows, const ControlUpdates& updates) {
    const int countBefore = rows.Count();
    RowChanges changes;
    bool rowsTouched = false;
    SentMessageServer server;
    for (const ControlUpdate& u : updates) {
        server.ServeWhenDue();
        HWND control = u.control ? GetDlgItem(dialog, u.control) : nullptr;
        switch (u.kind) {
        case ControlUpdate::kText: SetWindowTextW(control, u.text.c_str()); break;
        case ControlUpdate::kShow: ShowWindow(control, SW_SHOW); break;
        case ControlUpdate::kEnable: EnableWindow(control, u.value != 0); break;
        case ControlUpdate::kMarkDone: break;  // the dialog's own flag, set by the dialog
        case ControlUpdate::kProgressRange: SendMessageW(control, PBM_SETRANGE32, 0, u.value); break;
        case ControlUpdate::kProgressPos: SendMessageW(control, PBM_SETPOS, u.value, 0); break;
        case ControlUpdate::kClearRows:
            rows.Clear();
            changes.cleared = true;
            rowsTouched = true;
            break;
        case ControlUpdate::kInsertRow: {
            const int row = rows.Insert(u.value, u.text, u.second);
            // The rows below an inserted one move down a place.
            if (row >= 0) changes.Changed(row, rows.Count() - 1);
            rowsTouched = true;
            break;
        }
        case ControlUpdate::kRowStatus:
            if (rows.SetStatus(u.value, u.text)) changes.Changed(u.value, u.value);
            rowsTouched = true;
            break;
        }
    }
    if (rowsTouched) {
        HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
        ShowRowChanges(list, rows, countBefore, changes);
        server.ServeWhenDue();
        // The changed rows are painted now, while the worker waits for the batch,
        // not later from the message loop: there the first paint of a full page of
        // rows took 40-50 ms under a busy download, against 10-20 ms here, and
        // nothing else is answered during a paint.
        UpdateWindow(list);
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
