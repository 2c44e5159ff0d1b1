// The control channel against a client process that speaks its protocol.
#include "launcher/services/control_channel.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "launcher/services/ipc_wire.h"
#include "launcher/services/log.h"
#include "tests/services/peer_process.h"
#include "tests/services/wait_until.h"
#include "tests/support/test_files.h"

using testing_support::PeerProcess;
using testing_support::TempDir;
using testing_support::UniquePipeName;

namespace {

InteractionRecord RecordStartingWith(uint32_t first) {
    InteractionRecord record{};
    ipc::StoreLittleEndian32(first, record.data());
    record.back() = 0x5A;
    return record;
}

std::vector<std::string> Lines(const std::wstring& path) {
    std::istringstream text(testing_support::ReadBytes(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// A second packet channel that records what it is given.
class RecordingChannel : public IPCToolClassBase {
public:
    bool SendPacket(const void* data, uint32_t length, int32_t code, uint32_t type) override {
        services::CriticalSectionLock lock(lock_);
        const auto* bytes = static_cast<const uint8_t*>(data);
        sent_.push_back({code, type, length, length >= 4 ? ipc::LoadLittleEndian32(bytes) : 0});
        return true;
    }
    struct Sent {
        int32_t code;
        uint32_t type, length, first;
    };
    std::vector<Sent> sent() {
        services::CriticalSectionLock lock(lock_);
        return sent_;
    }

private:
    services::CriticalSection lock_;
    std::vector<Sent> sent_;
};

class ControlChannel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(channel_.StartInteraction());
        ASSERT_NE(channel_.Pipe(), nullptr);
    }
    void TearDown() override { channel_.StopInteraction(); }

    std::unique_ptr<PeerProcess> StartClient(int32_t code, uint32_t first) {
        return std::make_unique<PeerProcess>(L"ctrl " + name_ + L" " + std::to_wstring(code) + L" " +
                                             std::to_wstring(first) + L" \"" + log_ + L"\"");
    }
    void Signal(const wchar_t* suffix) {
        win32::unique_handle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, (name_ + suffix).c_str()));
        ASSERT_TRUE(event);
        SetEvent(event.get());
    }

    std::wstring name_ = UniquePipeName(L"ctrl");
    CFuncInteraction channel_{name_};
    TempDir dir_{L"ctrl"};
    std::wstring log_ = dir_ / L"client.log";
};

}  // namespace

TEST_F(ControlChannel, ReadyRecordMakesTheChannelReadyWithinAboutASecond) {
    EXPECT_FALSE(channel_.IsReady());
    auto client = StartClient(300, READY_CODE);
    ASSERT_TRUE(WaitUntil([&] { return channel_.Pipe()->HasClient(300); }, 10000));
    const ULONGLONG registered = GetTickCount64();
    ASSERT_TRUE(WaitUntil([&] { return channel_.IsReady(); }, 3000));
    EXPECT_LT(ElapsedMs(registered), 2500u);  // the next poll cycle reads it
    EXPECT_EQ(channel_.ClientCode(), 300);
}

TEST_F(ControlChannel, OtherRecordsLeaveItNotReady) {
    auto client = StartClient(301, READY_CODE + 1);
    ASSERT_TRUE(WaitUntil([&] { return channel_.ClientCode() == 301; }, 10000));
    Sleep(1500);  // more than a poll cycle after the record was read
    EXPECT_FALSE(channel_.IsReady());
    // Queued data is held back while the client is not ready.
    channel_.QueueClientRecord(RecordStartingWith(1));
    Sleep(2200);
    EXPECT_TRUE(Lines(log_).empty());
}

TEST_F(ControlChannel, QueuedNoticeAndRecordsReachTheClientInOrderUntilTheGameEnds) {
    channel_.QueueClientRecord(RecordStartingWith(11));
    channel_.QueueClientRecord(RecordStartingWith(12));
    InteractionNotice notice{};
    ipc::StoreLittleEndian32(77, notice.data());
    channel_.SetNotice(notice);
    channel_.QueueClientRecord(RecordStartingWith(13));

    auto client = StartClient(302, READY_CODE);
    ASSERT_TRUE(WaitUntil([&] { return Lines(log_).size() >= 4; }, 15000));
    EXPECT_EQ(Lines(log_), (std::vector<std::string>{"3 77", "2 11", "2 12", "2 13"}));

    // After the game ended nothing goes out until the client is ready again.
    channel_.ResetReadiness();
    EXPECT_FALSE(channel_.IsReady());
    channel_.QueueClientRecord(RecordStartingWith(14));
    Sleep(2200);
    EXPECT_EQ(Lines(log_).size(), 4u);
    Signal(L"_again");
    ASSERT_TRUE(WaitUntil([&] { return Lines(log_).size() >= 5; }, 5000));
    EXPECT_EQ(Lines(log_).back(), "2 14");
    EXPECT_TRUE(channel_.IsReady());
    Signal(L"_quit");
    EXPECT_EQ(client->Wait(5000), 0);
}

TEST_F(ControlChannel, GarbageFromOneClientDoesNotHideTheReadyClient) {
    // The flooder has the lower code, so it comes first in the client table.
    auto flood = std::make_unique<PeerProcess>(L"flood " + name_ + L" 100 30000");
    ASSERT_TRUE(WaitUntil([&] { return channel_.Pipe()->HasClient(100); }, 10000));
    auto client = StartClient(200, READY_CODE);
    ASSERT_TRUE(WaitUntil([&] { return channel_.IsReady(); }, 8000));
    EXPECT_EQ(channel_.ClientCode(), 200);
    const std::string log = testing_support::ReadBytes(g_log->Folder() + L"log_IPC.log");
    EXPECT_NE(log.find("from client 100 ignored"), std::string::npos);
}

TEST_F(ControlChannel, ClientThatStallsInsideARecordCannotHoldTheChannel) {
    auto stalled = std::make_unique<PeerProcess>(L"stall " + name_ + L" 303 30000");
    ASSERT_TRUE(WaitUntil([&] { return channel_.ClientCode() == 303; }, 10000));
    // The poll thread is now inside the bounded read of the record.
    const ULONGLONG start = GetTickCount64();
    channel_.StopInteraction();
    EXPECT_LT(ElapsedMs(start), 4000u);
    EXPECT_FALSE(channel_.IsReady());  // half a record is no ready record
    EXPECT_EQ(channel_.Pipe(), nullptr);
}

TEST_F(ControlChannel, SecondaryChannelGetsItsRecordsOnlyWhileEnabled) {
    RecordingChannel secondary;
    channel_.SetSecondaryChannel(&secondary, 9);
    channel_.QueueSecondaryRecord(RecordStartingWith(21));
    channel_.QueueSecondaryRecord(RecordStartingWith(22));
    Sleep(1200);
    EXPECT_TRUE(secondary.sent().empty());
    channel_.EnableSecondary(true);
    ASSERT_TRUE(WaitUntil([&] { return secondary.sent().size() == 2; }, 3000));
    const auto sent = secondary.sent();
    EXPECT_EQ(sent[0].first, 21u);
    EXPECT_EQ(sent[1].first, 22u);
    for (const auto& packet : sent) {
        EXPECT_EQ(packet.code, 9);
        EXPECT_EQ(packet.type, MSG_RECORD);
        EXPECT_EQ(packet.length, INTERACTION_RECORD_SIZE);
    }
    channel_.ResetReadiness();  // also disables the secondary channel
    channel_.QueueSecondaryRecord(RecordStartingWith(23));
    Sleep(2200);
    EXPECT_EQ(secondary.sent().size(), 2u);
}
