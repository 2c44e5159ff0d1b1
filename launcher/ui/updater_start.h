// Starting Updater.exe from the launcher's own folder, as the update prompt and the
// "检查更新" menu item do.
#pragma once

#include <string>

// Shown when the updater cannot be started (missing, blocked).
inline constexpr wchar_t kUpdaterNotStartedText[] = L"\n\t无法启动更新程序 Updater.exe,\n\t请重新安装Velmora。";

// The updater beside the launcher: <programFolder>\Updater.exe.
std::wstring UpdaterPath(const std::wstring& programFolder);

// Starts <programFolder>\Updater.exe (verb "open", no parameters, the folder as its
// current directory, which the updater works in). False when the shell refused.
bool StartUpdater(const std::wstring& programFolder);
