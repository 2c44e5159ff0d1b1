#include "updater/manifest_signature.h"

#include <vector>

#include "common/http/http_client.h"
#include "updater/diagnostics.h"
#include "updater/ecdsa_verify.h"

namespace {

// A signature file is 128 characters and a line end; anything much longer is not one
// and is not read on.
constexpr size_t kSignatureBodyLimit = 1024;

struct SignatureFetch {
    SignatureVerdict failure = SignatureVerdict::Unreachable;  // meaningful without body
    std::optional<std::string> body;
    std::string detail;  // the request failure or status, for the diagnostic
};

SignatureFetch FetchSignature(const std::wstring& url) {
    SignatureFetch fetch;
    CHttpClient client;
    int status = 0;
    const int result = OpenAndSendPlainGet(client, url, status);
    if (result != CHTTP_REQUEST_OK) {
        fetch.detail = RequestFailureDiagnostic(result);
        return fetch;
    }
    if (status == 404) {
        fetch.failure = SignatureVerdict::Missing;
        return fetch;
    }
    if (status != 200) {
        fetch.detail = "status " + std::to_string(status) + "\n";
        return fetch;
    }
    std::string body;
    std::vector<char> buffer(kHttpBlockSize);
    for (;;) {
        std::uint32_t read = 0;
        if (!client.ReadData(buffer.data(), kHttpBlockSize, read)) {
            fetch.detail = "InternetReadFileFail\n";
            return fetch;
        }
        if (read == 0) break;
        body.append(buffer.data(), read);
        // Too long to be a signature: judged malformed without reading the rest.
        if (body.size() > kSignatureBodyLimit) break;
    }
    fetch.body = std::move(body);
    return fetch;
}

}  // namespace

SignatureVerdict JudgeManifestSignature(const ManifestTrust& trust, std::string_view manifest,
                                        const std::optional<std::string>& signatureBody) {
    if (!trust.key) return SignatureVerdict::NoKey;
    if (!signatureBody) return SignatureVerdict::Missing;
    const auto signature = ParseManifestSignature(*signatureBody);
    if (!signature) return SignatureVerdict::Malformed;
    switch (VerifyEcdsaP256Sha256(*trust.key, manifest, *signature)) {
        case EcdsaVerdict::Valid:
            return SignatureVerdict::Valid;
        case EcdsaVerdict::KeyRejected:
        case EcdsaVerdict::Failed:
            return SignatureVerdict::NoKey;
        case EcdsaVerdict::Invalid:
            break;
    }
    return SignatureVerdict::Wrong;
}

std::string SignatureDiagnostic(SignatureVerdict verdict) {
    switch (verdict) {
        case SignatureVerdict::Valid:
            return {};
        case SignatureVerdict::Missing:
            return "manifest signature missing\n";
        case SignatureVerdict::Unreachable:
            return "manifest signature not fetched\n";
        case SignatureVerdict::Malformed:
            return "manifest signature malformed\n";
        case SignatureVerdict::Wrong:
            return "manifest signature wrong\n";
        case SignatureVerdict::NoKey:
            return "update key unusable\n";
    }
    return "manifest signature wrong\n";
}

bool ManifestSignatureAccepted(const DiagnosticSink& diagnostics, const ManifestTrust& trust, const std::wstring& manifestUrl,
                               std::string_view manifest, const std::wstring& folder) {
    if (!trust.required) return true;
    SignatureVerdict verdict = SignatureVerdict::NoKey;
    if (trust.key) {
        const SignatureFetch fetch = FetchSignature(manifestUrl + L".sig");
        if (fetch.body) {
            verdict = JudgeManifestSignature(trust, manifest, fetch.body);
        } else {
            verdict = fetch.failure;
            if (!fetch.detail.empty()) diagnostics.Report(folder, fetch.detail);
        }
    }
    if (verdict == SignatureVerdict::Valid) return true;
    diagnostics.Report(folder, SignatureDiagnostic(verdict));
    return false;
}
