// Names and byte layouts of the named-pipe protocol. Pure functions, no platform calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ipc {

inline constexpr uint32_t kPipeBufferSize = 102400;
inline constexpr uint32_t kMaxPipeInstances = 24;
inline constexpr uint32_t kPipeDefaultTimeoutMs = 1000;

// "\\.\pipe\" + name.
std::wstring PipePath(const std::wstring& name);

// "delEvent_" + code in signed decimal + name: the event a client sets when it leaves.
std::wstring DeleteEventName(int32_t code, const std::wstring& name);

// The bytes of one packet: the payload alone for type 0, otherwise the 4-byte
// little-endian type followed by the payload.
std::vector<uint8_t> BuildPacket(const void* data, uint32_t length, uint32_t type);

// What a client makes of the server's 4-byte handshake reply (taken as unsigned).
enum class HandshakeReply {
    Refused,    // 0
    CodeTaken,  // 1: retry under process id + code
    Accepted,   // 2 or more: the echoed code
};
HandshakeReply ClassifyReply(uint32_t reply);

void StoreLittleEndian32(uint32_t value, uint8_t out[4]);
uint32_t LoadLittleEndian32(const uint8_t in[4]);

}  // namespace ipc
