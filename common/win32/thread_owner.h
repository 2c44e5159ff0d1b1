// One owner for one worker thread: a name, a stop signal the body watches, and a
// join whose wait is bounded so that a thread that will not end is reported instead
// of hanging its owner in silence.
//
// Sequence: construct (name) -> Start(body) -> ... -> StopAndJoin() (the destructor
// does it when the owner has not). The body runs on the new thread with the stop
// signal; it must return soon after the signal is set and wait only through
// StopSignal::WaitFor or with the signal's event among its wait handles.
//
// Threads: Start, RequestStop and the joins belong to the owner's thread; the stop
// signal may be read from any thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "common/win32/unique_handle.h"

namespace win32 {

// A stop request: a flag for quick tests and a manual-reset event for waits.
class StopSignal {
public:
    StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool Requested() const noexcept { return requested_.load(); }
    // Waits up to `timeoutMs`; true when a stop was requested (at once or meanwhile).
    bool WaitFor(DWORD timeoutMs) const noexcept;
    // Manual-reset event set by a stop request, for WaitForMultipleObjects and for
    // bounded I/O that must give up on a stop. Null when it could not be made: the
    // flag alone then carries the request and WaitFor sleeps.
    HANDLE Event() const noexcept { return event_.get(); }

    void Request() noexcept;
    void Clear() noexcept;

private:
    std::atomic<bool> requested_{false};
    unique_handle event_;
};

enum class JoinResult {
    NotStarted,  // there was no thread to join
    Joined,      // the thread ended within the bound
    TimedOut,    // still running after the bound (reported); the thread stays owned
    JoinedLate,  // ended only after the bound had passed (reported)
};

class ThreadOwner {
public:
    using Body = std::function<void(const StopSignal& stop)>;
    // Receives each diagnostic text (one line, ending in "\n").
    using DiagnosticSink = std::function<void(const std::wstring& text)>;

    // How long StopAndJoin waits before it reports the thread as slow to end.
    static constexpr DWORD kDefaultReportAfterMs = 5000;

    // `name` names the thread in diagnostics and, where the system supports it, in
    // debuggers. Diagnostics go to `sink`, or to the debugger output without one.
    explicit ThreadOwner(std::wstring name, DiagnosticSink sink = {});
    // Stops and joins a running thread (StopAndJoin).
    ~ThreadOwner();
    ThreadOwner(const ThreadOwner&) = delete;
    ThreadOwner& operator=(const ThreadOwner&) = delete;

    // Clears the stop signal and starts `body` on a new thread. False when a thread
    // is already owned (running or not yet joined) or the system cannot start one.
    // An exception leaving the body is caught at the thread's edge and reported.
    bool Start(Body body);

    void RequestStop() noexcept { stop_.Request(); }
    const StopSignal& Stop() const noexcept { return stop_; }

    // Waits at most `timeoutMs` for the thread to end. TimedOut is reported with the
    // thread's name and leaves the thread owned, so a later join can still take it.
    JoinResult TryJoin(DWORD timeoutMs);
    // Requests a stop and joins. A thread still running after `reportAfterMs` is
    // reported and then waited for without a bound: the state its body uses belongs
    // to the owner and must outlive it. Returns Joined, JoinedLate or NotStarted.
    JoinResult StopAndJoin(DWORD reportAfterMs = kDefaultReportAfterMs);

    // True from a successful Start until the thread has been joined.
    bool Owned() const noexcept { return static_cast<bool>(thread_); }
    const std::wstring& Name() const noexcept { return name_; }

private:
    static unsigned __stdcall Entry(void* self);
    void Report(const std::wstring& text) const;

    std::wstring name_;
    DiagnosticSink sink_;
    Body body_;
    StopSignal stop_;
    unique_handle thread_;
};

}  // namespace win32
