// Known answers for the manifest signature, made outside the program under test.
//
// kToolKey/kToolSignature: `release.py keygen`, then `sign_manifest` over kManifest.
// kOpensslKey/kOpensslSignature: the openssl command line alone, so that a mistake
// shared by release.py and the verifier cannot hide:
//   openssl ecparam -name prime256v1 -genkey -noout -out k.pem
//   openssl ec -in k.pem -pubout -outform der | tail -c 64 | xxd -p -c 256
//   openssl dgst -sha256 -sign k.pem UpDate.ini | openssl asn1parse -inform der
//   (the two INTEGERs, each padded to 64 hexadecimal digits, r then s)
#pragma once

#include <string>

namespace testing_support {

// A manifest as release.py writes it, with a code page 936 name.
inline std::string SignedManifest() {
    return std::string("Velmora.exe\t9e107d9d372bb6826bd81d3542a419d6\n"
                       "skin\\Wakfu.ui\te4d909c290d0fb1ca068ffaddf22cbd0\n"
                       "\xb8\xfc\xd0\xc2\\\xcb\xb5\xc3\xf7.txt\t0cc175b9c0f1b6a831c399e269772661\n");
}

inline constexpr char kToolKey[] =
    "470050539019fa3b4ce1231cc8d70f39786f922436576ccdbb42c7d360ff2893"
    "524463114c9eb14474b4d1fadc56a3d6d9f0c06da7536e3ff28daa4e8eeaa598";
inline constexpr char kToolSignature[] =
    "6e0afea65ccdc1ce979176cebf194649c77fb10c2d53f619f8f5bb60e43b7918"
    "7679daa44cdd55d7a8f3582e572012c30dc305638d12982ba8f70d3090c2f188";

inline constexpr char kOpensslKey[] =
    "07f6871114331f0e5280e762f629bee41b71c1366d9699d7c933d0d69acd8258"
    "2e01788e2619afce1fb9b47c0f815902b883d5913d729148a09480828a03b334";
inline constexpr char kOpensslSignature[] =
    "6ae6403800a194340137c7352b0bad90b1137ee9ed44b16d5a6237cacd15ef29"
    "8f33a7910a4447dc0b70c0c83aa4f2fb283098342e05a09812f9604eeb9cf7e2";

}  // namespace testing_support
