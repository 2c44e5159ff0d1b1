// Bounded polling for the tests: true as soon as `condition` holds, false after
// `timeoutMs`.
#pragma once

#include <windows.h>

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs, DWORD stepMs = 20) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(stepMs);
    }
}

// Milliseconds since `start` (a GetTickCount64 value).
inline ULONGLONG ElapsedMs(ULONGLONG start) { return GetTickCount64() - start; }
