// ECDSA P-256 over SHA-256, verified with Windows CNG (bcrypt).
#pragma once

#include <string_view>

#include "updater/signature_text.h"

enum class EcdsaVerdict {
    Valid,        // the signature is the key's, over exactly these bytes
    Invalid,      // a well-formed signature that does not verify (other key or other bytes)
    KeyRejected,  // CNG refused the key (not a point of the curve)
    Failed,       // CNG could not be used (provider or hash unavailable)
};

// Hashes `message` with SHA-256 and verifies `signature` against `key`. Any thread.
EcdsaVerdict VerifyEcdsaP256Sha256(const UpdatePublicKey& key, std::string_view message,
                                   const ManifestSignature& signature);
