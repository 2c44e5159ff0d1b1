// Server role: the accept thread, the client table and its sweep.
#include <memory>
#include <vector>

#include "launcher/services/ipc_diagnostic.h"
#include "launcher/services/ipc_named_pipe.h"
#include "launcher/services/ipc_pipe_io.h"
#include "launcher/services/ipc_wire.h"
#include "launcher/services/sync_guards.h"

namespace {

// Longest single wait of the accept thread; the stop event ends any wait at once.
constexpr DWORD kWaitSliceMs = 1600;

// Cancels a pending operation and waits until the system is done with `overlapped`.
void CancelAndDrain(HANDLE handle, OVERLAPPED& overlapped) {
    CancelIoEx(handle, &overlapped);
    DWORD ignored = 0;
    GetOverlappedResult(handle, &overlapped, &ignored, TRUE);
}

// A connected client whose 4-byte code has not fully arrived yet.
struct Handshake {
    win32::unique_file instance;
    win32::unique_handle event;
    OVERLAPPED overlapped{};
    uint8_t code[4] = {};
    uint32_t got = 0;
    ULONGLONG deadline = 0;
};

DWORD Until(ULONGLONG deadline, ULONGLONG now) {
    return deadline <= now ? 0 : static_cast<DWORD>(deadline - now < kWaitSliceMs ? deadline - now : kWaitSliceMs);
}

// Starts reading the rest of the code; false when the read cannot be started.
bool ContinueRead(Handshake& handshake) {
    handshake.overlapped = OVERLAPPED{};
    handshake.overlapped.hEvent = handshake.event.get();
    if (ReadFile(handshake.instance.get(), handshake.code + handshake.got, 4 - handshake.got, nullptr,
                 &handshake.overlapped))
        return true;  // done at once; seen as completed by the next round
    return GetLastError() == ERROR_IO_PENDING;
}

}  // namespace

// The events of the accept thread are manual-reset and completion is read from the
// OVERLAPPED, so one wait over many of them loses nothing.
struct IPCToolClassNamePipe::Listener {
    win32::unique_file instance;
    win32::unique_handle event;
    OVERLAPPED overlapped{};
    bool connected = false;  // the client came before the connect call
};

bool IPCToolClassNamePipe::InitServer(const std::wstring& name) {
    if (serverThread_.Owned()) return true;  // already accepting
    name_ = name;
    path_ = ipc::PipePath(name);
    if (!tableLock_) tableLock_.reset(CreateMutexW(nullptr, FALSE, nullptr));
    if (!tableLock_ || !serverThread_.Stop().Event()) {
        ipc::Diagnostic(L"Server lock create fail,Error Code:%d\n", static_cast<int>(GetLastError()));
        return true;
    }
    if (!serverThread_.Start([this](const win32::StopSignal& stop) { ServerThread(stop); }))
        ipc::Diagnostic(L"Server thread start fail\n");
    return true;
}

// One thread serves every stage: a listening instance waits for the next client
// while the clients that connected before it send their codes, each within its own
// bound, so a client that connects and sends nothing delays nobody else.
void IPCToolClassNamePipe::ServerThread(const win32::StopSignal& stop) {
    std::unique_ptr<Listener> listener;
    std::vector<std::unique_ptr<Handshake>> handshakes;
    ULONGLONG lastSweep = GetTickCount64();
    ULONGLONG nextCreate = 0;
    DWORD lastCreateError = 0;
    auto cancelAll = [&] {
        if (listener && !listener->connected) CancelAndDrain(listener->instance.get(), listener->overlapped);
        for (auto& handshake : handshakes) CancelAndDrain(handshake->instance.get(), handshake->overlapped);
    };

    while (!stop.Requested()) {
        ULONGLONG now = GetTickCount64();
        if (now - lastSweep >= kCleanupIntervalMs) {
            lastSweep = now;
            if (!WatchDeleteEventList()) ipc::Diagnostic(L"Watch Delete EventList fail\n");
        }
        if (!listener && now >= nextCreate) {
            listener = std::make_unique<Listener>();
            if (!StartListening(*listener, lastCreateError)) {
                listener.reset();
                // Usually all instances are taken: departed clients may hold them.
                if (!WatchDeleteEventList()) ipc::Diagnostic(L"Watch Delete EventList fail\n");
                lastSweep = now;
                nextCreate = now + kCreateRetryPauseMs;
            }
        }

        std::vector<HANDLE> waits{stop.Event()};
        DWORD timeout = kWaitSliceMs;
        if (listener) waits.push_back(listener->event.get());
        else timeout = Until(nextCreate, now);
        for (auto& handshake : handshakes) {
            waits.push_back(handshake->event.get());
            const DWORD left = Until(handshake->deadline, now);
            if (left < timeout) timeout = left;
        }
        if (!(listener && listener->connected) &&
            WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, timeout) == WAIT_FAILED) {
            ipc::Diagnostic(L"Wait Connect fail,Error Code:%d\n", static_cast<int>(GetLastError()));
            cancelAll();
            return;  // registered clients stay usable
        }
        if (stop.Requested()) break;

        if (listener && (listener->connected || HasOverlappedIoCompleted(&listener->overlapped))) {
            DWORD ignored = 0;
            if (listener->connected ||
                GetOverlappedResult(listener->instance.get(), &listener->overlapped, &ignored, FALSE)) {
                auto handshake = std::make_unique<Handshake>();
                handshake->instance = std::move(listener->instance);
                handshake->event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
                handshake->deadline = GetTickCount64() + kHandshakeTimeoutMs;
                if (handshake->event && ContinueRead(*handshake))
                    handshakes.push_back(std::move(handshake));
                else
                    ipc::Diagnostic(L"Read Client Code fail,Error Code:%d\n", static_cast<int>(GetLastError()));
            }
            listener.reset();  // a fresh instance waits for the next client
        }

        now = GetTickCount64();
        for (auto it = handshakes.begin(); it != handshakes.end();) {
            Handshake& handshake = **it;
            if (HasOverlappedIoCompleted(&handshake.overlapped)) {
                DWORD read = 0;
                if (!GetOverlappedResult(handshake.instance.get(), &handshake.overlapped, &read, FALSE)) {
                    // The client left before its code was complete.
                    ipc::Diagnostic(L"Block Client Code Read fail,Error Code:%d\n", static_cast<int>(GetLastError()));
                    it = handshakes.erase(it);
                    continue;
                }
                handshake.got += read;
                if (handshake.got == 4) {
                    FinishHandshake(static_cast<int32_t>(ipc::LoadLittleEndian32(handshake.code)),
                                    std::move(handshake.instance));
                    it = handshakes.erase(it);
                    continue;
                }
                if (!ContinueRead(handshake)) {
                    ipc::Diagnostic(L"Read Client Code fail,Error Code:%d\n", static_cast<int>(GetLastError()));
                    it = handshakes.erase(it);
                    continue;
                }
            } else if (now >= handshake.deadline) {
                CancelAndDrain(handshake.instance.get(), handshake.overlapped);
                ipc::Diagnostic(L"Block Client Code Read fail,client sent no code in time\n");
                it = handshakes.erase(it);
                continue;
            }
            ++it;
        }
    }
    cancelAll();
    CloseAllClients();
}

// Creates a pipe instance and starts waiting for a client on it. False (with the
// reason written once per run of equal failures) when either step fails.
bool IPCToolClassNamePipe::StartListening(Listener& listener, DWORD& lastCreateError) {
    listener.instance.reset(CreateNamedPipeW(
        path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
        ipc::kMaxPipeInstances, ipc::kPipeBufferSize, ipc::kPipeBufferSize, ipc::kPipeDefaultTimeoutMs, nullptr));
    if (!listener.instance) {
        const DWORD error = GetLastError();
        if (error != lastCreateError) ipc::Diagnostic(L"NamePipe Create fail,Error Code:%d\n", static_cast<int>(error));
        lastCreateError = error;
        return false;
    }
    lastCreateError = 0;
    listener.event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!listener.event) {
        ipc::Diagnostic(L"Begin NamePipe Connect fail,Error Code:%d\n", static_cast<int>(GetLastError()));
        return false;
    }
    listener.overlapped.hEvent = listener.event.get();
    if (ConnectNamedPipe(listener.instance.get(), &listener.overlapped)) return true;  // completes later
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) return true;
    if (error == ERROR_PIPE_CONNECTED) {
        listener.connected = true;
        return true;
    }
    ipc::Diagnostic(L"Begin NamePipe Connect fail,Error Code:%d\n", static_cast<int>(error));
    return false;
}

// Creates the client's delete event and enters it in the table, or answers 1 when
// the code is taken (0 when no event can be made).
void IPCToolClassNamePipe::FinishHandshake(int32_t code, win32::unique_file instance) {
    auto entry = std::make_shared<ClientEntry>();
    entry->deleteEvent.reset(CreateEventW(nullptr, FALSE, FALSE, ipc::DeleteEventName(code, name_).c_str()));

    uint8_t reply[4] = {};
    if (!entry->deleteEvent) {
        ipc::Diagnostic(L"Delete Event Create fail,code = %d\n", code);
        ipc::WriteAll(instance.get(), reply, 4, kServerWriteTimeoutMs, serverThread_.Stop().Event());  // 0: refused
        return;
    }
    if (HasClient(code)) {
        {
            services::MutexLock lock(tableLock_.get());
            changed_ = true;
        }
        ipc::Diagnostic(L"Server insert Map faile,Client retry , last code:%d\n", code);
        ipc::StoreLittleEndian32(1, reply);
        ipc::WriteAll(instance.get(), reply, 4, kServerWriteTimeoutMs, serverThread_.Stop().Event());
        return;
    }
    // The echo goes out before the entry is visible, so no packet of the owner can
    // overtake it. Only this thread inserts, so the code is still free afterwards.
    ipc::StoreLittleEndian32(static_cast<uint32_t>(code), reply);
    if (ipc::WriteAll(instance.get(), reply, 4, kServerWriteTimeoutMs, serverThread_.Stop().Event()) != ipc::IoResult::Ok) {
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
    serverThread_.StopAndJoin();
}
