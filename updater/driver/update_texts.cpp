#include "updater/driver/update_texts.h"

#include <windows.h>

#include <cwchar>

#include "common/text/code_page.h"

namespace {

std::wstring Format(const wchar_t* format, double a, double b) {
    wchar_t buffer[128] = {};
    std::swprintf(buffer, 128, format, a, b);
    return buffer;
}

}  // namespace

std::wstring RowProgressText(std::uint64_t received, std::uint64_t length) {
    return Format(L"%.2fK(当前大小)/%.2fK(总大小)", received / 1000.0, length / 1000.0);
}

std::wstring SpeedText(std::uint64_t length, std::uint32_t startTick, std::uint32_t endTick) {
    const double seconds = static_cast<std::uint32_t>(endTick - startTick) / 1000.0;
    const double speed = seconds != 0 ? length / seconds / 1000.0 : length / 1000.0;
    wchar_t buffer[64] = {};
    std::swprintf(buffer, 64, L"%.1fk/s(下载速度)", speed);
    return buffer;
}

std::wstring CountText(int done, int total) {
    wchar_t buffer[96] = {};
    std::swprintf(buffer, 96, L"%d个(当前已下载文件个数)/%d个(总文件个数)", done, total);
    return buffer;
}

std::wstring DisplayName(const std::wstring& name) {
    if (name.empty()) return name;
    const std::string narrow = text::WideToCodePage(name, text::kAnsiCodePage);
    if (narrow.empty()) return name;
    const std::wstring shown = text::CodePageToWide(narrow, text::kAnsiCodePage);
    return shown.empty() ? name : shown;
}
