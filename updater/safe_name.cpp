#include "updater/safe_name.h"

#include <cwchar>
#include <cwctype>

namespace {

// "CON", "nul.txt", "COM1.dll", ...: opening such a name reaches a device, not a file.
bool IsDeviceName(const std::wstring& segment) {
    std::wstring stem = segment.substr(0, segment.find(L'.'));
    for (auto& c : stem) c = static_cast<wchar_t>(towupper(c));
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" || stem == L"CONOUT$")
        return true;
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'1' &&
           stem[3] <= L'9';
}

}  // namespace

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
        if (IsDeviceName(segment)) return false;
        start = end + 1;
    }
    return true;
}
