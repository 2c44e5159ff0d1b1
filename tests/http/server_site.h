// The test servers started by the CTest fixture (tests/http/server_fixture.sh), seen
// from a test running under Wine: the fixture folder comes in VELMORA_HTTP_FIXTURE
// (a Unix path), its ports in nginx.port and fault.port.
#pragma once

#include <string>

namespace testing_support {

// One test's own corner of the servers' root, removed when the object goes away.
class ServerSite {
public:
    ServerSite();
    ~ServerSite();
    ServerSite(const ServerSite&) = delete;
    ServerSite& operator=(const ServerSite&) = delete;

    // False when the fixture is missing (the test must then fail, not pass).
    bool ok() const { return !folder_.empty() && nginxPort_ != 0 && faultPort_ != 0; }
    // The site's folder (Windows path, no trailing backslash); files written below
    // it are served at the URLs below.
    const std::wstring& folder() const { return folder_; }
    // Writes `bytes` at `relative` (backslashes), creating folders.
    bool Put(const std::wstring& relative, const std::string& bytes) const;
    // "http://127.0.0.1:<nginx>/<site>/" + relative ("/" separators).
    std::wstring NginxUrl(const std::wstring& relative = L"") const;
    // The fault server's URL for `mode` (see fault_server.py) and the same file.
    std::wstring FaultUrl(const std::wstring& mode, const std::wstring& relative = L"") const;
    // A URL on a 127.0.0.1 port nobody listens on.
    static std::wstring RefusedUrl(const std::wstring& relative = L"x");

private:
    std::wstring folder_;
    std::wstring name_;
    int nginxPort_ = 0;
    int faultPort_ = 0;
};

// `size` bytes of a repeatable pattern that differs with `seed`, so that a wrong
// offset or a mixed-up file shows in a comparison.
std::string PatternBytes(size_t size, unsigned seed);

}  // namespace testing_support
