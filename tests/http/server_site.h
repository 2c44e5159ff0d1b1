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

    // False when the fixture has no TLS servers.
    bool tlsOk() const { return ok() && tlsPort_ != 0 && strangerPort_ != 0; }
    // "https://127.0.0.1:<port>/<site>/" + relative on nginx with a certificate of the
    // test CA, and on nginx with a certificate of a CA nobody trusts.
    std::wstring TlsUrl(const std::wstring& relative = L"") const;
    std::wstring StrangerTlsUrl(const std::wstring& relative = L"") const;
    // The test CA's certificate (DER) made by the fixture for this run.
    static std::wstring TestCaCertificate();

private:
    std::wstring folder_;
    std::wstring name_;
    int nginxPort_ = 0;
    int faultPort_ = 0;
    int tlsPort_ = 0;
    int strangerPort_ = 0;
};

// Puts the fixture's test CA into the Wine prefix's machine root store by running
// trust_root_cert.exe (built beside the tests) and waiting for it (at most 60 s). The
// prefix is the test run's own; the host's trust store is never touched. True on success.
bool TrustTestCa();

// `size` bytes of a repeatable pattern that differs with `seed`, so that a wrong
// offset or a mixed-up file shows in a comparison.
std::string PatternBytes(size_t size, unsigned seed);

}  // namespace testing_support
