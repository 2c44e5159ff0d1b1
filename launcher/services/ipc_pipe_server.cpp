// Server role: the accept thread, the client table and its sweep.
#include <process.h>

#include <exception>

#include "launcher/services/ipc_diagnostic.h"
#include "launcher/services/ipc_named_pipe.h"
#include "launcher/services/ipc_pipe_io.h"
#include "launcher/services/ipc_wire.h"
#include "launcher/services/sync_guards.h"

namespace {

// Slice of the wait for a connection; the stop event ends it at once.
constexpr DWORD kConnectWaitSliceMs = 1600;

enum class Accept { Connected, Retry, Stop, Fail };

// Cancels a pending operation and waits until the system is done with `overlapped`.
void CancelAndDrain(HANDLE handle, OVERLAPPED& overlapped) {
    CancelIoEx(handle, &overlapped);
    DWORD ignored = 0;
    GetOverlappedResult(handle, &overlapped, &ignored, TRUE);
}

}  // namespace

bool IPCToolClassNamePipe::InitServer(const std::wstring& name) {
    if (serverThread_) return true;  // already accepting
    name_ = name;
    path_ = ipc::PipePath(name);
    if (!tableLock_) tableLock_.reset(CreateMutexW(nullptr, FALSE, nullptr));
    if (!stopEvent_) stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!tableLock_ || !stopEvent_) {
        ipc::Diagnostic(L"Server lock create fail,Error Code:%d\n", static_cast<int>(GetLastError()));
        return true;
    }
    serverThread_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ServerThreadEntry, this, 0, nullptr)));
    if (!serverThread_) ipc::Diagnostic(L"Server thread start fail\n");
    return true;
}

unsigned __stdcall IPCToolClassNamePipe::ServerThreadEntry(void* self) {
    try {
        static_cast<IPCToolClassNamePipe*>(self)->ServerThread();
    } catch (const std::exception&) {
        ipc::Diagnostic(L"Server thread ended by an exception\n");
    } catch (...) {
        ipc::Diagnostic(L"Server thread ended by an exception\n");
    }
    return 0;
}

void IPCToolClassNamePipe::ServerThread() {
    ULONGLONG lastSweep = GetTickCount64();
    DWORD lastCreateError = 0;
    while (!stop_) {
        win32::unique_file instance(CreateNamedPipeW(
            path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
            ipc::kMaxPipeInstances, ipc::kPipeBufferSize, ipc::kPipeBufferSize, ipc::kPipeDefaultTimeoutMs, nullptr));
        if (!instance) {
            // Usually all instances are taken; write the reason once per run of failures.
            const DWORD error = GetLastError();
            if (error != lastCreateError) ipc::Diagnostic(L"NamePipe Create fail,Error Code:%d\n", static_cast<int>(error));
            lastCreateError = error;
            // Departed clients may be holding the instances: sweep before trying again.
            if (!WatchDeleteEventList()) ipc::Diagnostic(L"Watch Delete EventList fail\n");
            lastSweep = GetTickCount64();
            WaitForSingleObject(stopEvent_.get(), kCreateRetryPauseMs);
            continue;
        }
        lastCreateError = 0;
        win32::unique_handle connectEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!connectEvent) {
            ipc::Diagnostic(L"Begin NamePipe Connect fail,Error Code:%d\n", static_cast<int>(GetLastError()));
            WaitForSingleObject(stopEvent_.get(), kCreateRetryPauseMs);
            continue;
        }

        OVERLAPPED overlapped{};
        overlapped.hEvent = connectEvent.get();
        Accept accept = Accept::Connected;
        if (!ConnectNamedPipe(instance.get(), &overlapped)) {
            const DWORD error = GetLastError();
            if (error == ERROR_PIPE_CONNECTED) {
                accept = Accept::Connected;  // the client was quicker than the connect call
            } else if (error != ERROR_IO_PENDING) {
                ipc::Diagnostic(L"Begin NamePipe Connect fail,Error Code:%d\n", static_cast<int>(error));
                accept = Accept::Retry;
            } else {
                accept = Accept::Fail;  // placeholder until the wait decides
                for (;;) {
                    if (stop_) {
                        CancelAndDrain(instance.get(), overlapped);
                        accept = Accept::Stop;
                        break;
                    }
                    if (GetTickCount64() - lastSweep >= kCleanupIntervalMs) {
                        lastSweep = GetTickCount64();
                        if (!WatchDeleteEventList()) ipc::Diagnostic(L"Watch Delete EventList fail\n");
                    }
                    HANDLE waits[2] = {connectEvent.get(), stopEvent_.get()};
                    const DWORD wait = WaitForMultipleObjects(2, waits, FALSE, kConnectWaitSliceMs);
                    if (wait == WAIT_OBJECT_0) {
                        DWORD ignored = 0;
                        accept = GetOverlappedResult(instance.get(), &overlapped, &ignored, FALSE) ? Accept::Connected
                                                                                                   : Accept::Retry;
                        break;
                    }
                    if (wait == WAIT_FAILED) {
                        ipc::Diagnostic(L"Wait Connect fail,Error Code:%d\n", static_cast<int>(GetLastError()));
                        CancelAndDrain(instance.get(), overlapped);
                        return;  // registered clients stay usable
                    }
                }
            }
        }
        if (accept == Accept::Stop) break;
        if (accept == Accept::Connected) Register(std::move(instance));
    }
    CloseAllClients();
}

// Reads the client's code (bounded), creates its delete event and enters it in the
// table, or answers 1 when the code is taken. A client that does not send its whole
// code in time, or leaves, is dropped and the server goes on accepting.
void IPCToolClassNamePipe::Register(win32::unique_file instance) {
    uint8_t codeBytes[4] = {};
    switch (ipc::ReadExact(instance.get(), codeBytes, 4, kHandshakeTimeoutMs, stopEvent_.get())) {
        case ipc::IoResult::Ok:
            break;
        case ipc::IoResult::Failed:
            ipc::Diagnostic(L"Read Client Code fail,Error Code:%d\n", static_cast<int>(GetLastError()));
            return;
        case ipc::IoResult::TimedOut:
            ipc::Diagnostic(L"Block Client Code Read fail,client sent no code in time\n");
            return;
        case ipc::IoResult::Stopped:
            return;
    }
    const int32_t code = static_cast<int32_t>(ipc::LoadLittleEndian32(codeBytes));
    auto entry = std::make_shared<ClientEntry>();
    entry->deleteEvent.reset(CreateEventW(nullptr, FALSE, FALSE, ipc::DeleteEventName(code, name_).c_str()));

    uint8_t reply[4] = {};
    if (!entry->deleteEvent) {
        ipc::Diagnostic(L"Delete Event Create fail,code = %d\n", code);
        ipc::WriteAll(instance.get(), reply, 4, kServerWriteTimeoutMs, stopEvent_.get());  // 0: refused
        return;
    }
    if (HasClient(code)) {
        {
            services::MutexLock lock(tableLock_.get());
            changed_ = true;
        }
        ipc::Diagnostic(L"Server insert Map faile,Client retry , last code:%d\n", code);
        ipc::StoreLittleEndian32(1, reply);
        ipc::WriteAll(instance.get(), reply, 4, kServerWriteTimeoutMs, stopEvent_.get());
        return;
    }
    // The echo goes out before the entry is visible, so no packet of the owner can
    // overtake it. Only this thread inserts, so the code is still free afterwards.
    ipc::StoreLittleEndian32(static_cast<uint32_t>(code), reply);
    if (ipc::WriteAll(instance.get(), reply, 4, kServerWriteTimeoutMs, stopEvent_.get()) != ipc::IoResult::Ok) {
        ipc::Diagnostic(L"Server echo write fail,code = %d\n", code);
        return;
    }
    entry->pipe = std::move(instance);
    if (InsertResourceMap(code, std::move(entry)))
        ipc::Diagnostic(L"%ls Server insert ResourceMap suceess, Code = :%d\n", path_.c_str(), code);
}

bool IPCToolClassNamePipe::InsertResourceMap(int32_t code, EntryPtr entry) {
    if (role_ != IPC_ROLE_SERVER || !tableLock_) return false;
    services::MutexLock lock(tableLock_.get());
    if (!lock.owned()) return false;
    changed_ = true;
    return resourceMap_.emplace(code, std::move(entry)).second;
}

bool IPCToolClassNamePipe::WatchDeleteEventList() {
    if (role_ != IPC_ROLE_SERVER || !tableLock_) return false;
    services::MutexLock lock(tableLock_.get());
    if (!lock.owned()) return false;
    for (auto it = resourceMap_.begin(); it != resourceMap_.end();) {
        ClientEntry& entry = *it->second;
        const DWORD wait = WaitForSingleObject(entry.deleteEvent.get(), 0);
        if (wait == WAIT_FAILED) return false;
        const bool leaving = wait == WAIT_OBJECT_0;  // consumes the auto-reset signal
        bool broken = false;
        const uint32_t waiting = ipc::BytesWaiting(entry.pipe.get(), &broken);
        if (!leaving && !broken) {
            ++it;
            continue;
        }
        if (waiting > 0) {
            // Unread data: keep the client until the owner has read it.
            if (leaving) SetEvent(entry.deleteEvent.get());
            ++it;
            continue;
        }
        ipc::Diagnostic(L"Guard delete pipe,code = %d\n", it->first);
        it = resourceMap_.erase(it);  // handles close when the last user lets go
        changed_ = true;
    }
    return true;
}

void IPCToolClassNamePipe::CloseAllClients() {
    if (!tableLock_) return;
    services::MutexLock lock(tableLock_.get());
    resourceMap_.clear();
    changed_ = true;
}

int32_t IPCToolClassNamePipe::PeekServer() {
    if (!tableLock_) return 0;
    services::MutexLock lock(tableLock_.get());
    if (!lock.owned() || resourceMap_.empty()) return 0;
    if (changed_) {
        cursor_ = resourceMap_.begin()->first;
        changed_ = false;
    }
    auto start = resourceMap_.lower_bound(cursor_);
    if (start == resourceMap_.end()) start = resourceMap_.begin();
    auto it = start;
    do {
        if (ipc::BytesWaiting(it->second->pipe.get()) > 0) {
            const auto next = std::next(it);
            cursor_ = (next == resourceMap_.end() ? resourceMap_.begin() : next)->first;
            return it->first;
        }
        if (++it == resourceMap_.end()) it = resourceMap_.begin();
    } while (it != start);
    cursor_ = resourceMap_.begin()->first;
    return 0;
}

size_t IPCToolClassNamePipe::ClientCount() {
    if (!tableLock_) return 0;
    services::MutexLock lock(tableLock_.get());
    return resourceMap_.size();
}

bool IPCToolClassNamePipe::HasClient(int32_t code) { return FindEntry(code) != nullptr; }

void IPCToolClassNamePipe::StopServer() {
    stop_ = true;
    if (stopEvent_) SetEvent(stopEvent_.get());
    if (serverThread_) WaitForSingleObject(serverThread_.get(), INFINITE);
    serverThread_.reset();
}
