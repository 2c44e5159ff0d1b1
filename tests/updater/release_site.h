// A release published on the test servers: files below "Update" and the server
// manifest "Update\UpDate.ini" listing them with their digests.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "launcher/util/md5.h"
#include "tests/http/server_site.h"
#include "tests/support/test_files.h"
#include "updater/updater_context.h"

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

// An updater context whose diagnostics are collected for one test.
class DiagnosticCapture {
public:
    DiagnosticCapture()
        : context{DiagnosticSink([this](const std::wstring&, const std::string& text) {
                      std::lock_guard<std::mutex> guard(lock);
                      texts.push_back(text);
                  }),
                  {},
                  {},
                  {}} {}
    DiagnosticCapture(const DiagnosticCapture&) = delete;
    DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;
    bool Has(const std::string& text) const {
        for (const auto& t : texts)
            if (t.find(text) != std::string::npos) return true;
        return false;
    }
    std::mutex lock;  // installs report from the pass's second thread
    std::vector<std::string> texts;
    UpdaterContext context;
};

}  // namespace testing_support
