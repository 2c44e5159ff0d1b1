#include "updater/update_state.h"

#include <vector>

#include "common/http/http_client.h"
#include "common/http/request_headers.h"
#include "common/win32/unique_handle.h"
#include "updater/diagnostics.h"
#include "updater/manifest_file.h"
#include "updater/manifest_signature.h"
#include "updater/update_paths.h"

namespace {

// Far above any real manifest (100,000 records are about 6 MB); a larger body is
// not a manifest and is not held in memory.
constexpr std::uint64_t kManifestLimit = 64ull << 20;

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += (c < 0x80) ? static_cast<char>(c) : '?';
    return out;
}

// Saves the response body into `path`. False on a failed read, a failed write or
// a body above the limit.
bool SaveBody(CHttpClient& client, const std::wstring& path, const std::wstring& folder) {
    win32::unique_file out(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        Diagnose(folder, "OpenFileFail\n");
        return false;
    }
    std::vector<char> buffer(kHttpBlockSize);
    std::uint64_t total = 0;
    for (;;) {
        std::uint32_t read = 0;
        if (!client.ReadData(buffer.data(), kHttpBlockSize, read)) {
            Diagnose(folder, "InternetReadFileFail\n");
            return false;
        }
        if (read == 0) return true;
        total += read;
        if (total > kManifestLimit) {
            Diagnose(folder, "manifest too large\n");
            return false;
        }
        DWORD written = 0;
        if (!WriteFile(out.get(), buffer.data(), read, &written, nullptr) || written != read) {
            Diagnose(folder, "WriteFileFail\n");
            return false;
        }
    }
}

}  // namespace

void GetUpdateState(UpdateList& updateList, const std::wstring& manifestUrl, const std::wstring& folder,
                    std::wstring& state, const ManifestTrust& trust) {
    updateList.clear();
    state = kUpdateStateError;
    const std::wstring root = NormaliseFolder(folder);
    const std::wstring serverPath = root + L"UpDate.ini";
    const std::wstring localPath = root + L"LocalDate.ini";
    const std::wstring url = NormaliseUrl(manifestUrl) + L"UpDate.ini";

    CHttpClient client;
    client.OpenSession();
    int status = 0;
    const std::wstring header = PlainRequestHeader();
    const int result = client.SendRequest(url.c_str(), status, header.c_str());
    if (result != CHTTP_REQUEST_OK) {
        Diagnose(root, RequestFailureDiagnostic(result));
        return;
    }
    // An error page (404, 500, ...) is no manifest; taking it as one would tell the
    // player that everything is current.
    if (status != 200) {
        Diagnose(root, "server status " + std::to_string(status) + "\n");
        return;
    }
    const bool saved = SaveBody(client, serverPath, root);
    client.CloseSession();
    if (!saved) return;

    std::string serverBytes;
    std::string localBytes;
    if (!ReadWholeFile(serverPath, serverBytes, kManifestLimit) ||
        !ReadWholeFile(localPath, localBytes, kManifestLimit)) {
        Diagnose(root, "OpenFileFail\n");
        return;
    }
    // The bytes checked are the bytes compared below: nothing unsigned is used.
    if (!ManifestSignatureAccepted(trust, url, serverBytes, root)) return;
    std::vector<std::wstring> rejected;
    updateList = CompareManifests(ManifestTextFromBytes(serverBytes), ManifestTextFromBytes(localBytes), &rejected);
    for (const auto& name : rejected) Diagnose(root, "unsafe name skipped: " + Narrow(name) + "\n");
    state = updateList.empty() ? kUpdateStateAllNew : kUpdateStatePart;
}
