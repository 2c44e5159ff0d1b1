// The launcher's answer to layout class names the library does not know.
#pragma once

#include "duilib/dialog_builder.h"

class CDialogBuilderCallback : public IDialogBuilderCallback {
public:
    // A new CCustomVerticalLayoutUI for "CustomVerticalLayout", otherwise null.
    CControlUI* CreateControl(const wchar_t* className) override;
};
