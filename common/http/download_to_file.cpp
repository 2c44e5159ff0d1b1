#include "common/http/download_to_file.h"

#include <vector>

#include "common/http/http_client.h"
#include "common/http/request_headers.h"
#include "common/win32/unique_handle.h"

namespace {

// Size of an existing file opened with read sharing; 0 when it does not exist.
std::uint32_t ExistingFileSize(const std::wstring& path) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return 0;
    return static_cast<std::uint32_t>(size.QuadPart);
}

win32::unique_file OpenOutput(const std::wstring& path, bool append) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && append) SetFilePointer(file.get(), 0, nullptr, FILE_END);
    return file;
}

bool WriteAll(HANDLE file, const char* data, std::uint32_t size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

int DownloadToFile(const std::wstring& url, const std::wstring& target, DownloadCallback callback, void* user,
                   bool resume, bool replace) {
    const std::wstring temp = target + L".tmp";
    std::uint32_t offset = 0;
    std::wstring header;
    if (resume) {
        offset = ExistingFileSize(temp);
        header = ResumeRequestHeader(offset);
    } else {
        header = PlainRequestHeader();
    }
    win32::unique_file out = OpenOutput(temp, resume);
    if (!out) return DOWNLOAD_ERROR_TMPFILE;

    CHttpClient client;
    client.OpenSession();
    int status = 0;
    if (client.SendRequest(url.c_str(), status, header.c_str()) != CHTTP_REQUEST_OK) {
        client.CloseSession();
        return DOWNLOAD_ERROR_REQUEST;
    }
    // Anything but the requested content (an error page, a whole file sent to a
    // resume, a part sent to a plain request) must not end up in the file.
    if (status != (resume ? 206 : 200)) {
        client.CloseSession();
        return DOWNLOAD_ERROR_STATUS;
    }

    std::uint32_t length = 0;
    client.QueryContentLength(length);
    if (length == 0) length = 1;

    std::vector<char> buffer(kHttpBlockSize);
    std::uint32_t total = 0;
    for (;;) {
        std::uint32_t count = 0;
        if (!client.ReadData(buffer.data(), kHttpBlockSize, count)) {
            out.reset();
            client.CloseSession();
            return DOWNLOAD_ERROR_READ;
        }
        total += count;
        if (callback != nullptr) callback(DownloadProgress{length, total, count}, user);
        if (count == 0) break;
        if (!WriteAll(out.get(), buffer.data(), count)) {
            // A disk that takes no more data is a failed download like a broken read.
            out.reset();
            client.CloseSession();
            return DOWNLOAD_ERROR_READ;
        }
    }
    out.reset();
    client.CloseSession();

    if (total != length) {
        DeleteFileW(temp.c_str());
        return DOWNLOAD_ERROR_LENGTH;
    }
    // One step: the target always holds either its old or its new content. When it
    // cannot be replaced (in use) the complete data stays in the temporary file.
    if (replace) MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    return DOWNLOAD_OK;
}
