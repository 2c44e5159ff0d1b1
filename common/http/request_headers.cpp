#include "common/http/request_headers.h"

std::wstring PlainRequestHeader() {
    return L"Cache-Control: no-cache\r\n";
}

std::wstring ResumeRequestHeader(std::uint64_t offset) {
    return L"Cache-Control: no-cache\r\nRange:bytes=" + std::to_wstring(offset) + L"-\r\n";
}

std::uint64_t ContentLengthValue(const std::wstring& text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || text[at] == L'\t')) ++at;
    std::size_t end = text.size();
    while (end > at && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
    if (at == end) return 0;
    std::uint64_t value = 0;
    for (std::size_t i = at; i < end; ++i) {
        const wchar_t c = text[i];
        if (c < L'0' || c > L'9') return 0;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (UINT64_MAX - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    return value;
}
