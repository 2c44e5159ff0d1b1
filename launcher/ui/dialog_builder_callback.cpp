#include "launcher/ui/dialog_builder_callback.h"

#include <string_view>

#include "launcher/ui/custom_vertical_layout.h"

CControlUI* CDialogBuilderCallback::CreateControl(const wchar_t* className) {
    if (className && std::wstring_view(className) == L"CustomVerticalLayout") return new CCustomVerticalLayoutUI();
    return nullptr;
}
