// DownloadToFile over the URLs of a list, in sequence, into <out folder>\<n>.bin.
//   download_bench <url list file> <out folder>
#include "common/http/download_to_file.h"

#include "bench/bench_support.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: download_bench <url list file> <out folder>\n");
        return 2;
    }
    const auto urls = bench::ReadLines(argv[1]);
    const std::wstring outFolder = bench::Widen(argv[2]);
    const auto start = std::chrono::steady_clock::now();
    long long bytes = 0;
    for (size_t i = 0; i < urls.size(); ++i) {
        const std::wstring target = outFolder + L"\\" + std::to_wstring(i) + L".bin";
        const int result = DownloadToFile(urls[i], target, nullptr, nullptr, false, true);
        if (result != DOWNLOAD_OK) {
            std::fprintf(stderr, "failed (%d): %ls\n", result, urls[i].c_str());
            return 1;
        }
        WIN32_FILE_ATTRIBUTE_DATA info{};
        if (GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &info))
            bytes += (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    }
    const double seconds = bench::SecondsSince(start);
    std::printf("download_bench files=%zu bytes=%lld seconds=%.3f MBps=%.1f peak_private_MiB=%.1f\n", urls.size(),
                bytes, seconds, bytes / seconds / 1e6, bench::PeakPrivateMiB());
    return 0;
}
