// Scoped owners for the two lock kinds of the services: critical sections (queues of
// the control channel and the collector) and unnamed mutexes (the pipe server's
// client table). Every lock taken is released on every path, early returns included.
#pragma once

#include <windows.h>

namespace services {

// A critical section that lives exactly as long as this object.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    CRITICAL_SECTION* get() { return &section_; }

private:
    CRITICAL_SECTION section_;
};

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : section_(section.get()) {
        EnterCriticalSection(section_);
    }
    ~CriticalSectionLock() { LeaveCriticalSection(section_); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION* section_;
};

// Holds a mutex from construction to destruction. `owned()` is false when the wait
// failed (an invalid handle); the destructor then releases nothing.
class MutexLock {
public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {
        const DWORD result = WaitForSingleObject(mutex_, INFINITE);
        owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    ~MutexLock() {
        if (owned_) ReleaseMutex(mutex_);
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    bool owned() const { return owned_; }

private:
    HANDLE mutex_;
    bool owned_ = false;
};

}  // namespace services
