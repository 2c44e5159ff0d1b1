// RAII owners for CryptoAPI provider contexts and hash objects.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "common/win32/unique_handle.h"

namespace win32 {

struct crypt_prov_traits {
    using type = HCRYPTPROV;
    static type invalid() noexcept { return 0; }
    static bool is_valid(type h) noexcept { return h != 0; }
    static void close(type h) noexcept { CryptReleaseContext(h, 0); }
};
struct crypt_hash_traits {
    using type = HCRYPTHASH;
    static type invalid() noexcept { return 0; }
    static bool is_valid(type h) noexcept { return h != 0; }
    static void close(type h) noexcept { CryptDestroyHash(h); }
};

using unique_hcryptprov = unique_any<crypt_prov_traits>;
using unique_hcrypthash = unique_any<crypt_hash_traits>;

}  // namespace win32
