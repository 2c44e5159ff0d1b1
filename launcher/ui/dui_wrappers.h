// Small wrappers the main page keeps for some of its controls, each remembering a
// control of the main window's layout by name and identifier.
#pragma once

#include <string>

class CControlUI;

enum DuiKind { kDuiButton = 2, kDuiOption = 3, kDuiCombobox = 4, kDuiCheckbox = 5 };

// The wrapper kind an identifier gets: 12 to 15 combo box, 18 and above check box,
// every other identifier button.
int WrapperKindForIdentifier(int identifier);

class DuiBase {
public:
    explicit DuiBase(int kind) : kind(kind) {}
    virtual void Initialise() {}
    virtual ~DuiBase() = default;

    std::wstring name;
    int identifier = 0;
    CControlUI* control = nullptr;  // not owned; lives as long as the main window's layout
    int kind;
};

class DuiButton : public DuiBase {
public:
    DuiButton() : DuiBase(kDuiButton) {}
    // Sets the button's foreground image when the control is a button.
    void SetForeImage(const wchar_t* image);
};

class DuiOption : public DuiBase {
public:
    DuiOption() : DuiBase(kDuiOption) {}

protected:
    explicit DuiOption(int kind) : DuiBase(kind) {}
};

class DuiCheckbox : public DuiOption {
public:
    DuiCheckbox() : DuiOption(kDuiCheckbox) {}
    // Sets the check state when the control is an option or check box.
    void SetCheck(bool checked);
};

class DuiCombobox : public DuiBase {
public:
    DuiCombobox() : DuiBase(kDuiCombobox) {}
};
