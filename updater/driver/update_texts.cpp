#include "updater/driver/update_texts.h"

#include <windows.h>

#include <cwchar>

namespace {

std::wstring Format(const wchar_t* format, double a, double b) {
    wchar_t buffer[128] = {};
    std::swprintf(buffer, 128, format, a, b);
    return buffer;
}

}  // namespace

std::wstring RowProgressText(std::uint32_t received, std::uint32_t length) {
    return Format(L"%.2fK(当前大小)/%.2fK(总大小)", received / 1000.0, length / 1000.0);
}

std::wstring SpeedText(std::uint32_t length, std::uint32_t startTick, std::uint32_t endTick) {
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
    const int wideLength = static_cast<int>(name.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, name.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return name;
    std::string narrow(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, name.data(), wideLength, narrow.data(), bytes, nullptr, nullptr);
    const int units = MultiByteToWideChar(CP_ACP, 0, narrow.data(), bytes, nullptr, 0);
    if (units <= 0) return name;
    std::wstring shown(units, L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), bytes, shown.data(), units);
    return shown;
}
