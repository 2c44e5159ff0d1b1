// The texts an update run shows: status lines, button captions, row and label texts.
#pragma once

#include <cstdint>
#include <string>

namespace update_text {

// Status line.
inline constexpr wchar_t kDownloading[] = L"正在下载新版本...";
inline constexpr wchar_t kReadingLocal[] = L"获取本地版本信息...";
inline constexpr wchar_t kLocalFailed[] = L"获取本地版本信息失败";
inline constexpr wchar_t kReadingServer[] = L"获取新版本信息...";
inline constexpr wchar_t kServerFailed[] = L"更新信息获取失败,请检测网络是否正常!";
inline constexpr wchar_t kAlreadyNewest[] = L"程序已经是最新版,不需要更新.";
inline constexpr wchar_t kSucceeded[] = L"更新成功.";
inline constexpr wchar_t kDownloadFailed[] = L"下载更新文件失败,请检测网络是否正常.";

// Update button.
inline constexpr wchar_t kButtonUpdate[] = L"更新";
inline constexpr wchar_t kButtonRetry[] = L"重新更新";
inline constexpr wchar_t kButtonFinish[] = L"更新完成";

// Row status of a file whose download was short or rejected.
inline constexpr wchar_t kRowFailed[] = L"文件下载失败";
// Row status right after the row is inserted.
inline constexpr wchar_t kRowInitial[] = L"0.00K(当前大小)/0.00K(总大小)";

// Speed label at rest.
inline constexpr wchar_t kSpeedIdle[] = L"0.0k/s(下载速度)";

}  // namespace update_text

// "<received>K(当前大小)/<length>K(总大小)" with two decimals, K = 1000 bytes; the row
// text while a file downloads and once it has finished. A list cell cannot show line
// ends (they would be drawn as boxes and push the text past the column), so a
// finished row carries no trailing " \r\n".
std::wstring RowProgressText(std::uint64_t received, std::uint64_t length);

// "<k>k/s(下载速度)" with one decimal: the announced length over the time between the
// two millisecond ticks (wrap-around safe); within one tick, length / 1000.
std::wstring SpeedText(std::uint64_t length, std::uint32_t startTick, std::uint32_t endTick);

// "<done>个(当前已下载文件个数)/<total>个(总文件个数)".
std::wstring CountText(int done, int total);

// The name as the list can show it: converted to the ANSI code page and back, so
// characters the code page lacks appear as "?".
std::wstring DisplayName(const std::wstring& name);
