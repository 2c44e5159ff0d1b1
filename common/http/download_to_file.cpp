#include "common/http/download_to_file.h"

#include "common/fs/file_size.h"
#include "common/http/http_client.h"
#include "common/http/request_headers.h"
#include "common/http/transfer.h"

int DownloadToFile(const std::wstring& url, const std::wstring& target, DownloadCallback callback, void* user,
                   bool resume, bool replace) {
    const std::wstring temp = target + L".tmp";
    const std::wstring header = resume ? ResumeRequestHeader(files::ExistingFileSize(temp)) : PlainRequestHeader();
    win32::unique_file out = transfer::OpenTransferTarget(temp, resume);
    if (!out) return DOWNLOAD_ERROR_TMPFILE;

    CHttpClient client;
    client.OpenSession();
    int status = 0;
    if (client.SendRequest(url.c_str(), status, header.c_str()) != CHTTP_REQUEST_OK) return DOWNLOAD_ERROR_REQUEST;
    // Anything but the requested content (an error page, a whole file sent to a
    // resume, a part sent to a plain request) must not end up in the file.
    if (status != (resume ? 206 : 200)) return DOWNLOAD_ERROR_STATUS;

    std::uint64_t length = 0;
    client.QueryContentLength(length);
    if (length == 0) length = 1;

    const transfer::TransferOutcome body =
        transfer::TransferBodyToFile(client, out.get(), [&](std::uint64_t received, std::uint32_t block) {
            if (callback != nullptr) callback(DownloadProgress{length, received, block}, user);
        });
    out.reset();
    client.CloseSession();
    // A disk that takes no more data is a failed download like a broken read.
    if (body.result != transfer::TransferResult::Complete) return DOWNLOAD_ERROR_READ;

    if (body.received != length) {
        DeleteFileW(temp.c_str());
        return DOWNLOAD_ERROR_LENGTH;
    }
    // One step: the target always holds either its old or its new content. When it
    // cannot be replaced (in use) the complete data stays in the temporary file.
    if (replace) MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    return DOWNLOAD_OK;
}
