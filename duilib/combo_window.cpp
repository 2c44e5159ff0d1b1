#include "duilib/combo_window.h"

#include "duilib/combo.h"
#include "duilib/layouts.h"

bool CComboWnd::Init(CComboUI* owner, int maxHeight) {
    m_pOwner = owner;
    CPaintManagerUI* ownerManager = owner->GetManager();
    HWND parent = ownerManager->GetPaintWindow();
    RECT rc = owner->GetPos();
    int visible = 0;
    for (int i = 0; i < owner->GetCount(); ++i)
        if (owner->GetItemAt(i)->IsVisible()) ++visible;
    int height = visible * owner->GetItemHeight() + 2;
    if (maxHeight > 0 && height > maxHeight) height = maxHeight;
    POINT topLeft{rc.left, rc.bottom};
    ClientToScreen(parent, &topLeft);
    int width = rc.right - rc.left;
    // Open upwards when the screen has no room below.
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(parent, MONITOR_DEFAULTTONEAREST), &info);
    if (topLeft.y + height > info.rcWork.bottom) {
        POINT top{rc.left, rc.top};
        ClientToScreen(parent, &top);
        topLeft.y = top.y - height;
    }
    m_creating = true;
    HWND made = Create(parent, nullptr, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, topLeft.x,
                       topLeft.y, width, height);
    m_creating = false;
    if (!made) {
        delete this;
        return false;
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetFocus(m_hWnd);
    return true;
}

void CComboWnd::BuildRows() {
    auto* list = new CVerticalLayoutUI();
    list->SetBkColor(m_pOwner->GetDropBkColor());
    list->SetBorderColor(0xFF8A6B3A);
    list->SetBorderSize(1);
    list->SetInset(RECT{1, 1, 1, 1});
    list->EnableScrollBar(true);
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* item = m_pOwner->GetItemAt(i);
        auto* row = new CListLabelElementUI();
        row->SetText(item->GetText());
        row->SetFixedHeight(m_pOwner->GetItemHeight());
        row->SetVisible(item->IsVisible());
        row->SetEnabled(item->IsEnabled());
        row->SetFont(m_pOwner->GetItemFont());
        row->SetTextColor(m_pOwner->GetItemTextColor());
        row->SetHotBkColor(m_pOwner->GetItemHotBkColor());
        row->SetSelectedBkColor(m_pOwner->GetItemSelectedBkColor());
        row->SetRowSelected(i == m_pOwner->GetCurSel());
        row->SetOwner(m_pOwner, i);
        list->Add(row);
    }
    m_pm.AttachDialog(list);
}

void CComboWnd::Step(int direction) {
    if (!m_pOwner) return;
    int count = m_pOwner->GetCount();
    for (int i = m_pOwner->GetCurSel() + direction; i >= 0 && i < count; i += direction) {
        CControlUI* item = m_pOwner->GetItemAt(i);
        if (!item->IsVisible() || !item->IsEnabled()) continue;
        m_pOwner->SelectItem(i, false);
        if (auto* list = dynamic_cast<CContainerUI*>(m_pm.GetRoot())) {
            for (int r = 0; r < list->GetCount(); ++r)
                if (auto* row = dynamic_cast<CListLabelElementUI*>(list->GetItemAt(r)))
                    row->SetRowSelected(m_pOwner && r == m_pOwner->GetCurSel());
        }
        return;
    }
}

LRESULT CComboWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            m_pm.Init(m_hWnd);
            if (m_pOwner) m_pm.SetBackgroundColor(m_pOwner->GetDropBkColor());
            if (m_pOwner) BuildRows();
            return 0;
        case WM_KILLFOCUS:
            if (reinterpret_cast<HWND>(wParam) != m_hWnd) Close();
            break;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
                if (m_pOwner) m_pOwner->CloseDropDown();
                else Close();
                return 0;
            }
            if (wParam == VK_UP || wParam == VK_DOWN) {
                Step(wParam == VK_UP ? -1 : 1);
                return 0;
            }
            break;
        default:
            break;
    }
    LRESULT result = 0;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND) {
    if (m_creating) return;
    if (m_pOwner) m_pOwner->OnDropDownClosed();
    delete this;
}
