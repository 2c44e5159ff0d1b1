// Files fetched through one shared session travel over the connections of earlier
// files: counted by a keep-alive server of the test's own.
// Winsock's header must come before windows.h, which the others include.
#include "tests/support/counting_http_server.h"

#include <gtest/gtest.h>

#include <thread>

#include "common/http/http_client.h"
#include "common/http/http_session.h"
#include "tests/support/test_files.h"
#include "updater/file_download.h"
#include "updater/update_paths.h"

using testing_support::CountingHttpServer;
using testing_support::ReadBytes;
using testing_support::TempDir;

namespace {

std::wstring Url(const CountingHttpServer& server, const std::string& path) {
    return L"http://127.0.0.1:" + std::to_wstring(server.port()) + std::wstring(path.begin(), path.end());
}

// One whole exchange: request, body to its end, client closed. Returns the body.
std::string Fetch(HttpSession& session, const std::wstring& url, int& status) {
    CHttpClient client(session);
    client.OpenSession();
    std::string body;
    if (client.SendRequest(url.c_str(), status, nullptr) != CHTTP_REQUEST_OK) return "request failed";
    char buffer[4096];
    for (int reads = 0; reads < 1000; ++reads) {
        std::uint32_t got = 0;
        if (!client.ReadData(buffer, sizeof(buffer), got)) return "read failed";
        if (got == 0) break;
        body.append(buffer, got);
    }
    client.CloseSession();
    return body;
}

TEST(ConnectionReuse, ClientsOverOneSessionShareOneConnectionOneAfterAnother) {
    CountingHttpServer server;
    ASSERT_TRUE(server.ok());
    server.Put("/a.bin", std::string(100000, 'a'));
    server.Put("/b.bin", "bee");
    HttpSession session;
    for (int i = 0; i < 3; ++i) {
        int status = 0;
        EXPECT_EQ(Fetch(session, Url(server, "/a.bin"), status), std::string(100000, 'a'));
        EXPECT_EQ(status, 200);
        EXPECT_EQ(Fetch(session, Url(server, "/b.bin"), status), "bee");
    }
    // A 404 with its (empty) body read leaves the connection usable as well.
    int status = 0;
    EXPECT_EQ(Fetch(session, Url(server, "/missing"), status), "");
    EXPECT_EQ(status, 404);
    EXPECT_EQ(Fetch(session, Url(server, "/b.bin"), status), "bee");
    EXPECT_EQ(server.requests(), 8);
    EXPECT_EQ(server.connections(), 1);
}

TEST(ConnectionReuse, TransfersSideBySideOpenOneConnectionEachAtMost) {
    CountingHttpServer server;
    ASSERT_TRUE(server.ok());
    server.Put("/f.bin", std::string(300000, 'f'));
    HttpSession session;
    std::atomic<int> good{0};
    std::vector<std::thread> lanes;
    for (int lane = 0; lane < 3; ++lane)
        lanes.emplace_back([&] {
            for (int i = 0; i < 5; ++i) {
                int status = 0;
                if (Fetch(session, Url(server, "/f.bin"), status) == std::string(300000, 'f')) ++good;
            }
        });
    for (std::thread& lane : lanes) lane.join();
    EXPECT_EQ(good.load(), 15);
    EXPECT_EQ(server.requests(), 15);
    EXPECT_GE(server.connections(), 1);
    EXPECT_LE(server.connections(), 3);
}

TEST(ConnectionReuse, UpdateFilesOfARunTravelOverTheFirstFilesConnection) {
    CountingHttpServer server;
    ASSERT_TRUE(server.ok());
    TempDir dir;
    UpdaterContext context;
    // MD5 of "abc" and of an empty body.
    const UpdateList list = {{L"one.txt", L"900150983cd24fb0d6963f7d28e17f72"},
                             {L"sub\\two.txt", L"900150983cd24fb0d6963f7d28e17f72"},
                             {L"empty.txt", L"d41d8cd98f00b204e9800998ecf8427e"}};
    server.Put("/Update/one.txt", "abc");
    server.Put("/Update/sub/two.txt", "abc");
    server.Put("/Update/empty.txt", "");
    const std::wstring updateUrl = Url(server, "/Update/");
    for (const UpdateItem& item : list) {
        const FileDownloadOutcome outcome = DownloadUpdateFile(context, updateUrl, dir.path(), item, false, nullptr);
        EXPECT_EQ(outcome.status, FileDownloadStatus::Replaced) << testing_support::Gbk(item.name);
    }
    EXPECT_EQ(ReadBytes(dir / L"sub\\two.txt"), "abc");
    EXPECT_EQ(server.requests(), 3);
    EXPECT_EQ(server.connections(), 1);
}

}  // namespace
