// CHttpClient against the real nginx: requests, status codes, lengths, URL parts.
#include "common/http/http_client.h"

#include <gtest/gtest.h>

#include "common/http/request_headers.h"
#include "tests/http/server_site.h"

using testing_support::PatternBytes;
using testing_support::ServerSite;

namespace {

std::string ReadBody(CHttpClient& client) {
    std::string body;
    std::string block(kHttpBlockSize, '\0');
    for (int guard = 0; guard < 100000; ++guard) {
        std::uint32_t read = 0;
        if (!client.ReadData(block.data(), kHttpBlockSize, read)) return "<read failed>";
        if (read == 0) break;
        EXPECT_LE(read, kHttpBlockSize);
        body.append(block, 0, read);
    }
    return body;
}

}  // namespace

TEST(HttpClient, GetsBodyStatusAndLengthFromNginx) {
    ServerSite site;
    ASSERT_TRUE(site.ok());
    const std::string content = PatternBytes(100000, 1);
    ASSERT_TRUE(site.Put(L"dir\\file.bin", content));

    CHttpClient client;
    client.OpenSession();
    int status = 0;
    ASSERT_EQ(client.SendRequest(site.NginxUrl(L"dir/file.bin").c_str(), status, PlainRequestHeader().c_str()),
              CHTTP_REQUEST_OK);
    EXPECT_EQ(status, 200);
    std::uint64_t length = 0;
    client.QueryContentLength(length);
    EXPECT_EQ(length, content.size());
    EXPECT_EQ(ReadBody(client), content);

    // The same client serves a second request; a missing file reports 404, not a failure.
    ASSERT_EQ(client.SendRequest(site.NginxUrl(L"missing.bin").c_str(), status, nullptr), CHTTP_REQUEST_OK);
    EXPECT_EQ(status, 404);
    client.CloseSession();
}

TEST(HttpClient, QueryGoesIntoTheObjectNameAndPortIsTaken) {
    ServerSite site;
    ASSERT_TRUE(site.ok());
    ASSERT_TRUE(site.Put(L"q.txt", "query"));
    CHttpClient client;
    client.OpenSession();
    int status = 0;
    // nginx serves the file whatever the query; a query glued to the path would be a 404.
    ASSERT_EQ(client.SendRequest(site.NginxUrl(L"q.txt?v=1&x=%41").c_str(), status, nullptr), CHTTP_REQUEST_OK);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(ReadBody(client), "query");

    ASSERT_TRUE(client.CrackUrl(L"http://example.test/a/b.ini?x=%41"));
    EXPECT_STREQ(client.HostName(), L"example.test");
    EXPECT_STREQ(client.UrlPath(), L"/a/b.ini");
    // Escapes stay as they are, so an encoded URL reaches the server unchanged.
    EXPECT_STREQ(client.ExtraInfo(), L"?x=%41");
    EXPECT_EQ(client.Port(), 80);
    ASSERT_TRUE(client.CrackUrl(L"http://example.test:18080/"));
    EXPECT_EQ(client.Port(), 18080);

    // A Chinese file name percent-encoded takes nine characters a character.
    std::wstring longPath = L"/Update";
    for (int i = 0; i < 60; ++i) longPath += L"/%E5%9C%B0%E5%9B%BE";
    const std::wstring longQuery = L"?v=" + std::wstring(400, L'q');
    ASSERT_TRUE(client.CrackUrl((L"http://example.test" + longPath + longQuery).c_str()));
    EXPECT_EQ(client.UrlPath(), longPath);
    EXPECT_EQ(client.ExtraInfo(), longQuery);
    EXPECT_STREQ(client.HostName(), L"example.test");
}

TEST(HttpClient, FailuresAreResultValues) {
    int status = -1;
    {
        CHttpClient client;  // no session opened
        EXPECT_EQ(client.SendRequest(L"http://127.0.0.1/", status, nullptr), CHTTP_REQUEST_ERROR_NOSESSION);
    }
    CHttpClient client;
    client.OpenSession();
    EXPECT_FALSE(client.CrackUrl(nullptr));
    EXPECT_EQ(client.SendRequest(L"not a url", status, nullptr), CHTTP_REQUEST_ERROR_URL);
    const std::wstring longHost = L"http://" + std::wstring(300, L'h') + L".test/";
    EXPECT_EQ(client.SendRequest(longHost.c_str(), status, nullptr), CHTTP_REQUEST_ERROR_URL);
    const int refused = client.SendRequest(ServerSite::RefusedUrl().c_str(), status, nullptr);
    EXPECT_TRUE(refused == CHTTP_REQUEST_ERROR_CONNECT || refused == CHTTP_REQUEST_ERROR_SEND) << refused;
    EXPECT_EQ(status, -1);
    std::uint64_t length = 7;
    client.QueryContentLength(length);
    EXPECT_EQ(length, 0u);
}
