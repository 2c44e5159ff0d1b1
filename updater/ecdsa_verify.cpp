#include "updater/ecdsa_verify.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>
#include <vector>

#include "common/win32/unique_handle.h"

namespace {

// BCryptCloseAlgorithmProvider takes a flags argument, so it needs a small adapter
// to fit the one-argument close of the handle traits.
void CloseProvider(BCRYPT_ALG_HANDLE provider) { BCryptCloseAlgorithmProvider(provider, 0); }

using unique_bcrypt_alg = win32::unique_any<win32::handle_traits<BCRYPT_ALG_HANDLE, CloseProvider, 0>>;
using unique_bcrypt_key = win32::unique_any<win32::handle_traits<BCRYPT_KEY_HANDLE, ::BCryptDestroyKey, 0>>;

constexpr ULONG kCoordinateBytes = 32;

using unique_bcrypt_hash = win32::unique_any<win32::handle_traits<BCRYPT_HASH_HANDLE, ::BCryptDestroyHash, 0>>;

// SHA-256 through a hash object (BCryptHash in one call needs Windows 10; this works
// from Windows 7, which lets CNG allocate the object itself).
bool Sha256(std::string_view message, std::uint8_t (&digest)[32]) {
    unique_bcrypt_alg sha;
    if (BCryptOpenAlgorithmProvider(sha.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return false;
    unique_bcrypt_hash hash;
    if (BCryptCreateHash(sha.get(), hash.put(), nullptr, 0, nullptr, 0, 0) != 0) return false;
    // BCryptHashData takes a ULONG length; the manifests are bounded far below that.
    if (message.size() > 0xFFFFFFFFu) return false;
    auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(message.data()));
    if (BCryptHashData(hash.get(), data, static_cast<ULONG>(message.size()), 0) != 0) return false;
    return BCryptFinishHash(hash.get(), digest, sizeof(digest), 0) == 0;
}

}  // namespace

EcdsaVerdict VerifyEcdsaP256Sha256(const UpdatePublicKey& key, std::string_view message,
                                   const ManifestSignature& signature) {
    std::uint8_t digest[32];
    if (!Sha256(message, digest)) return EcdsaVerdict::Failed;

    unique_bcrypt_alg ecdsa;
    if (BCryptOpenAlgorithmProvider(ecdsa.put(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) != 0)
        return EcdsaVerdict::Failed;

    // A public key blob: the header, then X and Y.
    std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + key.point.size());
    BCRYPT_ECCKEY_BLOB header{};
    header.dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
    header.cbKey = kCoordinateBytes;
    std::memcpy(blob.data(), &header, sizeof(header));
    std::memcpy(blob.data() + sizeof(header), key.point.data(), key.point.size());

    unique_bcrypt_key publicKey;
    if (BCryptImportKeyPair(ecdsa.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, publicKey.put(), blob.data(),
                            static_cast<ULONG>(blob.size()), 0) != 0)
        return EcdsaVerdict::KeyRejected;

    auto* rs = const_cast<PUCHAR>(signature.rs.data());
    const NTSTATUS status = BCryptVerifySignature(publicKey.get(), nullptr, digest, sizeof(digest), rs,
                                                  static_cast<ULONG>(signature.rs.size()), 0);
    return status == 0 ? EcdsaVerdict::Valid : EcdsaVerdict::Invalid;
}
