// A statistics endpoint for the tests: an HTTP server on 127.0.0.1 (free port) in a
// thread of the test process. It records each request and answers a configurable
// body, late, never, or with a huge body. Stopped and joined by the destructor.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class StatsReceiver {
public:
    struct Options {
        std::string response = "1";
        DWORD delayMs = 0;                // pause before answering
        bool neverAnswer = false;         // hold the connection until the client gives up
        uint64_t hugeResponseBytes = 0;   // announce and stream this many bytes instead
    };
    struct Request {
        std::string requestLine;  // "POST /path HTTP/1.1"
        std::string body;
    };

    explicit StatsReceiver(Options options);
    StatsReceiver() : StatsReceiver(Options{}) {}
    ~StatsReceiver();
    StatsReceiver(const StatsReceiver&) = delete;
    StatsReceiver& operator=(const StatsReceiver&) = delete;

    bool listening() const { return port_ != 0; }
    // Full URL of the endpoint path on this receiver.
    std::string Url() const;
    std::vector<Request> Requests();
    // Connections whose request was complete.
    size_t RequestCount();
    // Connections answered (or given up) completely.
    size_t FinishedCount() const { return finished_; }

private:
    void Serve();
    void Handle(uintptr_t connection);

    Options options_;
    uintptr_t listener_;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> finished_{0};
    std::mutex lock_;
    std::vector<Request> requests_;
    std::thread thread_;
};

// A 127.0.0.1 URL on which nothing listens (the port was free a moment ago).
std::string ClosedPortUrl();

}  // namespace testing_support
