// Usage reports: the body text, and the collector against a local receiver.
#include "launcher/services/data_collector.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "errorlog/error_log.h"
#include "launcher/services/adapter_address.h"
#include "launcher/services/log.h"
#include "launcher/services/usage_report.h"
#include "launcher/util/md5.h"
#include "tests/services/stats_receiver.h"
#include "tests/services/wait_until.h"
#include "tests/support/test_files.h"

using testing_support::StatsReceiver;

namespace {

const std::string kAddress = "00-1A-2B-3C-4D-5E";
const std::string kStartupBody = "&SoftwareID=181&macAdd=00-1A-2B-3C-4D-5E&chk=" +
                                 Md5Hex(std::string("18100-1A-2B-3C-4D-5E") + "Hq2Wd7LX)3KTtRJfPa");

CDataCollector::AddressSource FixedAddress(const std::string& address) {
    return [address](std::string& out) {
        out = address;
        return true;
    };
}

size_t Count(const std::string& haystack, const std::string& needle) {
    size_t count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++count;
    return count;
}

std::string TraceLog() { return testing_support::ReadBytes(g_log->Folder() + L"log_inter.log"); }

}  // namespace

TEST(UsageReport, AdapterQueryThatDoesNotFitFails) {
    std::string address = "unchanged";
    // Real adapter records are far larger than 8 bytes: the query needs more room
    // (or finds no adapter) and the text stays as it was.
    EXPECT_FALSE(usage::QueryFirstAdapterAddress(address, 8));
    EXPECT_EQ(address, "unchanged");
}

TEST(DataCollector, StartupAndFeatureReportsReachTheEndpoint) {
    StatsReceiver receiver;
    ASSERT_TRUE(receiver.listening());
    const size_t postsBefore = Count(TraceLog(), "post end");
    auto collector = std::make_unique<CDataCollector>(receiver.Url(), FixedAddress(kAddress));
    ASSERT_TRUE(collector->StartCollector());
    EXPECT_TRUE(collector->AddUsageRecord());
    EXPECT_TRUE(collector->AddFeatureRecord(42));
    ASSERT_TRUE(WaitUntil([&] { return collector->AcceptedCount() == 2; }, 10000));
    collector->StopCollector();

    const auto requests = receiver.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "POST /tools/game_box/pts/web/Zorvik_usage.php HTTP/1.1");
    EXPECT_EQ(requests[0].body, kStartupBody);
    EXPECT_EQ(requests[1].body, "&SoftwareID=181&FeaturesID=42&macAdd=" + kAddress + "&chk=" + kStartupBody.substr(45));
    EXPECT_EQ(collector->FailedCount(), 0);

    const std::string log = TraceLog();
    EXPECT_EQ(Count(log, "post end") - postsBefore, 2u);
    EXPECT_NE(log.find("\tdcollcpp:jianshi bg thred\r\n"), std::string::npos);
    EXPECT_NE(log.find("\tdcollcpp:all over\r\n"), std::string::npos);
}

// Sends error records to a temporary folder for the duration of a test.
class ErrorRecordsIn {
public:
    explicit ErrorRecordsIn(const std::wstring& folder) { Util::Log::SetOutputFolder(folder); }
    ~ErrorRecordsIn() { Util::Log::SetOutputFolder(L""); }
};

TEST(DataCollector, OnlyTheSingleCharacterOneIsAccepted) {
    testing_support::TempDir errors(L"errlog");
    ErrorRecordsIn redirect(errors.path());
    for (const char* answer : {"1\r\n", "11", ""}) {
        StatsReceiver receiver({.response = answer});
        CDataCollector collector(receiver.Url(), FixedAddress(kAddress));
        ASSERT_TRUE(collector.StartCollector());
        collector.AddUsageRecord();
        ASSERT_TRUE(WaitUntil([&] { return collector.FailedCount() == 1; }, 10000)) << "answer " << answer;
        collector.StopCollector();
        EXPECT_EQ(collector.AcceptedCount(), 0);
        EXPECT_EQ(receiver.RequestCount(), 1u);
    }
    const std::string records = testing_support::ReadBytes(Util::Log::OutputFile());
    const std::string expected =
        "TessikUI\tDataCollector:122\t" + testing_support::Gbk(testing_support::Wide("CDataCollector::ExeCollector用户是用记录添加失败"));
    EXPECT_EQ(Count(records, expected), 3u);
}

TEST(DataCollector, AddressFailureOrExceptionFallsBackAndStillReports) {
    const std::string fallbackBody =
        "&SoftwareID=181&macAdd=11-11-11-11-11-11&chk=" + Md5Hex("18111-11-11-11-11-11Hq2Wd7LX)3KTtRJfPa");
    const size_t caughtBefore = Count(TraceLog(), "get mac error,catch it");
    const size_t fallbackBefore = Count(TraceLog(), "get mac err\r\n");
    const CDataCollector::AddressSource sources[] = {
        [](std::string&) { return false; },  // no adapter, or the list does not fit
        [](std::string&) -> bool { throw std::runtime_error("adapter query failed"); },
    };
    for (const auto& source : sources) {
        StatsReceiver receiver;
        CDataCollector collector(receiver.Url(), source);
        ASSERT_TRUE(collector.StartCollector());
        collector.AddUsageRecord();
        ASSERT_TRUE(WaitUntil([&] { return collector.AcceptedCount() == 1; }, 10000));
        collector.StopCollector();
        ASSERT_EQ(receiver.RequestCount(), 1u);
        EXPECT_EQ(receiver.Requests()[0].body, fallbackBody);
    }
    EXPECT_EQ(Count(TraceLog(), "get mac error,catch it") - caughtBefore, 1u);
    EXPECT_EQ(Count(TraceLog(), "get mac err\r\n") - fallbackBefore, 2u);
}

TEST(DataCollector, UnreachableEndpointFailsEachReportOnceWithinItsTimeOut) {
    {
        // Nothing listens: refused at once.
        CDataCollector collector(testing_support::ClosedPortUrl(), FixedAddress(kAddress));
        ASSERT_TRUE(collector.StartCollector());
        collector.AddUsageRecord();
        collector.AddUsageRecord();
        EXPECT_TRUE(WaitUntil([&] { return collector.FailedCount() == 2; }, 8000));
        EXPECT_EQ(collector.QueuedCount(), 0u);
        collector.StopCollector();
    }
    // Accepts and never answers: each report ends at the 3-second time-out, no retry.
    StatsReceiver silent({.neverAnswer = true});
    CDataCollector collector(silent.Url(), FixedAddress(kAddress));
    ASSERT_TRUE(collector.StartCollector());
    const ULONGLONG start = GetTickCount64();
    collector.AddUsageRecord();
    collector.AddFeatureRecord(7);
    ASSERT_TRUE(WaitUntil([&] { return collector.FailedCount() == 2; }, 12000));
    const ULONGLONG elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 5500u);
    EXPECT_LT(elapsed, 9000u);
    Sleep(300);
    EXPECT_EQ(silent.RequestCount(), 2u);
    collector.StopCollector();
}

TEST(DataCollector, StopWaitsForTheRequestInFlightAndDiscardsTheQueue) {
    StatsReceiver slow({.delayMs = 1500});
    CDataCollector collector(slow.Url(), FixedAddress(kAddress));
    ASSERT_TRUE(collector.StartCollector());
    collector.AddUsageRecord();
    collector.AddFeatureRecord(1);
    collector.AddFeatureRecord(2);
    ASSERT_TRUE(WaitUntil([&] { return slow.RequestCount() == 1; }, 5000));
    const ULONGLONG start = GetTickCount64();
    collector.StopCollector();
    EXPECT_GE(ElapsedMs(start), 1000u);  // the answer came ~1.5 s after the request
    EXPECT_EQ(collector.AcceptedCount(), 1);
    EXPECT_EQ(collector.QueuedCount(), 0u);
    Sleep(300);
    EXPECT_EQ(slow.RequestCount(), 1u);  // the queued two were never sent
}

TEST(DataCollector, HugeResponseIsCutOffWithBoundedMemory) {
    PROCESS_MEMORY_COUNTERS before{};
    before.cb = sizeof before;
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    {
        StatsReceiver huge({.hugeResponseBytes = 100ull * 1024 * 1024});
        CDataCollector collector(huge.Url(), FixedAddress(kAddress));
        ASSERT_TRUE(collector.StartCollector());
        collector.AddUsageRecord();
        ASSERT_TRUE(WaitUntil([&] { return collector.FailedCount() == 1; }, 10000));
        collector.StopCollector();
    }
    PROCESS_MEMORY_COUNTERS after{};
    after.cb = sizeof after;
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    ASSERT_GT(before.PeakPagefileUsage, 0u);
    EXPECT_LT(after.PeakPagefileUsage, before.PeakPagefileUsage + 32u * 1024 * 1024);

    // The collector of the next run reports normally.
    StatsReceiver normal;
    CDataCollector collector(normal.Url(), FixedAddress(kAddress));
    ASSERT_TRUE(collector.StartCollector());
    collector.AddUsageRecord();
    EXPECT_TRUE(WaitUntil([&] { return collector.AcceptedCount() == 1; }, 10000));
    collector.StopCollector();
}
