// CompareManifests on n records each side (10,000 and 100,000), with the growth
// against n log n: a ratio near 1 means n log n scaling, near 10 quadratic.
#include "updater/update_compare.h"

#include <algorithm>
#include <cmath>

#include "bench/bench_support.h"

namespace {

// A server and a local manifest of n records each.
struct ManifestPair {
    explicit ManifestPair(int records) : n(records) {
        for (int i = 0; i < n; ++i) {
            // Scattered order, long shared prefixes, one in ten changed.
            const std::wstring name =
                L"data\\sub\\file" + std::to_wstring(static_cast<long long>(i) * 7919 % n) + L".bin";
            server += name + L"\t0123456789abcdef0123456789abcdef\n";
            local += name +
                     (i % 10 == 0 ? L"\tffffffffffffffffffffffffffffffff\n" : L"\t0123456789abcdef0123456789abcdef\n");
        }
    }
    double TimeOne() const {
        const auto start = std::chrono::steady_clock::now();
        const UpdateList list = CompareManifests(server, local);
        const double seconds = bench::SecondsSince(start);
        if (list.size() != static_cast<size_t>(n / 10)) std::fprintf(stderr, "unexpected list size\n");
        return seconds;
    }
    int n;
    std::wstring server, local;
};

}  // namespace

int main() {
    // Both sizes are timed in turns and the best of each is kept, so that both see
    // the machine in the same state: this machine's speed drifts by a third between
    // one second and the next, which the small case (a few milliseconds) would
    // otherwise count many times over in the growth.
    const ManifestPair small(10000);
    const ManifestPair large(100000);
    double bestSmall = 1e9, bestLarge = 1e9;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 4; ++i) bestSmall = std::min(bestSmall, small.TimeOne());
        bestLarge = std::min(bestLarge, large.TimeOne());
    }
    const double expected = (100000 * std::log(100000.0)) / (10000 * std::log(10000.0));
    std::printf("compare_bench n=10000 seconds=%.4f n=100000 seconds=%.4f growth=%.2f nlogn_growth=%.2f ratio=%.2f\n",
                bestSmall, bestLarge, bestLarge / bestSmall, expected, (bestLarge / bestSmall) / expected);
    return 0;
}
