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
    // Millisecond tick count, for the per-file speed.
    virtual std::uint32_t Now() = 0;
};

// The real engine: CMyFun and the system tick count.
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

private:
    CMyFun fun_;
};
