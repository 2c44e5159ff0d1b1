#include "updater/driver/update_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/updater_driver/fakes.h"
#include "updater/driver/download_pass.h"

namespace {

using namespace update_text;

const std::wstring kFolder = L"C:\\game";
const std::wstring kUrl = L"http://127.0.0.1/zorvik/Wakfu/Update";

bool Called(const ScriptedEngine& engine, const std::wstring& call) {
    return std::find(engine.calls.begin(), engine.calls.end(), call) != engine.calls.end();
}

TEST(DownloadPass, OneFileInTwoBlocksShowsEachBlockAndEndsComplete) {
    ScriptedEngine engine;
    engine.list = {{L"Velmora.exe", L"d"}};
    engine.files[L"Velmora.exe"] = {81920, {40960, 40960}, FileDownloadStatus::Replaced, 0, 150};
    RecordingView view;

    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));

    EXPECT_EQ(view.range, 10000u);
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0].name, L"Velmora.exe");
    const std::vector<std::wstring> expected = {
        L"40.96K(当前大小)/81.92K(总大小)", L"81.92K(当前大小)/81.92K(总大小)",
        L"81.92K(当前大小)/81.92K(总大小)", L"81.92K(当前大小)/81.92K(总大小)"};
    EXPECT_EQ(view.rowHistory[0], expected);
    EXPECT_EQ(view.positions, (std::vector<std::uint32_t>{0, 5000, 10000, 10000, 10000}));
    EXPECT_EQ(view.count, L"1个(当前已下载文件个数)/1个(总文件个数)");
    EXPECT_EQ(view.speeds, std::vector<std::wstring>{L"273.1k/s(下载速度)"});  // 81920 bytes in 300 ms
    EXPECT_EQ(view.currentFile, L"Velmora.exe");
    EXPECT_TRUE(Called(engine, L"probe " + kUrl + L"/Velmora.exe"));
    EXPECT_TRUE(Called(engine, L"batch " + kFolder + L"\\"));
}

TEST(DownloadPass, FastBlocksAreShownAtMostEveryTenthOfASecond) {
    ScriptedEngine engine;
    engine.list = {{L"big.pak", L"d"}};
    // 100 blocks, 30 ms apart: the row follows at 0, 120, 240, ... ms and at the end.
    engine.files[L"big.pak"] = {4096000, std::vector<std::uint32_t>(100, 40960), FileDownloadStatus::Replaced, 0, 30};
    RecordingView view;

    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));

    const auto& history = view.rowHistory[0];
    EXPECT_EQ(history.front(), L"40.96K(当前大小)/4096.00K(总大小)");
    EXPECT_EQ(history.back(), L"4096.00K(当前大小)/4096.00K(总大小)");
    EXPECT_GE(history.size(), 20u);
    EXPECT_LE(history.size(), 30u);
    EXPECT_EQ(view.positions.back(), 10000u);
    EXPECT_TRUE(std::is_sorted(view.positions.begin(), view.positions.end()));
}

TEST(DownloadPass, ShortFileIsMarkedAndThePassGoesOn) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}, {L"data\\b.dat", L"2"}};
    engine.files[L"a.dat"] = {5000, {4000}, FileDownloadStatus::Failed, 10};
    engine.files[L"data\\b.dat"] = {3000, {3000}, FileDownloadStatus::Replaced, 1500};
    engine.probe.resume = true;
    RecordingView view;

    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));

    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].status, kRowFailed);
    EXPECT_EQ(view.rows[1].status, L"3.00K(当前大小)/3.00K(总大小)");
    EXPECT_FALSE(view.AllDownloadsSucceeded());
    EXPECT_TRUE(Called(engine, L"file a.dat resume"));
    EXPECT_TRUE(Called(engine, L"file data\\b.dat resume"));
    EXPECT_EQ(view.positions.back(), 10000u);
    EXPECT_EQ(view.speeds, (std::vector<std::wstring>{L"500.0k/s(下载速度)", L"2.0k/s(下载速度)"}));
    EXPECT_EQ(view.count, L"2个(当前已下载文件个数)/2个(总文件个数)");
}

TEST(DownloadPass, EachFileIsCheckedBesideTheNextFetchAndAllChecksEndBeforeTheBatch) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}, {L"b.dat", L"2"}, {L"c.dat", L"3"}};
    engine.files[L"a.dat"] = {10, {10}, FileDownloadStatus::Replaced, 0};
    engine.files[L"b.dat"] = {20, {20}, FileDownloadStatus::Failed, 0};
    engine.files[L"b.dat"].failsCheck = true;  // whole body, wrong digest
    engine.files[L"c.dat"] = {30, {30}, FileDownloadStatus::Replaced, 0};
    RecordingView view;

    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));

    const std::vector<std::wstring> calls = engine.Calls();
    const auto at = [&](const std::wstring& call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
    for (const wchar_t* name : {L"a.dat", L"b.dat", L"c.dat"}) {
        ASSERT_LT(at(std::wstring(L"install ") + name), static_cast<long>(calls.size())) << name;
        EXPECT_LT(at(std::wstring(L"file ") + name), at(std::wstring(L"install ") + name));
    }
    // A file's check never waits for more than the fetch of the one after it.
    EXPECT_LT(at(L"install a.dat"), at(L"file c.dat"));
    EXPECT_LT(at(L"install c.dat"), at(L"batch " + kFolder + L"\\"));
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows[0].status, L"0.01K(当前大小)/0.01K(总大小)");
    EXPECT_EQ(view.rows[1].status, kRowFailed);
    EXPECT_EQ(view.rows[2].status, L"0.03K(当前大小)/0.03K(总大小)");
    EXPECT_FALSE(view.AllDownloadsSucceeded());
}

TEST(DownloadPass, StopStillSettlesTheCheckOfThePreviousFile) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}, {L"b.dat", L"2"}};
    engine.files[L"a.dat"] = {10, {10}, FileDownloadStatus::Failed, 0};
    engine.files[L"a.dat"].failsCheck = true;
    engine.files[L"b.dat"] = {10, {4}, FileDownloadStatus::Stop, 0};
    RecordingView view;

    EXPECT_FALSE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));
    EXPECT_TRUE(Called(engine, L"install a.dat"));
    EXPECT_FALSE(Called(engine, L"install b.dat"));
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].status, kRowFailed);
}

TEST(DownloadPass, ProbeFailureStopsBeforeAnyRow) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}};
    engine.probe = RangeProbe{false, false, 0, 404};
    RecordingView view;
    view.rows = {Row{L"old", L"kept"}};

    EXPECT_FALSE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));
    EXPECT_EQ(view.clears, 0);
    EXPECT_EQ(view.rows.size(), 1u);
    EXPECT_FALSE(Called(engine, L"file a.dat"));
    EXPECT_FALSE(Called(engine, L"batch " + kFolder + L"\\"));
}

TEST(DownloadPass, StopKeepsEarlierRowsAndWritesNoBatch) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}, {L"b.dat", L"2"}, {L"c.dat", L"3"}};
    engine.files[L"a.dat"] = {10, {10}, FileDownloadStatus::Replaced, 0};
    engine.files[L"b.dat"] = {10, {4}, FileDownloadStatus::Stop, 0};
    RecordingView view;

    EXPECT_FALSE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].status, L"0.01K(当前大小)/0.01K(总大小)");
    EXPECT_EQ(view.count, L"1个(当前已下载文件个数)/3个(总文件个数)");
    EXPECT_FALSE(Called(engine, L"file c.dat"));
    EXPECT_FALSE(Called(engine, L"batch " + kFolder + L"\\"));
}

TEST(DownloadPass, ClosedDialogStopsAtTheNextFile) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}};
    RecordingView view;
    view.closed = true;
    EXPECT_FALSE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list));
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, UpdateList{}));  // empty list: nothing to do
}

TEST(DownloadPass, OutcomeCountsFailedFetchesAndFailedChecks) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}, {L"b.dat", L"2"}, {L"c.dat", L"3"}, {L"d.dat", L"4"}};
    engine.files[L"a.dat"] = {10, {4}, FileDownloadStatus::Failed, 0};  // short body
    engine.files[L"b.dat"] = {10, {10}, FileDownloadStatus::Failed, 0};
    engine.files[L"b.dat"].failsCheck = true;  // whole body, wrong digest
    engine.files[L"c.dat"] = {10, {10}, FileDownloadStatus::Replaced, 0};
    engine.files[L"d.dat"] = {10, {10}, FileDownloadStatus::Failed, 0};
    engine.files[L"d.dat"].failsCheck = true;  // the last check settles as the pass ends
    RecordingView view;

    const DownloadPassOutcome outcome = DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list);
    EXPECT_TRUE(outcome.processed);
    EXPECT_EQ(outcome.failedFiles, 3);
    EXPECT_FALSE(outcome.Succeeded());

    engine.list = {{L"c.dat", L"3"}};
    EXPECT_TRUE(DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list).Succeeded());
    engine.files[L"c.dat"].status = FileDownloadStatus::Stop;
    const DownloadPassOutcome stopped = DownloadUpdateFiles(engine, view, kUrl, kFolder, engine.list);
    EXPECT_FALSE(stopped.processed);
    EXPECT_FALSE(stopped.Succeeded());
}

// A view that cannot keep row texts (a list that shows nothing, say): the run's
// outcome must come from the pass, not from what the rows happen to read.
class ForgetfulView : public RecordingView {
public:
    void SetRowStatus(int, const std::wstring&) override {}
};

TEST(UpdateRun, OutcomeComesFromThePassNotFromTheRows) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}};
    engine.files[L"a.dat"] = {100, {50}, FileDownloadStatus::Failed, 0};
    ForgetfulView view;

    RunUpdate(engine, view, kFolder, kUrl);

    ASSERT_TRUE(view.AllDownloadsSucceeded());  // the rows show no failure...
    EXPECT_EQ(view.statuses.back(), kDownloadFailed);  // ...the run still failed
    EXPECT_FALSE(view.done);
    EXPECT_EQ(view.updateText, kButtonRetry);
    EXPECT_TRUE(view.exitEnabled);
}

TEST(UpdateRun, EarlierBatchIsRetiredBeforeThePassTouchesAnyFile) {
    for (const bool withUpdater : {true, false}) {
        ScriptedEngine engine;
        engine.list = {{L"a.dat", L"1"}};
        if (withUpdater) engine.list.push_back({L"Updater.exe", L"2"});
        engine.files[L"a.dat"] = {10, {10}, FileDownloadStatus::Replaced, 0};
        engine.files[L"Updater.exe"] = {10, {10}, FileDownloadStatus::Pending, 0};
        RecordingView view;

        RunUpdate(engine, view, kFolder, kUrl);

        const std::vector<std::wstring> calls = engine.Calls();
        const std::wstring retire = L"retire C:\\game\\" + std::wstring(withUpdater ? L" updater" : L"");
        const auto at = [&](const std::wstring& call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
        ASSERT_LT(at(retire), static_cast<long>(calls.size())) << withUpdater;
        EXPECT_LT(at(retire), at(L"probe " + kUrl + L"/a.dat"));
        EXPECT_LT(at(retire), at(L"file a.dat"));
        EXPECT_EQ(view.statuses.back(), kSucceeded);
    }
}

TEST(UpdateRun, BatchThatCannotBeRetiredStopsBeforeAnyDownload) {
    ScriptedEngine engine;
    engine.list = {{L"Updater.exe", L"1"}};
    engine.files[L"Updater.exe"] = {10, {10}, FileDownloadStatus::Pending, 0};
    engine.retireOk = false;
    RecordingView view;

    RunUpdate(engine, view, kFolder, kUrl);

    EXPECT_FALSE(Called(engine, L"file Updater.exe"));
    EXPECT_EQ(view.statuses.back(), kDownloadFailed);
    EXPECT_EQ(view.updateText, kButtonRetry);
    EXPECT_TRUE(view.updateEnabled);
    EXPECT_EQ(engine.calls.back(), L"remove C:\\game\\");
}

TEST(UpdateRun, AnythingThrownEndsTheRunAsAFailedDownloadAndStillCleansUp) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}};
    engine.files[L"a.dat"] = {10, {10}, FileDownloadStatus::Replaced, 0};
    engine.files[L"a.dat"].throws = true;
    RecordingView view;

    RunUpdate(engine, view, kFolder, kUrl);  // must not throw

    EXPECT_EQ(view.statuses.back(), kDownloadFailed);
    EXPECT_EQ(view.updateText, kButtonRetry);
    EXPECT_FALSE(view.done);
    EXPECT_TRUE(view.updateEnabled);
    EXPECT_EQ(view.speeds.back(), kSpeedIdle);
    EXPECT_EQ(engine.calls.back(), L"remove C:\\game\\");
}

TEST(UpdateRun, SuccessfulRunFinishesTheUpdate) {
    ScriptedEngine engine;
    engine.list = {{L"Updater.exe", L"1"}};
    engine.files[L"Updater.exe"] = {100, {100}, FileDownloadStatus::Pending, 0};
    RecordingView view;

    RunUpdate(engine, view, kFolder, kUrl);

    EXPECT_EQ(view.statuses, (std::vector<std::wstring>{kReadingLocal, kReadingServer, kDownloading, kSucceeded}));
    EXPECT_TRUE(view.done);
    EXPECT_EQ(view.updateText, kButtonFinish);
    EXPECT_FALSE(view.exitEnabled);
    EXPECT_TRUE(view.updateEnabled);
    EXPECT_TRUE(view.statusShown);
    EXPECT_TRUE(view.progressShown);
    EXPECT_EQ(view.currentFile, L"");
    EXPECT_EQ(view.speeds.back(), kSpeedIdle);
    EXPECT_EQ(engine.calls.front(), L"build C:\\game\\");
    EXPECT_EQ(engine.calls[1], L"state " + kUrl + L"/ C:\\game\\");
    EXPECT_EQ(engine.calls.back(), L"remove C:\\game\\");
}

TEST(UpdateRun, FailedRowMakesTheRunFailSoThePlayerCanRetry) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}, {L"b.dat", L"2"}};
    engine.files[L"a.dat"] = {100, {50}, FileDownloadStatus::Failed, 0};
    engine.files[L"b.dat"] = {100, {100}, FileDownloadStatus::Replaced, 0};
    RecordingView view;

    RunUpdate(engine, view, kFolder, kUrl);

    EXPECT_EQ(view.statuses.back(), kDownloadFailed);
    EXPECT_FALSE(view.done);
    EXPECT_EQ(view.updateText, kButtonRetry);
    EXPECT_TRUE(view.exitEnabled);
    EXPECT_TRUE(view.updateEnabled);
    EXPECT_TRUE(Called(engine, L"file b.dat"));  // the good file was still fetched
    EXPECT_EQ(engine.calls.back(), L"remove C:\\game\\");
}

TEST(UpdateRun, StoppedPassReadsAsDownloadFailure) {
    ScriptedEngine engine;
    engine.list = {{L"a.dat", L"1"}};
    engine.files[L"a.dat"] = {100, {}, FileDownloadStatus::Stop, 0};
    RecordingView view;
    RunUpdate(engine, view, kFolder, kUrl);
    EXPECT_EQ(view.statuses.back(), kDownloadFailed);
    EXPECT_EQ(view.updateText, kButtonRetry);
    EXPECT_FALSE(view.done);
}

TEST(UpdateRun, NothingToDoAndErrorsLeaveListAndButtonTextsAlone) {
    struct Case {
        bool localOk;
        UpdateState state;
        std::wstring status;
    };
    for (const Case& c :
         {Case{true, UpdateState::AllNew, kAlreadyNewest}, Case{true, UpdateState::Error, kServerFailed},
          Case{false, UpdateState::Part, kLocalFailed}}) {
        ScriptedEngine engine;
        engine.localOk = c.localOk;
        engine.state = c.state;
        engine.list = c.state == UpdateState::Part ? UpdateList{{L"a.dat", L"1"}} : UpdateList{};
        RecordingView view;
        view.rows = {Row{L"earlier", L"row"}};

        RunUpdate(engine, view, kFolder, kUrl);

        EXPECT_EQ(view.statuses.back(), c.status);
        EXPECT_EQ(view.updateText, kButtonUpdate);
        EXPECT_EQ(view.rows.size(), 1u);
        EXPECT_TRUE(view.positions.empty());
        EXPECT_FALSE(view.done);
        EXPECT_TRUE(view.updateEnabled);
        EXPECT_EQ(engine.calls.back(), L"remove C:\\game\\");
        // Without a local manifest the server is not asked.
        EXPECT_EQ(engine.calls.size(), c.localOk ? 3u : 2u);
    }
}

}  // namespace
