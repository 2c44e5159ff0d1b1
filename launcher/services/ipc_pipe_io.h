// Bounded reads and writes on pipe handles. Works on overlapped server instances
// (the wait is bounded by a time-out and an optional stop event) and on the
// client's synchronous handle (the call simply blocks until done).
#pragma once

#include <windows.h>

#include <cstdint>

namespace ipc {

enum class IoResult { Ok, Failed, TimedOut, Stopped };

// Reads exactly `size` bytes, gathering short reads. Waits at most `timeoutMs` in
// total (INFINITE: no limit) and ends early when `stopEvent` (may be null) is
// signalled. On anything but Ok some bytes may already have been consumed. A
// pending operation is cancelled and drained before returning, so nothing writes
// into `buffer` afterwards.
IoResult ReadExact(HANDLE pipe, void* buffer, uint32_t size, DWORD timeoutMs, HANDLE stopEvent);

// Writes `size` bytes with one write call, with the same bounds as ReadExact.
IoResult WriteAll(HANDLE pipe, const void* data, uint32_t size, DWORD timeoutMs, HANDLE stopEvent);

// Bytes waiting in the pipe without removing them; 0 when none or the peek fails.
// `broken` (optional) is set when the peek failed because the other end is gone.
uint32_t BytesWaiting(HANDLE pipe, bool* broken = nullptr);

}  // namespace ipc
