#include "updater/update_compare.h"

#include <algorithm>
#include <cstdint>

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

namespace {

std::uint32_t NameHash(std::wstring_view name) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the code units
    for (wchar_t c : name) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    return static_cast<std::uint32_t>(hash ^ (hash >> 29));
}

// One record of a manifest text, pointing into that text, with its name's hash.
struct RecordView {
    std::wstring_view name;
    std::wstring_view value;
    std::uint32_t hash = 0;
    bool first = false;  // the first record of its name (set by RecordIndex)
};

// The records of `text` in their order, by the rules of ParseManifest (repeated
// names included). Views into `text`, which must outlive them.
std::vector<RecordView> Records(const std::wstring& text) {
    std::vector<RecordView> records;
    records.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')));
    const std::wstring_view all(text);
    size_t position = 0;
    for (;;) {
        const size_t tab = all.find(L'\t', position);
        if (tab == std::wstring_view::npos) break;
        const size_t lineEnd = all.find(L'\n', tab + 1);
        if (lineEnd == std::wstring_view::npos) break;
        const std::wstring_view name = all.substr(position, tab - position);
        position = lineEnd + 1;
        if (name == L"MD5.exe" || name == L"UpDate.ini") continue;
        records.push_back(RecordView{name, all.substr(tab + 1, lineEnd - tab - 1), NameHash(name)});
    }
    return records;
}

// The first record of each name, found by hashing: an open-addressed table, at least
// twice as large as the records, whose slots hold a name's hash beside its record's
// index, so a probe reads a record (and its text) only when the hashes agree. A tree
// or a sort of a whole manifest compares long shared path prefixes at scattered
// places of a text far larger than the processor's caches, which made large
// manifests grow much faster than their size; slots are fetched ahead for the same
// reason.
class RecordIndex {
public:
    // Marks the first record of each name in `records`, which must outlive the index.
    explicit RecordIndex(std::vector<RecordView>& records) : records_(records) {
        size_t capacity = 16;
        while (capacity < records.size() * 2) capacity *= 2;
        mask_ = capacity - 1;
        slots_.assign(capacity, Slot{});
        for (size_t i = 0; i < records.size(); ++i) {
            if (i + kAhead < records.size()) __builtin_prefetch(&slots_[records[i + kAhead].hash & mask_]);
            Slot& slot = SlotOf(records[i].name, records[i].hash);
            if (slot.index == kEmpty) {  // a repeated name keeps its first record
                slot = Slot{records[i].hash, static_cast<std::uint32_t>(i)};
                records[i].first = true;
            }
        }
    }

    // Fetches the slot of `hash` into the cache ahead of a Find.
    void Prefetch(std::uint32_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    // The first record named `name` (of hash `hash`), or null.
    const RecordView* Find(std::wstring_view name, std::uint32_t hash) const {
        const Slot& slot = const_cast<RecordIndex*>(this)->SlotOf(name, hash);
        return slot.index == kEmpty ? nullptr : &records_[slot.index];
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    static constexpr size_t kAhead = 8;
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t index = kEmpty;
    };

    // The slot holding `name`, or the empty slot where it belongs.
    Slot& SlotOf(std::wstring_view name, std::uint32_t hash) {
        for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.index == kEmpty || (slot.hash == hash && records_[slot.index].name == name)) return slot;
        }
    }

    const std::vector<RecordView>& records_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
};

}  // namespace

UpdateList CompareManifests(const std::wstring& serverText, const std::wstring& localText,
                            std::vector<std::wstring>* rejected) {
    std::vector<RecordView> server = Records(serverText);
    std::vector<RecordView> local = Records(localText);
    const RecordIndex serverIndex(server);  // marks each name's first server record
    const RecordIndex localIndex(local);
    // Only the names to fetch are sorted, usually a small part of the manifest.
    std::vector<const RecordView*> outdated;
    for (size_t i = 0; i < server.size(); ++i) {
        if (i + 8 < server.size()) localIndex.Prefetch(server[i + 8].hash);
        if (!server[i].first) continue;
        const RecordView* mine = localIndex.Find(server[i].name, server[i].hash);
        if (mine != nullptr && DigestsMatch(mine->value, server[i].value)) continue;
        outdated.push_back(&server[i]);
    }
    // Ordinal order of UTF-16 code units (wchar_t is an unsigned 16-bit unit here).
    std::sort(outdated.begin(), outdated.end(),
              [](const RecordView* a, const RecordView* b) { return a->name < b->name; });
    UpdateList list;
    list.reserve(outdated.size());
    for (const RecordView* record : outdated) {
        std::wstring name(record->name);
        // A name that could reach outside the updater folder is never downloaded.
        if (!IsSafeRelativeName(name)) {
            if (rejected != nullptr) rejected->push_back(std::move(name));
            continue;
        }
        list.push_back(UpdateItem{std::move(name), std::wstring(record->value)});
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
