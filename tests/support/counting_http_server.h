// A keep-alive HTTP/1.1 server on 127.0.0.1 for one test, counting the connections
// and requests it gets. It answers every GET with 200 and the body registered for
// the path (404 for others). Started by the constructor on a free port, stopped by
// the destructor; every wait it does is bounded.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class CountingHttpServer {
public:
    CountingHttpServer();
    ~CountingHttpServer();
    CountingHttpServer(const CountingHttpServer&) = delete;
    CountingHttpServer& operator=(const CountingHttpServer&) = delete;

    bool ok() const { return listener_ != INVALID_SOCKET; }
    int port() const { return port_; }
    // Serves `body` for GET `path` (such as "/a.bin").
    void Put(const std::string& path, const std::string& body);

    int connections() const { return connections_.load(); }
    int requests() const { return requests_.load(); }

private:
    void AcceptLoop();
    void Serve(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> requests_{0};
    std::mutex lock_;
    std::map<std::string, std::string> bodies_;
    std::vector<SOCKET> clients_;
    std::vector<std::thread> servers_;
    std::thread acceptor_;
};

}  // namespace testing_support
