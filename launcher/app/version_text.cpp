#include "launcher/app/version_text.h"

#include <cstdlib>

namespace {

// Splits off the text before the first "."; the remainder is the text after it, or
// the whole string again when there is no dot.
int TakeComponent(std::string& text) {
    const size_t dot = text.find('.');
    const int value = std::atoi(text.substr(0, dot).c_str());
    if (dot != std::string::npos) text = text.substr(dot + 1);
    return value;
}

}  // namespace

int CompareVersionTexts(std::string ownText, std::string serverText) {
    for (int i = 0; i < 3; ++i) {
        const int ownPart = TakeComponent(ownText);
        const int serverPart = TakeComponent(serverText);
        if (serverPart > ownPart) return 1;
        if (ownPart > serverPart) return -1;
    }
    const int ownRest = std::atoi(ownText.c_str());
    const int serverRest = std::atoi(serverText.c_str());
    if (serverRest > ownRest) return 1;
    if (ownRest > serverRest) return -1;
    return 0;
}

std::wstring CutVersionForDisplay(const std::wstring& version) {
    const size_t dot = version.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : version.substr(0, dot);
}

std::string LastNonEmptyLine(const std::string& text) {
    std::string last;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) last = line;
        start = end + 1;
    }
    return last;
}

std::wstring BuildUpdatePromptText(const std::wstring& serverCut, const std::wstring& ownCut) {
    return std::wstring(9, L' ') + L"服务器版本: " + serverCut + L"\n\n" + std::wstring(10, L' ') + L" 当前版本: " +
           ownCut;
}
