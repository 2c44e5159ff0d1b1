// A release published on the test servers: files below "Update" and the server
// manifest "Update\UpDate.ini" listing them with their digests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "launcher/util/md5.h"
#include "tests/http/server_site.h"
#include "tests/support/test_files.h"
#include "updater/diagnostics.h"

namespace testing_support {

using ReleaseFiles = std::map<std::wstring, std::string>;

inline std::string ManifestFor(const ReleaseFiles& files) {
    std::string manifest;
    for (const auto& [name, content] : files) manifest += Gbk(name) + "\t" + Md5Hex(content) + "\n";
    return manifest;
}

inline bool PublishRelease(const ServerSite& site, const ReleaseFiles& files) {
    for (const auto& [name, content] : files)
        if (!site.Put(L"Update\\" + name, content)) return false;
    return site.Put(L"Update\\UpDate.ini", ManifestFor(files));
}

// Collects the diagnostics of one test; restores the default sink at the end.
class DiagnosticCapture {
public:
    DiagnosticCapture() {
        SetDiagnosticSink([this](const std::wstring&, const std::string& text) { texts.push_back(text); });
    }
    ~DiagnosticCapture() { SetDiagnosticSink({}); }
    bool Has(const std::string& text) const {
        for (const auto& t : texts)
            if (t.find(text) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> texts;
};

}  // namespace testing_support
