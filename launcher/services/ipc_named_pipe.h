// Binary packets between processes over one Windows named pipe.
//
// One object plays one role, fixed at construction:
//  - server: accepts any number of clients (at most 24 at once) on \\.\pipe\<name>
//    and keeps them in a table keyed by the 32-bit code each client chose;
//  - client: connects to such a server under a code.
// The layer moves bytes only; there is no length prefix, so a receiver must know
// how many bytes to ask for.
//
// Threads: a server object is shared by its own accept thread and the owner's
// threads (SendPacket, RecvPacket, PeekClient are safe from any of them). A client
// object is meant for one thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "common/win32/thread_owner.h"
#include "common/win32/unique_handle.h"
#include "launcher/services/ipc_tool_base.h"

enum IpcRole : int32_t {
    IPC_ROLE_NONE = 0,  // inert: every operation fails
    IPC_ROLE_SERVER = 1,
    IPC_ROLE_CLIENT = 2,
};

class IPCToolClassNamePipe : public IPCToolClassBase {
public:
    // How long a server waits for a connected client's 4-byte code before dropping
    // the connection; other clients connect and register meanwhile.
    static constexpr DWORD kHandshakeTimeoutMs = 2000;
    // Bound of one server-side write; a client that stops reading cannot block a
    // sender for longer.
    static constexpr DWORD kServerWriteTimeoutMs = 3000;
    // Pause before retrying when a pipe instance cannot be created (all in use).
    static constexpr DWORD kCreateRetryPauseMs = 200;
    // Departed clients are swept out at least this often while the server waits.
    static constexpr DWORD kCleanupIntervalMs = 3000;

    // A role outside 0..2 makes an inert object.
    explicit IPCToolClassNamePipe(int32_t role);
    ~IPCToolClassNamePipe() override;

    // Server: starts the accept thread on \\.\pipe\<name> and returns true (also when
    // the thread could not be started); `code` is unused. Client: connects and
    // registers under `code`; a code already taken is retried after 500 ms under
    // process id + code. True when registered. Inert: false.
    bool Init(const std::wstring& name, int32_t code) override;

    // Client: sends on its own pipe (code ignored). Server: sends to the client
    // registered under `code`. Type 0 sends the payload alone, any other type
    // prefixes it, in one write. False when there is no such peer or the write fails.
    bool SendPacket(const void* data, uint32_t length, int32_t code, uint32_t type) override;

    // Reads exactly `length` bytes from the same peer SendPacket would address,
    // gathering short reads, waiting at most `timeoutMs` in total (server side; a
    // client's synchronous handle blocks until the bytes arrive). False when there is
    // no such peer, the read fails, or not all bytes came in time (some may then have
    // been consumed).
    bool RecvPacket(void* buffer, uint32_t length, int32_t code, DWORD timeoutMs = INFINITE);

    // Server: the code of a registered client with unread data, 0 when none. The
    // table is scanned round-robin from after the client last returned, so one busy
    // client cannot hide the others. Client: 1 when data waits on its pipe, else 0.
    int32_t PeekClient() override;

    // Server: removes clients that have set their delete event, or whose end is
    // closed, and whose pipe holds no unread data. False when an event test fails.
    // Runs on the accept thread on its own; public so an owner can force a sweep.
    bool WatchDeleteEventList();

    // Server: number of registered clients, and whether `code` is one of them.
    size_t ClientCount();
    bool HasClient(int32_t code);

    int32_t role() const { return role_; }

private:
    struct ClientEntry {
        win32::unique_file pipe;
        win32::unique_handle deleteEvent;
    };
    // Entries are shared: I/O outside the table lock keeps its entry's handles open
    // even when the sweep removes the entry meanwhile.
    using EntryPtr = std::shared_ptr<ClientEntry>;

    // Server side (ipc_pipe_server.cpp).
    bool InitServer(const std::wstring& name);
    void ServerThread(const win32::StopSignal& stop);
    struct Listener;  // the instance waiting for the next client
    bool StartListening(Listener& listener, DWORD& lastCreateError);
    void FinishHandshake(int32_t code, win32::unique_file instance);
    bool InsertResourceMap(int32_t code, EntryPtr entry);
    void CloseAllClients();
    int32_t PeekServer();
    EntryPtr FindEntry(int32_t code);
    void StopServer();

    // Client side (ipc_pipe_client.cpp).
    bool InitClient(const std::wstring& name, int32_t code);
    bool OpenDeleteEvent(int32_t code);
    void CloseClient();

    int32_t role_;
    std::wstring name_;
    std::wstring path_;

    // Server.
    win32::unique_handle tableLock_;
    std::map<int32_t, EntryPtr> resourceMap_;
    int32_t cursor_ = 0;  // code PeekClient resumes from (first entry >= it)
    bool changed_ = false;
    // The accept thread; its stop event also ends the owner's pending pipe I/O.
    win32::ThreadOwner serverThread_;

    // Client.
    win32::unique_file pipe_;
    win32::unique_handle deleteEvent_;
};
