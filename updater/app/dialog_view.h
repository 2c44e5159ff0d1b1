// IUpdateView over the dialog's controls, for the worker thread.
//
// Texts, rows and the progress bar go to the controls with SendMessageW, which the
// dialog thread serves from its modal loop; state that the dialog owns (buttons'
// enabled state, visibility, the done flag) goes through UM_RUNCOMMAND. After the
// dialog has closed nothing is sent any more.
#pragma once

#include <memory>

#include "updater/app/dialog_link.h"
#include "updater/driver/update_view.h"

class DialogView final : public IUpdateView {
public:
    explicit DialogView(std::shared_ptr<DialogLink> link) : link_(std::move(link)) {}

    bool Closed() const override { return link_->closed.load(); }

    void SetStatus(const std::wstring& text) override;
    void ShowStatus() override { Command(kShowStatus, 0); }
    void EnableUpdateButton(bool enable) override { Command(kEnableUpdate, enable); }
    void SetUpdateButtonText(const std::wstring& text) override;
    void EnableExitButton(bool enable) override { Command(kEnableExit, enable); }
    void MarkDone() override { Command(kMarkDone, 0); }

    void ShowProgressBar() override { Command(kShowProgress, 0); }
    void SetProgressRange(std::uint32_t high) override;
    void SetProgress(std::uint32_t position) override;
    void SetCurrentFile(const std::wstring& text) override;
    void SetSpeed(const std::wstring& text) override;
    void SetCount(const std::wstring& text) override;

    void ClearRows() override;
    void InsertRow(int index, const std::wstring& name, const std::wstring& status) override;
    void SetRowStatus(int index, const std::wstring& status) override;
    bool AllDownloadsSucceeded() override;

    // Tells the dialog that the worker has finished with it.
    void WorkerEnded() { Command(kWorkerEnded, 0); }

private:
    LRESULT Send(int control, UINT message, WPARAM wParam, LPARAM lParam) const;
    void SetText(int control, const std::wstring& text) const;
    void Command(DialogCommand command, LPARAM argument) const;

    std::shared_ptr<DialogLink> link_;
};
