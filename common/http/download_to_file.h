// Downloads one URL into a file through "<target>.tmp", optionally resuming it.
#pragma once

#include <cstdint>
#include <string>

// Passed to the progress callback after every block.
struct DownloadProgress {
    std::uint64_t length;    // announced length (Content-Length, 0 taken as 1)
    std::uint64_t received;  // bytes received so far in this download
    std::uint32_t block;     // bytes of the block just read (0 at the end of the body)
};

using DownloadCallback = void (*)(const DownloadProgress& progress, void* user);

enum DownloadResult : int {
    DOWNLOAD_OK = 0,
    DOWNLOAD_ERROR_TMPFILE = 1,  // the temporary file could not be opened
    DOWNLOAD_ERROR_REQUEST = 2,  // the request failed (any non-OK request result)
    DOWNLOAD_ERROR_STATUS = 3,   // not 200 for a plain request / not 206 for a resume
    DOWNLOAD_ERROR_READ = 4,     // reading the body failed; the partial .tmp is kept
    DOWNLOAD_ERROR_LENGTH = 5,   // byte count differs from the announced length; .tmp deleted
};

// Fetches `url` into target + ".tmp". With `resume` the existing temporary file is
// continued with a range request from its size; without it the file is truncated.
// A complete body with `replace` set replaces `target` in one step (the target is
// never missing in between); when that move fails the complete ".tmp" is kept and
// the result is still DOWNLOAD_OK, as the data did arrive. Without `replace` the data
// stays in the temporary file. Blocks the calling thread.
int DownloadToFile(const std::wstring& url, const std::wstring& target, DownloadCallback callback, void* user,
                   bool resume, bool replace);
