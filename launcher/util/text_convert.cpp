#include "launcher/util/text_convert.h"

#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <vector>

namespace {

constexpr UINT kChineseCodePage = 936;

UINT FileApiCodePage() { return AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

// Switches the C runtime locale to "chs" for its lifetime and restores the locale
// that was in force before (normally "C").
class ChsLocaleScope {
public:
    ChsLocaleScope() {
        if (const char* current = std::setlocale(LC_ALL, nullptr)) previous_ = current;
        active_ = std::setlocale(LC_ALL, "chs") != nullptr;
    }
    ~ChsLocaleScope() { std::setlocale(LC_ALL, previous_.empty() ? "C" : previous_.c_str()); }
    ChsLocaleScope(const ChsLocaleScope&) = delete;
    ChsLocaleScope& operator=(const ChsLocaleScope&) = delete;
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

std::string SystemWideToMultiByte(UINT codePage, const std::wstring& text, bool useQuestionMark) {
    if (text.empty()) return {};
    const char defaultChar[] = "?";
    const char* dflt = useQuestionMark ? defaultChar : nullptr;
    int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   dflt, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size), '\0');
    size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                               dflt, nullptr);
    if (size <= 0) return {};
    out.resize(static_cast<size_t>(size));
    return out;
}

std::wstring SystemMultiByteToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring out(static_cast<size_t>(size), L'\0');
    size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    if (size <= 0) return {};
    out.resize(static_cast<size_t>(size));
    return out;
}

}  // namespace

std::string WideToChs(const std::wstring& text) {
    // The conversion stops at an embedded zero, like the C runtime's; keep that.
    const std::wstring source(text.c_str());
    if (source.empty()) return {};
    {
        ChsLocaleScope locale;
        if (locale.active()) {
            std::vector<char> buffer(source.size() * 2 + 1, '\0');
            const size_t written = std::wcstombs(buffer.data(), source.c_str(), buffer.size() - 1);
            if (written != static_cast<size_t>(-1)) return std::string(buffer.data(), written);
        }
    }
    return SystemWideToMultiByte(kChineseCodePage, source, true);
}

std::wstring ChsToWide(const std::string& text) {
    const std::string source(text.c_str());
    if (source.empty()) return {};
    {
        ChsLocaleScope locale;
        if (locale.active()) {
            std::vector<wchar_t> buffer(source.size() + 1, L'\0');
            const size_t written = std::mbstowcs(buffer.data(), source.c_str(), buffer.size() - 1);
            if (written != static_cast<size_t>(-1)) return std::wstring(buffer.data(), written);
        }
    }
    return SystemMultiByteToWide(kChineseCodePage, source);
}

std::wstring ToWideString(const std::string& text) { return SystemMultiByteToWide(FileApiCodePage(), text); }

std::string ToNarrowString(const std::wstring& text) {
    return SystemWideToMultiByte(FileApiCodePage(), text, false);
}
