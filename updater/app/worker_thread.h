// One thread of the dialog (the update run, the update log download) with what the
// dialog needs to end it without hanging: an event that is set as soon as its body
// has returned, so the dialog can wait for it while it keeps serving the messages the
// body sends it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/win32/thread_owner.h"
#include "common/win32/unique_handle.h"

class WorkerThread {
public:
    explicit WorkerThread(std::wstring name) : owner_(std::move(name)) {}
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts `body` on a new thread (anything it throws is caught at the thread's
    // edge). False when a thread is still owned or none can be started.
    bool Start(std::function<void()> body);

    // The body has returned, or no thread was started.
    bool Finished() const;
    // Set when the body has returned; null when no thread was started.
    HANDLE FinishedEvent() const { return finished_.get(); }

    // Joins a thread whose body has returned (the thread itself ends right after).
    // True when no thread is owned afterwards. Never waits longer than `timeoutMs`.
    bool Join(DWORD timeoutMs);
    bool Owned() const { return owner_.Owned(); }

private:
    win32::ThreadOwner owner_;
    win32::unique_handle finished_;
};

// Waits until every event in `events` (null entries count as set) is set, at most
// `timeoutMs` in all, serving messages sent to this thread's windows meanwhile, so a
// thread blocked in SendMessage to them gets its answer. Posted messages stay queued.
// True when all were set in time.
bool WaitServingSentMessages(const HANDLE* events, size_t count, DWORD timeoutMs);
