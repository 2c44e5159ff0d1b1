// The safe-name check on any name: no fault, and an accepted name can never leave the
// folder it is joined to.
#include <cstdint>

#include "tests/fuzz/fuzz_support.h"
#include "updater/safe_name.h"

namespace {

// What a name must never be or hold to stay below the folder, checked apart from the
// rule set itself: no root, drive, stream or second separator, no segment that
// climbs (Windows drops trailing dots and blanks, so "..." and ".. " climb too).
bool StaysInside(const std::wstring& name) {
    if (name.empty() || name.front() == L'\\') return false;
    if (name.find_first_of(L":/") != std::wstring::npos) return false;
    size_t start = 0;
    for (;;) {
        const size_t end = name.find(L'\\', start);
        const std::wstring segment = name.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (segment.find_first_not_of(L". ") == std::wstring::npos) return false;
        if (end == std::wstring::npos) return true;
        start = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring name = fuzz::WideUnits(data, size);
    if (!IsSafeRelativeName(name)) return 0;
    FUZZ_CHECK(StaysInside(name));
    FUZZ_CHECK(name.size() <= 259);
    for (wchar_t c : name) FUZZ_CHECK(c >= 0x20);
    return 0;
}
