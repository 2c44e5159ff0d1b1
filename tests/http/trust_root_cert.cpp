// trust_root_cert <certificate.der>: adds one certificate to the local machine's
// "Root" store. The HTTPS tests run it in their own Wine prefix so that WinHTTP
// trusts the CA the test fixture made for the run.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

#include "common/win32/unique_handle.h"

namespace {

void CloseStore(HCERTSTORE store) { CertCloseStore(store, 0); }
using unique_cert_store = win32::unique_any<win32::handle_traits<HCERTSTORE, CloseStore, 0>>;

bool ReadFileBytes(const wchar_t* path, std::vector<BYTE>& bytes) {
    win32::unique_file file(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (1 << 20)) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_root_cert <certificate.der>\n");
        return 2;
    }
    std::vector<BYTE> certificate;
    if (!ReadFileBytes(argv[1], certificate)) {
        std::fprintf(stderr, "cannot read the certificate\n");
        return 1;
    }
    unique_cert_store root(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
    if (!root) {
        std::fprintf(stderr, "cannot open the Root store (%lu)\n", GetLastError());
        return 1;
    }
    if (!CertAddEncodedCertificateToStore(root.get(), X509_ASN_ENCODING, certificate.data(),
                                          static_cast<DWORD>(certificate.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                          nullptr)) {
        std::fprintf(stderr, "cannot add the certificate (%lu)\n", GetLastError());
        return 1;
    }
    return 0;
}
