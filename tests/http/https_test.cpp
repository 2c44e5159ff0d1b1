// HTTPS against nginx with TLS: a certificate of the run's test CA (put into this
// prefix's root store) is accepted, one of an unknown CA fails the request.
#include "common/http/download_to_file.h"
#include "common/http/http_client.h"

#include <gtest/gtest.h>

#include "common/http/request_headers.h"
#include "tests/http/server_site.h"
#include "tests/support/test_files.h"

using namespace testing_support;

namespace {

class HttpsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { trusted_ = TrustTestCa(); }
    void SetUp() override {
        ASSERT_TRUE(site.tlsOk());
        ASSERT_TRUE(trusted_) << "trust_root_cert.exe could not add the test CA";
    }
    static bool trusted_;
    ServerSite site;
};

bool HttpsTest::trusted_ = false;

}  // namespace

TEST_F(HttpsTest, FetchesOverTlsFromACertificateOfATrustedCa) {
    const std::string content = PatternBytes(150000, 7);
    ASSERT_TRUE(site.Put(L"Update\\big.bin", content));

    CHttpClient client;
    client.OpenSession();
    int status = 0;
    ASSERT_EQ(client.SendRequest(site.TlsUrl(L"Update/big.bin").c_str(), status, PlainRequestHeader().c_str()),
              CHTTP_REQUEST_OK);
    EXPECT_TRUE(client.IsSecure());
    EXPECT_EQ(status, 200);
    std::string body;
    std::string block(kHttpBlockSize, '\0');
    for (int guard = 0; guard < 1000; ++guard) {
        std::uint32_t read = 0;
        ASSERT_TRUE(client.ReadData(block.data(), kHttpBlockSize, read));
        if (read == 0) break;
        body.append(block, 0, read);
    }
    EXPECT_EQ(body, content);

    // The same client goes back to plain HTTP for a plain URL.
    ASSERT_TRUE(site.Put(L"plain.txt", "plain"));
    ASSERT_EQ(client.SendRequest(site.NginxUrl(L"plain.txt").c_str(), status, nullptr), CHTTP_REQUEST_OK);
    EXPECT_FALSE(client.IsSecure());
    EXPECT_EQ(status, 200);
}

TEST_F(HttpsTest, ACertificateOfAnUnknownCaFailsTheRequest) {
    ASSERT_TRUE(site.Put(L"a.txt", "secret"));
    CHttpClient client;
    client.OpenSession();
    int status = 0;
    EXPECT_EQ(client.SendRequest(site.StrangerTlsUrl(L"a.txt").c_str(), status, nullptr), CHTTP_REQUEST_ERROR_SEND);

    // A plain HTTP request to the TLS port is no way around it either.
    std::wstring plain = site.TlsUrl(L"a.txt");
    plain.replace(0, 5, L"http");
    ASSERT_EQ(client.SendRequest(plain.c_str(), status, nullptr), CHTTP_REQUEST_OK);
    EXPECT_EQ(status, 400);
}

TEST_F(HttpsTest, DownloadToFileOverTlsAndItsRefusal) {
    // The launcher's version check goes through DownloadToFile.
    ASSERT_TRUE(site.Put(L"Version\\server_version.ini", "2.0.0.9\r\n"));
    TempDir local;
    const std::wstring target = local / L"server_version.ini";
    EXPECT_EQ(DownloadToFile(site.TlsUrl(L"Version/server_version.ini"), target, nullptr, nullptr, false, true),
              DOWNLOAD_OK);
    EXPECT_EQ(ReadBytes(target), "2.0.0.9\r\n");

    const std::wstring refused = local / L"refused.ini";
    EXPECT_NE(DownloadToFile(site.StrangerTlsUrl(L"Version/server_version.ini"), refused, nullptr, nullptr, false,
                             true),
              DOWNLOAD_OK);
    EXPECT_FALSE(Exists(refused));
}

TEST(HttpClientScheme, HttpsPortDefaultsTo443AndOtherSchemesAreRefused) {
    CHttpClient client;
    ASSERT_TRUE(client.CrackUrl(L"https://example.test/zorvik/Wakfu/"));
    EXPECT_TRUE(client.IsSecure());
    EXPECT_EQ(client.Port(), 443);
    ASSERT_TRUE(client.CrackUrl(L"https://example.test:8443/x"));
    EXPECT_EQ(client.Port(), 8443);
    ASSERT_TRUE(client.CrackUrl(L"http://example.test/x"));
    EXPECT_FALSE(client.IsSecure());
    EXPECT_EQ(client.Port(), 80);
    EXPECT_FALSE(client.CrackUrl(L"ftp://example.test/x"));
}
