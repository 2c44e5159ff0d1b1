// Downloading one file of the update list and putting it in place.
//
// The update pass (the driver) calls ProbeRangeSupport once, then fetches and
// installs each item, turning the progress calls into rows, byte counts and the
// progress bar. Nothing here knows about windows. Blocks. Different items may be
// fetched and installed on several threads at once: each touches only its own
// files, and all fetches share the context's download session.
#pragma once

#include <cstdint>
#include <string>

#include "updater/update_compare.h"
#include "updater/updater_context.h"

// What the pass learns from asking for the first file from byte 1 on.
struct RangeProbe {
    bool ok = false;        // false: the pass must stop (diagnostic already reported)
    bool resume = false;    // the server answered 206: temporary files are continued
    int requestResult = 0;  // CHttpRequestResult
    int status = 0;         // HTTP status when requestResult is CHTTP_REQUEST_OK
};

// Sends GET updateUrl + firstName with "Range:bytes=1-"; 206 → resume, 404 → stop
// with "404 not found\n", other statuses → no resume, request failures → stop with
// their diagnostic. The body is not read.
RangeProbe ProbeRangeSupport(const DiagnosticSink& diagnostics, const std::wstring& updateUrl,
                             const std::wstring& firstName, const std::wstring& folder);

// Progress of one file, implemented by the driver. Called on the calling thread.
class IFileDownloadProgress {
public:
    virtual ~IFileDownloadProgress() = default;
    // The response arrived; `length` is its Content-Length (0 taken as 1). The
    // driver takes its start tick here.
    virtual void OnStart(std::uint64_t length) = 0;
    // After every successful read, the final empty one included (block == 0).
    // `received` counts the bytes of this download only (not a resumed prefix).
    virtual void OnBlock(std::uint64_t received, std::uint64_t length, std::uint32_t block) = 0;
};

enum class FileDownloadStatus {
    Fetched,   // the whole body is in the temporary file, not yet checked or installed
    Replaced,  // the target now holds the verified new content
    Pending,   // "Updater.exe": verified, kept as "Updater.exe.tmp", restart batch written
    Failed,    // this file failed ("文件下载失败"); the target is as it was; the pass goes on
    Stop,      // the pass must stop (folder, temporary file, request or read failure)
};

struct FileDownloadOutcome {
    FileDownloadStatus status = FileDownloadStatus::Stop;
    std::uint64_t length = 1;    // announced length (0 taken as 1)
    std::uint64_t received = 0;  // bytes received in this download
    bool tempKept = false;       // a temporary file remains for a later run
    // MD5 of the temporary file's whole content as 32 lower-case hex digits, taken
    // from the bytes as they were written; empty when not known (the check then reads
    // the file).
    std::string contentDigest;
};

// Downloads updateUrl + item.name into <folder>\<name>.tmp (continued from its size
// when `resume`), then, when the byte count matches the announced length, the
// response was the requested content (200 plain / 206 resumed) and the file's MD5
// equals item.digest, replaces the target in one step (or keeps "Updater.exe.tmp"
// and writes the restart batch). A rejected file's temporary file is deleted. A
// target that cannot be replaced (in use) stays as it was and its verified
// temporary file is kept; that counts as Failed. Unsafe names are Failed untouched.
// `progress` may be null.
FileDownloadOutcome DownloadUpdateFile(UpdaterContext& context, const std::wstring& updateUrl,
                                       const std::wstring& folder, const UpdateItem& item, bool resume,
                                       IFileDownloadProgress* progress);

// The two halves of DownloadUpdateFile, so that a pass can check and install one file
// while it fetches the next. FetchUpdateFile ends with the whole body of the announced
// length in the temporary file (Fetched), or with Failed or Stop as above; a complete
// temporary file kept by an earlier run counts as Fetched without a request. The
// request goes through context.downloads, so a connection left open by an earlier
// file is used again.
FileDownloadOutcome FetchUpdateFile(UpdaterContext& context, const std::wstring& updateUrl, const std::wstring& folder,
                                    const UpdateItem& item, bool resume, IFileDownloadProgress* progress);
// Checks a Fetched file against item.digest and puts it in place (Replaced, Pending
// or Failed, as above); any other outcome is returned unchanged. Touches only this
// item's files and the restart batch, so it may run on another thread than the fetch
// of a different item.
FileDownloadOutcome InstallFetchedFile(UpdaterContext& context, const std::wstring& folder, const UpdateItem& item,
                                       FileDownloadOutcome fetched);
