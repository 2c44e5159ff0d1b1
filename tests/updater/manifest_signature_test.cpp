// Key and signature texts, and the CNG verification against known answers made by
// the publisher tool and by openssl.
#include "updater/manifest_signature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "tests/updater/signature_vectors.h"
#include "updater/ecdsa_verify.h"

using namespace testing_support;

namespace {

ManifestTrust TrustOf(const char* keyText) { return TrustFromKeyText(keyText); }

ManifestSignature SignatureOf(const char* text) { return *ParseManifestSignature(text); }

}  // namespace

TEST(SignatureText, Hex64TakesExactly128HexDigitsOfEitherCase) {
    const std::string lower(kToolKey);
    auto bytes = ParseHex64(lower);
    ASSERT_TRUE(bytes);
    EXPECT_EQ((*bytes)[0], 0x47);
    EXPECT_EQ((*bytes)[63], 0x98);
    std::string upper = lower;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ParseHex64(upper), bytes);

    EXPECT_FALSE(ParseHex64(""));
    EXPECT_FALSE(ParseHex64(lower.substr(0, 127)));
    EXPECT_FALSE(ParseHex64(lower.substr(0, 126)));
    EXPECT_FALSE(ParseHex64(lower + "0"));
    EXPECT_FALSE(ParseHex64(lower + "00"));
    for (const char bad : {'g', 'G', ' ', 'x', '\0', '-'}) {
        std::string text = lower;
        text[77] = bad;
        EXPECT_FALSE(ParseHex64(text)) << "character " << int(bad);
    }
}

TEST(SignatureText, KeyTextAllowsNoSpaceButSignatureFileAllowsALineEnd) {
    const std::string key(kToolKey);
    EXPECT_TRUE(ParseUpdatePublicKey(key));
    EXPECT_FALSE(ParseUpdatePublicKey(key + "\n"));
    EXPECT_FALSE(ParseUpdatePublicKey(" " + key));

    const std::string sig(kToolSignature);
    for (const char* tail : {"", "\n", "\r\n", " \t\r\n\n"})
        EXPECT_TRUE(ParseManifestSignature(sig + tail)) << "tail \"" << tail << "\"";
    EXPECT_FALSE(ParseManifestSignature(" " + sig));
    EXPECT_FALSE(ParseManifestSignature(sig + "\n" + sig));
    EXPECT_FALSE(ParseManifestSignature(sig.substr(0, 64)));
    EXPECT_FALSE(ParseManifestSignature("<html>404 Not Found</html>"));
    EXPECT_FALSE(ParseManifestSignature(std::string(sig.data(), 100) + std::string(1, '\0') + sig.substr(101)));
}

TEST(SignatureText, TrustFromKeyText) {
    const ManifestTrust none = TrustFromKeyText("");
    EXPECT_FALSE(none.required);
    EXPECT_FALSE(none.key);

    const ManifestTrust built = TrustFromKeyText(kToolKey);
    EXPECT_TRUE(built.required);
    ASSERT_TRUE(built.key);
    EXPECT_EQ(built.key->point, *ParseHex64(kToolKey));

    // A broken built-in key still demands a signature: it never means "unsigned".
    const ManifestTrust broken = TrustFromKeyText("abc");
    EXPECT_TRUE(broken.required);
    EXPECT_FALSE(broken.key);
}

TEST(EcdsaVerify, AcceptsTheKnownAnswersOfTheToolAndOfOpenssl) {
    const std::string manifest = SignedManifest();
    EXPECT_EQ(VerifyEcdsaP256Sha256(*ParseUpdatePublicKey(kToolKey), manifest, SignatureOf(kToolSignature)),
              EcdsaVerdict::Valid);
    EXPECT_EQ(VerifyEcdsaP256Sha256(*ParseUpdatePublicKey(kOpensslKey), manifest, SignatureOf(kOpensslSignature)),
              EcdsaVerdict::Valid);
}

TEST(EcdsaVerify, RefusesOtherBytesOtherKeysAndAlteredSignatures) {
    const std::string manifest = SignedManifest();
    const UpdatePublicKey tool = *ParseUpdatePublicKey(kToolKey);
    const ManifestSignature good = SignatureOf(kToolSignature);

    // One bit of the manifest, a byte more or less, or a line end changed.
    std::string flipped = manifest;
    flipped[20] ^= 0x01;
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, flipped, good), EcdsaVerdict::Invalid);
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, manifest + "\n", good), EcdsaVerdict::Invalid);
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, manifest.substr(0, manifest.size() - 1), good), EcdsaVerdict::Invalid);
    std::string crlf = manifest;
    const size_t lineEnd = crlf.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    crlf.insert(lineEnd, 1, '\r');
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, crlf, good), EcdsaVerdict::Invalid);
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, "", good), EcdsaVerdict::Invalid);

    // The other side's key, r and s swapped, one bit of s, all zeros.
    EXPECT_EQ(VerifyEcdsaP256Sha256(*ParseUpdatePublicKey(kOpensslKey), manifest, good), EcdsaVerdict::Invalid);
    ManifestSignature swapped;
    std::copy(good.rs.begin() + 32, good.rs.end(), swapped.rs.begin());
    std::copy(good.rs.begin(), good.rs.begin() + 32, swapped.rs.begin() + 32);
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, manifest, swapped), EcdsaVerdict::Invalid);
    ManifestSignature bit = good;
    bit.rs[63] ^= 0x80;
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, manifest, bit), EcdsaVerdict::Invalid);
    EXPECT_EQ(VerifyEcdsaP256Sha256(tool, manifest, ManifestSignature{}), EcdsaVerdict::Invalid);
}

TEST(EcdsaVerify, APointOffTheCurveNeverVerifies) {
    UpdatePublicKey bent = *ParseUpdatePublicKey(kToolKey);
    bent.point[63] ^= 0x01;
    const EcdsaVerdict verdict = VerifyEcdsaP256Sha256(bent, SignedManifest(), SignatureOf(kToolSignature));
    EXPECT_NE(verdict, EcdsaVerdict::Valid);
}

TEST(JudgeManifestSignature, EachFailureIsNamed) {
    const std::string manifest = SignedManifest();
    const ManifestTrust tool = TrustOf(kToolKey);
    EXPECT_EQ(JudgeManifestSignature(tool, manifest, std::string(kToolSignature) + "\r\n"), SignatureVerdict::Valid);
    EXPECT_EQ(JudgeManifestSignature(tool, manifest, std::nullopt), SignatureVerdict::Missing);
    EXPECT_EQ(JudgeManifestSignature(tool, manifest, std::string("")), SignatureVerdict::Malformed);
    EXPECT_EQ(JudgeManifestSignature(tool, manifest, std::string(kToolKey).substr(0, 120)),
              SignatureVerdict::Malformed);
    EXPECT_EQ(JudgeManifestSignature(tool, manifest, std::string(kOpensslSignature)), SignatureVerdict::Wrong);
    EXPECT_EQ(JudgeManifestSignature(tool, manifest + " ", std::string(kToolSignature)), SignatureVerdict::Wrong);
    EXPECT_EQ(JudgeManifestSignature(TrustOf("zz"), manifest, std::string(kToolSignature)), SignatureVerdict::NoKey);

    EXPECT_EQ(SignatureDiagnostic(SignatureVerdict::Missing), "manifest signature missing\n");
    EXPECT_EQ(SignatureDiagnostic(SignatureVerdict::Malformed), "manifest signature malformed\n");
    EXPECT_EQ(SignatureDiagnostic(SignatureVerdict::Wrong), "manifest signature wrong\n");
}
