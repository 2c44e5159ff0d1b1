// The other side of the named-pipe protocol, as a separate process for the tests:
// well-behaved clients (echo exchange, control-channel client) and malicious ones.
//
//   pipe_peer echo   <pipe> <code> <packets>      register, exchange packets, verify echoes
//   pipe_peer hold   <pipe> <code> <ms>           register and stay connected
//   pipe_peer ctrl   <pipe> <code> <first> <log>  control client, see RunControlClient
//   pipe_peer silent <pipe> <ms>                  connect and send nothing (then sets <pipe>_silent)
//   pipe_peer half   <pipe> <ms>                  send 2 of the 4 code bytes (then sets <pipe>_half)
//   pipe_peer cut    <pipe> <code>                register, send half a record, vanish
//   pipe_peer stall  <pipe> <code> <ms>           register, send half a record, stay
//   pipe_peer flood  <pipe> <code> <ms>           register, then send garbage
// Exit code 0 means the mode did what it should; 2 = registration failed, 3 = data wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/win32/unique_handle.h"
#include "launcher/services/ipc_named_pipe.h"
#include "tests/services/echo_packet.h"

namespace {

constexpr uint32_t kRecordSize = 5212;

void StoreU32(uint8_t* out, uint32_t value) { std::memcpy(out, &value, 4); }
uint32_t LoadU32(const uint8_t* in) {
    uint32_t value;
    std::memcpy(&value, in, 4);
    return value;
}

win32::unique_file Connect(const std::wstring& pipe) {
    const std::wstring path = L"\\\\.\\pipe\\" + pipe;
    if (!WaitNamedPipeW(path.c_str(), 5000)) return {};
    return win32::unique_file(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Register(IPCToolClassNamePipe& client, const std::wstring& pipe, int32_t code) {
    // The server may be busy with another handshake; a failed Init may be repeated.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (client.Init(pipe, code)) return true;
        Sleep(100);
    }
    return false;
}

int RunEcho(const std::wstring& pipe, int32_t code, int packets) {
    IPCToolClassNamePipe client(IPC_ROLE_CLIENT);
    if (!Register(client, pipe, code)) return 2;
    constexpr int kBatch = 50;
    for (int sent = 0; sent < packets;) {
        const int batch = packets - sent < kBatch ? packets - sent : kBatch;
        for (int i = 0; i < batch; ++i) {
            const EchoPacket packet = MakeEchoPacket(code, static_cast<uint32_t>(sent + i));
            if (!client.SendPacket(packet.payload, sizeof packet.payload, 0, kEchoType)) return 3;
        }
        for (int i = 0; i < batch; ++i) {
            uint8_t bytes[4 + sizeof(EchoPacket::payload)];
            if (!client.RecvPacket(bytes, sizeof bytes, 0)) return 3;
            if (LoadU32(bytes) != kEchoType) return 3;
            if (!IsEchoPacket(bytes + 4, code, static_cast<uint32_t>(sent + i))) return 3;
        }
        sent += batch;
    }
    return 0;
}

int RunHold(const std::wstring& pipe, int32_t code, DWORD ms) {
    IPCToolClassNamePipe client(IPC_ROLE_CLIENT);
    if (!client.Init(pipe, code)) return 2;
    Sleep(ms);
    return 0;
}

// Registers, sends one record whose first field is `first`, then logs every packet
// of the launcher as "<type> <first field>" lines into `logPath`. The named event
// "<pipe>_again" makes it send a ready record (5000) once more; "<pipe>_quit" or
// 30 s end it.
int RunControlClient(const std::wstring& pipe, int32_t code, uint32_t first, const std::wstring& logPath) {
    IPCToolClassNamePipe client(IPC_ROLE_CLIENT);
    if (!Register(client, pipe, code)) return 2;
    win32::unique_handle again(CreateEventW(nullptr, FALSE, FALSE, (pipe + L"_again").c_str()));
    win32::unique_handle quit(CreateEventW(nullptr, TRUE, FALSE, (pipe + L"_quit").c_str()));
    std::vector<uint8_t> record(kRecordSize, 0xAB);
    StoreU32(record.data(), first);
    if (!client.SendPacket(record.data(), kRecordSize, 0, 2)) return 3;
    FILE* log = _wfopen(logPath.c_str(), L"ab");
    if (!log) return 3;
    const ULONGLONG deadline = GetTickCount64() + 30000;
    int result = 0;
    while (GetTickCount64() < deadline && WaitForSingleObject(quit.get(), 0) != WAIT_OBJECT_0) {
        if (WaitForSingleObject(again.get(), 0) == WAIT_OBJECT_0) {
            StoreU32(record.data(), 5000);
            if (!client.SendPacket(record.data(), kRecordSize, 0, 2)) result = 3;
        }
        if (!client.PeekClient()) {
            Sleep(20);
            continue;
        }
        uint8_t type[4];
        if (!client.RecvPacket(type, 4, 0)) break;
        const uint32_t kind = LoadU32(type);
        std::vector<uint8_t> body(kind == 2 ? kRecordSize : kind == 3 ? 8 : 0);
        if (body.empty() || !client.RecvPacket(body.data(), static_cast<uint32_t>(body.size()), 0)) {
            std::fprintf(log, "bad %u\n", kind);
        } else {
            std::fprintf(log, "%u %u\n", kind, LoadU32(body.data()));
        }
        std::fflush(log);
    }
    std::fclose(log);
    return result;
}

int RunSilent(const std::wstring& pipe, DWORD ms, bool halfCode) {
    win32::unique_file end = Connect(pipe);
    if (!end) return 2;
    if (halfCode) {
        const uint8_t two[2] = {0x39, 0x30};
        DWORD written = 0;
        WriteFile(end.get(), two, 2, &written, nullptr);
    }
    // Tells the test that this client is now inside its handshake.
    win32::unique_handle connected(
        CreateEventW(nullptr, TRUE, FALSE, (pipe + (halfCode ? L"_half" : L"_silent")).c_str()));
    if (connected) SetEvent(connected.get());
    Sleep(ms);
    return 0;
}

int RunCut(const std::wstring& pipe, int32_t code, DWORD stallMs) {
    IPCToolClassNamePipe client(IPC_ROLE_CLIENT);
    if (!Register(client, pipe, code)) return 2;
    std::vector<uint8_t> half(4 + 100, 0);
    StoreU32(half.data(), 2);
    StoreU32(half.data() + 4, 5000);
    client.SendPacket(half.data(), static_cast<uint32_t>(half.size()), 0, 0);
    if (stallMs) {
        Sleep(stallMs);
        return 0;
    }
    // Vanish like a crash: no teardown, no delete event.
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

int RunFlood(const std::wstring& pipe, int32_t code, DWORD ms) {
    IPCToolClassNamePipe client(IPC_ROLE_CLIENT);
    if (!Register(client, pipe, code)) return 2;
    std::vector<uint8_t> garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 131 + 7);
    // Writes block while the server's buffer is full; the server's teardown ends them.
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (GetTickCount64() < deadline) {
        if (!client.SendPacket(garbage.data(), static_cast<uint32_t>(garbage.size()), 0, 0)) break;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 64;
    const std::wstring mode = argv[1];
    const std::wstring pipe = argv[2];
    auto number = [&](int index) { return index < argc ? static_cast<long>(std::wcstoul(argv[index], nullptr, 10)) : 0L; };
    if (mode == L"echo") return RunEcho(pipe, number(3), number(4));
    if (mode == L"hold") return RunHold(pipe, number(3), number(4));
    if (mode == L"ctrl" && argc >= 6) return RunControlClient(pipe, number(3), number(4), argv[5]);
    if (mode == L"silent") return RunSilent(pipe, number(3), false);
    if (mode == L"half") return RunSilent(pipe, number(3), true);
    if (mode == L"cut") return RunCut(pipe, number(3), 0);
    if (mode == L"stall") return RunCut(pipe, number(3), number(4));
    if (mode == L"flood") return RunFlood(pipe, number(3), number(4));
    return 64;
}
