// IUpdateView over the dialog's controls, for the worker thread.
//
// Every change reaches the dialog through a synchronous UM_RUNCOMMAND (kApplyUpdates)
// that the dialog thread applies in order. A static control repaints itself at once
// when its text is set, which costs far more than reading a block from a local server,
// so changes are collected and handed over together: at once for the status line, the
// buttons, the done flag and the end of the run, otherwise when the hand-over interval
// has passed since the last hand-over: 100 ms, or eight times as long as the dialog
// took to apply the last batch, at most 500 ms. Within one hand-over only the last
// text of a label and the last bar position are applied; rows are applied in full, to
// the dialog's row table (FileRows), and the list repaints the changed rows in view.
// Nothing the player must see is lost, only coalesced. After the dialog has closed
// nothing is sent any more.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "updater/app/dialog_link.h"
#include "updater/app/file_rows.h"
#include "updater/driver/update_view.h"

// One change to the dialog's controls, applied on the dialog thread.
struct ControlUpdate {
    enum Kind { kText, kShow, kEnable, kMarkDone, kProgressRange, kProgressPos, kClearRows, kInsertRow, kRowStatus };
    Kind kind;
    int control = 0;
    int value = 0;        // row index, enable flag, bar position or range
    std::wstring text;    // control text, row name or row status
    std::wstring second;  // the status of an inserted row
};
using ControlUpdates = std::vector<ControlUpdate>;

// Adds `update` to `pending`, dropping an earlier pending text of the same label or
// an earlier bar position, which the new one would overwrite anyway.
void QueueControlUpdate(ControlUpdates& pending, ControlUpdate update);

// The wait before the next hand-over after a batch the dialog applied in `applyMs`.
std::uint32_t HandOverInterval(std::uint32_t applyMs);

// Applies `updates` to the dialog in order, the row changes to `rows`, the table its
// file list shows; dialog thread only.
void ApplyControlUpdates(HWND dialog, FileRows& rows, const ControlUpdates& updates);

class DialogView final : public IUpdateView {
public:
    explicit DialogView(std::shared_ptr<DialogLink> link) : link_(std::move(link)) {}

    bool Closed() const override { return link_->closed.load(); }

    void SetStatus(const std::wstring& text) override;
    void ShowStatus() override;
    void EnableUpdateButton(bool enable) override;
    void SetUpdateButtonText(const std::wstring& text) override;
    void EnableExitButton(bool enable) override;
    void MarkDone() override;

    void ShowProgressBar() override;
    void SetProgressRange(std::uint32_t high) override;
    void SetProgress(std::uint32_t position) override;
    void SetCurrentFile(const std::wstring& text) override;
    void SetSpeed(const std::wstring& text) override;
    void SetCount(const std::wstring& text) override;

    void ClearRows() override;
    void InsertRow(int index, const std::wstring& name, const std::wstring& status) override;
    void SetRowStatus(int index, const std::wstring& status) override;

    // Hands over what is pending and tells the dialog (posted) that the worker is done
    // with it and can be joined.
    void WorkerEnded();

private:
    void Add(ControlUpdate update, bool now);
    void Flush();

    std::shared_ptr<DialogLink> link_;
    ControlUpdates pending_;
    std::uint32_t lastFlush_ = 0;
    std::uint32_t interval_ = 100;
};
