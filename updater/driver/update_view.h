// What an update run shows, as the worker sees it.
//
// The dialog implements this over synchronous window messages to its controls; tests
// record the calls. Every method is called on the worker thread. Once the dialog has
// closed, Closed() answers true and every other method does nothing, so a worker that
// outlives its dialog never touches it.
#pragma once

#include <cstdint>
#include <string>

class IUpdateView {
public:
    virtual ~IUpdateView() = default;

    virtual bool Closed() const = 0;

    virtual void SetStatus(const std::wstring& text) = 0;     // status line 1004
    virtual void ShowStatus() = 0;
    virtual void EnableUpdateButton(bool enable) = 0;         // 1001
    virtual void SetUpdateButtonText(const std::wstring& text) = 0;
    virtual void EnableExitButton(bool enable) = 0;           // 1002
    virtual void MarkDone() = 0;                              // sets the dialog's done flag

    virtual void ShowProgressBar() = 0;                       // 1003
    virtual void SetProgressRange(std::uint32_t high) = 0;
    virtual void SetProgress(std::uint32_t position) = 0;
    virtual void SetCurrentFile(const std::wstring& text) = 0;  // 1022
    virtual void SetSpeed(const std::wstring& text) = 0;        // 1021
    virtual void SetCount(const std::wstring& text) = 0;        // 1020

    // File list 1023: column 0 the name, column 1 the file status.
    virtual void ClearRows() = 0;
    virtual void InsertRow(int index, const std::wstring& name, const std::wstring& status) = 0;
    virtual void SetRowStatus(int index, const std::wstring& status) = 0;
};
