// The manifest reader and the comparison on any text: no fault, and what is listed
// for download is a safe, sorted, server-named file that is not reserved.
#include <algorithm>
#include <cstdint>

#include "tests/fuzz/fuzz_support.h"
#include "updater/safe_name.h"
#include "updater/update_compare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Text before the first NUL unit is the server's manifest, the rest the local one.
    const std::wstring text = fuzz::WideUnits(data, size);
    const size_t split = text.find(L'\0');
    const std::wstring serverText = ManifestTextFromWide(std::wstring_view(text).substr(0, split));
    const std::wstring localText =
        split == std::wstring::npos ? std::wstring(L"\n") : ManifestTextFromWide(std::wstring_view(text).substr(split + 1));
    FUZZ_CHECK(!serverText.empty() && serverText.back() == L'\n');

    const auto server = ParseManifest(serverText);
    std::vector<std::wstring> rejected;
    const UpdateList list = CompareManifests(serverText, localText, &rejected);
    FUZZ_CHECK(list.size() + rejected.size() <= server.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const UpdateItem& item = list[i];
        FUZZ_CHECK(IsSafeRelativeName(item.name));
        FUZZ_CHECK(item.name != L"MD5.exe" && item.name != L"UpDate.ini");
        const auto named = server.find(item.name);
        FUZZ_CHECK(named != server.end() && named->second == item.digest);
        if (i > 0) FUZZ_CHECK(list[i - 1].name < item.name);
    }
    for (const auto& name : rejected) FUZZ_CHECK(!IsSafeRelativeName(name));
    // Exactly the names a plain map lookup finds outdated, and no other.
    const auto local = ParseManifest(localText);
    size_t expected = 0;
    for (const auto& [name, value] : server) {
        const auto mine = local.find(name);
        if ((mine == local.end() || !DigestsMatch(mine->second, value)) && IsSafeRelativeName(name)) ++expected;
    }
    FUZZ_CHECK(list.size() == expected);
    for (const UpdateItem& item : list) {
        const auto mine = local.find(item.name);
        FUZZ_CHECK(mine == local.end() || !DigestsMatch(mine->second, item.digest));
    }
    // The same manifest on both sides needs nothing.
    FUZZ_CHECK(CompareManifests(serverText, serverText).empty());

    const std::wstring_view half(text.data(), text.size() / 2);
    const std::wstring_view rest(text.data() + half.size(), text.size() - half.size());
    FUZZ_CHECK(DigestsMatch(half, rest) == DigestsMatch(rest, half));
    FUZZ_CHECK(DigestsMatch(half, half));
    return 0;
}
