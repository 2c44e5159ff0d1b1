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

std::uint64_t NameHash(std::wstring_view name) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the code units
    for (wchar_t c : name) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    return hash ^ (hash >> 29);
}

// One record of a manifest text: views into the text, the offset of its name, and
// its name's hash.
struct Record {
    std::wstring_view name;
    std::wstring_view value;
    size_t start = 0;
    std::uint64_t hash = 0;
};

// Reads the records of a manifest text in order, by the rules of ParseManifest
// (repeated names included).
class RecordReader {
public:
    explicit RecordReader(std::wstring_view text) : text_(text) {}

    bool Next(Record& record) {
        for (;;) {
            const size_t tab = text_.find(L'\t', position_);
            if (tab == std::wstring_view::npos) return false;
            const size_t lineEnd = text_.find(L'\n', tab + 1);
            if (lineEnd == std::wstring_view::npos) return false;
            const size_t start = position_;
            position_ = lineEnd + 1;
            const std::wstring_view name = text_.substr(start, tab - start);
            if (name == L"MD5.exe" || name == L"UpDate.ini") continue;
            record = Record{name, text_.substr(tab + 1, lineEnd - tab - 1), start, NameHash(name)};
            return true;
        }
    }

private:
    std::wstring_view text_;
    size_t position_ = 0;
};

// The first record of each name of the local manifest text, found by hashing: an
// open-addressed table, at least twice as large as the records, of 8-byte slots
// that hold the offset of a record in the text (40 bits), 23 bits of its name's
// hash, so a probe reads the text only when those agree, and a mark set once the
// server's manifest has named it. The table is all the memory the comparison takes
// beyond the list it returns, and a server record costs one probe of it: with the
// texts of a large manifest far larger than the processor's caches, fresh memory (a
// page fault per 4 KiB) and scattered reads cost more than the comparing itself.
class LocalRecords {
public:
    LocalRecords(std::wstring_view text, size_t records) : text_(text) {
        size_t capacity = 16;
        while (capacity < records * 2) capacity *= 2;
        mask_ = capacity - 1;
        slots_.assign(capacity, kEmpty);
    }

    // Adds `record` unless its name is there already (a repeated name keeps its
    // first record).
    void Add(const Record& record) {
        std::uint64_t& slot = SlotOf(record.name, record.hash);
        if (slot == kEmpty) slot = (Tag(record.hash) << kOffsetBits) | record.start;
    }

    enum class Named { Missing, First, Again };

    // Looks up the server's record `name` (of hash `hash`): Missing when the local
    // text has no such name, else First with the local value the first time the
    // server names it and Again after that.
    Named NameFromServer(std::wstring_view name, std::uint64_t hash, std::wstring_view& value) {
        std::uint64_t& slot = SlotOf(name, hash);
        if (slot == kEmpty) return Named::Missing;
        if ((slot & kServerNamed) != 0) return Named::Again;
        slot |= kServerNamed;
        const size_t valueStart = (slot & kOffsetMask) + name.size() + 1;
        value = text_.substr(valueStart, text_.find(L'\n', valueStart) - valueStart);
        return Named::First;
    }

    // Fetches the slot of `hash` into the cache ahead of an Add or a lookup.
    void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    // Once the slot is in the cache: fetches the text of the record it likely holds,
    // which a lookup then reads.
    void PrefetchRecord(std::uint64_t hash) const {
        const std::uint64_t slot = slots_[hash & mask_];
        if (slot != kEmpty && SlotTag(slot) == Tag(hash)) __builtin_prefetch(text_.data() + (slot & kOffsetMask));
    }

private:
    static constexpr unsigned kOffsetBits = 40;  // a text of up to 2^40 characters
    static constexpr unsigned kTagBits = 23;
    static constexpr std::uint64_t kOffsetMask = (1ull << kOffsetBits) - 1;
    static constexpr std::uint64_t kServerNamed = 1ull << 63;
    static constexpr std::uint64_t kEmpty = ~0ull;

    // The tag is taken from the hash's top bits, the slot index from its low ones.
    static std::uint64_t Tag(std::uint64_t hash) { return hash >> (64 - kTagBits); }
    static std::uint64_t SlotTag(std::uint64_t slot) { return (slot >> kOffsetBits) & ((1ull << kTagBits) - 1); }

    // The slot holding `name`, or the empty slot where it belongs.
    std::uint64_t& SlotOf(std::wstring_view name, std::uint64_t hash) {
        const std::uint64_t tag = Tag(hash);
        for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
            std::uint64_t& slot = slots_[at];
            if (slot == kEmpty) return slot;
            if (SlotTag(slot) == tag && NameAt(slot & kOffsetMask) == name) return slot;
        }
    }

    // The name of the record at `start`, which ends at its tab.
    std::wstring_view NameAt(size_t start) const { return text_.substr(start, text_.find(L'\t', start) - start); }

    std::wstring_view text_;
    std::vector<std::uint64_t> slots_;
    size_t mask_ = 0;
};

// Reads the records of `text` in groups and calls `ahead` for each record of a group,
// then `group` with the whole group, then `each` for each record in order: the table
// slots (and texts) a record needs are fetched into the cache while the records
// before it are handled, instead of one cache miss after the other.
template <typename Ahead, typename Group, typename Each>
void ForEachRecordInGroups(std::wstring_view text, Ahead ahead, Group group, Each each) {
    constexpr size_t kGroup = 16;
    RecordReader reader(text);
    Record records[kGroup];
    for (;;) {
        size_t count = 0;
        while (count < kGroup && reader.Next(records[count])) ahead(records[count++]);
        group(records, count);
        for (size_t i = 0; i < count; ++i) each(records[i]);
        if (count < kGroup) return;
    }
}

size_t LineCount(std::wstring_view text) { return static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')); }

}  // namespace

UpdateList CompareManifests(const std::wstring& serverText, const std::wstring& localText,
                            std::vector<std::wstring>* rejected) {
    LocalRecords local(localText, LineCount(localText));
    ForEachRecordInGroups(
        localText, [&](const Record& record) { local.Prefetch(record.hash); }, [](const Record*, size_t) {},
        [&](const Record& record) { local.Add(record); });

    // A repeated server name counts by its first record only: the local table marks
    // the names the server has named; repeats among names the local text lacks are
    // dropped once the outdated records are sorted.
    std::vector<Record> outdated;
    ForEachRecordInGroups(
        serverText, [&](const Record& record) { local.Prefetch(record.hash); },
        [&](const Record* group, size_t count) {
            for (size_t i = 0; i < count; ++i) local.PrefetchRecord(group[i].hash);
        },
        [&](const Record& record) {
            std::wstring_view mine;
            switch (local.NameFromServer(record.name, record.hash, mine)) {
            case LocalRecords::Named::Again: return;
            case LocalRecords::Named::First:
                if (DigestsMatch(mine, record.value)) return;
                break;
            case LocalRecords::Named::Missing: break;
            }
            outdated.push_back(record);
        });
    // Only the names to fetch are sorted, usually a small part of the manifest.
    // Ordinal order of UTF-16 code units (wchar_t is an unsigned 16-bit unit here);
    // records of one name in text order, so the first of them is kept.
    std::sort(outdated.begin(), outdated.end(), [](const Record& a, const Record& b) {
        const int order = a.name.compare(b.name);
        return order != 0 ? order < 0 : a.start < b.start;
    });
    outdated.erase(std::unique(outdated.begin(), outdated.end(),
                               [](const Record& a, const Record& b) { return a.name == b.name; }),
                   outdated.end());
    UpdateList list;
    list.reserve(outdated.size());
    for (const Record& record : outdated) {
        std::wstring name(record.name);
        // A name that could reach outside the updater folder is never downloaded.
        if (!IsSafeRelativeName(name)) {
            if (rejected != nullptr) rejected->push_back(std::move(name));
            continue;
        }
        list.push_back(UpdateItem{std::move(name), std::wstring(record.value)});
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
