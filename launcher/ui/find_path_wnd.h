// CFindPathWnd: the game folder chooser ("findpath.xml"), shown modally. The player
// types or browses a folder into "pathstr" and confirms with "surepath"; a folder
// holding the game's Java runtime becomes the game folder and is saved, anything
// else leaves the window open with an error text in the field and the previous
// game folder in place.
#pragma once

#include <string>

#include "duilib/window_impl_base.h"

class CFindPathWnd : public WindowImplBase {
public:
    // True once a valid folder was accepted.
    bool IsAccepted() const { return m_accepted; }
    const std::wstring& GetChosenPath() const { return m_chosenPath; }

protected:
    const wchar_t* GetWindowClassName() const override { return L"FindPath"; }
    CDuiString GetSkinFolder() override { return L"skin"; }
    CDuiString GetSkinFile() override { return L"findpath.xml"; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIP; }
    CDuiString GetZIPFileName() const override { return L"Wakfu.ui"; }
    void InitWindow() override;
    void OnClick(TNotifyUI& msg) override;

private:
    void Browse();
    void Confirm();

    std::wstring m_chosenPath;
    std::wstring m_browsedPath;
    bool m_accepted = false;
};
