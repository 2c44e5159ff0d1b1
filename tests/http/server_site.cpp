#include "tests/http/server_site.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "common/win32/unique_handle.h"
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
    tlsPort_ = ReadPort(fixture + L"\\tls.port");
    strangerPort_ = ReadPort(fixture + L"\\stranger.port");
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

std::wstring ServerSite::TlsUrl(const std::wstring& relative) const {
    return L"https://127.0.0.1:" + std::to_wstring(tlsPort_) + L"/" + name_ + L"/" + relative;
}

std::wstring ServerSite::StrangerTlsUrl(const std::wstring& relative) const {
    return L"https://127.0.0.1:" + std::to_wstring(strangerPort_) + L"/" + name_ + L"/" + relative;
}

std::wstring ServerSite::TestCaCertificate() {
    const std::wstring fixture = FixtureFolder();
    return fixture.empty() ? std::wstring() : fixture + L"\\tls\\ca.der";
}

bool TrustTestCa() {
    const std::wstring certificate = ServerSite::TestCaCertificate();
    if (certificate.empty()) return false;
    const std::wstring exe = ExecutableFolder() + L"\\trust_root_cert.exe";
    std::wstring command = L"\"" + exe + L"\" \"" + certificate + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    win32::unique_handle process(info.hProcess);
    win32::unique_handle thread(info.hThread);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return false;
    }
    DWORD code = 1;
    return GetExitCodeProcess(process.get(), &code) && code == 0;
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
