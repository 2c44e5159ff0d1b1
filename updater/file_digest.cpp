#include "updater/file_digest.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "common/win32/unique_handle.h"

namespace {

// Large enough that the per-call overhead of CryptHashData and ReadFile vanishes,
// small enough that hashing any file stays far below the memory budget.
constexpr DWORD kHashBlock = 1 << 22;

// Hashes the open file. Appends the failure text of every step that fails to
// `failures` and returns the hex digest, or an empty text when none was obtained.
std::string HashOpenFile(DigestProvider& providers, HANDLE file, std::string& failures) {
    const HCRYPTPROV provider = providers.Acquire();
    if (provider == 0) failures += "CryptAcquireContextWorry\n";
    win32::unique_hcrypthash hash;
    if (!CryptCreateHash(provider, CALG_MD5, 0, 0, hash.put())) failures += "CryptCreateHashWorry\n";

    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        failures += "GetFileSizeWorry\n";
        size.QuadPart = 0;
    }
    const DWORD bufferSize = static_cast<DWORD>(std::clamp<LONGLONG>(size.QuadPart, 1, kHashBlock));
    std::vector<BYTE> buffer(bufferSize);
    bool hashedAny = false;
    bool hashOk = true;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), bufferSize, &read, nullptr)) {
            failures += "ReadFileWorry\n";
            break;
        }
        if (read == 0) break;
        hashedAny = true;
        if (!CryptHashData(hash.get(), buffer.data(), read, 0)) {
            hashOk = false;
            break;
        }
    }
    // An empty (or unreadable) file still passes through the hash once, so a broken
    // hash object is reported for it too.
    if (hashOk && !hashedAny && !CryptHashData(hash.get(), buffer.data(), 0, 0)) hashOk = false;
    if (!hashOk) failures += "CryptHashDataWorry\n";

    DWORD length = 4;
    if (!CryptGetHashParam(hash.get(), HP_HASHVAL, nullptr, &length, 0)) {
        failures += "GetLengthWorry\n";
        length = 4;
    }
    std::vector<BYTE> digest(length);
    if (!CryptGetHashParam(hash.get(), HP_HASHVAL, digest.data(), &length, 0)) return {};
    // Without a working hash object there is no digest, whatever a provider may say.
    if (!hashOk || !hash) return {};

    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (DWORD i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

}  // namespace

HCRYPTPROV DigestProvider::Acquire() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!provider_) CryptAcquireContextW(provider_.put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT);
    return provider_.get();
}

std::string FileMd5Record(DigestProvider& provider, const std::wstring& path) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return "CalculateMd5Worry\n";
    std::string record;
    const std::string hex = HashOpenFile(provider, file.get(), record);
    if (!hex.empty()) record += hex + "\n";
    return record;
}

void WriteFileMd5(DigestProvider& provider, const std::wstring& path, std::FILE* stream) {
    const std::string record = FileMd5Record(provider, path);
    std::fwrite(record.data(), 1, record.size(), stream);
}

bool FileMd5Hex(DigestProvider& provider, const std::wstring& path, std::string& hex) {
    hex.clear();
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::string failures;
    hex = HashOpenFile(provider, file.get(), failures);
    if (!failures.empty()) hex.clear();
    return !hex.empty();
}

bool HashFilePrefix(const std::wstring& path, std::uint64_t bytes, Md5& md5) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<BYTE> buffer(static_cast<std::size_t>(std::clamp<std::uint64_t>(bytes, 1, kHashBlock)));
    while (bytes > 0) {
        const DWORD want = static_cast<DWORD>(std::min<std::uint64_t>(bytes, buffer.size()));
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer.data(), want, &read, nullptr) || read == 0) return false;
        md5.Update(buffer.data(), read);
        bytes -= read;
    }
    return true;
}
