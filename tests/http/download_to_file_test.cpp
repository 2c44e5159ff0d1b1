// DownloadToFile against nginx and the fault server: fresh, resumed, every fault.
#include "common/http/download_to_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/http/server_site.h"
#include "tests/support/test_files.h"

using testing_support::Exists;
using testing_support::PatternBytes;
using testing_support::ReadBytes;
using testing_support::ServerSite;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct Recorder {
    std::vector<DownloadProgress> calls;
    static void Callback(const DownloadProgress& progress, void* user) {
        static_cast<Recorder*>(user)->calls.push_back(progress);
    }
};

class DownloadToFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.ok());
        content = PatternBytes(100000, 7);
        ASSERT_TRUE(site.Put(L"Update\\sub\\data.bin", content));
        target = local / L"data.bin";
        temp = target + L".tmp";
    }
    ServerSite site;
    TempDir local;
    std::string content;
    std::wstring target, temp;
};

}  // namespace

TEST_F(DownloadToFileTest, FreshDownloadReplacesTargetAndReportsEveryBlock) {
    ASSERT_TRUE(WriteBytes(target, "old content"));
    Recorder recorder;
    EXPECT_EQ(
        DownloadToFile(site.NginxUrl(L"Update/sub/data.bin"), target, &Recorder::Callback, &recorder, false, true),
        DOWNLOAD_OK);
    EXPECT_TRUE(ReadBytes(target) == content);
    EXPECT_FALSE(Exists(temp));

    ASSERT_GE(recorder.calls.size(), 2u);
    std::uint32_t sum = 0;
    for (const auto& call : recorder.calls) {
        EXPECT_EQ(call.length, content.size());
        sum += call.block;
        EXPECT_EQ(call.received, sum);
    }
    EXPECT_EQ(recorder.calls.back().block, 0u);
    EXPECT_EQ(recorder.calls.back().received, content.size());
}

TEST_F(DownloadToFileTest, WithoutReplaceTheDataStaysInTheTemporaryFile) {
    ASSERT_TRUE(WriteBytes(target, "old content"));
    EXPECT_EQ(DownloadToFile(site.NginxUrl(L"Update/sub/data.bin"), target, nullptr, nullptr, false, false),
              DOWNLOAD_OK);
    EXPECT_EQ(ReadBytes(target), "old content");
    EXPECT_TRUE(ReadBytes(temp) == content);
}

TEST_F(DownloadToFileTest, ResumeContinuesTheTemporaryFileFromItsSize) {
    ASSERT_TRUE(WriteBytes(temp, content.substr(0, 5000)));
    Recorder recorder;
    EXPECT_EQ(DownloadToFile(site.NginxUrl(L"Update/sub/data.bin"), target, &Recorder::Callback, &recorder, true, true),
              DOWNLOAD_OK);
    EXPECT_TRUE(ReadBytes(target) == content);
    // Length and count refer to the remaining part only.
    ASSERT_FALSE(recorder.calls.empty());
    EXPECT_EQ(recorder.calls.back().length, content.size() - 5000);
    EXPECT_EQ(recorder.calls.back().received, content.size() - 5000);
}

TEST_F(DownloadToFileTest, WrongStatusNeverTouchesTheTarget) {
    ASSERT_TRUE(WriteBytes(target, "old content"));
    // An error page.
    EXPECT_EQ(DownloadToFile(site.NginxUrl(L"Update/missing.bin"), target, nullptr, nullptr, false, true),
              DOWNLOAD_ERROR_STATUS);
    EXPECT_TRUE(Exists(temp));
    EXPECT_EQ(ReadBytes(temp), "");
    // A server answering 500.
    EXPECT_EQ(DownloadToFile(site.FaultUrl(L"status-500"), target, nullptr, nullptr, false, true),
              DOWNLOAD_ERROR_STATUS);
    // A server that ignores the range: the whole file to a resume, nothing appended.
    ASSERT_TRUE(WriteBytes(temp, content.substr(0, 5000)));
    EXPECT_EQ(
        DownloadToFile(site.FaultUrl(L"ignore-range", L"Update/sub/data.bin"), target, nullptr, nullptr, true, true),
        DOWNLOAD_ERROR_STATUS);
    EXPECT_TRUE(ReadBytes(temp) == content.substr(0, 5000));
    // A part sent to a plain request.
    EXPECT_EQ(
        DownloadToFile(site.FaultUrl(L"always-206", L"Update/sub/data.bin"), target, nullptr, nullptr, false, true),
        DOWNLOAD_ERROR_STATUS);
    EXPECT_EQ(ReadBytes(target), "old content");
}

TEST_F(DownloadToFileTest, BodiesOfTheWrongSizeAreDiscarded) {
    ASSERT_TRUE(WriteBytes(target, "old content"));
    for (const wchar_t* mode : {L"short", L"no-length", L"cut"}) {
        SCOPED_TRACE(testing_support::Gbk(mode));
        const int result =
            DownloadToFile(site.FaultUrl(mode, L"Update/sub/data.bin"), target, nullptr, nullptr, false, true);
        // A cut connection may surface as a failed read (partial file kept for a resume)
        // or as an early end of the body (length mismatch, file deleted).
        if (result == DOWNLOAD_ERROR_READ) {
            EXPECT_TRUE(Exists(temp));
        } else {
            EXPECT_EQ(result, DOWNLOAD_ERROR_LENGTH);
            EXPECT_FALSE(Exists(temp));
        }
        EXPECT_EQ(ReadBytes(target), "old content");
        DeleteFileW(temp.c_str());
    }
    // Content-Length 0 counts as 1, so an empty body never matches.
    ASSERT_TRUE(site.Put(L"empty.bin", ""));
    EXPECT_EQ(DownloadToFile(site.NginxUrl(L"empty.bin"), target, nullptr, nullptr, false, true),
              DOWNLOAD_ERROR_LENGTH);
    EXPECT_EQ(ReadBytes(target), "old content");
}

TEST_F(DownloadToFileTest, RequestAndFileFailures) {
    EXPECT_EQ(DownloadToFile(ServerSite::RefusedUrl(), target, nullptr, nullptr, false, true), DOWNLOAD_ERROR_REQUEST);
    EXPECT_EQ(DownloadToFile(site.NginxUrl(L"Update/sub/data.bin"), local / L"no\\such\\folder\\x", nullptr, nullptr,
                             false, true),
              DOWNLOAD_ERROR_TMPFILE);
}
