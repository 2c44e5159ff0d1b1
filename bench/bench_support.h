// Small helpers shared by the benchmark programs: wall time, peak memory, URL lists.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Peak private bytes of this process in MiB: what the program itself allocated,
// without mapped files or the page cache.
inline double PeakPrivateMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return -1;
    return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

inline std::wstring Widen(const std::string& text) {
    std::wstring wide;
    for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

// One URL per line (ASCII).
inline std::vector<std::wstring> ReadLines(const char* path) {
    std::vector<std::wstring> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) lines.push_back(Widen(line));
    }
    return lines;
}

}  // namespace bench
