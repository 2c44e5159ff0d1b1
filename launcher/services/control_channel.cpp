#include "launcher/services/control_channel.h"

#include <cstring>
#include <new>

#include "launcher/services/ipc_diagnostic.h"
#include "launcher/services/ipc_wire.h"

CFuncInteraction::CFuncInteraction(std::wstring pipeName)
    : pipeName_(std::move(pipeName)),
      pollThread_(L"control channel poll", [](const std::wstring& text) { ipc::Diagnostic(L"%ls", text.c_str()); }) {}

// The owner stops the channel first; stopping here as well keeps a forgotten stop
// from leaving the poll thread on a freed object.
CFuncInteraction::~CFuncInteraction() {
    if (pollThread_.Owned()) StopInteraction();
}

bool CFuncInteraction::StartInteraction() {
    if (pollThread_.Owned()) return true;
    if (!pipe_) {
        pipe_.reset(new (std::nothrow) IPCToolClassNamePipe(IPC_ROLE_SERVER));
        if (!pipe_) return false;
        pipe_->Init(pipeName_, 0);  // a server that failed to start simply has no clients
    }
    if (pollThread_.Start([this](const win32::StopSignal& stop) { PollLoop(stop); })) return true;
    // Without the poll thread nobody would serve the pipe's clients: the server goes too.
    pipe_.reset();
    return false;
}

void CFuncInteraction::StopInteraction() {
    pollThread_.StopAndJoin();
    pipe_.reset();
}

void CFuncInteraction::ResetReadiness() {
    secondaryEnabled_ = false;
    ready_ = false;
}

void CFuncInteraction::QueueClientRecord(const InteractionRecord& record) {
    services::CriticalSectionLock lock(clientLock_);
    clientQueue_.push_back(record);
}

void CFuncInteraction::SetNotice(const InteractionNotice& notice) {
    services::CriticalSectionLock lock(noticeLock_);
    notice_ = notice;
    noticePending_ = true;
}

void CFuncInteraction::SetSecondaryChannel(IPCToolClassBase* channel, int32_t code) {
    services::CriticalSectionLock lock(secondaryLock_);
    secondary_ = channel;
    secondaryCode_ = code;
}

void CFuncInteraction::EnableSecondary(bool enabled) { secondaryEnabled_ = enabled; }

void CFuncInteraction::QueueSecondaryRecord(const InteractionRecord& record) {
    services::CriticalSectionLock lock(secondaryLock_);
    secondaryQueue_.push_back(record);
}

void CFuncInteraction::PollLoop(const win32::StopSignal& stop) {
    while (!stop.Requested()) {
        ReceiveFromClient();
        FlushSecondary();
        FlushToClient();
        stop.WaitFor(kPollPeriodMs);
    }
}

void CFuncInteraction::ReceiveFromClient() {
    if (!pipe_) return;
    const int32_t code = pipe_->PeekClient();
    if (code == 0) return;
    clientCode_ = code;
    uint8_t typeBytes[4] = {};
    const uint32_t type = pipe_->RecvPacket(typeBytes, 4, code, kReadTimeoutMs) ? ipc::LoadLittleEndian32(typeBytes) : 0;
    if (type != MSG_RECORD) {
        // Only these 4 bytes are consumed; whatever followed is read as the next type.
        ipc::Diagnostic(L"ctrl: packet type %u from client %d ignored\n", type, code);
        return;
    }
    InteractionRecord record{};
    // Only a complete record counts; a client that stops halfway is not ready.
    if (!pipe_->RecvPacket(record.data(), INTERACTION_RECORD_SIZE, code, kReadTimeoutMs)) {
        ipc::Diagnostic(L"ctrl: incomplete record from client %d\n", code);
        return;
    }
    if (static_cast<int32_t>(ipc::LoadLittleEndian32(record.data())) == READY_CODE) ready_ = true;
}

void CFuncInteraction::FlushSecondary() {
    if (!secondaryEnabled_) return;
    // Taken out under the lock, sent outside it, so the owner never waits on a send.
    IPCToolClassBase* channel = nullptr;
    std::deque<InteractionRecord> pending;
    {
        services::CriticalSectionLock lock(secondaryLock_);
        channel = secondary_;
        if (!channel) return;
        pending.swap(secondaryQueue_);
    }
    for (const InteractionRecord& record : pending)
        channel->SendPacket(record.data(), INTERACTION_RECORD_SIZE, secondaryCode_, MSG_RECORD);  // failures drop the record
}

void CFuncInteraction::FlushToClient() {
    if (!pipe_ || !ready_) return;
    const int32_t code = clientCode_;
    bool sendNotice = false;
    InteractionNotice notice{};
    {
        services::CriticalSectionLock lock(noticeLock_);
        if (noticePending_) {
            noticePending_ = false;
            notice = notice_;
            sendNotice = true;
        }
    }
    if (sendNotice) pipe_->SendPacket(notice.data(), INTERACTION_NOTICE_SIZE, code, MSG_NOTICE);
    std::deque<InteractionRecord> pending;
    {
        services::CriticalSectionLock lock(clientLock_);
        pending.swap(clientQueue_);
    }
    for (const InteractionRecord& record : pending)
        pipe_->SendPacket(record.data(), INTERACTION_RECORD_SIZE, code, MSG_RECORD);  // failures drop the record
}
