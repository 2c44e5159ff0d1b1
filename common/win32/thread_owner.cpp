#include "common/win32/thread_owner.h"

#include <process.h>

#include <exception>
#include <utility>

namespace win32 {

namespace {

// SetThreadDescription exists from Windows 10 1607 on; older systems simply keep
// their threads unnamed, so it is looked up rather than linked.
void NameThread(HANDLE thread, const std::wstring& name) {
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return;
    auto set = reinterpret_cast<SetDescription>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")));
    if (set) set(thread, name.c_str());
}

}  // namespace

StopSignal::StopSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

bool StopSignal::WaitFor(DWORD timeoutMs) const noexcept {
    if (requested_) return true;
    if (event_) WaitForSingleObject(event_.get(), timeoutMs);
    else Sleep(timeoutMs);
    return requested_;
}

void StopSignal::Request() noexcept {
    requested_ = true;
    if (event_) SetEvent(event_.get());
}

void StopSignal::Clear() noexcept {
    requested_ = false;
    if (event_) ResetEvent(event_.get());
}

ThreadOwner::ThreadOwner(std::wstring name, DiagnosticSink sink) : name_(std::move(name)), sink_(std::move(sink)) {}

ThreadOwner::~ThreadOwner() { StopAndJoin(); }

bool ThreadOwner::Start(Body body) {
    if (thread_ || !body) return false;
    body_ = std::move(body);
    stop_.Clear();
    thread_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Entry, this, 0, nullptr)));
    if (!thread_) {
        Report(L"thread " + name_ + L": could not be started\n");
        body_ = nullptr;
        return false;
    }
    NameThread(thread_.get(), name_);
    return true;
}

JoinResult ThreadOwner::TryJoin(DWORD timeoutMs) {
    if (!thread_) return JoinResult::NotStarted;
    if (WaitForSingleObject(thread_.get(), timeoutMs) != WAIT_OBJECT_0) {
        Report(L"thread " + name_ + L": did not end within " + std::to_wstring(timeoutMs) + L" ms\n");
        return JoinResult::TimedOut;
    }
    thread_.reset();
    body_ = nullptr;
    return JoinResult::Joined;
}

JoinResult ThreadOwner::StopAndJoin(DWORD reportAfterMs) {
    RequestStop();
    const JoinResult first = TryJoin(reportAfterMs);
    if (first != JoinResult::TimedOut) return first;
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    body_ = nullptr;
    Report(L"thread " + name_ + L": ended late\n");
    return JoinResult::JoinedLate;
}

unsigned __stdcall ThreadOwner::Entry(void* self) {
    auto* owner = static_cast<ThreadOwner*>(self);
    try {
        owner->body_(owner->stop_);
    } catch (const std::exception&) {
        owner->Report(L"thread " + owner->name_ + L": ended by an exception\n");
    } catch (...) {
        owner->Report(L"thread " + owner->name_ + L": ended by an exception\n");
    }
    return 0;
}

void ThreadOwner::Report(const std::wstring& text) const {
    try {
        if (sink_) {
            sink_(text);
            return;
        }
    } catch (...) {
        // A failing sink must not take the thread or the owner down; fall through.
    }
    OutputDebugStringW(text.c_str());
}

}  // namespace win32
