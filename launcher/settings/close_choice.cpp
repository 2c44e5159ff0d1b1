#include "launcher/settings/close_choice.h"

#include <windows.h>

#include <vector>

namespace settings {

std::wstring ReadCloseChoiceText(const std::wstring& programFolder) {
    if (programFolder.empty()) return {};
    const std::wstring path = programFolder + L"\\user\\" + L"ResInfo.ini";
    std::vector<wchar_t> buffer(8192, L'\0');
    const DWORD length = GetPrivateProfileStringW(L"CloseOrMin", L"isCheck", L"", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path.c_str());
    return std::wstring(buffer.data(), length);
}

CloseChoice ParseCloseChoice(const std::wstring& text) {
    if (text == L"c") return CloseChoice::Close;
    if (text == L"m") return CloseChoice::MinimiseToTray;
    return CloseChoice::Ask;
}

}  // namespace settings
