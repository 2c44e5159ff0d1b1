// The engine operations an update run calls, behind an interface so that the run's
// sequence and its texts can be tested without a server.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "updater/my_fun.h"

class IUpdateEngine {
public:
    virtual ~IUpdateEngine() = default;
    virtual bool BuildLocalManifest(const std::wstring& folder) = 0;
    virtual void GetUpdateState(UpdateList& updateList, const std::wstring& manifestUrl, const std::wstring& folder,
                                UpdateState& state) = 0;
    virtual void RemoveManifests(const std::wstring& folder) = 0;
    virtual RangeProbe ProbeRangeSupport(const std::wstring& updateUrl, const std::wstring& firstName,
                                         const std::wstring& folder) = 0;
    // Called on the pass's lane threads, up to TransfersInFlight() at once for
    // different items; `progress` is called on the same thread.
    virtual FileDownloadOutcome FetchUpdateFile(const std::wstring& updateUrl, const std::wstring& folder,
                                                const UpdateItem& item, bool resume,
                                                IFileDownloadProgress* progress) = 0;
    // Called on a thread of its own, while the next file is fetched.
    virtual FileDownloadOutcome InstallFetchedFile(const std::wstring& folder, const UpdateItem& item,
                                                   const FileDownloadOutcome& fetched) = 0;
    virtual bool WriteRestartBatch(const std::wstring& folder) = 0;
    // Before the pass: no batch of an earlier run may name "Updater.exe.tmp" (see
    // ::RetireRestartBatch).
    virtual bool RetireRestartBatch(const std::wstring& folder, bool updaterListed) = 0;
    // Millisecond tick count, for the per-file speed. Called from any lane.
    virtual std::uint32_t Now() = 0;
    // How many files the download pass fetches at once. One: each file after the
    // other, for engines that cannot run fetches side by side.
    virtual int TransfersInFlight() { return 1; }
};

// Files in flight at once in a real pass. On a link with a round-trip time of tens
// of milliseconds, one file after another spends most of its time waiting for each
// response to begin; a few transfers side by side keep the link busy meanwhile,
// while each file still gets a good share of it.
inline constexpr int kUpdateTransfersInFlight = 4;

// The real engine: CMyFun and the system tick count; its fetches share one session.
class CMyFunEngine final : public IUpdateEngine {
public:
    // `context` must outlive the engine.
    explicit CMyFunEngine(UpdaterContext& context) : fun_(context) {}

    bool BuildLocalManifest(const std::wstring& folder) override { return fun_.BuildLocalManifest(folder); }
    void GetUpdateState(UpdateList& updateList, const std::wstring& manifestUrl, const std::wstring& folder,
                        UpdateState& state) override {
        fun_.GetUpdateState(updateList, manifestUrl, folder, state);
    }
    void RemoveManifests(const std::wstring& folder) override { fun_.RemoveManifests(folder); }
    RangeProbe ProbeRangeSupport(const std::wstring& updateUrl, const std::wstring& firstName,
                                 const std::wstring& folder) override {
        return fun_.ProbeRangeSupport(updateUrl, firstName, folder);
    }
    FileDownloadOutcome FetchUpdateFile(const std::wstring& updateUrl, const std::wstring& folder,
                                        const UpdateItem& item, bool resume,
                                        IFileDownloadProgress* progress) override {
        return fun_.FetchUpdateFile(updateUrl, folder, item, resume, progress);
    }
    FileDownloadOutcome InstallFetchedFile(const std::wstring& folder, const UpdateItem& item,
                                           const FileDownloadOutcome& fetched) override {
        return fun_.InstallFetchedFile(folder, item, fetched);
    }
    bool WriteRestartBatch(const std::wstring& folder) override { return fun_.WriteRestartBatch(folder); }
    bool RetireRestartBatch(const std::wstring& folder, bool updaterListed) override {
        return fun_.RetireRestartBatch(folder, updaterListed);
    }
    std::uint32_t Now() override;
    int TransfersInFlight() override { return kUpdateTransfersInFlight; }

private:
    CMyFun fun_;
};
