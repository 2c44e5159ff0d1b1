// Usage reports: queued by the owner's thread, sent one at a time by a worker with
// an HTTP POST to the statistics endpoint. A report that fails is logged and dropped;
// nothing is retried and nothing is shown to the player.
//
// Owner's sequence: construct -> StartCollector -> AddUsageRecord ... StopCollector
// -> destroy. Queue operations are safe from any thread at any time.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "common/win32/thread_owner.h"
#include "launcher/services/sync_guards.h"

class CDataCollector {
public:
    static constexpr int32_t SOFTWARE_ID = 181;
    static constexpr DWORD kWorkerPauseMs = 40;

    // Stores the adapter address text; false when it cannot be determined.
    using AddressSource = std::function<bool(std::string& address)>;

    // The built-in statistics endpoint and the machine's first network adapter.
    CDataCollector();
    // Another endpoint (full URL) and address source, for tools and tests.
    CDataCollector(std::string endpoint, AddressSource addressSource);
    ~CDataCollector();
    CDataCollector(const CDataCollector&) = delete;
    CDataCollector& operator=(const CDataCollector&) = delete;

    // Starts the worker; false when it cannot be started (queued reports then stay
    // unsent).
    bool StartCollector();
    // Queues the start-up report. Always true.
    bool AddUsageRecord();
    // Queues a report of feature `featureId`.
    bool AddFeatureRecord(int32_t featureId);
    // Stops the worker after the cycle it is in (a request of up to 3 s included),
    // joins it and discards what is still queued.
    void StopCollector();

    // Reports sent and accepted / sent and failed so far (worker's counts).
    int AcceptedCount() const { return accepted_; }
    int FailedCount() const { return failed_; }
    size_t QueuedCount();

private:
    // The worker's body: one queued report per cycle until the stop signal.
    void ExeCollector(const win32::StopSignal& stop);
    bool GetMacAddress();
    bool PostUsageRecord(int32_t featureId);

    std::string endpoint_;
    AddressSource addressSource_;
    win32::ThreadOwner worker_;
    std::string address_;  // worker only
    std::string check_;    // worker only
    services::CriticalSection queueLock_;
    std::deque<int32_t> queue_;
    std::atomic<int> accepted_{0};
    std::atomic<int> failed_{0};
};
