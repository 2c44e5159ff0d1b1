// MD5 digests of local files through CryptoAPI, in the local manifest's text form.
#pragma once

#include <cstdio>
#include <string>

// The manifest value for the file at `path`: 32 lower-case hex digits and "\n", or
// the failure texts of the steps that failed ("CalculateMd5Worry\n" when the file
// cannot be opened with read sharing only, "CryptAcquireContextWorry\n", ...). When
// the digest value itself cannot be read, no digest and no "\n" follow. The file is
// hashed in blocks, so memory stays bounded whatever its size.
std::string FileMd5Record(const std::wstring& path);

// Writes FileMd5Record(path) into the manifest stream.
void WriteFileMd5(const std::wstring& path, std::FILE* stream);

// The digest of the file as 32 lower-case hex digits; false (hex empty) on any failure.
// Opens with read and write sharing, so it also works on a file the caller just wrote.
bool FileMd5Hex(const std::wstring& path, std::string& hex);
