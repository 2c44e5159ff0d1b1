// The server side of the load and malicious-client tests: answers every echo packet
// of the expected clients and reads away whatever anyone else sends.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>

#include "launcher/services/ipc_named_pipe.h"
#include "tests/services/echo_packet.h"

struct EchoServeResult {
    std::map<int32_t, uint32_t> echoed;  // per echo client, packets answered in order
    int wrongPackets = 0;                // out of order, wrong sender, or cut short
    int discardedReads = 0;              // reads from clients outside `echoCodes`
};

// Serves until `done()` is true or `timeoutMs` passed.
inline EchoServeResult ServeEchoes(IPCToolClassNamePipe& server, const std::set<int32_t>& echoCodes,
                                   const std::function<bool()>& done, DWORD timeoutMs) {
    EchoServeResult result;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done() && GetTickCount64() < deadline) {
        const int32_t code = server.PeekClient();
        if (code == 0) {
            Sleep(1);
            continue;
        }
        uint8_t packet[64];
        if (!echoCodes.count(code)) {
            server.RecvPacket(packet, sizeof packet, code, 200);
            ++result.discardedReads;
            continue;
        }
        uint32_t& next = result.echoed[code];
        if (!server.RecvPacket(packet, sizeof packet, code, 2000) || packet[0] != kEchoType ||
            !IsEchoPacket(packet + 4, code, next)) {
            ++result.wrongPackets;
            continue;
        }
        if (!server.SendPacket(packet + 4, 60, code, kEchoType)) {
            ++result.wrongPackets;
            continue;
        }
        ++next;
    }
    return result;
}
