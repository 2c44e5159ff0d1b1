// MD5 digests of local files through CryptoAPI, in the local manifest's text form.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "common/digest/md5.h"

#include "updater/crypt_handle.h"

// The CryptoAPI provider every digest of a run uses. Acquiring one is the costly part
// of a digest (under Wine it takes milliseconds, longer than hashing a small file),
// so it is kept once acquired; a failed acquisition is retried for the next file.
// Part of the UpdaterContext; any thread may call Acquire.
class DigestProvider {
public:
    // The provider, or 0 when none can be acquired now.
    HCRYPTPROV Acquire();

private:
    std::mutex lock_;
    win32::unique_hcryptprov provider_;
};

// The manifest value for the file at `path`: 32 lower-case hex digits and "\n", or
// the failure texts of the steps that failed ("CalculateMd5Worry\n" when the file
// cannot be opened with read sharing only, "CryptAcquireContextWorry\n", ...). When
// the digest value itself cannot be read, no digest and no "\n" follow. The file is
// hashed in blocks, so memory stays bounded whatever its size.
std::string FileMd5Record(DigestProvider& provider, const std::wstring& path);

// Writes FileMd5Record(path) into the manifest stream.
void WriteFileMd5(DigestProvider& provider, const std::wstring& path, std::FILE* stream);

// The digest of the file as 32 lower-case hex digits; false (hex empty) on any failure.
// Opens with read and write sharing, so it also works on a file the caller just wrote.
bool FileMd5Hex(DigestProvider& provider, const std::wstring& path, std::string& hex);

// Feeds the first `bytes` bytes of the file at `path` into `md5` (the part of a file
// a resumed download continues). False when the file cannot be read or is shorter.
// Opens with read and write sharing, like FileMd5Hex.
bool HashFilePrefix(const std::wstring& path, std::uint64_t bytes, Md5& md5);
