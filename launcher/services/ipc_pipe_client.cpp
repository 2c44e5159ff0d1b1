// Client role: connect, hand over the code, interpret the server's reply.
#include "launcher/services/ipc_diagnostic.h"
#include "launcher/services/ipc_named_pipe.h"
#include "launcher/services/ipc_pipe_io.h"
#include "launcher/services/ipc_wire.h"

namespace {
constexpr int kOpenEventAttempts = 50;
constexpr DWORD kOpenEventPauseMs = 50;
constexpr DWORD kRetryPauseMs = 500;
}  // namespace

bool IPCToolClassNamePipe::InitClient(const std::wstring& name, int32_t code) {
    CloseClient();  // a repeated Init starts from a clean connection
    name_ = name;
    path_ = ipc::PipePath(name);
    if (!WaitNamedPipeW(path_.c_str(), NMPWAIT_USE_DEFAULT_WAIT)) {
        ipc::Diagnostic(L"NamePipe is not useful,Error Code:%d\n", static_cast<int>(GetLastError()));
        return false;
    }
    pipe_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!pipe_) {
        ipc::Diagnostic(L"Open NamePipe fail,Error Code:%d\n", static_cast<int>(GetLastError()));
        return false;
    }
    uint8_t bytes[4] = {};
    ipc::StoreLittleEndian32(static_cast<uint32_t>(code), bytes);
    if (ipc::WriteAll(pipe_.get(), bytes, 4, INFINITE, nullptr) != ipc::IoResult::Ok) {
        ipc::Diagnostic(L"Write client code fail,Error Code:%d\n", static_cast<int>(GetLastError()));
        pipe_.reset();
        return false;
    }
    uint8_t reply[4] = {};
    if (ipc::ReadExact(pipe_.get(), reply, 4, INFINITE, nullptr) != ipc::IoResult::Ok) {
        ipc::Diagnostic(L"Block of Reading Server echo fail,code = %d\n", code);
        pipe_.reset();
        return false;
    }
    switch (ipc::ClassifyReply(ipc::LoadLittleEndian32(reply))) {
        case ipc::HandshakeReply::Accepted:
            if (OpenDeleteEvent(code)) {
                ipc::Diagnostic(L"open event succ , code = %d\n", code);
                return true;
            }
            ipc::Diagnostic(L"Try to open Event fail\n");
            pipe_.reset();
            return false;
        case ipc::HandshakeReply::CodeTaken: {
            ipc::Diagnostic(L"code chongfu,retry\n");
            pipe_.reset();
            Sleep(kRetryPauseMs);
            const uint32_t retryCode = GetCurrentProcessId() + static_cast<uint32_t>(code);
            return Init(name, static_cast<int32_t>(retryCode));
        }
        case ipc::HandshakeReply::Refused:
            // The connection stays open until the next Init or teardown; the server
            // keeps its entry while it does.
            ipc::Diagnostic(L"Server refuse , big error~~\n");
            return false;
    }
    return false;
}

bool IPCToolClassNamePipe::OpenDeleteEvent(int32_t code) {
    const std::wstring eventName = ipc::DeleteEventName(code, name_);
    for (int attempt = 0; attempt < kOpenEventAttempts; ++attempt) {
        deleteEvent_.reset(OpenEventW(EVENT_ALL_ACCESS, FALSE, eventName.c_str()));
        if (deleteEvent_) return true;
        Sleep(kOpenEventPauseMs);
    }
    return false;
}

void IPCToolClassNamePipe::CloseClient() {
    // Setting the event tells the server's sweep that this client has left.
    if (deleteEvent_) SetEvent(deleteEvent_.get());
    pipe_.reset();
    deleteEvent_.reset();
}
