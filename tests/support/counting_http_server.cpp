#include "tests/support/counting_http_server.h"

#include <ws2tcpip.h>

namespace testing_support {
namespace {

// Waits up to `ms` for `socket` to become readable.
bool Readable(SOCKET socket, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
}

bool SendAll(SOCKET socket, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        const int n = send(socket, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

CountingHttpServer::CountingHttpServer() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

CountingHttpServer::~CountingHttpServer() {
    stopping_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (SOCKET client : clients_) shutdown(client, SD_BOTH);
    }
    for (std::thread& server : servers_) server.join();
    for (SOCKET client : clients_) closesocket(client);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

void CountingHttpServer::Put(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> guard(lock_);
    bodies_[path] = body;
}

void CountingHttpServer::AcceptLoop() {
    while (!stopping_) {
        if (!Readable(listener_, 50)) continue;
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        ++connections_;
        std::lock_guard<std::mutex> guard(lock_);
        clients_.push_back(client);
        servers_.emplace_back([this, client] { Serve(client); });
    }
}

void CountingHttpServer::Serve(SOCKET client) {
    std::string pending;
    char buffer[4096];
    while (!stopping_) {
        const size_t end = pending.find("\r\n\r\n");
        if (end == std::string::npos) {
            if (!Readable(client, 50)) continue;
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0) return;  // the client closed the connection
            pending.append(buffer, static_cast<size_t>(n));
            continue;
        }
        const std::string head = pending.substr(0, end);
        pending.erase(0, end + 4);
        ++requests_;
        const size_t pathStart = head.find(' ') + 1;
        const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
        std::string body;
        bool found = false;
        {
            std::lock_guard<std::mutex> guard(lock_);
            const auto it = bodies_.find(path);
            if (it != bodies_.end()) {
                body = it->second;
                found = true;
            }
        }
        const std::string answer = std::string(found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                                   "Content-Length: " + std::to_string(body.size()) +
                                   "\r\nConnection: keep-alive\r\n\r\n" + body;
        if (!SendAll(client, answer)) return;
    }
}

}  // namespace testing_support
