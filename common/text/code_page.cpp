#include "common/text/code_page.h"

#include <windows.h>

#include <climits>

namespace text {
namespace {

// The system calls count in int; a longer text is not converted at all rather than
// cut at an arbitrary point.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

bool TakesDefaultCharacter(unsigned codePage) { return codePage != kUtf8CodePage && codePage != CP_UTF7; }

}  // namespace

NarrowText NarrowFromWide(std::wstring_view wide, unsigned codePage, Unmappable unmappable) {
    NarrowText result;
    if (wide.empty() || !FitsInt(wide.size())) return result;
    const DWORD flags =
        (unmappable == Unmappable::NoBestFit && TakesDefaultCharacter(codePage)) ? WC_NO_BEST_FIT_CHARS : 0;
    const bool withDefault = TakesDefaultCharacter(codePage);
    const char questionMark[] = "?";
    const char* defaultChar = (withDefault && unmappable == Unmappable::QuestionMark) ? questionMark : nullptr;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = withDefault ? &usedDefault : nullptr;
    const int length = static_cast<int>(wide.size());

    int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, defaultChar, usedDefaultOut);
    if (size <= 0) return result;
    result.bytes.assign(static_cast<std::size_t>(size), '\0');
    size = WideCharToMultiByte(codePage, flags, wide.data(), length, result.bytes.data(), size, defaultChar,
                               usedDefaultOut);
    if (size <= 0) {
        result.bytes.clear();
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(size));
    result.lossless = usedDefault == FALSE;
    return result;
}

std::string WideToCodePage(std::wstring_view wide, unsigned codePage) {
    return NarrowFromWide(wide, codePage, Unmappable::SystemDefault).bytes;
}

std::wstring CodePageToWide(std::string_view bytes, unsigned codePage) {
    if (bytes.empty() || !FitsInt(bytes.size())) return {};
    const int length = static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    size = MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), size);
    if (size <= 0) return {};
    wide.resize(static_cast<std::size_t>(size));
    return wide;
}

std::string AsciiApproximation(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (wchar_t c : wide) out += (c < 0x80) ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace text
