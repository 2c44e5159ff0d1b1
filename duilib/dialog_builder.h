// CDialogBuilder: builds a control tree from an XML layout.
//
// Layout form: a root <Window> whose attributes set the window ("size", "caption",
// "roundcorner", "bkcolor"), <Font id= name= size= bold= underline= italic=
// default=> elements, and one control element holding the tree. Element names are
// class names without "UI" ("VerticalLayout", "Button", ...); every attribute goes to
// the control's SetAttribute. A class name the library does not know is offered to
// the callback's CreateControl; when nobody knows it the element is skipped and the
// reason kept as the paint manager's last error.
//
// Attributes every control takes: name, text, pos (l,t,r,b relative to the parent;
// makes the control floating), float, width, height, padding, bkcolor, bkimage,
// bordercolor, bordersize, borderround, visible, enabled, mouse. Containers: inset,
// childpadding, vscrollbar, scrollbarwidth. Labels: textcolor, disabledtextcolor,
// font (index of a <Font>), align, valign, textpadding, wordbreak, endellipsis.
// Buttons: normalimage, hotimage, pushedimage, focusedimage, disabledimage,
// foreimage, hottextcolor. Options: group, selected, selectedimage,
// selectedhotimage, selecteddisabledimage. Sliders: min, max, value, step,
// thumbimage, thumbsize. Edits: maxchar, numberonly, readonly. Combos: itemheight,
// dropheight, items as <ListLabelElement text=...> children (visible="false" keeps
// an index without offering it). Menus: <MenuElement name= text= icon=>.
// Images are "name.png" or "file='x.png' source='l,t,r,b' corner='l,t,r,b'
// dest='l,t,r,b' fade='0..255'".
#pragma once

#include "duilib/ui_base.h"

class IDialogBuilderCallback {
public:
    // A new control for `className`, owned by the caller, or null.
    virtual CControlUI* CreateControl(const wchar_t* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
public:
    // Loads the layout named `xml` from the resources (folder or archive) and builds
    // it for `manager`. Returns the root control (not yet attached; pass it to
    // AttachDialog), or null when the layout is missing, is not well-formed XML or
    // has no control; the reason is then in GetLastErrorText() and, when a manager
    // is given, in the manager's last error.
    CControlUI* Create(const wchar_t* xml, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // The same for layout text already in memory (UTF-8).
    CControlUI* CreateFromText(const char* utf8, std::size_t length, IDialogBuilderCallback* callback,
                               CPaintManagerUI* manager);

    const CDuiString& GetLastErrorText() const { return m_sError; }

    // A control of a built-in class name ("Button", "VerticalLayout"...), or null.
    static CControlUI* CreateBuiltinControl(const wchar_t* className);

private:
    CDuiString m_sError;
};
