// GetUpdateState and LoadUpdateLog against nginx and the fault server.
#include "updater/update_state.h"

#include <gtest/gtest.h>

#include "tests/updater/release_site.h"
#include "updater/manifest.h"
#include "updater/update_log.h"

using namespace testing_support;

namespace {

class UpdateStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site.ok()); }
    void Run(const std::wstring& manifestUrl) {
        ASSERT_TRUE(BuildLocalManifest(diagnostics.context.digests, local.path()));
        GetUpdateState(diagnostics.context.diagnostics, list, manifestUrl, local.path(), state);
    }
    ServerSite site;
    TempDir local;
    DiagnosticCapture diagnostics;
    UpdateList list;
    UpdateState state = UpdateState::Error;
};

}  // namespace

TEST_F(UpdateStateTest, PartListsWhatDiffersFromTheRealFolder) {
    ASSERT_TRUE(WriteBytes(local / L"same.txt", "same"));
    ASSERT_TRUE(WriteBytes(local / L"changed.txt", "old"));
    ASSERT_TRUE(WriteBytes(local / L"local-only.txt", "mine"));
    ASSERT_TRUE(PublishRelease(
        site,
        {{L"same.txt", "same"}, {L"changed.txt", "new"}, {Wide("资源\\图标.png"), "png"}, {L"New\\file.bin", "bin"}}));
    Run(site.NginxUrl(L"Update"));
    EXPECT_EQ(state, UpdateState::Part);
    EXPECT_EQ(UpdateNames(list), (std::vector<std::wstring>{L"New\\file.bin", L"changed.txt", Wide("资源\\图标.png")}));
    EXPECT_EQ(list[1].digest, Wide(Md5Hex("new")));
    // The run's own files are left for RemoveManifests.
    EXPECT_EQ(ReadBytes(local / L"UpDate.ini"), ManifestFor({{L"same.txt", "same"},
                                                             {L"changed.txt", "new"},
                                                             {Wide("资源\\图标.png"), "png"},
                                                             {L"New\\file.bin", "bin"}}));
}

TEST_F(UpdateStateTest, AllnewForCurrentFolderOrEmptyManifest) {
    ASSERT_TRUE(WriteBytes(local / L"a.txt", "a"));
    ASSERT_TRUE(PublishRelease(site, {{L"a.txt", "a"}}));
    Run(site.NginxUrl(L"Update/"));
    EXPECT_EQ(state, UpdateState::AllNew);
    EXPECT_TRUE(list.empty());

    for (const std::string& body : {std::string(), std::string(" \r\n\t\n")}) {
        ASSERT_TRUE(site.Put(L"Update\\UpDate.ini", body));
        Run(site.NginxUrl(L"Update"));
        EXPECT_EQ(state, UpdateState::AllNew);
        EXPECT_TRUE(list.empty());
    }
}

TEST_F(UpdateStateTest, BodyWithoutAnyRecordIsAFailedFetch) {
    // A captive portal's page, a CDN error page, a body of junk: all arrive with 200.
    ASSERT_TRUE(WriteBytes(local / L"a.txt", "a"));
    for (const std::string& body : {std::string("<html><body>Please log in</body></html>\n"),
                                    std::string("<html>no records</html>"), std::string(10 << 20, 'x')}) {
        ASSERT_TRUE(site.Put(L"Update\\UpDate.ini", body));
        state = UpdateState::AllNew;
        Run(site.NginxUrl(L"Update"));
        EXPECT_EQ(state, UpdateState::Error);
        EXPECT_TRUE(list.empty());
    }
    EXPECT_TRUE(diagnostics.Has("manifest has no records\n"));
}

TEST_F(UpdateStateTest, ErrorPagesAndNetworkFailuresAreErrors) {
    // No UpDate.ini published: nginx answers 404 with an HTML page.
    Run(site.NginxUrl(L"Update"));
    EXPECT_EQ(state, UpdateState::Error);
    EXPECT_TRUE(diagnostics.Has("404"));
    Run(site.FaultUrl(L"status-500", L"Update"));
    EXPECT_EQ(state, UpdateState::Error);
    Run(ServerSite::RefusedUrl(L"Update"));
    EXPECT_EQ(state, UpdateState::Error);
    EXPECT_TRUE(diagnostics.Has("server unkonw error\n!"));
    Run(L"no url");
    EXPECT_EQ(state, UpdateState::Error);
    EXPECT_TRUE(diagnostics.Has("server error\n!"));
    EXPECT_TRUE(list.empty());
}

TEST_F(UpdateStateTest, ServerNamesOutsideTheFolderAreSkipped) {
    ASSERT_TRUE(
        site.Put(L"Update\\UpDate.ini", "..\\..\\evil.dll\t1\nC:\\evil.dll\t1\n\\\\host\\share\\x\t1\nok.txt\t1\n"));
    Run(site.NginxUrl(L"Update"));
    EXPECT_EQ(state, UpdateState::Part);
    EXPECT_EQ(UpdateNames(list), std::vector<std::wstring>{L"ok.txt"});
    EXPECT_TRUE(diagnostics.Has("unsafe name"));
}

TEST(UpdateLog, DownloadsAndKeepsAnEarlierCopyWhenTheServerFails) {
    ServerSite site;
    ASSERT_TRUE(site.ok());
    TempDir local;
    ASSERT_TRUE(site.Put(L"UpdateLog\\UpdateLog.ini", Gbk(Wide("版本 2.0\r\n修复\n"))));
    EXPECT_EQ(LoadUpdateLog(site.NginxUrl(L"UpdateLog"), local.path()), Wide("版本 2.0\r\n修复\n"));
    EXPECT_TRUE(Exists(local / L"Update_Logo.txt"));
    // The server is gone: the copy of the earlier run is shown.
    EXPECT_EQ(LoadUpdateLog(ServerSite::RefusedUrl(L"UpdateLog"), local.path()), Wide("版本 2.0\r\n修复\n"));
    // An error page never replaces the copy.
    EXPECT_EQ(LoadUpdateLog(site.NginxUrl(L"Nothing"), local.path()), Wide("版本 2.0\r\n修复\n"));
    TempDir empty;
    EXPECT_EQ(LoadUpdateLog(ServerSite::RefusedUrl(L"UpdateLog"), empty.path()), L"");
}

TEST(UpdateLog, OnlyAWholeLogWithinTheLimitReplacesTheCopy) {
    ServerSite site;
    ASSERT_TRUE(site.ok());
    TempDir local;
    const std::string earlier = Gbk(Wide("版本 1.0\n"));
    ASSERT_TRUE(WriteBytes(local / L"Update_Logo.txt", earlier));

    // Larger than any release notes: announced too large, or sent without a length.
    const std::string huge(kUpdateLogLimit + 1, 'x');
    ASSERT_TRUE(site.Put(L"UpdateLog\\UpdateLog.ini", huge));
    EXPECT_EQ(DownloadUpdateLog(site.NginxUrl(L"UpdateLog"), local.path()), UpdateLogFetch::TooLarge);
    EXPECT_EQ(DownloadUpdateLog(site.FaultUrl(L"no-length", L"UpdateLog"), local.path()), UpdateLogFetch::TooLarge);
    EXPECT_EQ(ReadBytes(local / L"Update_Logo.txt"), earlier);
    EXPECT_FALSE(Exists(local / L"Update_Logo.txt.tmp"));

    // A body cut short or shorter than announced is no log either.
    ASSERT_TRUE(site.Put(L"UpdateLog\\UpdateLog.ini", std::string(50000, 'y')));
    EXPECT_EQ(DownloadUpdateLog(site.FaultUrl(L"cut", L"UpdateLog"), local.path()), UpdateLogFetch::Failed);
    EXPECT_EQ(DownloadUpdateLog(site.FaultUrl(L"short", L"UpdateLog"), local.path()), UpdateLogFetch::Failed);
    EXPECT_EQ(ReadUpdateLog(local.path()), Wide("版本 1.0\n"));

    // Exactly at the limit is still a log.
    ASSERT_TRUE(site.Put(L"UpdateLog\\UpdateLog.ini", std::string(kUpdateLogLimit, 'z')));
    EXPECT_EQ(DownloadUpdateLog(site.NginxUrl(L"UpdateLog"), local.path()), UpdateLogFetch::Replaced);
    EXPECT_EQ(ReadUpdateLog(local.path()).size(), kUpdateLogLimit + 1);  // one line and its LF
    EXPECT_FALSE(Exists(local / L"Update_Logo.txt.tmp"));

    // A copy larger than the limit (left by an older program) is not shown.
    ASSERT_TRUE(WriteBytes(local / L"Update_Logo.txt", huge));
    EXPECT_EQ(ReadUpdateLog(local.path()), L"");
}
