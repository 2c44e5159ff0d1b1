// A recording view and a scripted engine for driving update runs without windows
// or servers.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "updater/driver/update_engine.h"
#include "updater/driver/update_texts.h"
#include "updater/driver/update_view.h"

struct Row {
    std::wstring name;
    std::wstring status;
};

class RecordingView : public IUpdateView {
public:
    bool Closed() const override { return closed; }
    void SetStatus(const std::wstring& text) override { statuses.push_back(text); }
    void ShowStatus() override { statusShown = true; }
    void EnableUpdateButton(bool enable) override { updateEnabled = enable; }
    void SetUpdateButtonText(const std::wstring& text) override { updateText = text; }
    void EnableExitButton(bool enable) override { exitEnabled = enable; }
    void MarkDone() override { done = true; }
    void ShowProgressBar() override { progressShown = true; }
    void SetProgressRange(std::uint32_t high) override { range = high; }
    void SetProgress(std::uint32_t position) override { positions.push_back(position); }
    void SetCurrentFile(const std::wstring& text) override { currentFile = text; }
    void SetSpeed(const std::wstring& text) override { speeds.push_back(text); }
    void SetCount(const std::wstring& text) override { count = text; }
    void ClearRows() override { rows.clear(); ++clears; }
    void InsertRow(int index, const std::wstring& name, const std::wstring& status) override {
        rows.insert(rows.begin() + index, Row{name, status});
    }
    void SetRowStatus(int index, const std::wstring& status) override {
        rows.at(index).status = status;
        rowHistory[index].push_back(status);
    }
    // What the rows show; the run itself never reads them.
    bool AllDownloadsSucceeded() const {
        for (const Row& row : rows)
            if (row.status == update_text::kRowFailed) return false;
        return true;
    }

    bool closed = false;
    std::vector<std::wstring> statuses;
    bool statusShown = false;
    bool updateEnabled = false;
    std::wstring updateText = update_text::kButtonUpdate;
    bool exitEnabled = true;
    bool done = false;
    bool progressShown = false;
    std::uint32_t range = 0;
    std::vector<std::uint32_t> positions;
    std::wstring currentFile = L"x";
    std::vector<std::wstring> speeds;
    std::wstring count;
    std::vector<Row> rows;
    std::map<int, std::vector<std::wstring>> rowHistory;
    int clears = 0;
};

// What the scripted engine does for one file.
struct FileScript {
    std::uint64_t length = 1;                  // announced length
    std::vector<std::uint32_t> blocks;         // sizes of the reads, in order
    FileDownloadStatus status = FileDownloadStatus::Replaced;
    std::uint32_t ticks = 0;                   // milliseconds before the first block
    std::uint32_t ticksPerBlock = 0;           // milliseconds each block takes
    bool failsCheck = false;                   // Failed: the body arrives whole, its check fails
    bool throws = false;                       // the fetch throws an int
};

class ScriptedEngine : public IUpdateEngine {
public:
    bool BuildLocalManifest(const std::wstring& folder) override {
        Record(L"build " + folder);
        return localOk;
    }
    void GetUpdateState(UpdateList& updateList, const std::wstring& manifestUrl, const std::wstring& folder,
                        UpdateState& stateOut) override {
        Record(L"state " + manifestUrl + L" " + folder);
        updateList = list;
        stateOut = state;
    }
    void RemoveManifests(const std::wstring& folder) override { Record(L"remove " + folder); }
    RangeProbe ProbeRangeSupport(const std::wstring& updateUrl, const std::wstring& firstName,
                                 const std::wstring&) override {
        Record(L"probe " + updateUrl + firstName);
        return probe;
    }
    FileDownloadOutcome FetchUpdateFile(const std::wstring&, const std::wstring&, const UpdateItem& item, bool resume,
                                        IFileDownloadProgress* progress) override {
        Record(L"file " + item.name + (resume ? L" resume" : L""));
        const FileScript& script = files.at(item.name);
        if (script.throws) throw 7;  // not a std::exception
        FileDownloadOutcome outcome;
        outcome.status = script.status == FileDownloadStatus::Stop ||
                                 (script.status == FileDownloadStatus::Failed && !script.failsCheck)
                             ? script.status
                             : FileDownloadStatus::Fetched;
        outcome.length = script.length;
        if (progress) progress->OnStart(script.length);
        tick += script.ticks;
        for (std::uint32_t block : script.blocks) {
            tick += script.ticksPerBlock;
            outcome.received += block;
            if (progress) progress->OnBlock(outcome.received, script.length, block);
        }
        if (progress && script.status != FileDownloadStatus::Stop) progress->OnBlock(outcome.received, script.length, 0);
        return outcome;
    }
    // Runs on the pass's second thread.
    FileDownloadOutcome InstallFetchedFile(const std::wstring&, const UpdateItem& item,
                                           const FileDownloadOutcome& fetched) override {
        Record(L"install " + item.name);
        FileDownloadOutcome outcome = fetched;
        outcome.status = files.at(item.name).status;
        return outcome;
    }
    bool WriteRestartBatch(const std::wstring& folder) override {
        Record(L"batch " + folder);
        return true;
    }
    bool RetireRestartBatch(const std::wstring& folder, bool updaterListed) override {
        Record(L"retire " + folder + (updaterListed ? L" updater" : L""));
        return retireOk;
    }
    std::uint32_t Now() override { return tick; }

    std::vector<std::wstring> Calls() {
        std::lock_guard<std::mutex> guard(lock);
        return calls;
    }

    bool localOk = true;
    bool retireOk = true;
    UpdateState state = UpdateState::Part;
    UpdateList list;
    RangeProbe probe{true, false, 0, 200};
    std::map<std::wstring, FileScript> files;
    std::uint32_t tick = 1000;
    std::vector<std::wstring> calls;

private:
    void Record(const std::wstring& call) {
        std::lock_guard<std::mutex> guard(lock);
        calls.push_back(call);
    }
    std::mutex lock;
};
