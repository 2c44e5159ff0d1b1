// One update file at a time: probe, download, verification, replacement.
#include "updater/file_download.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>

#include "common/win32/unique_handle.h"
#include "tests/updater/release_site.h"
#include "updater/ensure_directory.h"

using namespace testing_support;

namespace {

struct DownloadProgressRecord {
    std::uint64_t received, length;
    std::uint32_t block;
};

struct ProgressLog : IFileDownloadProgress {
    void OnStart(std::uint64_t length) override { starts.push_back(length); }
    void OnBlock(std::uint64_t received, std::uint64_t length, std::uint32_t block) override {
        blocks.push_back({received, length, block});
    }
    std::vector<std::uint64_t> starts;
    std::vector<DownloadProgressRecord> blocks;
};

class FileDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.ok());
        content = PatternBytes(81920, 3);
        ASSERT_TRUE(PublishRelease(site, {{L"data\\file.bin", content}, {L"Updater.exe", "new updater"}}));
        item = UpdateItem{L"data\\file.bin", Wide(Md5Hex(content))};
    }
    FileDownloadOutcome Download(const UpdateItem& what, bool resume, IFileDownloadProgress* progress = nullptr,
                                 const std::wstring& url = L"") {
        return DownloadUpdateFile(diagnostics.context, url.empty() ? site.NginxUrl(L"Update") : url, local.path(), what,
                                  resume, progress);
    }
    ServerSite site;
    TempDir local;
    DiagnosticCapture diagnostics;
    std::string content;
    UpdateItem item;
};

}  // namespace

TEST_F(FileDownloadTest, ProbeFindsOutWhetherTheServerResumes) {
    RangeProbe probe =
        ProbeRangeSupport(diagnostics.context.diagnostics, site.NginxUrl(L"Update"), item.name, local.path());
    EXPECT_TRUE(probe.ok);
    EXPECT_TRUE(probe.resume);
    probe = ProbeRangeSupport(diagnostics.context.diagnostics, site.FaultUrl(L"ignore-range", L"Update"), item.name,
                              local.path());
    EXPECT_TRUE(probe.ok);
    EXPECT_FALSE(probe.resume);
    probe = ProbeRangeSupport(diagnostics.context.diagnostics, site.NginxUrl(L"Update"), L"missing.bin", local.path());
    EXPECT_FALSE(probe.ok);
    EXPECT_TRUE(diagnostics.Has("404 not found\n"));
    probe =
        ProbeRangeSupport(diagnostics.context.diagnostics, ServerSite::RefusedUrl(L"Update"), item.name, local.path());
    EXPECT_FALSE(probe.ok);
    EXPECT_TRUE(diagnostics.Has("server unkonw error\n!"));
}

TEST_F(FileDownloadTest, FetchedFileWaitsUntilItsCheckPutsItInPlace) {
    ASSERT_TRUE(MakeFolders(local / L"data"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin", "old"));
    const FileDownloadOutcome fetched =
        FetchUpdateFile(diagnostics.context, site.NginxUrl(L"Update"), local.path(), item, false, nullptr);
    EXPECT_EQ(fetched.status, FileDownloadStatus::Fetched);
    EXPECT_TRUE(fetched.tempKept);
    EXPECT_EQ(ReadBytes(local / L"data\\file.bin"), "old");
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin.tmp") == content);

    // A wrong digest rejects the body; the target keeps its content.
    const FileDownloadOutcome rejected =
        InstallFetchedFile(diagnostics.context, local.path(), UpdateItem{item.name, L"0123"}, fetched);
    EXPECT_EQ(rejected.status, FileDownloadStatus::Failed);
    EXPECT_FALSE(rejected.tempKept);
    EXPECT_EQ(ReadBytes(local / L"data\\file.bin"), "old");
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));

    const FileDownloadOutcome again =
        FetchUpdateFile(diagnostics.context, site.NginxUrl(L"Update"), local.path(), item, false, nullptr);
    const FileDownloadOutcome installed = InstallFetchedFile(diagnostics.context, local.path(), item, again);
    EXPECT_EQ(installed.status, FileDownloadStatus::Replaced);
    EXPECT_FALSE(installed.tempKept);
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));
    // Anything but a fetched body passes through untouched.
    FileDownloadOutcome stopped;
    EXPECT_EQ(InstallFetchedFile(diagnostics.context, local.path(), item, stopped).status, FileDownloadStatus::Stop);
}

TEST_F(FileDownloadTest, FreshFileInANewSubfolderIsPutInPlace) {
    ProgressLog progress;
    const FileDownloadOutcome outcome = Download(item, false, &progress);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced);
    EXPECT_EQ(outcome.received, content.size());
    EXPECT_EQ(outcome.length, content.size());
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));
    ASSERT_EQ(progress.starts, std::vector<std::uint64_t>{81920});
    ASSERT_GE(progress.blocks.size(), 3u);  // at least two blocks of data and the empty end
    std::uint32_t sum = 0;
    for (const auto& b : progress.blocks) {
        sum += b.block;
        EXPECT_EQ(b.received, sum);
        EXPECT_EQ(b.length, 81920u);
        EXPECT_LE(b.block, 40960u);
    }
    EXPECT_EQ(progress.blocks.back().block, 0u);
    EXPECT_EQ(sum, 81920u);
}

TEST_F(FileDownloadTest, ResumedFileIsContinuedAndVerified) {
    ASSERT_TRUE(EnsureDirectory(local / L"data"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin", "old"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin.tmp", content.substr(0, 5000)));
    ProgressLog progress;
    const FileDownloadOutcome outcome = Download(item, true, &progress);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced);
    EXPECT_EQ(outcome.received, content.size() - 5000);  // the remaining part only
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
}

TEST_F(FileDownloadTest, TheFetchTakesTheDigestOfTheWholeTemporaryFileAsItArrives) {
    ASSERT_TRUE(EnsureDirectory(local / L"data"));
    const FileDownloadOutcome fresh =
        FetchUpdateFile(diagnostics.context, site.NginxUrl(L"Update"), local.path(), item, false, nullptr);
    ASSERT_EQ(fresh.status, FileDownloadStatus::Fetched);
    EXPECT_EQ(fresh.contentDigest, Md5Hex(content));

    // Continued: the digest covers the part that was on disk before, not just the rest.
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin.tmp", content.substr(0, 12345)));
    const FileDownloadOutcome resumed =
        FetchUpdateFile(diagnostics.context, site.NginxUrl(L"Update"), local.path(), item, true, nullptr);
    ASSERT_EQ(resumed.status, FileDownloadStatus::Fetched);
    EXPECT_EQ(resumed.received, content.size() - 12345);
    EXPECT_EQ(resumed.contentDigest, Md5Hex(content));

    // An outcome without a digest (from an engine that did not take one) is checked
    // by reading the file: here it no longer holds what was fetched.
    FileDownloadOutcome unknown = resumed;
    unknown.contentDigest.clear();
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin.tmp", PatternBytes(content.size(), 7)));
    EXPECT_EQ(InstallFetchedFile(diagnostics.context, local.path(), item, unknown).status, FileDownloadStatus::Failed);
    EXPECT_TRUE(diagnostics.Has("digest mismatch"));
}

TEST_F(FileDownloadTest, StaleTemporaryFileWithTheRightLengthNeverReplacesTheTarget) {
    // Left by a run against an older version: right length once resumed, wrong bytes.
    ASSERT_TRUE(EnsureDirectory(local / L"data"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin", "good old file"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin.tmp", PatternBytes(5000, 99)));
    const FileDownloadOutcome outcome = Download(item, true);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Failed);
    EXPECT_EQ(outcome.received, outcome.length);
    EXPECT_EQ(ReadBytes(local / L"data\\file.bin"), "good old file");
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));
    EXPECT_TRUE(diagnostics.Has("digest mismatch"));
    // The next attempt starts from scratch and succeeds.
    EXPECT_EQ(Download(item, true).status, FileDownloadStatus::Replaced);
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
}

TEST_F(FileDownloadTest, ResponsesThatAreNotTheFileFailTheRowOnly) {
    ASSERT_TRUE(WriteBytes(local / L"gone.bin", "keep me"));
    // Listed but not on the server: an error page.
    FileDownloadOutcome outcome = Download(UpdateItem{L"gone.bin", Wide(Md5Hex("x"))}, false);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Failed);
    EXPECT_EQ(ReadBytes(local / L"gone.bin"), "keep me");
    EXPECT_FALSE(Exists(local / L"gone.bin.tmp"));
    // A short body.
    outcome = Download(item, false, nullptr, site.FaultUrl(L"short", L"Update"));
    EXPECT_EQ(outcome.status, FileDownloadStatus::Failed);
    EXPECT_FALSE(Exists(local / L"data\\file.bin"));
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));
    // A digest that does not match what arrives.
    outcome = Download(UpdateItem{item.name, L"0123"}, false);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Failed);
    EXPECT_FALSE(Exists(local / L"data\\file.bin"));
}

TEST_F(FileDownloadTest, BrokenTransfersStopThePass) {
    // The connection closes mid-body: either a failed read (stop, keep the part for a
    // resume) or an early end (the row fails). Never a replaced target.
    const FileDownloadOutcome cut = Download(item, false, nullptr, site.FaultUrl(L"cut", L"Update"));
    EXPECT_NE(cut.status, FileDownloadStatus::Replaced);
    EXPECT_FALSE(Exists(local / L"data\\file.bin"));
    EXPECT_EQ(Download(item, false, nullptr, ServerSite::RefusedUrl(L"Update")).status, FileDownloadStatus::Stop);
    // A file where the folder should be.
    ASSERT_TRUE(WriteBytes(local / L"blocked", "file"));
    EXPECT_EQ(Download(UpdateItem{L"blocked\\x.bin", L"0"}, false).status, FileDownloadStatus::Stop);
}

TEST_F(FileDownloadTest, UnsafeNamesTouchNothing) {
    TempDir outside;
    const std::wstring name = L"..\\" + outside.path().substr(outside.path().rfind(L'\\') + 1) + L"\\x.bin";
    EXPECT_EQ(Download(UpdateItem{name, Wide(Md5Hex(content))}, false).status, FileDownloadStatus::Failed);
    EXPECT_FALSE(Exists(outside / L"x.bin"));
    EXPECT_FALSE(Exists(outside / L"x.bin.tmp"));
}

TEST_F(FileDownloadTest, TheRunningUpdaterWaitsForTheRestartBatch) {
    ASSERT_TRUE(WriteBytes(local / L"Updater.exe", "running updater"));
    const FileDownloadOutcome outcome = Download(UpdateItem{L"Updater.exe", Wide(Md5Hex("new updater"))}, false);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Pending);
    EXPECT_EQ(ReadBytes(local / L"Updater.exe"), "running updater");
    EXPECT_EQ(ReadBytes(local / L"Updater.exe.tmp"), "new updater");
    EXPECT_NE(ReadBytes(local / L"delete.bat").find("Updater.exe.tmp"), std::string::npos);
}

TEST_F(FileDownloadTest, TargetInUseStaysAndTheVerifiedFileWaitsForTheNextRun) {
    ASSERT_TRUE(EnsureDirectory(local / L"data"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin", "in use"));
    {
        win32::unique_file user(CreateFileW((local / L"data\\file.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(user);
        const FileDownloadOutcome outcome = Download(item, true);
        EXPECT_EQ(outcome.status, FileDownloadStatus::Failed);
        EXPECT_TRUE(outcome.tempKept);
        EXPECT_EQ(ReadBytes(local / L"data\\file.bin"), "in use");
        EXPECT_TRUE(ReadBytes(local / L"data\\file.bin.tmp") == content);
    }
    // Next run: the complete file is put in place without asking any server.
    EXPECT_EQ(Download(item, true, nullptr, ServerSite::RefusedUrl(L"Update")).status, FileDownloadStatus::Replaced);
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
}

TEST_F(FileDownloadTest, EmptyFileIsAcceptedByItsDigest) {
    ASSERT_TRUE(PublishRelease(site, {{L"empty.dat", ""}}));
    const UpdateItem empty{L"empty.dat", Wide(Md5Hex(""))};
    ASSERT_TRUE(WriteBytes(local / L"empty.dat", "old content"));
    // Plain, and on a server that resumes: offset 0 asks without a range, so nginx
    // does not answer 416 for a range of an empty file.
    for (const bool resume : {false, true}) {
        ASSERT_TRUE(WriteBytes(local / L"empty.dat", "old content"));
        const FileDownloadOutcome outcome = Download(empty, resume);
        EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced) << resume;
        EXPECT_EQ(outcome.received, 0u);
        EXPECT_TRUE(Exists(local / L"empty.dat"));
        EXPECT_EQ(ReadBytes(local / L"empty.dat"), "");
        EXPECT_FALSE(Exists(local / L"empty.dat.tmp"));
    }
    // An empty body is still checked: it is not the file this digest names.
    EXPECT_EQ(Download(UpdateItem{L"empty.dat", Wide(Md5Hex("x"))}, false).status, FileDownloadStatus::Failed);
}

TEST_F(FileDownloadTest, BodyWithoutContentLengthIsJudgedByItsDigest) {
    const FileDownloadOutcome outcome = Download(item, false, nullptr, site.FaultUrl(L"no-length", L"Update"));
    EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced);
    EXPECT_EQ(outcome.received, content.size());
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
}

TEST_F(FileDownloadTest, WholeAnswersToARangeReplaceThePartialFile) {
    ASSERT_TRUE(EnsureDirectory(local / L"data"));
    // 200 to a ranged request: the whole body, not appended to the part.
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin.tmp", content.substr(0, 100)));
    FileDownloadOutcome outcome = Download(item, true, nullptr, site.FaultUrl(L"ignore-range", L"Update"));
    EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced);
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));
    // 416 (a partial file as long as the server's or longer, from an older version):
    // it is discarded and the file fetched once more, whole.
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin", "old"));
    ASSERT_TRUE(WriteBytes(local / L"data\\file.bin.tmp", PatternBytes(content.size() + 10, 7)));
    outcome = Download(item, true);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced);
    EXPECT_EQ(outcome.received, content.size());
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
    EXPECT_FALSE(Exists(local / L"data\\file.bin.tmp"));
}

TEST_F(FileDownloadTest, DigestInCapitalsAcceptsTheFile) {
    std::wstring upper = Wide(Md5Hex(content));
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    const FileDownloadOutcome outcome = Download(UpdateItem{item.name, L" " + upper + L" "}, false);
    EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced);
    EXPECT_TRUE(ReadBytes(local / L"data\\file.bin") == content);
}
