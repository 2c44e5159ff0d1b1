#include "updater/update_log.h"

#include <windows.h>

#include "common/http/download_to_file.h"
#include "common/fs/whole_file.h"
#include "common/text/code_page.h"
#include "updater/update_paths.h"

namespace {

// The log box shows a few pages of text; a larger file is not read at all.
constexpr std::uint64_t kLogLimit = 16ull << 20;

std::wstring AnsiLine(const char* data, size_t size) {
    return text::CodePageToWide(std::string_view(data, size), text::kAnsiCodePage);
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

std::wstring LoadUpdateLog(const std::wstring& logUrl, const std::wstring& folder) {
    const std::wstring url = NormaliseUrl(logUrl) + L"UpdateLog.ini";
    const std::wstring target = NormaliseFolder(folder) + L"Update_Logo.txt";
    // When the download fails, the copy of an earlier run is shown instead.
    DownloadToFile(url, target, nullptr, nullptr, false, true);
    std::string bytes;
    const files::ReadResult read = files::ReadWholeFile(target, bytes, kLogLimit);
    if (read != files::ReadResult::Read && read != files::ReadResult::Missing) return {};
    return UpdateLogText(bytes);
}
