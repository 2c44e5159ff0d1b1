// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

#include "tests/services/stats_receiver.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace testing_support {
namespace {

constexpr char kPath[] = "/tools/game_box/pts/web/Zorvik_usage.php";

struct WinsockInit {
    WinsockInit() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockInit() { WSACleanup(); }
};

// Waits until `s` is readable (or writable), at most `ms`.
bool Ready(SOCKET s, bool forWrite, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval timeout{ms / 1000, (ms % 1000) * 1000};
    return select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &timeout) == 1;
}

SOCKET Listen(uint16_t& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 8) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

size_t ContentLength(const std::string& headers) {
    std::string lower(headers);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const size_t at = lower.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

}  // namespace

StatsReceiver::StatsReceiver(Options options) : options_(std::move(options)) {
    static WinsockInit winsock;
    listener_ = Listen(port_);
    if (listener_ == INVALID_SOCKET) {
        port_ = 0;
        return;
    }
    thread_ = std::thread([this] { Serve(); });
}

StatsReceiver::~StatsReceiver() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

std::string StatsReceiver::Url() const { return "http://127.0.0.1:" + std::to_string(port_) + kPath; }

std::vector<StatsReceiver::Request> StatsReceiver::Requests() {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

size_t StatsReceiver::RequestCount() {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_.size();
}

void StatsReceiver::Serve() {
    while (!stop_) {
        if (!Ready(listener_, false, 100)) continue;
        SOCKET connection = accept(listener_, nullptr, nullptr);
        if (connection == INVALID_SOCKET) continue;
        Handle(connection);
        closesocket(connection);
        ++finished_;
    }
}

void StatsReceiver::Handle(uintptr_t socketValue) {
    const SOCKET s = static_cast<SOCKET>(socketValue);
    std::string data;
    char chunk[4096];
    size_t headerEnd = std::string::npos;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    // Headers, then as much body as announced.
    while (!stop_ && GetTickCount64() < deadline) {
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + ContentLength(data.substr(0, headerEnd + 2)))
            break;
        if (!Ready(s, false, 100)) continue;
        const int got = recv(s, chunk, sizeof chunk, 0);
        if (got <= 0) return;
        data.append(chunk, got);
        if (headerEnd == std::string::npos) headerEnd = data.find("\r\n\r\n");
    }
    if (headerEnd == std::string::npos) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        requests_.push_back({data.substr(0, data.find("\r\n")),
                             data.substr(headerEnd + 4, ContentLength(data.substr(0, headerEnd + 2)))});
    }
    if (options_.neverAnswer) {
        // Until the client gives up (its read ends) or the receiver stops.
        while (!stop_) {
            if (Ready(s, false, 100) && recv(s, chunk, sizeof chunk, 0) <= 0) return;
        }
        return;
    }
    for (DWORD waited = 0; waited < options_.delayMs && !stop_; waited += 10) Sleep(10);
    if (options_.hugeResponseBytes) {
        const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                   std::to_string(options_.hugeResponseBytes) + "\r\nConnection: close\r\n\r\n";
        if (send(s, header.data(), static_cast<int>(header.size()), 0) <= 0) return;
        std::vector<char> filler(65536, '1');
        for (uint64_t sent = 0; sent < options_.hugeResponseBytes && !stop_;) {
            if (!Ready(s, true, 100)) continue;
            const int n = send(s, filler.data(), static_cast<int>(filler.size()), 0);
            if (n <= 0) return;  // the client hung up
            sent += static_cast<uint64_t>(n);
        }
        return;
    }
    const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                               std::to_string(options_.response.size()) + "\r\nConnection: close\r\n\r\n" +
                               options_.response;
    send(s, answer.data(), static_cast<int>(answer.size()), 0);
}

std::string ClosedPortUrl() {
    static WinsockInit winsock;
    uint16_t port = 0;
    const SOCKET s = Listen(port);
    if (s != INVALID_SOCKET) closesocket(s);
    return "http://127.0.0.1:" + std::to_string(port) + kPath;
}

}  // namespace testing_support
