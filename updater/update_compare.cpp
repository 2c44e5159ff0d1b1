#include "updater/update_compare.h"

#include "updater/safe_name.h"

namespace {

bool IsReservedName(const std::wstring& name) {
    return name == L"MD5.exe" || name == L"UpDate.ini";
}

bool IsTrimmedSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsTrimmedSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsTrimmedSpace(text.back())) text.remove_suffix(1);
    return text;
}

wchar_t FoldedAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

bool DigestsMatch(std::wstring_view a, std::wstring_view b) {
    a = Trimmed(a);
    b = Trimmed(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
    return true;
}

std::map<std::wstring, std::wstring> ParseManifest(const std::wstring& text) {
    std::map<std::wstring, std::wstring> records;
    size_t position = 0;
    for (;;) {
        const size_t tab = text.find(L'\t', position);
        if (tab == std::wstring::npos) break;
        const size_t lineEnd = text.find(L'\n', tab + 1);
        if (lineEnd == std::wstring::npos) break;
        std::wstring name = text.substr(position, tab - position);
        position = lineEnd + 1;
        if (IsReservedName(name)) continue;
        // try_emplace keeps the first value of a repeated name.
        records.try_emplace(std::move(name), text.substr(tab + 1, lineEnd - tab - 1));
    }
    return records;
}

UpdateList CompareManifests(const std::wstring& serverText, const std::wstring& localText,
                            std::vector<std::wstring>* rejected) {
    const auto server = ParseManifest(serverText);
    const auto local = ParseManifest(localText);
    UpdateList list;
    for (const auto& [name, value] : server) {
        const auto mine = local.find(name);
        if (mine != local.end() && DigestsMatch(mine->second, value)) continue;
        // A name that could reach outside the updater folder is never downloaded.
        if (!IsSafeRelativeName(name)) {
            if (rejected != nullptr) rejected->push_back(name);
            continue;
        }
        list.push_back(UpdateItem{name, value});
    }
    return list;
}

std::vector<std::wstring> UpdateNames(const UpdateList& list) {
    std::vector<std::wstring> names;
    names.reserve(list.size());
    for (const auto& item : list) names.push_back(item.name);
    return names;
}

std::wstring ManifestTextFromWide(std::wstring_view wide) {
    // A text-mode read turns CR LF into LF, so a CR never ends up in a value.
    std::wstring text;
    text.reserve(wide.size() + 1);
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') continue;
        text += wide[i];
    }
    size_t first = 0;
    while (first < text.size() && IsTrimmedSpace(text[first])) ++first;
    size_t last = text.size();
    while (last > first && IsTrimmedSpace(text[last - 1])) --last;
    return text.substr(first, last - first) + L"\n";
}

bool ManifestTextIsEmpty(const std::wstring& text) { return text.empty() || text == L"\n"; }
