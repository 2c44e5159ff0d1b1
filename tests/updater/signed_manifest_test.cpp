// GetUpdateState with a built-in key against nginx: the manifest is used only with a
// signature beside it that verifies over its exact bytes.
#include "updater/update_state.h"

#include <gtest/gtest.h>

#include "tests/updater/release_site.h"
#include "tests/updater/signature_vectors.h"
#include "updater/manifest.h"

using namespace testing_support;

namespace {

class SignedManifestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.ok());
        ASSERT_TRUE(site.Put(L"Update\\UpDate.ini", SignedManifest()));
    }
    void Run(const ManifestTrust& trust) {
        ASSERT_TRUE(BuildLocalManifest(diagnostics.context.digests, local.path()));
        GetUpdateState(diagnostics.context.diagnostics, list, site.NginxUrl(L"Update"), local.path(), state, trust);
    }
    void ExpectRefused(const std::string& diagnostic) {
        EXPECT_EQ(state, UpdateState::Error);
        EXPECT_TRUE(list.empty());
        EXPECT_TRUE(diagnostics.Has(diagnostic)) << "expected " << diagnostic;
    }
    ServerSite site;
    TempDir local;
    DiagnosticCapture diagnostics;
    UpdateList list;
    UpdateState state = UpdateState::Error;
};

}  // namespace

TEST_F(SignedManifestTest, ASignedManifestIsUsed) {
    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini.sig", std::string(kToolSignature) + "\n"));
    Run(TrustFromKeyText(kToolKey));
    EXPECT_EQ(state, UpdateState::Part);
    EXPECT_EQ(UpdateNames(list),
              (std::vector<std::wstring>{L"Velmora.exe", L"skin\\Wakfu.ui", Wide("更新\\说明.txt")}));
    EXPECT_TRUE(diagnostics.texts.empty());
}

TEST_F(SignedManifestTest, AnUnsignedBuildTakesTheManifestAsBefore) {
    Run(ManifestTrust{});
    EXPECT_EQ(state, UpdateState::Part);
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(SignedManifestTest, MissingMalformedAndForeignSignaturesAreRefused) {
    const ManifestTrust trust = TrustFromKeyText(kToolKey);
    Run(trust);
    ExpectRefused("manifest signature missing\n");

    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini.sig", "<html><body>not a signature</body></html>"));
    Run(trust);
    ExpectRefused("manifest signature malformed\n");
    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini.sig", std::string(kToolSignature).substr(2)));
    Run(trust);
    ExpectRefused("manifest signature malformed\n");

    // A valid signature, but by a key this build does not trust.
    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini.sig", kOpensslSignature));
    Run(trust);
    ExpectRefused("manifest signature wrong\n");
}

TEST_F(SignedManifestTest, AManifestChangedAfterSigningIsRefused) {
    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini.sig", kToolSignature));
    std::string changed = SignedManifest();
    const size_t digest = changed.find("9e107d9d");
    ASSERT_NE(digest, std::string::npos);
    changed.replace(digest, 8, "00000000");
    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini", changed));
    Run(TrustFromKeyText(kToolKey));
    ExpectRefused("manifest signature wrong\n");
}

TEST_F(SignedManifestTest, AnUnusableBuiltInKeyAcceptsNothing) {
    ASSERT_TRUE(site.Put(L"Update\\UpDate.ini.sig", kToolSignature));
    Run(TrustFromKeyText("not a key"));
    ExpectRefused("update key unusable\n");
}
