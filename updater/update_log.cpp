#include "updater/update_log.h"

#include <windows.h>

#include "common/fs/whole_file.h"
#include "common/http/http_client.h"
#include "common/http/transfer.h"
#include "common/text/code_page.h"
#include "updater/update_paths.h"

namespace {

std::wstring AnsiLine(const char* data, size_t size) {
    return text::CodePageToWide(std::string_view(data, size), text::kAnsiCodePage);
}

// Fetches `url` into `temp` (truncated first). Replaced when the whole body is there.
UpdateLogFetch FetchInto(const std::wstring& url, const std::wstring& temp) {
    win32::unique_file out = transfer::OpenTransferTarget(temp, false);
    if (!out) return UpdateLogFetch::Failed;
    CHttpClient client;
    int status = 0;
    if (OpenAndSendPlainGet(client, url, status) != CHTTP_REQUEST_OK || status != 200)
        return UpdateLogFetch::Failed;
    std::uint64_t announced = 0;
    const bool hasLength = client.QueryContentLength(announced);
    if (hasLength && announced > kUpdateLogLimit) return UpdateLogFetch::TooLarge;  // not even read
    const transfer::TransferOutcome body = transfer::TransferBodyToFile(client, out.get(), {}, kUpdateLogLimit);
    if (body.result == transfer::TransferResult::LimitExceeded) return UpdateLogFetch::TooLarge;
    if (body.result != transfer::TransferResult::Complete) return UpdateLogFetch::Failed;
    if (hasLength && body.received != announced) return UpdateLogFetch::Failed;
    return UpdateLogFetch::Replaced;
}

}  // namespace

std::wstring UpdateLogText(const std::string& bytes) {
    std::wstring text;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        std::wstring line = AnsiLine(bytes.data() + start, end - start);
        if (!line.empty() && line.front() == 0xFEFF) line.erase(0, 1);
        text += line;
        text += L'\n';
        start = next;
    }
    return text;
}

UpdateLogFetch DownloadUpdateLog(const std::wstring& logUrl, const std::wstring& folder) {
    const std::wstring url = NormaliseUrl(logUrl) + L"UpdateLog.ini";
    const std::wstring target = NormaliseFolder(folder) + L"Update_Logo.txt";
    const std::wstring temp = target + L".tmp";
    UpdateLogFetch fetched = FetchInto(url, temp);
    // One step: the copy always holds a whole log, the old or the new one.
    if (fetched == UpdateLogFetch::Replaced && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        fetched = UpdateLogFetch::Failed;
    if (fetched != UpdateLogFetch::Replaced) DeleteFileW(temp.c_str());
    return fetched;
}

std::wstring ReadUpdateLog(const std::wstring& folder) {
    std::string bytes;
    const files::ReadResult read =
        files::ReadWholeFile(NormaliseFolder(folder) + L"Update_Logo.txt", bytes, kUpdateLogLimit);
    if (read != files::ReadResult::Read) return {};
    return UpdateLogText(bytes);
}

std::wstring LoadUpdateLog(const std::wstring& logUrl, const std::wstring& folder) {
    DownloadUpdateLog(logUrl, folder);
    return ReadUpdateLog(folder);
}
