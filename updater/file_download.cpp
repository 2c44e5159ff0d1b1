#include "updater/file_download.h"

#include <windows.h>

#include "common/fs/file_size.h"
#include "common/fs/folder_tree.h"
#include "common/http/http_client.h"
#include "common/http/request_headers.h"
#include "common/http/transfer.h"
#include "common/text/code_page.h"
#include "updater/diagnostics.h"
#include "updater/file_digest.h"
#include "updater/file_replace.h"
#include "updater/restart_batch.h"
#include "updater/update_paths.h"

namespace {

std::string Ascii(const std::wstring& text) { return text::AsciiApproximation(text); }

bool HexMatches(const std::string& hex, const std::wstring& digest) {
    return !hex.empty() && DigestsMatch(std::wstring(hex.begin(), hex.end()), digest);
}

// The file's digest read from disk, when it matches `digest`.
bool MatchesDigest(DigestProvider& provider, const std::wstring& path, const std::wstring& digest, std::string& hex) {
    return FileMd5Hex(provider, path, hex) && HexMatches(hex, digest);
}

// Puts a verified temporary file in place: the running updater is kept as
// "Updater.exe.tmp" for the restart batch, every other file replaces its target.
FileDownloadOutcome Install(const DiagnosticSink& diagnostics, const std::wstring& folder, const UpdateItem& item,
                            const std::wstring& temp, FileDownloadOutcome outcome) {
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
    diagnostics.Report(folder, "ReplaceFileFail " + Ascii(item.name) + "\n");
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

RangeProbe ProbeRangeSupport(const DiagnosticSink& diagnostics, const std::wstring& updateUrl,
                             const std::wstring& firstName, const std::wstring& folder) {
    RangeProbe probe;
    CHttpClient client;
    client.OpenSession();
    const std::wstring url = UpdateFileUrl(updateUrl, firstName);
    const std::wstring header = ResumeRequestHeader(1);
    probe.requestResult = client.SendRequest(url.c_str(), probe.status, header.c_str());
    client.CloseSession();
    if (probe.requestResult != CHTTP_REQUEST_OK) {
        diagnostics.Report(folder, RequestFailureDiagnostic(probe.requestResult));
        return probe;
    }
    if (probe.status == 404) {
        diagnostics.Report(folder, "404 not found\n");
        return probe;
    }
    probe.ok = true;
    probe.resume = probe.status == 206;
    return probe;
}

FileDownloadOutcome FetchUpdateFile(UpdaterContext& context, const std::wstring& updateUrl, const std::wstring& folder,
                                    const UpdateItem& item, bool resume, IFileDownloadProgress* progress) {
    const DiagnosticSink& diagnostics = context.diagnostics;
    FileDownloadOutcome outcome;
    const std::wstring root = NormaliseFolder(folder);
    if (!IsSafeRelativeName(item.name)) {
        diagnostics.Report(root, "unsafe name skipped: " + Ascii(item.name) + "\n");
        outcome.status = FileDownloadStatus::Failed;
        return outcome;
    }
    const std::wstring temp = TempPath(root, item.name);
    if (!files::MakeFolderTree(temp.substr(0, temp.find_last_of(L'\\')))) {
        diagnostics.Report(root, "CreateDirFail\n");
        return outcome;
    }

    const std::uint64_t offset = resume ? files::ExistingFileSize(temp) : 0;
    // A temporary file kept by an earlier run because its target was in use is
    // already complete: nothing is left to fetch, it only has to be put in place.
    if (std::string hex; offset > 0 && MatchesDigest(context.digests, temp, item.digest, hex)) {
        outcome.contentDigest = hex;
        outcome.length = outcome.received = offset;
        outcome.status = FileDownloadStatus::Fetched;
        outcome.tempKept = true;
        return outcome;
    }

    win32::unique_file out = transfer::OpenTransferTarget(temp, resume);
    if (!out) {
        diagnostics.Report(root, "OpenFileFail\n");
        return outcome;
    }

    // One session for every file of the run: its kept-alive connections carry the
    // next files without a new connection each.
    CHttpClient client(context.downloads);
    client.OpenSession();
    const std::wstring url = UpdateFileUrl(updateUrl, item.name);
    // Only a partial file asks for a range: "bytes=0-" of an empty file is a range no
    // server can satisfy (416), and from offset 0 the whole file is wanted anyway.
    bool ranged = offset > 0;
    int status = 0;
    int result = client.SendRequest(url.c_str(), status,
                                    (ranged ? ResumeRequestHeader(offset) : PlainRequestHeader()).c_str());
    // 416: the partial file is no prefix of the server's file (as long or longer, so
    // an older version). It is discarded and the file is asked for once more, whole.
    const bool discardPartial = result == CHTTP_REQUEST_OK && ranged && status == 416;
    if (discardPartial) {
        ranged = false;
        result = client.SendRequest(url.c_str(), status, PlainRequestHeader().c_str());
    }
    if (result != CHTTP_REQUEST_OK) {
        diagnostics.Report(root, RequestFailureDiagnostic(result));
        outcome.tempKept = true;
        return outcome;
    }
    // A server that ignores the range sends the whole file with 200: it replaces the
    // partial one. A part sent to a plain request or an error page is not the
    // requested content; the temporary file cannot be trusted either.
    if (status != 200 && !(ranged && status == 206)) {
        diagnostics.Report(root, "unexpected status " + std::to_string(status) + " for " + Ascii(item.name) + "\n");
        out.reset();
        return Rejected(temp, outcome);
    }
    if (discardPartial || (ranged && status == 200)) {
        out.reset();
        out = transfer::OpenTransferTarget(temp, false);  // emptied: the body is the whole file
        if (!out) {
            diagnostics.Report(root, "OpenFileFail\n");
            return outcome;
        }
    }

    // Without a Content-Length (a chunked body) the length is known only at the end;
    // the digest check decides. An announced length must be met exactly.
    std::uint64_t announced = 0;
    const bool hasLength = client.QueryContentLength(announced);
    const std::uint64_t length = announced == 0 ? 1 : announced;  // shown; never a divisor of 0
    outcome.length = length;
    if (progress != nullptr) progress->OnStart(length);

    // The digest is taken from the bytes as they are written, so the check after the
    // download need not read the file again. A continued file's digest starts with the
    // part already on disk; when that cannot be read the check reads the whole file.
    Md5 content;
    const bool appended = ranged && status == 206;
    const bool digestKnown = !appended || HashFilePrefix(temp, offset, content);
    const transfer::TransferOutcome body = transfer::TransferBodyToFile(
        client, out.get(),
        [&](std::uint64_t received, std::uint32_t block) {
            if (progress != nullptr) progress->OnBlock(received, length, block);
        },
        transfer::kNoLimit,
        [&](const char* data, std::uint32_t size) {
            if (digestKnown) content.Update(data, size);
        });
    outcome.received = body.received;
    if (body.result != transfer::TransferResult::Complete) {
        diagnostics.Report(
            root, body.result == transfer::TransferResult::WriteFailed ? "WriteFileFail\n" : "InternetReadFileFail\n");
        outcome.tempKept = true;  // a later run continues it
        return outcome;
    }
    out.reset();
    client.CloseSession();

    if (hasLength && outcome.received != announced) return Rejected(temp, outcome);
    if (digestKnown) outcome.contentDigest = DigestToHex(content.Finish());
    outcome.status = FileDownloadStatus::Fetched;
    outcome.tempKept = true;
    return outcome;
}

FileDownloadOutcome InstallFetchedFile(UpdaterContext& context, const std::wstring& folder, const UpdateItem& item,
                                       FileDownloadOutcome fetched) {
    const DiagnosticSink& diagnostics = context.diagnostics;
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
    std::string onDisk;
    const bool matches = fetched.contentDigest.empty() ? MatchesDigest(context.digests, temp, item.digest, onDisk)
                                                       : HexMatches(fetched.contentDigest, item.digest);
    if (!matches) {
        diagnostics.Report(root, "digest mismatch " + Ascii(item.name) + "\n");
        return Rejected(temp, fetched);
    }
    fetched.tempKept = false;
    return Install(diagnostics, root, item, temp, fetched);
}

FileDownloadOutcome DownloadUpdateFile(UpdaterContext& context, const std::wstring& updateUrl,
                                       const std::wstring& folder, const UpdateItem& item, bool resume,
                                       IFileDownloadProgress* progress) {
    return InstallFetchedFile(context, folder, item,
                              FetchUpdateFile(context, updateUrl, folder, item, resume, progress));
}
