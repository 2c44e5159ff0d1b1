// Many concurrent client processes, and clients that misbehave, against one server.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "launcher/services/ipc_named_pipe.h"
#include "launcher/services/ipc_wire.h"
#include "launcher/services/log.h"
#include "tests/services/echo_server.h"
#include "tests/services/peer_process.h"
#include "tests/services/pipe_server_start.h"
#include "tests/services/wait_until.h"
#include "tests/support/test_files.h"

using testing_support::PeerProcess;
using testing_support::UniquePipeName;

namespace {

// Open handles of this process. Wine answers GetProcessHandleCount with 0, so the
// handle table is probed instead: every value that names an open handle counts.
DWORD HandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    for (uintptr_t value = 4; value < 0x20000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

bool AllEnded(std::vector<std::unique_ptr<PeerProcess>>& peers) {
    for (auto& peer : peers)
        if (peer->Running()) return false;
    return true;
}

size_t CountInIpcLog(const std::string& text) {
    const std::string log = testing_support::ReadBytes(g_log->Folder() + L"log_IPC.log");
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
}

// One short round of everything the load test does, so that the handles the
// runtime creates once (thread pools, cached objects) exist before the count.
void WarmUp() {
    const std::wstring name = UniquePipeName(L"warm");
    auto server = StartServer(name);
    std::vector<std::unique_ptr<PeerProcess>> peers;
    peers.push_back(std::make_unique<PeerProcess>(L"echo " + name + L" 3 10"));
    ServeEchoes(*server, {3}, [&] { return AllEnded(peers); }, 20000);
    peers.clear();
    server.reset();
}

}  // namespace

TEST(IpcLoad, TwentyFourClientProcessesExchangeAThousandPacketsEach) {
    constexpr int kClients = 24;
    constexpr uint32_t kPackets = 1000;
    WarmUp();
    const DWORD handlesBefore = HandleCount();
    ASSERT_GT(handlesBefore, 0u);
    {
        const std::wstring name = UniquePipeName(L"load");
        auto server = StartServer(name);
        std::vector<std::unique_ptr<PeerProcess>> peers;
        std::set<int32_t> codes;
        const ULONGLONG start = GetTickCount64();
        for (int i = 0; i < kClients; ++i) {
            const int32_t code = 1000 + i;
            codes.insert(code);
            peers.push_back(std::make_unique<PeerProcess>(L"echo " + name + L" " + std::to_wstring(code) + L" " +
                                                          std::to_wstring(kPackets)));
            ASSERT_TRUE(peers.back()->started());
        }
        const EchoServeResult result = ServeEchoes(*server, codes, [&] { return AllEnded(peers); }, 170000);
        const ULONGLONG exchangeMs = ElapsedMs(start);
        std::printf("[ load ] %d clients x %u packets exchanged in %llu ms\n", kClients, kPackets, exchangeMs);

        for (int i = 0; i < kClients; ++i) {
            EXPECT_EQ(peers[i]->Wait(1000), 0) << "client " << 1000 + i;
            const auto echoed = result.echoed.find(1000 + i);
            EXPECT_TRUE(echoed != result.echoed.end() && echoed->second == kPackets) << "client " << 1000 + i;
        }
        EXPECT_EQ(result.wrongPackets, 0);
        EXPECT_EQ(result.discardedReads, 0);

        const ULONGLONG stopStart = GetTickCount64();
        server.reset();
        const ULONGLONG stopMs = ElapsedMs(stopStart);
        std::printf("[ load ] server teardown with %d departed clients: %llu ms\n", kClients, stopMs);
        EXPECT_LT(stopMs, 1700u);
    }
    const DWORD handlesAfter = HandleCount();
    std::printf("[ load ] handles of this process before %lu, after %lu\n", handlesBefore, handlesAfter);
    EXPECT_EQ(handlesAfter, handlesBefore);
}

TEST(IpcLoad, MisbehavingClientsDoNotStopTheServerServingOthers) {
    const std::wstring name = UniquePipeName(L"bad");
    const size_t droppedBefore = CountInIpcLog("client sent no code in time");
    auto server = StartServer(name);
    std::vector<std::unique_ptr<PeerProcess>> bad;
    // A client that connects and sends nothing, and one that sends 2 of the 4 code
    // bytes. While both sit in their handshake, another client registers at once;
    // both are dropped at the handshake bound and stay connected on their side.
    win32::unique_handle silentIn(CreateEventW(nullptr, TRUE, FALSE, (name + L"_silent").c_str()));
    win32::unique_handle halfIn(CreateEventW(nullptr, TRUE, FALSE, (name + L"_half").c_str()));
    bad.push_back(std::make_unique<PeerProcess>(L"silent " + name + L" 20000"));
    bad.push_back(std::make_unique<PeerProcess>(L"half " + name + L" 20000"));
    HANDLE both[2] = {silentIn.get(), halfIn.get()};
    ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 10000), WAIT_OBJECT_0);
    {
        IPCToolClassNamePipe prompt(IPC_ROLE_CLIENT);
        const ULONGLONG start = GetTickCount64();
        EXPECT_TRUE(prompt.Init(name, 1999));
        EXPECT_LT(ElapsedMs(start), 1000u);
    }
    EXPECT_TRUE(WaitUntil([&] { return CountInIpcLog("client sent no code in time") - droppedBefore == 2; }, 6000));
    EXPECT_TRUE(WaitUntil([&] { return server->ClientCount() == 0; }, 8000));  // 1999 left and was swept
    // A flood of garbage and a client that vanishes mid-record, while others work.
    bad.push_back(std::make_unique<PeerProcess>(L"flood " + name + L" 900 30000"));
    bad.push_back(std::make_unique<PeerProcess>(L"cut " + name + L" 901"));
    std::vector<std::unique_ptr<PeerProcess>> good;
    std::set<int32_t> codes;
    for (int i = 0; i < 4; ++i) {
        codes.insert(2000 + i);
        good.push_back(std::make_unique<PeerProcess>(L"echo " + name + L" " + std::to_wstring(2000 + i) + L" 200"));
    }
    const EchoServeResult result = ServeEchoes(*server, codes, [&] { return AllEnded(good); }, 90000);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(good[i]->Wait(1000), 0) << "client " << 2000 + i;
        const auto echoed = result.echoed.find(2000 + i);
        EXPECT_TRUE(echoed != result.echoed.end() && echoed->second == 200u) << "client " << 2000 + i;
    }
    EXPECT_EQ(result.wrongPackets, 0);
    EXPECT_GT(result.discardedReads, 0);  // the flood and the cut record were read away
    EXPECT_TRUE(server->HasClient(900));
    // The client that vanished mid-record is swept out once its bytes are read.
    EXPECT_TRUE(WaitUntil(
        [&] {
            ServeEchoes(*server, {}, [] { return true; }, 0);
            if (server->PeekClient() == 901) {
                uint8_t sink[64];
                server->RecvPacket(sink, sizeof sink, 901, 200);
            }
            return !server->HasClient(901);
        },
        10000));
    EXPECT_TRUE(bad[0]->Running());
    EXPECT_TRUE(bad[1]->Running());
    EXPECT_EQ(server->ClientCount(), 1u);

    // Teardown while a fresh client sits in the handshake and the flood still runs.
    PeerProcess stuck(L"silent " + name + L" 20000");
    Sleep(500);
    const ULONGLONG start = GetTickCount64();
    server.reset();
    EXPECT_LT(ElapsedMs(start), 1700u);
    EXPECT_GE(bad[2]->Wait(5000), 0);  // the flood's writes fail once the server is gone
}
