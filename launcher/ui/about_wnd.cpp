#include "launcher/ui/about_wnd.h"

#include "duilib/label.h"

void CAboutWnd::InitWindow() {
    if (auto* version = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(L"version"))) version->SetText(m_version.c_str());
    for (const wchar_t* name : {L"version", L"aboutStr1", L"aboutStr2"})
        if (auto* label = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(name))) label->SetTextColor(0xFFFFFF);
}

void CAboutWnd::OnClick(TNotifyUI& msg) {
    if (msg.pSender && msg.pSender->GetName() == L"closebtn") Close(1);
}
