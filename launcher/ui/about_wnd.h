// CAboutWnd: the about window ("about.xml"), showing the version text it was given.
#pragma once

#include <string>

#include "launcher/ui/base_wnd.h"

class CAboutWnd : public CBaseWnd {
public:
    explicit CAboutWnd(std::wstring versionText) : m_version(std::move(versionText)) {}

protected:
    const wchar_t* GetWindowClassName() const override { return L"MessageWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    CDuiString GetSkinFile() override { return L"about.xml"; }
    void InitWindow() override;
    void OnClick(TNotifyUI& msg) override;

private:
    std::wstring m_version;
};
