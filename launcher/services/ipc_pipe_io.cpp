#include "launcher/services/ipc_pipe_io.h"

#include "common/win32/unique_handle.h"

namespace ipc {
namespace {

DWORD Remaining(ULONGLONG deadline, DWORD timeoutMs) {
    if (timeoutMs == INFINITE) return INFINITE;
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

// Waits for a started overlapped operation; on time-out or stop cancels it and waits
// for the cancellation, so the OVERLAPPED and the buffer are free when this returns.
IoResult Complete(HANDLE pipe, OVERLAPPED& overlapped, DWORD& transferred, DWORD waitMs, HANDLE stopEvent) {
    HANDLE waits[2] = {overlapped.hEvent, stopEvent};
    const DWORD count = stopEvent ? 2 : 1;
    const DWORD wait = WaitForMultipleObjects(count, waits, FALSE, waitMs);
    if (wait == WAIT_OBJECT_0) {
        return GetOverlappedResult(pipe, &overlapped, &transferred, TRUE) ? IoResult::Ok : IoResult::Failed;
    }
    CancelIoEx(pipe, &overlapped);
    if (GetOverlappedResult(pipe, &overlapped, &transferred, TRUE)) return IoResult::Ok;  // finished first
    if (wait == WAIT_OBJECT_0 + 1) return IoResult::Stopped;
    if (wait == WAIT_TIMEOUT) return IoResult::TimedOut;
    return IoResult::Failed;
}

}  // namespace

IoResult ReadExact(HANDLE pipe, void* buffer, uint32_t size, DWORD timeoutMs, HANDLE stopEvent) {
    if (pipe == nullptr || pipe == INVALID_HANDLE_VALUE) return IoResult::Failed;
    win32::unique_handle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!event) return IoResult::Failed;
    const ULONGLONG deadline = timeoutMs == INFINITE ? 0 : GetTickCount64() + timeoutMs;
    auto* bytes = static_cast<uint8_t*>(buffer);
    uint32_t got = 0;
    while (got < size) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = event.get();
        DWORD transferred = 0;
        if (!ReadFile(pipe, bytes + got, size - got, &transferred, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) return IoResult::Failed;
            const IoResult result = Complete(pipe, overlapped, transferred, Remaining(deadline, timeoutMs), stopEvent);
            if (result != IoResult::Ok) return result;
        } else if (!GetOverlappedResult(pipe, &overlapped, &transferred, TRUE)) {
            return IoResult::Failed;
        }
        got += transferred;
        if (got < size && timeoutMs != INFINITE && Remaining(deadline, timeoutMs) == 0) return IoResult::TimedOut;
    }
    return IoResult::Ok;
}

IoResult WriteAll(HANDLE pipe, const void* data, uint32_t size, DWORD timeoutMs, HANDLE stopEvent) {
    if (pipe == nullptr || pipe == INVALID_HANDLE_VALUE) return IoResult::Failed;
    win32::unique_handle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!event) return IoResult::Failed;
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    DWORD transferred = 0;
    if (WriteFile(pipe, data, size, &transferred, &overlapped)) return IoResult::Ok;
    if (GetLastError() != ERROR_IO_PENDING) return IoResult::Failed;
    return Complete(pipe, overlapped, transferred, timeoutMs, stopEvent);
}

uint32_t BytesWaiting(HANDLE pipe, bool* broken) {
    if (broken) *broken = false;
    if (pipe == nullptr || pipe == INVALID_HANDLE_VALUE) return 0;
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
        const DWORD error = GetLastError();
        if (broken) *broken = error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED || error == ERROR_NO_DATA;
        return 0;
    }
    return available;
}

}  // namespace ipc
