#include "updater/update_paths.h"

#include <windows.h>

#include "common/text/code_page.h"

namespace {

// One character (`count` 2 for a surrogate pair) as %XX bytes of its UTF-8 form.
std::wstring PercentEncodedUtf8(const wchar_t* c, int count) {
    const std::string utf8 =
        text::WideToCodePage(std::wstring_view(c, static_cast<size_t>(count)), text::kUtf8CodePage);
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring encoded;
    for (char unit : utf8) {
        const auto byte = static_cast<unsigned char>(unit);
        encoded += L'%';
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 15];
    }
    return encoded;
}

}  // namespace

std::wstring NormaliseUrl(const std::wstring& url) {
    if (!url.empty() && url.back() != L'/') return url + L"/";
    return url;
}

std::wstring NormaliseFolder(const std::wstring& folder) {
    if (!folder.empty() && folder.back() != L'\\') return folder + L"\\";
    return folder;
}

std::wstring ExtendedLengthPath(const std::wstring& path) {
    const wchar_t letter = path.empty() ? L'\0' : static_cast<wchar_t>(path[0] | 0x20);
    const bool drive = path.size() >= 3 && letter >= L'a' && letter <= L'z' && path[1] == L':' && path[2] == L'\\';
    if (drive) return L"\\\\?\\" + path;
    const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
    if (unc) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

std::wstring PlainPath(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
    if (path.starts_with(L"\\\\?\\")) return path.substr(4);
    return path;
}

std::wstring UpdateFileUrl(const std::wstring& updateUrl, const std::wstring& name) {
    // Characters outside plain ASCII go as percent-encoded UTF-8, the form servers
    // map to their file names; a blank, '#' or '%' in a name would otherwise end or
    // change the path.
    std::wstring relative;
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c == L'\\') {
            relative += L'/';
        } else if (c > 0x20 && c < 0x7F && c != L'#' && c != L'%' && c != L'?') {
            relative += c;
        } else {
            const bool pair = IS_HIGH_SURROGATE(c) && i + 1 < name.size() && IS_LOW_SURROGATE(name[i + 1]);
            relative += PercentEncodedUtf8(&name[i], pair ? 2 : 1);
            if (pair) ++i;
        }
    }
    return NormaliseUrl(updateUrl) + relative;
}

std::wstring TargetPath(const std::wstring& folder, const std::wstring& name) {
    return NormaliseFolder(folder) + name;
}

std::wstring TempPath(const std::wstring& folder, const std::wstring& name) {
    return TargetPath(folder, name) + L".tmp";
}
