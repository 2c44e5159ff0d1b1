#include "updater/digest_batch.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "updater/file_digest.h"

namespace {

void HashFrom(DigestProvider& provider, const std::vector<std::wstring>& paths, const std::vector<size_t>& order,
              std::vector<std::string>& records, std::atomic<size_t>& next) {
    for (size_t k = next++; k < order.size(); k = next++) records[order[k]] = FileMd5Record(provider, paths[order[k]]);
}

}  // namespace

std::vector<std::string> DigestRecords(DigestProvider& provider, const std::vector<std::wstring>& paths,
                                       const std::vector<unsigned long long>& sizes) {
    std::vector<std::string> records(paths.size());
    std::vector<size_t> order(paths.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (sizes.size() == paths.size())
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return sizes[a] > sizes[b]; });
    std::atomic<size_t> next{0};
    std::thread helper;
    if (paths.size() > 1 && std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread([&] {
                try {
                    HashFrom(provider, paths, order, records, next);
                } catch (...) {
                    // Out of memory in a record: the calling thread carries on with the rest.
                }
            });
        } catch (...) {
            // No second thread: everything is hashed here.
        }
    }
    try {
        HashFrom(provider, paths, order, records, next);
    } catch (...) {
    }
    if (helper.joinable()) helper.join();
    return records;
}
