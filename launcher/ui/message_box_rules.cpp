#include "launcher/ui/message_box_rules.h"

MessageBoxKind MessageBoxKindForType(int type) {
    switch (type) {
        case 1: return MessageBoxKind::Big;
        case 2:
        case 3: return MessageBoxKind::Normal;
        case 4: return MessageBoxKind::BigNoCancel;
        case 5:
        case 6: return MessageBoxKind::NormalNoCancel;
        default: return MessageBoxKind::None;
    }
}

int MessageBoxResultForButton(std::wstring_view name) {
    if (name == L"yesBtn") return 1;
    if (name == L"cancleBtn") return 2;
    if (name == L"closebtn") return 3;
    return 0;
}
