#include "duilib/attributes.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace duiattr {
namespace {

std::wstring_view Trim(std::wstring_view t) {
    while (!t.empty() && (t.front() == L' ' || t.front() == L'\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == L' ' || t.back() == L'\t')) t.remove_suffix(1);
    return t;
}

// wcstol's long has 32 bits on Windows and 64 on Linux; a number past the int range
// takes the nearest int on both, as wcstol already gives it where long is an int.
int ToInt(long value) { return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX)); }

}  // namespace

bool ParseColor(std::wstring_view text, std::uint32_t& argb) {
    text = Trim(text);
    int base = 10;
    bool shortForm = false;
    if (!text.empty() && text.front() == L'#') {
        text.remove_prefix(1);
        base = 16;
        shortForm = text.size() == 6;
    } else if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty() || text.size() > 10) return false;
    std::wstring copy(text);
    wchar_t* end = nullptr;
    unsigned long value = std::wcstoul(copy.c_str(), &end, base);
    if (!end || *end != L'\0') return false;
    // Past 32 bits the largest colour, as wcstoul gives it where unsigned long has 32 bits.
    argb = static_cast<std::uint32_t>(std::min<unsigned long>(value, 0xFFFFFFFFul));
    if (shortForm) argb |= 0xFF000000u;
    return true;
}

bool ParseRect(std::wstring_view text, Rect& rect) {
    int values[4] = {0, 0, 0, 0};
    std::wstring copy(text);
    const wchar_t* p = copy.c_str();
    int found = 0;
    for (int i = 0; i < 4 && *p; ++i) {
        wchar_t* end = nullptr;
        long v = std::wcstol(p, &end, 10);
        if (end == p) break;
        values[i] = ToInt(v);
        ++found;
        p = end;
        while (*p == L' ' || *p == L',') ++p;
    }
    if (found == 0) return false;
    rect = {values[0], values[1], values[2], values[3]};
    return true;
}

bool ParseSize(std::wstring_view text, int& cx, int& cy) {
    Rect r;
    if (!ParseRect(text, r)) return false;
    cx = r.left;
    cy = r.top;
    return true;
}

bool ParseBool(std::wstring_view text) {
    text = Trim(text);
    return text == L"true" || text == L"1";
}

int ParseInt(std::wstring_view text, int fallback) {
    std::wstring copy(Trim(text));
    wchar_t* end = nullptr;
    long v = std::wcstol(copy.c_str(), &end, 10);
    return end == copy.c_str() ? fallback : ToInt(v);
}

bool ParseImageSpec(std::wstring_view text, ImageSpec& spec) {
    spec = ImageSpec{};
    text = Trim(text);
    if (text.find(L'=') == std::wstring_view::npos || text.find(L'\'') == std::wstring_view::npos) {
        spec.file = std::wstring(text);
        return !spec.file.empty();
    }
    while (!text.empty()) {
        text = Trim(text);
        std::size_t eq = text.find(L'=');
        if (eq == std::wstring_view::npos) break;
        std::wstring_view key = Trim(text.substr(0, eq));
        text.remove_prefix(eq + 1);
        text = Trim(text);
        if (text.empty() || text.front() != L'\'') break;
        text.remove_prefix(1);
        std::size_t close = text.find(L'\'');
        if (close == std::wstring_view::npos) break;
        std::wstring_view value = text.substr(0, close);
        text.remove_prefix(close + 1);
        if (key == L"file") spec.file = std::wstring(value);
        else if (key == L"source") spec.hasSource = ParseRect(value, spec.source);
        else if (key == L"corner") ParseRect(value, spec.corner);
        else if (key == L"dest") spec.hasDest = ParseRect(value, spec.dest);
        else if (key == L"fade") spec.fade = ParseInt(value, 255);
    }
    if (spec.fade < 0) spec.fade = 0;
    if (spec.fade > 255) spec.fade = 255;
    return !spec.file.empty();
}

}  // namespace duiattr
