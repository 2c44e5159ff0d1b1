// The download pass with several transfers in flight: rows in list order, every
// file counted once, a failed file failing its row only, a stop that lets the files
// under way end; and the progress and speed those transfers add up to.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <set>
#include <thread>

#include "tests/updater_driver/fakes.h"
#include "updater/driver/download_pass.h"
#include "updater/driver/link_speed.h"
#include "updater/driver/progress.h"

namespace {

using namespace update_text;

const std::wstring kFolder = L"C:\\game";
const std::wstring kUrl = L"http://127.0.0.1/zorvik/Wakfu/Update";

// An engine whose fetches may run on several threads at once. Each fetch sends its
// blocks and, when `gather` is set, waits (at most two seconds) until `lanes` fetches
// are under way together, so a pass that fetched one file at a time shows up as a
// lower peak instead of a hang.
class ConcurrentEngine : public IUpdateEngine {
public:
    explicit ConcurrentEngine(int lanes) : lanes_(lanes) {}

    bool BuildLocalManifest(const std::wstring&) override { return true; }
    void GetUpdateState(UpdateList&, const std::wstring&, const std::wstring&, UpdateState&) override {}
    void RemoveManifests(const std::wstring&) override {}
    RangeProbe ProbeRangeSupport(const std::wstring&, const std::wstring&, const std::wstring&) override {
        return RangeProbe{true, false, 0, 200};
    }
    FileDownloadOutcome FetchUpdateFile(const std::wstring&, const std::wstring&, const UpdateItem& item, bool,
                                        IFileDownloadProgress* progress) override {
        const int now = ++underWay_;
        int peak = peak_.load();
        while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
        }
        Record(L"file " + item.name);
        if (gather) {
            std::unique_lock<std::mutex> guard(lock_);
            gathered_.notify_all();
            gathered_.wait_for(guard, std::chrono::seconds(2), [&] { return underWay_.load() >= lanes_ || done_; });
            done_ = true;  // once the lanes were full together, nobody waits any more
            gathered_.notify_all();
        }
        FileDownloadOutcome outcome;
        outcome.length = 3000;
        progress->OnStart(outcome.length);
        for (int block = 0; block < 3; ++block) {
            outcome.received += 1000;
            tick_ += 40;
            progress->OnBlock(outcome.received, outcome.length, 1000);
        }
        progress->OnBlock(outcome.received, outcome.length, 0);
        outcome.status = Scripted(fetchStatus, item.name, FileDownloadStatus::Fetched);
        --underWay_;
        return outcome;
    }
    FileDownloadOutcome InstallFetchedFile(const std::wstring&, const UpdateItem& item,
                                           const FileDownloadOutcome& fetched) override {
        Record(L"install " + item.name);
        FileDownloadOutcome outcome = fetched;
        outcome.status = Scripted(checkStatus, item.name, FileDownloadStatus::Replaced);
        return outcome;
    }
    bool WriteRestartBatch(const std::wstring&) override {
        Record(L"batch");
        return true;
    }
    bool RetireRestartBatch(const std::wstring&, bool) override { return true; }
    std::uint32_t Now() override { return tick_.load(); }
    int TransfersInFlight() override { return lanes_; }

    int peak() const { return peak_.load(); }
    std::vector<std::wstring> Calls() {
        std::lock_guard<std::mutex> guard(lock_);
        return calls_;
    }
    int CountOf(const std::wstring& prefix) {
        const auto calls = Calls();
        return static_cast<int>(
            std::count_if(calls.begin(), calls.end(), [&](const std::wstring& c) { return c.starts_with(prefix); }));
    }

    bool gather = true;
    std::map<std::wstring, FileDownloadStatus> fetchStatus;  // other names: Fetched
    std::map<std::wstring, FileDownloadStatus> checkStatus;  // other names: Replaced

private:
    static FileDownloadStatus Scripted(const std::map<std::wstring, FileDownloadStatus>& script,
                                       const std::wstring& name, FileDownloadStatus otherwise) {
        const auto it = script.find(name);
        return it == script.end() ? otherwise : it->second;
    }
    void Record(const std::wstring& call) {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.push_back(call);
    }

    const int lanes_;
    std::atomic<int> underWay_{0};
    std::atomic<int> peak_{0};
    std::atomic<std::uint32_t> tick_{1000};
    std::mutex lock_;
    std::condition_variable gathered_;
    bool done_ = false;
    std::vector<std::wstring> calls_;
};

UpdateList Files(int count) {
    UpdateList list;
    for (int i = 0; i < count; ++i) list.push_back({L"f" + std::to_wstring(10 + i) + L".dat", L"d"});
    return list;
}

TEST(ParallelPass, FetchesAsManyFilesAtOnceAsTheEngineTakesWithRowsInListOrder) {
    ConcurrentEngine engine(4);
    const UpdateList list = Files(10);
    RecordingView view;

    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, list));

    EXPECT_EQ(engine.peak(), 4);
    ASSERT_EQ(view.rows.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(view.rows[i].name, list[i].name);
        EXPECT_EQ(view.rows[i].status, L"3.00K(当前大小)/3.00K(总大小)");
    }
    EXPECT_EQ(view.count, L"10个(当前已下载文件个数)/10个(总文件个数)");
    EXPECT_EQ(view.speeds.size(), list.size());
    EXPECT_TRUE(std::is_sorted(view.positions.begin(), view.positions.end()));
    EXPECT_EQ(view.positions.back(), 10000u);
    // Every file fetched and checked once; the batch only after the last check.
    EXPECT_EQ(engine.CountOf(L"file "), 10);
    EXPECT_EQ(engine.CountOf(L"install "), 10);
    EXPECT_EQ(engine.Calls().back(), L"batch");
}

TEST(ParallelPass, AFailedFileFailsItsRowOnly) {
    ConcurrentEngine engine(3);
    engine.gather = false;
    const UpdateList list = Files(9);
    engine.fetchStatus[L"f11.dat"] = FileDownloadStatus::Failed;  // short body
    engine.checkStatus[L"f14.dat"] = FileDownloadStatus::Failed;  // wrong digest
    engine.checkStatus[L"f18.dat"] = FileDownloadStatus::Pending;  // the updater, kept for the batch
    RecordingView view;

    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, list));

    ASSERT_EQ(view.rows.size(), 9u);
    for (size_t i = 0; i < list.size(); ++i) {
        const bool failed = list[i].name == L"f11.dat" || list[i].name == L"f14.dat";
        EXPECT_EQ(view.rows[i].status, failed ? std::wstring(kRowFailed) : L"3.00K(当前大小)/3.00K(总大小)")
            << i;
    }
    EXPECT_FALSE(view.AllDownloadsSucceeded());
    EXPECT_EQ(view.count, L"9个(当前已下载文件个数)/9个(总文件个数)");
    EXPECT_EQ(engine.CountOf(L"install "), 8);  // the short file is never checked
    EXPECT_EQ(engine.CountOf(L"batch"), 1);
}

TEST(ParallelPass, AStopLetsTheFilesUnderWayEndAndStartsNoMore) {
    ConcurrentEngine engine(3);
    const UpdateList list = Files(12);
    engine.fetchStatus[L"f11.dat"] = FileDownloadStatus::Stop;
    RecordingView view;

    EXPECT_FALSE(DownloadUpdateFiles(engine, view, kUrl, kFolder, list));

    // Rows exist exactly for the files handed out, which all were fetched; a few
    // beside the stopped one, never the whole list.
    const int fetched = engine.CountOf(L"file ");
    EXPECT_EQ(static_cast<int>(view.rows.size()), fetched);
    EXPECT_LT(fetched, 12);
    EXPECT_GE(fetched, 3);
    // Every file but the stopped one ended normally, was counted and checked.
    for (const Row& row : view.rows) {
        if (row.name != L"f11.dat") {
            EXPECT_EQ(row.status, L"3.00K(当前大小)/3.00K(总大小)");
        }
    }
    EXPECT_EQ(view.count, CountText(fetched - 1, 12));
    EXPECT_EQ(engine.CountOf(L"install "), fetched - 1);
    EXPECT_EQ(engine.CountOf(L"batch"), 0);
}

TEST(ParallelPass, AClosedDialogStartsNoFile) {
    ConcurrentEngine engine(4);
    RecordingView view;
    view.closed = true;
    EXPECT_FALSE(DownloadUpdateFiles(engine, view, kUrl, kFolder, Files(5)));
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(engine.CountOf(L"file "), 0);
}

TEST(PassProgress, FilesUnderWayTogetherAddUpAndNeverPassTheirShares) {
    PassProgress progress(4);  // 2500 a file
    EXPECT_EQ(progress.AddBlock(2, 500, 1000), 1250u);
    EXPECT_EQ(progress.AddBlock(0, 250, 1000), 1875u);
    EXPECT_EQ(progress.AddBlock(2, 5000, 1000), 3125u);  // a server sending too much: file 2 stops at its share
    EXPECT_EQ(progress.FinishFile(0), 5000u);          // file 0 ends short: its whole share counts
    EXPECT_EQ(progress.FinishFile(0), 5000u);          // a file ends once
    EXPECT_EQ(progress.AddBlock(0, 500, 1000), 5000u);  // and takes no blocks afterwards
    EXPECT_EQ(progress.FinishFile(2), 5000u);
    EXPECT_EQ(progress.filesDone(), 2);
    EXPECT_EQ(progress.AddBlock(3, 1000, 1000), 7500u);
    EXPECT_EQ(progress.FinishFile(1), 10000u);
    EXPECT_EQ(progress.FinishFile(3), 10000u);
    EXPECT_EQ(progress.AddBlock(7, 1000, 1000), 10000u);  // no such file
}

TEST(LinkSpeed, OneAfterAnotherEachFileShowsItsOwnRateSideBySideTheLinksRate) {
    LinkSpeed serial;
    EXPECT_EQ(serial.FileEnded(100000, 1000, 1100), L"1000.0k/s(下载速度)");
    // Starts at the tick the previous one ended: only its own length counts.
    EXPECT_EQ(serial.FileEnded(50000, 1100, 1200), L"500.0k/s(下载速度)");

    LinkSpeed shared;
    EXPECT_EQ(shared.FileEnded(100000, 1000, 1150), L"666.7k/s(下载速度)");
    EXPECT_EQ(shared.FileEnded(100000, 1050, 1250), L"1000.0k/s(下载速度)");  // the first ended meanwhile
    // Ended before this one started: not counted.
    EXPECT_EQ(shared.FileEnded(100000, 1300, 1400), L"1000.0k/s(下载速度)");
    // Within one tick: length / 1000, as for a single file.
    EXPECT_EQ(shared.FileEnded(2000, 1400, 1400), L"2.0k/s(下载速度)");
}

}  // namespace
