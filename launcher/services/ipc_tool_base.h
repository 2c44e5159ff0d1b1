// The packet-channel interface the control channel talks to. The named-pipe class is
// the one implementation in the launcher; the base behaviour is "accept and do
// nothing", so an owner may hold a base object as a channel that drops everything.
#pragma once

#include <cstdint>
#include <string>

class IPCToolClassBase {
public:
    IPCToolClassBase() = default;
    IPCToolClassBase(const IPCToolClassBase&) = delete;
    IPCToolClassBase& operator=(const IPCToolClassBase&) = delete;

    // Starts the channel under `name`; `code` identifies a client to its server.
    virtual bool Init(const std::wstring& name, int32_t code) {
        (void)name;
        (void)code;
        return true;
    }
    // Sends `length` bytes of `data` to the peer `code`, prefixed with the 4-byte
    // `type` unless it is 0.
    virtual bool SendPacket(const void* data, uint32_t length, int32_t code, uint32_t type) {
        (void)data;
        (void)length;
        (void)code;
        (void)type;
        return true;
    }
    // Reserved slots of the interface; no behaviour anywhere.
    virtual bool OnReserved3(int32_t, int32_t, int32_t) { return true; }
    virtual bool OnReserved4(int32_t, int32_t, int32_t, int32_t) { return true; }
    // The code of a peer with unread data, 0 when none.
    virtual int32_t PeekClient() { return 0; }
    virtual ~IPCToolClassBase() = default;
};
