#include "duilib/font_fallback.h"

#include <windows.h>

#include <map>

#include "common/win32/gdi_handle.h"

namespace dui {

namespace {

FontFallbackReporter g_reporter = nullptr;

std::map<std::wstring, std::wstring>& Choices() {
    static std::map<std::wstring, std::wstring> choices;
    return choices;
}

int CALLBACK MarkFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

struct FirstFamilies {
    std::wstring any;
    std::wstring chinese;
};

int CALLBACK CollectFirst(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM out) {
    auto* first = reinterpret_cast<FirstFamilies*>(out);
    // Vertical variants ("@name") are for rotated text only.
    if (font->lfFaceName[0] == L'@') return 1;
    if (first->any.empty()) first->any = font->lfFaceName;
    if (first->chinese.empty() && font->lfCharSet == GB2312_CHARSET) first->chinese = font->lfFaceName;
    return first->chinese.empty() ? 1 : 0;
}

void AddFace(std::vector<std::wstring>& faces, const wchar_t* face) {
    if (face && *face) faces.emplace_back(face);
}

}  // namespace

std::wstring ChooseFontFace(const std::wstring& requested, const FaceInstalled& installed,
                            const std::vector<std::wstring>& fallbacks) {
    if (!requested.empty() && installed(requested)) return requested;
    for (const std::wstring& face : fallbacks) {
        if (!face.empty() && installed(face)) return face;
    }
    return requested;
}

bool IsFontFaceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    const win32::unique_screen_dc dc(GetDC(nullptr));
    if (!dc.get()) return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(query.lfFaceName, face.c_str());
    bool found = false;
    EnumFontFamiliesExW(dc.get(), &query, MarkFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::vector<std::wstring> FallbackFontFaces() {
    std::vector<std::wstring> faces;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        AddFace(faces, metrics.lfMessageFont.lfFaceName);
    }
    LOGFONTW gui{};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui)) AddFace(faces, gui.lfFaceName);
    const win32::unique_screen_dc dc(GetDC(nullptr));
    if (dc.get()) {
        LOGFONTW all{};
        all.lfCharSet = DEFAULT_CHARSET;
        FirstFamilies first;
        EnumFontFamiliesExW(dc.get(), &all, CollectFirst, reinterpret_cast<LPARAM>(&first), 0);
        AddFace(faces, first.chinese.c_str());
        AddFace(faces, first.any.c_str());
    }
    return faces;
}

std::wstring UsableFontFace(const std::wstring& requested) {
    auto& choices = Choices();
    const auto known = choices.find(requested);
    if (known != choices.end()) return known->second;
    std::wstring chosen = requested;
    if (!IsFontFaceInstalled(requested)) {
        chosen = ChooseFontFace(requested, IsFontFaceInstalled, FallbackFontFaces());
        if (g_reporter) g_reporter(requested, chosen);
    }
    choices.emplace(requested, chosen);
    return chosen;
}

void SetFontFallbackReporter(FontFallbackReporter reporter) { g_reporter = reporter; }

void ResetFontFaceChoices() { Choices().clear(); }

}  // namespace dui
