// CMyFun: the update engine as one object for the dialog and its worker. Each method
// forwards to the free function of the same name (see the headers included here),
// with the updater's context the object was made with.
#pragma once

#include <string>
#include <utility>

#include "updater/file_download.h"
#include "updater/manifest.h"
#include "updater/process_start.h"
#include "updater/restart_batch.h"
#include "updater/update_compare.h"
#include "updater/update_state.h"
#include "updater/updater_context.h"

class CMyFun {
public:
    // `context` must outlive the object; its manifest trust is what the server
    // manifest must carry (the program's built-in key).
    explicit CMyFun(UpdaterContext& context) : context_(context) {}

    bool BuildLocalManifest(const std::wstring& folder) { return ::BuildLocalManifest(context_.digests, folder); }
    void GetUpdateState(UpdateList& updateList, const std::wstring& manifestUrl, const std::wstring& folder,
                        UpdateState& state) {
        ::GetUpdateState(context_.diagnostics, updateList, manifestUrl, folder, state, context_.manifestTrust);
    }
    void RemoveManifests(const std::wstring& folder) { ::RemoveManifests(folder); }
    RangeProbe ProbeRangeSupport(const std::wstring& updateUrl, const std::wstring& firstName,
                                 const std::wstring& folder) {
        return ::ProbeRangeSupport(context_.diagnostics, updateUrl, firstName, folder);
    }
    FileDownloadOutcome DownloadUpdateFile(const std::wstring& updateUrl, const std::wstring& folder,
                                           const UpdateItem& item, bool resume, IFileDownloadProgress* progress) {
        return ::DownloadUpdateFile(context_, updateUrl, folder, item, resume, progress);
    }
    FileDownloadOutcome FetchUpdateFile(const std::wstring& updateUrl, const std::wstring& folder,
                                        const UpdateItem& item, bool resume, IFileDownloadProgress* progress) {
        return ::FetchUpdateFile(context_, updateUrl, folder, item, resume, progress);
    }
    FileDownloadOutcome InstallFetchedFile(const std::wstring& folder, const UpdateItem& item,
                                           const FileDownloadOutcome& fetched) {
        return ::InstallFetchedFile(context_, folder, item, fetched);
    }
    bool WriteRestartBatch(const std::wstring& folder) { return ::WriteRestartBatch(folder); }
    bool RetireRestartBatch(const std::wstring& folder, bool updaterListed) {
        return ::RetireRestartBatch(folder, updaterListed);
    }
    bool StartHiddenProcess(const std::wstring& command) { return ::StartHiddenProcess(command); }
    std::wstring GetModulePath() { return ::GetModulePath(); }

private:
    UpdaterContext& context_;
};
