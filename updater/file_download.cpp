#include "updater/file_download.h"

#include <windows.h>

#include <vector>

#include "common/http/http_client.h"
#include "common/http/request_headers.h"
#include "common/win32/unique_handle.h"
#include "updater/diagnostics.h"
#include "updater/ensure_directory.h"
#include "updater/file_digest.h"
#include "updater/file_replace.h"
#include "updater/restart_batch.h"
#include "updater/update_paths.h"

namespace {

std::string Ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += (c < 0x80) ? static_cast<char>(c) : '?';
    return out;
}

std::uint32_t ExistingFileSize(const std::wstring& path) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return 0;
    return static_cast<std::uint32_t>(size.QuadPart);
}

bool MatchesDigest(const std::wstring& path, const std::wstring& digest) {
    std::string hex;
    return FileMd5Hex(path, hex) && hex == Ascii(digest);
}

// Puts a verified temporary file in place: the running updater is kept as
// "Updater.exe.tmp" for the restart batch, every other file replaces its target.
FileDownloadOutcome Install(const std::wstring& folder, const UpdateItem& item, const std::wstring& temp,
                            FileDownloadOutcome outcome) {
    if (IsSelfUpdaterName(item.name)) {
        WriteRestartBatch(folder);
        outcome.status = FileDownloadStatus::Pending;
        outcome.tempKept = true;
        return outcome;
    }
    if (ReplaceTarget(temp, TargetPath(folder, item.name))) {
        outcome.status = FileDownloadStatus::Replaced;
        return outcome;
    }
    // Target in use: it stays as it was, the verified data waits for a later run.
    Diagnose(folder, "ReplaceFileFail " + Ascii(item.name) + "\n");
    outcome.status = FileDownloadStatus::Failed;
    outcome.tempKept = true;
    return outcome;
}

FileDownloadOutcome Rejected(const std::wstring& temp, FileDownloadOutcome outcome) {
    DeleteFileW(temp.c_str());
    outcome.status = FileDownloadStatus::Failed;
    outcome.tempKept = false;
    return outcome;
}

}  // namespace

RangeProbe ProbeRangeSupport(const std::wstring& updateUrl, const std::wstring& firstName, const std::wstring& folder) {
    RangeProbe probe;
    CHttpClient client;
    client.OpenSession();
    const std::wstring url = UpdateFileUrl(updateUrl, firstName);
    const std::wstring header = ResumeRequestHeader(1);
    probe.requestResult = client.SendRequest(url.c_str(), probe.status, header.c_str());
    client.CloseSession();
    if (probe.requestResult != CHTTP_REQUEST_OK) {
        Diagnose(folder, RequestFailureDiagnostic(probe.requestResult));
        return probe;
    }
    if (probe.status == 404) {
        Diagnose(folder, "404 not found\n");
        return probe;
    }
    probe.ok = true;
    probe.resume = probe.status == 206;
    return probe;
}

FileDownloadOutcome FetchUpdateFile(const std::wstring& updateUrl, const std::wstring& folder,
                                    const UpdateItem& item, bool resume, IFileDownloadProgress* progress) {
    FileDownloadOutcome outcome;
    const std::wstring root = NormaliseFolder(folder);
    if (!IsSafeRelativeName(item.name)) {
        Diagnose(root, "unsafe name skipped: " + Ascii(item.name) + "\n");
        outcome.status = FileDownloadStatus::Failed;
        return outcome;
    }
    const std::wstring temp = TempPath(root, item.name);
    if (!EnsureDirectory(temp.substr(0, temp.find_last_of(L'\\')))) {
        Diagnose(root, "CreateDirFail\n");
        return outcome;
    }

    const std::uint32_t offset = resume ? ExistingFileSize(temp) : 0;
    // A temporary file kept by an earlier run because its target was in use is
    // already complete: nothing is left to fetch, it only has to be put in place.
    if (offset > 0 && MatchesDigest(temp, item.digest)) {
        outcome.length = outcome.received = offset;
        outcome.status = FileDownloadStatus::Fetched;
        outcome.tempKept = true;
        return outcome;
    }

    win32::unique_file out(CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       resume ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        Diagnose(root, "OpenFileFail\n");
        return outcome;
    }
    if (resume) SetFilePointer(out.get(), 0, nullptr, FILE_END);

    CHttpClient client;
    client.OpenSession();
    const std::wstring url = UpdateFileUrl(updateUrl, item.name);
    const std::wstring header = resume ? ResumeRequestHeader(offset) : PlainRequestHeader();
    int status = 0;
    const int result = client.SendRequest(url.c_str(), status, header.c_str());
    if (result != CHTTP_REQUEST_OK) {
        Diagnose(root, RequestFailureDiagnostic(result));
        outcome.tempKept = true;
        return outcome;
    }
    // An error page, a whole file sent to a resume or a part sent to a plain request
    // is not the requested content; the temporary file cannot be trusted either.
    if (status != (resume ? 206 : 200)) {
        Diagnose(root, "unexpected status " + std::to_string(status) + " for " + Ascii(item.name) + "\n");
        out.reset();
        return Rejected(temp, outcome);
    }

    std::uint32_t length = 0;
    client.QueryContentLength(length);
    if (length == 0) length = 1;
    outcome.length = length;
    if (progress != nullptr) progress->OnStart(length);

    std::vector<char> buffer(kHttpBlockSize);
    for (;;) {
        std::uint32_t count = 0;
        if (!client.ReadData(buffer.data(), kHttpBlockSize, count)) {
            Diagnose(root, "InternetReadFileFail\n");
            outcome.tempKept = true;  // a later run continues it
            return outcome;
        }
        outcome.received += count;
        if (progress != nullptr) progress->OnBlock(outcome.received, length, count);
        if (count == 0) break;
        DWORD written = 0;
        if (!WriteFile(out.get(), buffer.data(), count, &written, nullptr) || written != count) {
            Diagnose(root, "WriteFileFail\n");
            outcome.tempKept = true;
            return outcome;
        }
    }
    out.reset();
    client.CloseSession();

    if (outcome.received != length) return Rejected(temp, outcome);
    outcome.status = FileDownloadStatus::Fetched;
    outcome.tempKept = true;
    return outcome;
}

FileDownloadOutcome InstallFetchedFile(const std::wstring& folder, const UpdateItem& item,
                                       FileDownloadOutcome fetched) {
    if (fetched.status != FileDownloadStatus::Fetched) return fetched;
    const std::wstring root = NormaliseFolder(folder);
    if (!IsSafeRelativeName(item.name)) {  // never named by a fetch; refused here too
        fetched.status = FileDownloadStatus::Failed;
        fetched.tempKept = false;
        return fetched;
    }
    const std::wstring temp = TempPath(root, item.name);
    // The byte count alone does not prove the content: a resumed file may hold the
    // start of an older version. Only the server's digest does.
    if (!MatchesDigest(temp, item.digest)) {
        Diagnose(root, "digest mismatch " + Ascii(item.name) + "\n");
        return Rejected(temp, fetched);
    }
    fetched.tempKept = false;
    return Install(root, item, temp, fetched);
}

FileDownloadOutcome DownloadUpdateFile(const std::wstring& updateUrl, const std::wstring& folder,
                                       const UpdateItem& item, bool resume, IFileDownloadProgress* progress) {
    return InstallFetchedFile(folder, item, FetchUpdateFile(updateUrl, folder, item, resume, progress));
}
