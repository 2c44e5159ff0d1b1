// The update engine's per-file download (DownloadUpdateFile: request, body, digest
// check, replacement) over a list of files, in sequence, into an empty folder; then,
// separately, the digest of every installed file, so the share of the check shows.
//   engine_download_bench <base url> <list file: "name<TAB>md5" per line> <folder>
#include "updater/file_download.h"
#include "updater/file_digest.h"

#include "bench/bench_support.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: engine_download_bench <base url> <list file> <folder>\n");
        return 2;
    }
    const std::wstring base = bench::Widen(argv[1]);
    const std::wstring folder = bench::Widen(argv[3]);
    UpdateList list;
    for (const std::wstring& line : bench::ReadLines(argv[2])) {
        const size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos) continue;
        std::wstring name = line.substr(0, tab);  // manifest names use backslashes
        for (wchar_t& c : name) if (c == L'/') c = L'\\';
        list.push_back({name, line.substr(tab + 1)});
    }
    const auto start = std::chrono::steady_clock::now();
    long long bytes = 0;
    for (const UpdateItem& item : list) {
        const FileDownloadOutcome outcome = DownloadUpdateFile(base, folder, item, false, nullptr);
        if (outcome.status != FileDownloadStatus::Replaced) {
            std::fprintf(stderr, "failed: %ls\n", item.name.c_str());
            return 1;
        }
        bytes += outcome.received;
    }
    const double seconds = bench::SecondsSince(start);

    const auto hashStart = std::chrono::steady_clock::now();
    for (const UpdateItem& item : list) {
        std::string hex;
        FileMd5Hex(folder + L"\\" + item.name, hex);
    }
    const double hashSeconds = bench::SecondsSince(hashStart);
    std::printf("engine_download_bench files=%zu bytes=%lld seconds=%.3f MBps=%.1f digest_seconds=%.3f "
                "peak_private_MiB=%.1f\n",
                list.size(), bytes, seconds, bytes / seconds / 1e6, hashSeconds, bench::PeakPrivateMiB());
    return 0;
}
