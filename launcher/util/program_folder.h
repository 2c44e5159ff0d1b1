// The folder of the running executable, resolved once by the launcher's entry and
// handed to everything that keeps files beside the program.
#pragma once

#include <string>
#include <utility>

class ProgramFolder {
public:
    // `path` without trailing backslash; empty when the executable's path is unknown.
    explicit ProgramFolder(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const noexcept { return path_; }
    // With the trailing backslash, as DuiLib's instance path has it; empty stays empty.
    std::wstring WithSlash() const { return path_.empty() ? path_ : path_ + L"\\"; }
    // <folder>\<relative>.
    std::wstring Join(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};
