#include "common/win32/thread_owner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Collects the owner's diagnostics; the sink runs on the owner's and the worker's threads.
struct Diagnostics {
    std::mutex lock;
    std::vector<std::wstring> lines;
    win32::ThreadOwner::DiagnosticSink Sink() {
        return [this](const std::wstring& text) {
            std::lock_guard<std::mutex> guard(lock);
            lines.push_back(text);
        };
    }
    std::vector<std::wstring> Taken() {
        std::lock_guard<std::mutex> guard(lock);
        return lines;
    }
};

bool AnyContains(const std::vector<std::wstring>& lines, const std::wstring& part) {
    for (const auto& line : lines)
        if (line.find(part) != std::wstring::npos) return true;
    return false;
}

TEST(ThreadOwnerTest, StopSignalEndsAWaitingBodyAndTheJoinTakesIt) {
    Diagnostics diagnostics;
    win32::ThreadOwner owner(L"waiter", diagnostics.Sink());
    std::atomic<int> rounds{0};
    std::atomic<bool> sawStop{false};
    ASSERT_TRUE(owner.Start([&](const win32::StopSignal& stop) {
        // Bounded: without a stop the body ends by itself after about a minute.
        for (int i = 0; i < 600 && !stop.WaitFor(100); ++i) ++rounds;
        sawStop = stop.Requested();
    }));
    EXPECT_TRUE(owner.Owned());
    EXPECT_FALSE(owner.Stop().Requested());
    EXPECT_EQ(owner.StopAndJoin(30000), win32::JoinResult::Joined);
    EXPECT_TRUE(sawStop);
    EXPECT_FALSE(owner.Owned());
    EXPECT_TRUE(diagnostics.Taken().empty());
    // A second join finds nothing to join.
    EXPECT_EQ(owner.StopAndJoin(), win32::JoinResult::NotStarted);
}

TEST(ThreadOwnerTest, StopEventIsSetForWaitsOnHandles) {
    win32::ThreadOwner owner(L"handle waiter");
    std::atomic<DWORD> woke{WAIT_FAILED};
    ASSERT_TRUE(owner.Start([&](const win32::StopSignal& stop) {
        HANDLE handles[] = {stop.Event()};
        woke = WaitForMultipleObjects(1, handles, FALSE, 60000);
    }));
    ASSERT_NE(owner.Stop().Event(), nullptr);
    EXPECT_EQ(owner.StopAndJoin(30000), win32::JoinResult::Joined);
    EXPECT_EQ(woke.load(), WAIT_OBJECT_0);
}

TEST(ThreadOwnerTest, BoundedJoinReportsAThreadThatWillNotEndByName) {
    Diagnostics diagnostics;
    win32::ThreadOwner owner(L"stubborn worker", diagnostics.Sink());
    win32::unique_handle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release);
    // The body ignores the stop signal and waits only for the test's own event.
    ASSERT_TRUE(owner.Start([&](const win32::StopSignal&) { WaitForSingleObject(release.get(), 60000); }));
    owner.RequestStop();
    EXPECT_EQ(owner.TryJoin(50), win32::JoinResult::TimedOut);
    EXPECT_TRUE(owner.Owned());
    const auto lines = diagnostics.Taken();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"stubborn worker"), std::wstring::npos);
    EXPECT_NE(lines[0].find(L"did not end"), std::wstring::npos);
    // A thread that will not start again is refused while the old one is owned.
    EXPECT_FALSE(owner.Start([](const win32::StopSignal&) {}));

    SetEvent(release.get());
    EXPECT_EQ(owner.TryJoin(30000), win32::JoinResult::Joined);
    EXPECT_FALSE(owner.Owned());
}

TEST(ThreadOwnerTest, StopAndJoinWaitsOutASlowThreadAndSaysSo) {
    Diagnostics diagnostics;
    win32::ThreadOwner owner(L"slow", diagnostics.Sink());
    std::atomic<bool> finished{false};
    ASSERT_TRUE(owner.Start([&](const win32::StopSignal& stop) {
        while (!stop.Requested()) Sleep(5);
        Sleep(300);  // longer than the report bound below
        finished = true;
    }));
    EXPECT_EQ(owner.StopAndJoin(20), win32::JoinResult::JoinedLate);
    // The owner's state outlives the body: the join returned only after it ended.
    EXPECT_TRUE(finished);
    const auto lines = diagnostics.Taken();
    EXPECT_TRUE(AnyContains(lines, L"slow: did not end within 20 ms"));
    EXPECT_TRUE(AnyContains(lines, L"slow: ended late"));
}

TEST(ThreadOwnerTest, RestartsAfterAJoinWithAClearedSignal) {
    win32::ThreadOwner owner(L"restartable");
    std::atomic<int> runs{0};
    auto body = [&](const win32::StopSignal& stop) {
        ++runs;
        for (int i = 0; i < 600 && !stop.WaitFor(100); ++i) {
        }
    };
    ASSERT_TRUE(owner.Start(body));
    EXPECT_EQ(owner.StopAndJoin(30000), win32::JoinResult::Joined);
    ASSERT_TRUE(owner.Start(body));
    EXPECT_FALSE(owner.Stop().Requested());
    EXPECT_EQ(owner.StopAndJoin(30000), win32::JoinResult::Joined);
    EXPECT_EQ(runs.load(), 2);
}

TEST(ThreadOwnerTest, ExceptionLeavingTheBodyIsCaughtAndReported) {
    Diagnostics diagnostics;
    win32::ThreadOwner owner(L"thrower", diagnostics.Sink());
    ASSERT_TRUE(owner.Start([](const win32::StopSignal&) { throw std::runtime_error("boom"); }));
    EXPECT_EQ(owner.TryJoin(30000), win32::JoinResult::Joined);
    EXPECT_TRUE(AnyContains(diagnostics.Taken(), L"thrower: ended by an exception"));
}

TEST(ThreadOwnerTest, EmptyBodyIsRefused) {
    win32::ThreadOwner owner(L"empty");
    EXPECT_FALSE(owner.Start({}));
    EXPECT_FALSE(owner.Owned());
}

TEST(ThreadOwnerTest, DestructorStopsAndJoins) {
    std::atomic<bool> ended{false};
    {
        win32::ThreadOwner owner(L"scoped");
        ASSERT_TRUE(owner.Start([&](const win32::StopSignal& stop) {
            for (int i = 0; i < 600 && !stop.WaitFor(100); ++i) {
            }
            ended = true;
        }));
    }
    EXPECT_TRUE(ended);
}

}  // namespace
