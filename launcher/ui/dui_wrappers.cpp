#include "launcher/ui/dui_wrappers.h"

#include "duilib/button.h"
#include "duilib/option.h"

int WrapperKindForIdentifier(int identifier) {
    if (identifier >= 12 && identifier <= 15) return kDuiCombobox;
    if (identifier >= 18) return kDuiCheckbox;
    return kDuiButton;
}

void DuiButton::SetForeImage(const wchar_t* image) {
    if (auto* button = dynamic_cast<CButtonUI*>(control)) button->SetForeImage(image);
}

void DuiCheckbox::SetCheck(bool checked) {
    if (auto* option = dynamic_cast<COptionUI*>(control)) option->Selected(checked);
}
