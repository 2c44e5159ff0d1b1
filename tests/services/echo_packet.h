// The packet the load test exchanges: 60 payload bytes naming the sender and the
// sequence number, with a pattern derived from both, so that a lost, repeated,
// reordered or mixed-up packet is recognised.
#pragma once

#include <cstdint>
#include <cstring>

inline constexpr uint32_t kEchoType = 7;

struct EchoPacket {
    uint8_t payload[60];
};

inline EchoPacket MakeEchoPacket(int32_t code, uint32_t sequence) {
    EchoPacket packet{};
    std::memcpy(packet.payload, &code, 4);
    std::memcpy(packet.payload + 4, &sequence, 4);
    for (int i = 8; i < 60; ++i)
        packet.payload[i] = static_cast<uint8_t>(static_cast<uint32_t>(code) * 31 + sequence * 7 + static_cast<uint32_t>(i));
    return packet;
}

inline bool IsEchoPacket(const uint8_t* payload, int32_t code, uint32_t sequence) {
    const EchoPacket expected = MakeEchoPacket(code, sequence);
    return std::memcmp(payload, expected.payload, sizeof expected.payload) == 0;
}

// The code a payload claims to come from.
inline int32_t EchoPacketCode(const uint8_t* payload) {
    int32_t code;
    std::memcpy(&code, payload, 4);
    return code;
}
