#include "launcher/util/text_convert.h"

#include <windows.h>

#include "common/text/code_page.h"

namespace {

unsigned FileApiCodePage() { return AreFileApisANSI() ? text::kAnsiCodePage : text::kOemCodePage; }

}  // namespace

std::string WideToChs(const std::wstring& text) {
    // The conversion stops at an embedded zero, as the C runtime's did; keep that.
    const std::wstring_view source(text.c_str());
    return text::NarrowFromWide(source, text::kChineseCodePage, text::Unmappable::QuestionMark).bytes;
}

std::wstring ChsToWide(const std::string& text) {
    return text::CodePageToWide(std::string_view(text.c_str()), text::kChineseCodePage);
}

std::wstring ToWideString(const std::string& text) { return text::CodePageToWide(text, FileApiCodePage()); }

std::string ToNarrowString(const std::wstring& text) { return text::WideToCodePage(text, FileApiCodePage()); }
