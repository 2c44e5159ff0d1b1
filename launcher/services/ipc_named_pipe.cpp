// Role dispatch and the packet operations shared by both roles.
#include "launcher/services/ipc_named_pipe.h"

#include <vector>

#include "launcher/services/ipc_diagnostic.h"
#include "launcher/services/ipc_pipe_io.h"
#include "launcher/services/ipc_wire.h"
#include "launcher/services/sync_guards.h"

IPCToolClassNamePipe::IPCToolClassNamePipe(int32_t role)
    : role_(role == IPC_ROLE_SERVER || role == IPC_ROLE_CLIENT ? role : IPC_ROLE_NONE),
      serverThread_(L"pipe server", [](const std::wstring& text) { ipc::Diagnostic(L"%ls", text.c_str()); }) {}

IPCToolClassNamePipe::~IPCToolClassNamePipe() {
    if (role_ == IPC_ROLE_SERVER) StopServer();
    if (role_ == IPC_ROLE_CLIENT) {
        CloseClient();
        ipc::Diagnostic(L"destory succ\n");
    }
}

bool IPCToolClassNamePipe::Init(const std::wstring& name, int32_t code) {
    if (role_ == IPC_ROLE_SERVER) return InitServer(name);
    if (role_ == IPC_ROLE_CLIENT) return InitClient(name, code);
    return false;
}

IPCToolClassNamePipe::EntryPtr IPCToolClassNamePipe::FindEntry(int32_t code) {
    if (!tableLock_) return nullptr;
    services::MutexLock lock(tableLock_.get());
    if (!lock.owned()) return nullptr;
    const auto found = resourceMap_.find(code);
    return found == resourceMap_.end() ? nullptr : found->second;
}

bool IPCToolClassNamePipe::SendPacket(const void* data, uint32_t length, int32_t code, uint32_t type) {
    EntryPtr entry;  // keeps a server-side pipe open for the duration of the write
    HANDLE pipe = nullptr;
    DWORD timeout = INFINITE;
    if (role_ == IPC_ROLE_CLIENT) {
        pipe = pipe_.get();
    } else if (role_ == IPC_ROLE_SERVER) {
        entry = FindEntry(code);
        if (entry) pipe = entry->pipe.get();
        timeout = kServerWriteTimeoutMs;
    }
    if (pipe == nullptr || pipe == INVALID_HANDLE_VALUE) {
        ipc::Diagnostic(L"SendPacket fail,NamePipe is NULL\n");
        return false;
    }
    const std::vector<uint8_t> bytes = ipc::BuildPacket(data, length, type);
    const ipc::IoResult result =
        ipc::WriteAll(pipe, bytes.data(), static_cast<uint32_t>(bytes.size()), timeout, serverThread_.Stop().Event());
    if (result != ipc::IoResult::Ok) {
        ipc::Diagnostic(L"SendPacket fail,WriteFile fail,code = %d\n", code);
        return false;
    }
    return true;
}

bool IPCToolClassNamePipe::RecvPacket(void* buffer, uint32_t length, int32_t code, DWORD timeoutMs) {
    EntryPtr entry;  // keeps a server-side pipe open for the duration of the read
    HANDLE pipe = nullptr;
    if (role_ == IPC_ROLE_CLIENT) {
        pipe = pipe_.get();
    } else if (role_ == IPC_ROLE_SERVER) {
        entry = FindEntry(code);
        if (entry) pipe = entry->pipe.get();
    }
    if (pipe == nullptr || pipe == INVALID_HANDLE_VALUE) {
        ipc::Diagnostic(L"RecvPacket fail,NamePipe is NULL\n");
        return false;
    }
    switch (ipc::ReadExact(pipe, buffer, length, timeoutMs, serverThread_.Stop().Event())) {
        case ipc::IoResult::Ok:
            return true;
        case ipc::IoResult::Failed:
            ipc::Diagnostic(L"RecvPacket fail,ReadFile fail\n");
            return false;
        case ipc::IoResult::TimedOut:
            ipc::Diagnostic(L"RecvPacket fail,time out,code = %d\n", code);
            return false;
        case ipc::IoResult::Stopped:
            ipc::Diagnostic(L"RecvPacket fail,Block fail\n");
            return false;
    }
    return false;
}

int32_t IPCToolClassNamePipe::PeekClient() {
    if (role_ == IPC_ROLE_SERVER) return PeekServer();
    if (role_ == IPC_ROLE_CLIENT) return ipc::BytesWaiting(pipe_.get()) > 0 ? 1 : 0;
    return 0;
}
