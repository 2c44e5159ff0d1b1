#include "updater/update_paths.h"

#include <algorithm>

std::wstring NormaliseUrl(const std::wstring& url) {
    if (!url.empty() && url.back() != L'/') return url + L"/";
    return url;
}

std::wstring NormaliseFolder(const std::wstring& folder) {
    if (!folder.empty() && folder.back() != L'\\') return folder + L"\\";
    return folder;
}

std::wstring UpdateFileUrl(const std::wstring& updateUrl, const std::wstring& name) {
    std::wstring relative = name;
    std::replace(relative.begin(), relative.end(), L'\\', L'/');
    return NormaliseUrl(updateUrl) + relative;
}

bool IsSafeRelativeName(const std::wstring& name) {
    if (name.empty() || name.size() > 259) return false;
    if (name.front() == L'\\' || name.back() == L'\\') return false;
    for (wchar_t c : name) {
        if (c < 0x20) return false;
        // ':' is a drive or an alternate stream; '/' would be a second separator that
        // the server URL and the local path treat differently.
        if (wcschr(L":/*?\"<>|", c) != nullptr) return false;
    }
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find(L'\\', start);
        if (end == std::wstring::npos) end = name.size();
        const std::wstring segment = name.substr(start, end - start);
        if (segment.empty()) return false;
        // Windows drops trailing dots and blanks, so "..." or ".. " would still climb up.
        if (segment.find_first_not_of(L". ") == std::wstring::npos) return false;
        if (segment.back() == L'.' || segment.back() == L' ') return false;
        start = end + 1;
    }
    return true;
}

std::wstring TargetPath(const std::wstring& folder, const std::wstring& name) { return NormaliseFolder(folder) + name; }

std::wstring TempPath(const std::wstring& folder, const std::wstring& name) { return TargetPath(folder, name) + L".tmp"; }
