#include "launcher/services/ipc_wire.h"

#include <cstring>

namespace ipc {

std::wstring PipePath(const std::wstring& name) { return L"\\\\.\\pipe\\" + name; }

std::wstring DeleteEventName(int32_t code, const std::wstring& name) {
    return L"delEvent_" + std::to_wstring(code) + name;
}

void StoreLittleEndian32(uint32_t value, uint8_t out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t LoadLittleEndian32(const uint8_t in[4]) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}

std::vector<uint8_t> BuildPacket(const void* data, uint32_t length, uint32_t type) {
    const size_t header = type == 0 ? 0 : 4;
    std::vector<uint8_t> bytes(header + length);
    if (header) StoreLittleEndian32(type, bytes.data());
    if (length && data) std::memcpy(bytes.data() + header, data, length);
    return bytes;
}

HandshakeReply ClassifyReply(uint32_t reply) {
    if (reply == 0) return HandshakeReply::Refused;
    if (reply == 1) return HandshakeReply::CodeTaken;
    return HandshakeReply::Accepted;
}

}  // namespace ipc
