// The named-pipe transport against real peers: clients in this process and in
// separate processes (pipe_peer.exe).
#include "launcher/services/ipc_named_pipe.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "launcher/services/ipc_wire.h"
#include "launcher/services/log.h"
#include "tests/services/echo_packet.h"
#include "tests/services/peer_process.h"
#include "tests/services/pipe_server_start.h"
#include "tests/services/wait_until.h"
#include "tests/support/test_files.h"

using testing_support::PeerProcess;
using testing_support::UniquePipeName;

namespace {

std::unique_ptr<IPCToolClassNamePipe> Connect(const std::wstring& name, int32_t code) {
    auto client = std::make_unique<IPCToolClassNamePipe>(IPC_ROLE_CLIENT);
    for (int attempt = 0; attempt < 10 && !client->Init(name, code); ++attempt) Sleep(100);
    return client;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

}  // namespace

TEST(IpcWire, NamesAndFraming) {
    EXPECT_EQ(ipc::PipePath(L"TessikCtrl"), L"\\\\.\\pipe\\TessikCtrl");
    EXPECT_EQ(ipc::DeleteEventName(4096, L"TessikCtrl"), L"delEvent_4096TessikCtrl");
    EXPECT_EQ(ipc::DeleteEventName(-7, L"X"), L"delEvent_-7X");

    const uint8_t payload[3] = {0xAA, 0xBB, 0xCC};
    EXPECT_EQ(ipc::BuildPacket(payload, 3, 0), Bytes({0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(ipc::BuildPacket(payload, 3, 0x01020304), Bytes({4, 3, 2, 1, 0xAA, 0xBB, 0xCC}));

    EXPECT_EQ(ipc::ClassifyReply(0), ipc::HandshakeReply::Refused);
    EXPECT_EQ(ipc::ClassifyReply(1), ipc::HandshakeReply::CodeTaken);
    EXPECT_EQ(ipc::ClassifyReply(2), ipc::HandshakeReply::Accepted);
    EXPECT_EQ(ipc::ClassifyReply(0xFFFFFFFFu), ipc::HandshakeReply::Accepted);  // negative codes echo as well
}

TEST(IpcNamedPipe, InertObjectAndUnknownTargetsFail) {
    IPCToolClassNamePipe inert(7);
    EXPECT_EQ(inert.role(), IPC_ROLE_NONE);
    EXPECT_FALSE(inert.Init(L"whatever", 5));
    uint8_t byte = 1;
    EXPECT_FALSE(inert.SendPacket(&byte, 1, 5, 0));
    EXPECT_FALSE(inert.RecvPacket(&byte, 1, 5, 100));
    EXPECT_EQ(inert.PeekClient(), 0);

    const std::wstring name = UniquePipeName(L"unknown");
    auto server = StartServer(name);
    auto client = Connect(name, 4096);
    ASSERT_TRUE(WaitUntil([&] { return server->HasClient(4096); }, 3000));
    EXPECT_FALSE(server->SendPacket(&byte, 1, 4097, 2));
    EXPECT_FALSE(server->RecvPacket(&byte, 1, 4097, 100));
    // Nothing was written to the registered client either.
    Sleep(100);
    EXPECT_EQ(client->PeekClient(), 0);

    // A client without a server fails to register.
    IPCToolClassNamePipe orphan(IPC_ROLE_CLIENT);
    EXPECT_FALSE(orphan.Init(UniquePipeName(L"nobody"), 5));
}

TEST(IpcNamedPipe, PacketsBothWaysWithAndWithoutType) {
    const std::wstring name = UniquePipeName(L"frames");
    auto server = StartServer(name);
    auto client = Connect(name, 4096);
    ASSERT_TRUE(WaitUntil([&] { return server->HasClient(4096); }, 3000));

    const uint8_t payload[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(server->SendPacket(payload, 8, 4096, 2));
    ASSERT_TRUE(WaitUntil([&] { return client->PeekClient() == 1; }, 2000));
    uint8_t received[12] = {};
    ASSERT_TRUE(client->RecvPacket(received, 12, 0));
    EXPECT_EQ(std::vector<uint8_t>(received, received + 12), Bytes({2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(client->PeekClient(), 0);

    ASSERT_TRUE(client->SendPacket(payload, 8, 0, 0));  // type 0: payload alone
    ASSERT_TRUE(WaitUntil([&] { return server->PeekClient() == 4096; }, 2000));
    uint8_t back[8] = {};
    ASSERT_TRUE(server->RecvPacket(back, 8, 4096, 2000));
    EXPECT_EQ(std::vector<uint8_t>(back, back + 8), std::vector<uint8_t>(payload, payload + 8));
    EXPECT_EQ(server->PeekClient(), 0);

    // A read that cannot be satisfied ends at its bound instead of hanging.
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(server->RecvPacket(back, 8, 4096, 300));
    EXPECT_LT(ElapsedMs(start), 2000u);
}

TEST(IpcNamedPipe, PeerProcessExchangesPackets) {
    const std::wstring name = UniquePipeName(L"peer");
    auto server = StartServer(name);
    PeerProcess peer(L"echo " + name + L" 5150 200");
    ASSERT_TRUE(peer.started());
    int echoed = 0;
    const ULONGLONG start = GetTickCount64();
    while (peer.Running() && ElapsedMs(start) < 60000) {
        const int32_t code = server->PeekClient();
        if (code == 0) {
            Sleep(1);
            continue;
        }
        uint8_t packet[64];
        ASSERT_TRUE(server->RecvPacket(packet, 64, code, 2000));
        ASSERT_EQ(code, 5150);
        ASSERT_TRUE(IsEchoPacket(packet + 4, code, static_cast<uint32_t>(echoed)));
        ASSERT_TRUE(server->SendPacket(packet + 4, 60, code, kEchoType));
        ++echoed;
    }
    EXPECT_EQ(peer.Wait(5000), 0);
    EXPECT_EQ(echoed, 200);

    const std::string log = testing_support::ReadBytes(g_log->Folder() + L"log_IPC.log");
    EXPECT_NE(log.find(testing_support::Gbk(ipc::PipePath(name)) + " Server insert ResourceMap suceess, Code = :5150"),
              std::string::npos);
}

TEST(IpcNamedPipe, DuplicateCodeRetriesUnderProcessIdPlusCode) {
    const std::wstring name = UniquePipeName(L"dup");
    auto server = StartServer(name);
    PeerProcess first(L"hold " + name + L" 4096 20000");
    ASSERT_TRUE(WaitUntil([&] { return server->HasClient(4096); }, 10000));

    IPCToolClassNamePipe second(IPC_ROLE_CLIENT);
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(second.Init(name, 4096));
    EXPECT_GE(ElapsedMs(start), 490u);  // the pause before the retry
    const int32_t retried = static_cast<int32_t>(GetCurrentProcessId() + 4096);
    EXPECT_TRUE(server->HasClient(retried));
    EXPECT_TRUE(server->HasClient(4096));  // the first registration stays
    EXPECT_EQ(server->ClientCount(), 2u);
    EXPECT_TRUE(first.Running());
}

TEST(IpcNamedPipe, CodesZeroAndOne) {
    const std::wstring name = UniquePipeName(L"zero");
    auto server = StartServer(name);

    IPCToolClassNamePipe zero(IPC_ROLE_CLIENT);
    EXPECT_FALSE(zero.Init(name, 0));  // the echo 0 reads as a refusal
    EXPECT_TRUE(WaitUntil([&] { return server->HasClient(0); }, 1000));

    IPCToolClassNamePipe one(IPC_ROLE_CLIENT);
    ASSERT_TRUE(one.Init(name, 1));  // the echo 1 reads as "taken"
    const int32_t retried = static_cast<int32_t>(GetCurrentProcessId() + 1);
    EXPECT_TRUE(server->HasClient(retried));
    // The client dropped its first connection before retrying; the sweep frees that
    // entry (and its pipe instance) while the retried registration stays.
    ASSERT_TRUE(WaitUntil([&] { return server->WatchDeleteEventList() && !server->HasClient(1); }, 3000));
    EXPECT_TRUE(server->HasClient(retried));
    EXPECT_TRUE(server->HasClient(0));  // its client is still connected
}

TEST(IpcNamedPipe, PeekClientFindsTheClientWithData) {
    const std::wstring name = UniquePipeName(L"peek");
    auto server = StartServer(name);
    auto a = Connect(name, 10);
    auto b = Connect(name, 20);
    auto c = Connect(name, 30);
    ASSERT_TRUE(WaitUntil([&] { return server->ClientCount() == 3; }, 5000));
    EXPECT_EQ(server->PeekClient(), 0);

    const uint8_t data[6] = {9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(b->SendPacket(data, 6, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return server->PeekClient() == 20; }, 2000));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(server->PeekClient(), 20);
    uint8_t sink[6];
    ASSERT_TRUE(server->RecvPacket(sink, 6, 20, 1000));
    EXPECT_EQ(server->PeekClient(), 0);

    // Two clients with data are served in turn; neither hides the other.
    ASSERT_TRUE(a->SendPacket(data, 6, 0, 0));
    ASSERT_TRUE(c->SendPacket(data, 6, 0, 0));
    Sleep(200);
    std::map<int32_t, int> seen;
    for (int i = 0; i < 6; ++i) ++seen[server->PeekClient()];
    EXPECT_EQ(seen[10], 3);
    EXPECT_EQ(seen[30], 3);
}

TEST(IpcNamedPipe, LeavingClientIsKeptUntilItsDataIsRead) {
    const std::wstring name = UniquePipeName(L"leave");
    auto server = StartServer(name);
    auto stays = Connect(name, 40);
    auto leaves = Connect(name, 50);
    ASSERT_TRUE(WaitUntil([&] { return server->ClientCount() == 2; }, 5000));
    const uint8_t data[4] = {1, 2, 3, 4};
    ASSERT_TRUE(leaves->SendPacket(data, 4, 0, 0));
    leaves.reset();  // sets the delete event

    ASSERT_TRUE(server->WatchDeleteEventList());
    EXPECT_TRUE(server->HasClient(50));
    ASSERT_TRUE(WaitUntil([&] { return server->PeekClient() == 50; }, 2000));
    uint8_t sink[4];
    ASSERT_TRUE(server->RecvPacket(sink, 4, 50, 1000));
    EXPECT_EQ(std::vector<uint8_t>(sink, sink + 4), std::vector<uint8_t>(data, data + 4));
    // The accept thread's own sweep removes it now that its pipe is empty.
    EXPECT_TRUE(WaitUntil([&] { return !server->HasClient(50); }, 8000));
    EXPECT_TRUE(server->HasClient(40));
    EXPECT_EQ(server->ClientCount(), 1u);
}

TEST(IpcNamedPipe, TeardownIsBoundedWithAndWithoutClients) {
    const std::wstring name = UniquePipeName(L"down");
    {
        auto server = StartServer(name);
        Sleep(300);
        const ULONGLONG start = GetTickCount64();
        server.reset();
        EXPECT_LT(ElapsedMs(start), 1700u);
    }
    auto server = StartServer(name);
    auto client = Connect(name, 77);
    ASSERT_TRUE(WaitUntil([&] { return server->HasClient(77); }, 3000));
    const ULONGLONG start = GetTickCount64();
    server.reset();
    EXPECT_LT(ElapsedMs(start), 1700u);
    // The server closed its ends: the client's sends now fail.
    const uint8_t byte = 0;
    EXPECT_TRUE(WaitUntil([&] { return !client->SendPacket(&byte, 1, 0, 0); }, 2000));
}
