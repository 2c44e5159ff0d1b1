// The launcher's end of the control channel: a named-pipe server ("TessikCtrl") and
// a poll thread that once per second reads what a client sent and delivers what is
// queued for it.
//
// Protocol above the pipe (32-bit little-endian integers):
//  client -> launcher: a 4-byte packet type; MSG_RECORD is followed by a 5212-byte
//    record whose first field READY_CODE announces that the client is ready;
//  launcher -> client: MSG_RECORD + record, or MSG_NOTICE + 8 bytes, each in one write.
// Nothing is sent to the client before it has announced itself, nor after the game
// ended (ResetReadiness) until it announces itself again.
//
// Threads: the owner's (user-interface) thread calls everything here; the poll thread
// is internal. Queue operations are safe at any time, also before start and after stop.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "common/win32/thread_owner.h"
#include "launcher/services/ipc_named_pipe.h"
#include "launcher/services/sync_guards.h"

inline constexpr uint32_t INTERACTION_RECORD_SIZE = 5212;
inline constexpr uint32_t MSG_RECORD = 2;
inline constexpr uint32_t MSG_NOTICE = 3;
inline constexpr int32_t READY_CODE = 5000;
inline constexpr uint32_t INTERACTION_NOTICE_SIZE = 8;

using InteractionRecord = std::array<uint8_t, INTERACTION_RECORD_SIZE>;
using InteractionNotice = std::array<uint8_t, INTERACTION_NOTICE_SIZE>;

class CFuncInteraction {
public:
    static constexpr DWORD kPollPeriodMs = 1000;
    // Bound of each read from the client: a client that announces a record and sends
    // nothing cannot hold the poll thread (or StopInteraction) longer than this.
    static constexpr DWORD kReadTimeoutMs = 1500;

    // `pipeName` is "TessikCtrl" in the launcher; tools and tests may use another.
    explicit CFuncInteraction(std::wstring pipeName = L"TessikCtrl");
    // Releases the queues; stops the channel first if the owner has not.
    virtual ~CFuncInteraction();
    CFuncInteraction(const CFuncInteraction&) = delete;
    CFuncInteraction& operator=(const CFuncInteraction&) = delete;

    // Starts the pipe server and the poll thread. False when the pipe object cannot
    // be made or the thread cannot be started.
    bool StartInteraction();
    // Stops the poll thread (joins it) and tears the pipe server down. Returns within
    // about one poll cycle plus the read bound; safe to call twice.
    void StopInteraction();

    // The reset done when the game has ended: not ready, secondary channel disabled.
    void ResetReadiness();

    // Queue a record, or set the one pending notice (a newer notice replaces an
    // unsent one), for the client; sent once it is ready, in order.
    void QueueClientRecord(const InteractionRecord& record);
    void SetNotice(const InteractionNotice& notice);

    // An optional second packet channel (not owned) with its destination code;
    // queued records go there while it is enabled.
    void SetSecondaryChannel(IPCToolClassBase* channel, int32_t code);
    void EnableSecondary(bool enabled);
    void QueueSecondaryRecord(const InteractionRecord& record);

    bool IsReady() const { return ready_; }
    int32_t ClientCode() const { return clientCode_; }
    // The pipe server while started, else null (owned by the channel).
    IPCToolClassNamePipe* Pipe() const { return pipe_.get(); }

private:
    void PollLoop(const win32::StopSignal& stop);
    void ReceiveFromClient();
    void FlushSecondary();
    void FlushToClient();

    std::wstring pipeName_;
    IPCToolClassBase* secondary_ = nullptr;
    std::unique_ptr<IPCToolClassNamePipe> pipe_;  // made by Start, released by Stop
    win32::ThreadOwner pollThread_;
    std::atomic<int32_t> secondaryCode_{0};
    std::atomic<bool> secondaryEnabled_{false};
    std::atomic<int32_t> clientCode_{0};
    std::atomic<bool> ready_{false};

    services::CriticalSection secondaryLock_;
    std::deque<InteractionRecord> secondaryQueue_;
    services::CriticalSection noticeLock_;
    bool noticePending_ = false;
    InteractionNotice notice_{};
    services::CriticalSection clientLock_;
    std::deque<InteractionRecord> clientQueue_;
};
