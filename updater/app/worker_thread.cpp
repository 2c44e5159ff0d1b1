#include "updater/app/worker_thread.h"

#include <utility>

namespace {

// Sets the finished event however the body leaves (return or exception).
class SetOnExit {
public:
    explicit SetOnExit(HANDLE event) : event_(event) {}
    ~SetOnExit() { SetEvent(event_); }
    SetOnExit(const SetOnExit&) = delete;
    SetOnExit& operator=(const SetOnExit&) = delete;

private:
    HANDLE event_;
};

}  // namespace

bool WorkerThread::Start(std::function<void()> body) {
    if (owner_.Owned() || !body) return false;
    win32::unique_handle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!finished) return false;
    const HANDLE event = finished.get();
    finished_ = std::move(finished);
    const bool started = owner_.Start([event, body = std::move(body)](const win32::StopSignal&) {
        SetOnExit signal(event);
        body();
    });
    if (!started) finished_.reset();
    return started;
}

bool WorkerThread::Finished() const {
    return !finished_ || WaitForSingleObject(finished_.get(), 0) == WAIT_OBJECT_0;
}

bool WorkerThread::Join(DWORD timeoutMs) {
    if (!owner_.Owned()) return true;
    if (owner_.TryJoin(timeoutMs) != win32::JoinResult::TimedOut) {
        finished_.reset();
        return true;
    }
    return false;
}

bool WaitServingSentMessages(const HANDLE* events, size_t count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (size_t i = 0; i < count; ++i) {
        if (events[i] == nullptr) continue;
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
            const DWORD woke = MsgWaitForMultipleObjects(1, &events[i], FALSE, left, QS_SENDMESSAGE);
            if (woke == WAIT_OBJECT_0) break;
            if (woke != WAIT_OBJECT_0 + 1) return false;  // time is up (or the wait failed)
            // Peeking serves the messages other threads sent; nothing is removed.
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    return true;
}
