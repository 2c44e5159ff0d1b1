#include "tests/http/server_site.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "tests/support/test_files.h"

namespace testing_support {

namespace {

std::wstring FixtureFolder() {
    const char* unix = std::getenv("VELMORA_HTTP_FIXTURE");
    if (unix == nullptr || *unix != '/') return {};
    std::wstring path = L"Z:" + Wide(unix);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

int ReadPort(const std::wstring& file) {
    return std::atoi(ReadBytes(file).c_str());
}

}  // namespace

ServerSite::ServerSite() {
    const std::wstring fixture = FixtureFolder();
    if (fixture.empty()) return;
    nginxPort_ = ReadPort(fixture + L"\\nginx.port");
    faultPort_ = ReadPort(fixture + L"\\fault.port");
    static std::atomic<unsigned> counter{0};
    name_ = L"site-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) + L"-" +
            std::to_wstring(GetTickCount());
    folder_ = fixture + L"\\root\\" + name_;
    if (!MakeFolders(folder_)) folder_.clear();
}

ServerSite::~ServerSite() {
    if (!folder_.empty()) RemoveTree(folder_);
}

bool ServerSite::Put(const std::wstring& relative, const std::string& bytes) const {
    const std::wstring path = folder_ + L"\\" + relative;
    MakeFolders(path.substr(0, path.rfind(L'\\')));
    return WriteBytes(path, bytes);
}

std::wstring ServerSite::NginxUrl(const std::wstring& relative) const {
    return L"http://127.0.0.1:" + std::to_wstring(nginxPort_) + L"/" + name_ + L"/" + relative;
}

std::wstring ServerSite::FaultUrl(const std::wstring& mode, const std::wstring& relative) const {
    return L"http://127.0.0.1:" + std::to_wstring(faultPort_) + L"/" + mode + L"/" + name_ + L"/" + relative;
}

std::wstring ServerSite::RefusedUrl(const std::wstring& relative) {
    // Port 1 (tcpmux) is never served on the test machines.
    return L"http://127.0.0.1:1/" + relative;
}

std::string PatternBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 12345u;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 24);
    }
    return bytes;
}

}  // namespace testing_support
