// The signature check of the server manifest: "UpDate.ini.sig" beside "UpDate.ini".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "updater/diagnostics.h"
#include "updater/signature_text.h"

enum class SignatureVerdict {
    Valid,        // signed by the built-in key over exactly the manifest's bytes
    Missing,      // the server has no "UpDate.ini.sig" (404)
    Unreachable,  // the signature could not be fetched (request failure, other status)
    Malformed,    // the body is not 128 hexadecimal characters
    Wrong,        // well-formed, but not the key's signature of these bytes
    NoKey,        // the built-in key is unusable: nothing can be accepted
};

// Judges a fetched signature body (nullopt: none was fetched, taken as Missing)
// against the manifest's exact bytes. Never returns Unreachable.
SignatureVerdict JudgeManifestSignature(const ManifestTrust& trust, std::string_view manifest,
                                        const std::optional<std::string>& signatureBody);

// The diagnostic line for a verdict other than Valid ("manifest signature missing\n", ...).
std::string SignatureDiagnostic(SignatureVerdict verdict);

// Fetches manifestUrl + ".sig" and judges it against `manifest` (the bytes received
// for manifestUrl). True when the manifest may be used: no key is required, or the
// verdict is Valid. Otherwise reports which failure it was to `diagnostics`.
// Blocks; call from the worker thread.
bool ManifestSignatureAccepted(const DiagnosticSink& diagnostics, const ManifestTrust& trust, const std::wstring& manifestUrl,
                               std::string_view manifest, const std::wstring& folder);
