// Helpers for tests that work on real files: a temporary folder removed at the end,
// and whole-file reads and writes as bytes.
#pragma once

#include <string>

namespace testing_support {

// A fresh folder below the Windows temporary folder; deleted with its content when
// the object goes away (also when the test fails).
class TempDir {
public:
    explicit TempDir(const std::wstring& nameHint = L"velmora");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Without trailing backslash.
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

// Removes a folder tree; true when it is gone.
bool RemoveTree(const std::wstring& path);

std::string ReadBytes(const std::wstring& path);  // empty when missing
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
bool MakeFolders(const std::wstring& path);  // like mkdir -p

// The test executable's own folder, without trailing backslash.
std::wstring ExecutableFolder();

// UTF-8 → wide, for writing Chinese literals in tests.
std::wstring Wide(const std::string& utf8);
// Wide → code page 936 bytes, the expected on-disk form of Chinese text.
std::string Gbk(const std::wstring& text);

}  // namespace testing_support
