// Manifest bytes to manifest text: the code-page step in front of the plain
// text rules of update_compare.cpp.
#include "common/text/code_page.h"
#include "updater/update_compare.h"

std::wstring ManifestTextFromBytes(const std::string& bytes) {
    const size_t end = bytes.find('\0');
    const std::string_view ansi(bytes.data(), end == std::string::npos ? bytes.size() : end);
    return ManifestTextFromWide(text::CodePageToWide(ansi, text::kAnsiCodePage));
}
