// CompareManifests on n records each side (10,000 and 100,000), with the growth
// against n log n: a ratio near 1 means n log n scaling, near 10 quadratic.
#include "updater/update_compare.h"

#include <algorithm>
#include <cmath>

#include "bench/bench_support.h"

namespace {

double TimeCompare(int n) {
    std::wstring server, local;
    for (int i = 0; i < n; ++i) {
        // Scattered order, long shared prefixes, one in ten changed.
        const std::wstring name = L"data\\sub\\file" + std::to_wstring(static_cast<long long>(i) * 7919 % n) + L".bin";
        server += name + L"\t0123456789abcdef0123456789abcdef\n";
        local +=
            name + (i % 10 == 0 ? L"\tffffffffffffffffffffffffffffffff\n" : L"\t0123456789abcdef0123456789abcdef\n");
    }
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const UpdateList list = CompareManifests(server, local);
        best = std::min(best, bench::SecondsSince(start));
        if (list.size() != static_cast<size_t>(n / 10)) std::fprintf(stderr, "unexpected list size\n");
    }
    return best;
}

}  // namespace

int main() {
    const double small = TimeCompare(10000);
    const double large = TimeCompare(100000);
    const double expected = (100000 * std::log(100000.0)) / (10000 * std::log(10000.0));
    std::printf("compare_bench n=10000 seconds=%.4f n=100000 seconds=%.4f growth=%.2f nlogn_growth=%.2f ratio=%.2f\n",
                small, large, large / small, expected, (large / small) / expected);
    return 0;
}
