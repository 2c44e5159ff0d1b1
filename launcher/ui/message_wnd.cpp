#include "launcher/ui/message_wnd.h"

#include <memory>

#include "duilib/button.h"
#include "duilib/label.h"
#include "launcher/ui/message_box_rules.h"

namespace {
constexpr DWORD kBoxStyle = 0x96C80000;  // WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
}

HWND CMessageWnd::CreateWithTexts(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc,
                                  const wchar_t* title, const wchar_t* text) {
    m_title = title;
    m_text = text;
    return Create(parent, name, style, exStyle, rc);
}

void CMessageWnd::InitWindow() {
    if (auto* header = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(L"header"))) {
        header->SetText(m_title ? m_title : L"");
        header->SetTextColor(0xFFFFFF);
    }
    if (auto* message = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl(L"messagebox"))) {
        message->SetText(m_text ? m_text : L"");
        message->SetTextColor(0x4A4949);
    }
    AfterInit();
}

void CMessageWnd::Notify(TNotifyUI& msg) {
    if (msg.sType != L"click" || !msg.pSender) return;
    int result = MessageBoxResultForButton(msg.pSender->GetName().str());
    if (result == 0) return;
    m_result = result;
    Close(1);
}

void ShowSingleOkButton(CPaintManagerUI& manager) {
    if (CControlUI* cancel = manager.FindControl(L"cancleBtn")) cancel->SetVisible(false);
    if (CControlUI* yes = manager.FindControl(L"yesBtn")) yes->SetFloatPos(RECT{60, 0, 160, 45});
}

int ShowMessageBox(const wchar_t* title, const wchar_t* text, int type, HWND owner) {
    std::unique_ptr<CMessageWnd> box;
    switch (MessageBoxKindForType(type)) {
        case MessageBoxKind::Big: box = std::make_unique<CMessageBoxWndBig>(); break;
        case MessageBoxKind::Normal: box = std::make_unique<CMessageBoxWndNormal>(); break;
        case MessageBoxKind::BigNoCancel: box = std::make_unique<CMessageNoCnlBoxWndBig>(); break;
        case MessageBoxKind::NormalNoCancel: box = std::make_unique<CMessageNoCnlBoxWndNormal>(); break;
        case MessageBoxKind::None: return 0;
    }
    if (!box->CreateWithTexts(owner, L"", kBoxStyle, WS_EX_WINDOWEDGE, RECT{0, 0, 0, 0}, title, text)) return 0;
    box->CenterWindow();
    box->ShowModal();
    return box->GetResult();
}
