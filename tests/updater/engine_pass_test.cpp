// A whole update pass on a real folder, composed the way the update driver does it.
#include <gtest/gtest.h>

#include "tests/updater/release_site.h"
#include "updater/file_download.h"
#include "updater/manifest.h"
#include "updater/restart_batch.h"
#include "updater/update_state.h"

using namespace testing_support;

namespace {

struct PassResult {
    UpdateState state = UpdateState::Error;
    std::vector<std::wstring> names;
    std::vector<FileDownloadStatus> statuses;
};

PassResult RunPass(UpdaterContext& context, const std::wstring& updateUrl, const std::wstring& folder) {
    PassResult result;
    if (!BuildLocalManifest(context.digests, folder)) return result;
    UpdateList list;
    GetUpdateState(context.diagnostics, list, updateUrl, folder, result.state);
    result.names = UpdateNames(list);
    if (result.state == UpdateState::Part) {
        const RangeProbe probe = ProbeRangeSupport(context.diagnostics, updateUrl, list.front().name, folder);
        if (probe.ok) {
            for (const auto& item : list) {
                result.statuses.push_back(
                    DownloadUpdateFile(context, updateUrl, folder, item, probe.resume, nullptr).status);
                if (result.statuses.back() == FileDownloadStatus::Stop) break;
            }
            WriteRestartBatch(folder);
        }
    }
    RemoveManifests(folder);
    return result;
}

}  // namespace

TEST(EnginePass, UpdatesARealFolderFromNginx) {
    ServerSite site;
    ASSERT_TRUE(site.ok());
    DiagnosticCapture diagnostics;
    TempDir local(L"program folder");
    ASSERT_TRUE(WriteBytes(local / L"Updater.exe", "old updater"));
    ASSERT_TRUE(WriteBytes(local / L"Velmora.exe", "old launcher"));
    ASSERT_TRUE(WriteBytes(local / L"same.txt", "same"));
    ASSERT_TRUE(MakeFolders(local / L"skin"));
    ASSERT_TRUE(WriteBytes(local / L"skin\\Wakfu.ui", "old skin"));
    const ReleaseFiles release = {{L"Updater.exe", "new updater"},
                                  {L"Velmora.exe", PatternBytes(200000, 5)},
                                  {L"same.txt", "same"},
                                  {L"skin\\Wakfu.ui", "new skin"},
                                  {Wide("新目录\\子\\数据.bin"), PatternBytes(50000, 6)}};
    ASSERT_TRUE(PublishRelease(site, release));

    const PassResult first = RunPass(diagnostics.context, site.NginxUrl(L"Update"), local.path());
    EXPECT_EQ(first.state, UpdateState::Part);
    EXPECT_EQ(first.names, (std::vector<std::wstring>{L"Updater.exe", L"Velmora.exe", L"skin\\Wakfu.ui",
                                                      Wide("新目录\\子\\数据.bin")}));
    for (const auto& text : diagnostics.texts) ADD_FAILURE() << text;
    EXPECT_EQ(first.statuses,
              (std::vector<FileDownloadStatus>{FileDownloadStatus::Pending, FileDownloadStatus::Replaced,
                                               FileDownloadStatus::Replaced, FileDownloadStatus::Replaced}));
    for (const auto& [name, content] : release) {
        if (name == L"Updater.exe") continue;
        EXPECT_TRUE(ReadBytes(local / name) == content) << Gbk(name);
        EXPECT_FALSE(Exists(local / (name + L".tmp"))) << Gbk(name);
    }
    EXPECT_EQ(ReadBytes(local / L"Updater.exe"), "old updater");
    EXPECT_EQ(ReadBytes(local / L"Updater.exe.tmp"), "new updater");
    const std::string folder = Gbk(local.path()) + "\\";
    EXPECT_EQ(ReadBytes(local / L"delete.bat"),
              RestartBatchText(folder + "Updater.exe", folder + "Velmora.exe", folder + "delete.bat", true));
    EXPECT_FALSE(Exists(local / L"LocalDate.ini"));
    EXPECT_FALSE(Exists(local / L"UpDate.ini"));

    // Until the batch has swapped it in, only the updater is still out of date.
    const PassResult second = RunPass(diagnostics.context, site.NginxUrl(L"Update"), local.path());
    EXPECT_EQ(second.names, std::vector<std::wstring>{L"Updater.exe"});
    EXPECT_TRUE(diagnostics.texts.empty()) << diagnostics.texts.front();
}

TEST(EnginePass, ServerWithoutRangesDownloadsWholeFiles) {
    ServerSite site;
    ASSERT_TRUE(site.ok());
    DiagnosticCapture diagnostics;
    TempDir local;
    ASSERT_TRUE(WriteBytes(local / L"a.bin.tmp", "stale part"));
    const ReleaseFiles release = {{L"a.bin", PatternBytes(70000, 8)}};
    ASSERT_TRUE(PublishRelease(site, release));
    const PassResult result = RunPass(diagnostics.context, site.FaultUrl(L"ignore-range", L"Update"), local.path());
    EXPECT_EQ(result.statuses, std::vector<FileDownloadStatus>{FileDownloadStatus::Replaced});
    EXPECT_EQ(ReadBytes(local / L"a.bin"), release.at(L"a.bin"));
    EXPECT_FALSE(Exists(local / L"LocalDate.ini"));
}
