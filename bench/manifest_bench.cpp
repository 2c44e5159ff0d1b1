// BuildLocalManifest over one folder tree: time and peak memory.
//   manifest_bench <folder>
#include "updater/manifest.h"

#include "bench/bench_support.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: manifest_bench <folder>\n");
        return 2;
    }
    const std::wstring folder = bench::Widen(argv[1]);
    const auto start = std::chrono::steady_clock::now();
    DigestProvider provider;
    if (!BuildLocalManifest(provider, folder)) {
        std::fprintf(stderr, "cannot write the manifest\n");
        return 1;
    }
    const double seconds = bench::SecondsSince(start);
    std::printf("manifest_bench seconds=%.3f peak_private_MiB=%.1f\n", seconds, bench::PeakPrivateMiB());
    return 0;
}
