#include "updater/digest_batch.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "updater/file_digest.h"

namespace {

void HashFrom(const std::vector<std::wstring>& paths, std::vector<std::string>& records, std::atomic<size_t>& next) {
    for (size_t i = next++; i < paths.size(); i = next++) records[i] = FileMd5Record(paths[i]);
}

}  // namespace

std::vector<std::string> DigestRecords(const std::vector<std::wstring>& paths) {
    std::vector<std::string> records(paths.size());
    std::atomic<size_t> next{0};
    std::thread helper;
    if (paths.size() > 1 && std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread([&] {
                try {
                    HashFrom(paths, records, next);
                } catch (...) {
                    // Out of memory in a record: the calling thread carries on with the rest.
                }
            });
        } catch (...) {
            // No second thread: everything is hashed here.
        }
    }
    try {
        HashFrom(paths, records, next);
    } catch (...) {
    }
    if (helper.joinable()) helper.join();
    return records;
}
