#include "updater/update_state.h"

#include <vector>

#include "common/fs/whole_file.h"
#include "common/http/http_client.h"
#include "common/http/transfer.h"
#include "common/text/code_page.h"
#include "updater/diagnostics.h"
#include "updater/manifest_signature.h"
#include "updater/update_paths.h"

namespace {

// Far above any real manifest (100,000 records are about 6 MB); a larger body is
// not a manifest and is not held in memory.
constexpr std::uint64_t kManifestLimit = 64ull << 20;

// Saves the response body into `path`. False on a failed read, a failed write or
// a body above the limit.
bool SaveBody(const DiagnosticSink& diagnostics, CHttpClient& client, const std::wstring& path,
              const std::wstring& folder) {
    win32::unique_file out = transfer::OpenTransferTarget(path, false);
    if (!out) {
        diagnostics.Report(folder, "OpenFileFail\n");
        return false;
    }
    switch (transfer::TransferBodyToFile(client, out.get(), {}, kManifestLimit).result) {
        case transfer::TransferResult::Complete:
            return true;
        case transfer::TransferResult::ReadFailed:
            diagnostics.Report(folder, "InternetReadFileFail\n");
            return false;
        case transfer::TransferResult::LimitExceeded:
            diagnostics.Report(folder, "manifest too large\n");
            return false;
        case transfer::TransferResult::WriteFailed:
            diagnostics.Report(folder, "WriteFileFail\n");
            return false;
    }
    return false;
}

// A missing manifest reads as empty; one that cannot be read or is too large fails.
bool ReadManifestBytes(const std::wstring& path, std::string& bytes) {
    const files::ReadResult result = files::ReadWholeFile(path, bytes, kManifestLimit);
    return result == files::ReadResult::Read || result == files::ReadResult::Missing;
}

}  // namespace

void GetUpdateState(const DiagnosticSink& diagnostics, UpdateList& updateList, const std::wstring& manifestUrl,
                    const std::wstring& folder, UpdateState& state, const ManifestTrust& trust) {
    updateList.clear();
    state = UpdateState::Error;
    const std::wstring root = NormaliseFolder(folder);
    const std::wstring serverPath = root + L"UpDate.ini";
    const std::wstring localPath = root + L"LocalDate.ini";
    const std::wstring url = NormaliseUrl(manifestUrl) + L"UpDate.ini";

    CHttpClient client;
    int status = 0;
    const int result = OpenAndSendPlainGet(client, url, status);
    if (result != CHTTP_REQUEST_OK) {
        diagnostics.Report(root, RequestFailureDiagnostic(result));
        return;
    }
    // An error page (404, 500, ...) is no manifest; taking it as one would tell the
    // player that everything is current.
    if (status != 200) {
        diagnostics.Report(root, "server status " + std::to_string(status) + "\n");
        return;
    }
    const bool saved = SaveBody(diagnostics, client, serverPath, root);
    client.CloseSession();
    if (!saved) return;

    std::string serverBytes;
    std::string localBytes;
    if (!ReadManifestBytes(serverPath, serverBytes) || !ReadManifestBytes(localPath, localBytes)) {
        diagnostics.Report(root, "OpenFileFail\n");
        return;
    }
    // The bytes checked are the bytes compared below: nothing unsigned is used.
    if (!ManifestSignatureAccepted(diagnostics, trust, url, serverBytes, root)) return;
    const std::wstring serverText = ManifestTextFromBytes(serverBytes);
    // A page in place of the manifest (a captive portal, a CDN error page) arrives
    // with status 200 but holds no record; read as a manifest it would say that
    // everything is current. An empty body is an empty release and stays one.
    if (!ManifestTextIsEmpty(serverText) && ParseManifest(serverText).empty()) {
        diagnostics.Report(root, "manifest has no records\n");
        return;
    }
    std::vector<std::wstring> rejected;
    updateList = CompareManifests(serverText, ManifestTextFromBytes(localBytes), &rejected);
    for (const auto& name : rejected)
        diagnostics.Report(root, "unsafe name skipped: " + text::AsciiApproximation(name) + "\n");
    state = updateList.empty() ? UpdateState::AllNew : UpdateState::Part;
}
