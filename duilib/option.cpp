#include "duilib/option.h"

#include "duilib/paint_manager.h"

COptionUI::~COptionUI() {
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(const wchar_t* group) {
    if (m_sGroupName == group) return;
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->RemoveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->AddOptionGroup(m_sGroupName, this);
    Selected(m_bSelected, false);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (m_pManager && m_pManager != manager && !m_sGroupName.IsEmpty()) m_pManager->RemoveOptionGroup(m_sGroupName, this);
    bool join = manager && manager != m_pManager && !m_sGroupName.IsEmpty();
    CButtonUI::SetManager(manager, parent, init);
    if (join) {
        manager->AddOptionGroup(m_sGroupName, this);
        if (m_bSelected) Selected(true, false);
    }
}

void COptionUI::Selected(bool selected, bool notify) {
    bool changed = m_bSelected != selected;
    m_bSelected = selected;
    if (selected && m_pManager && !m_sGroupName.IsEmpty()) {
        for (COptionUI* other : m_pManager->GetOptionGroup(m_sGroupName))
            if (other != this && other->IsSelected()) other->Selected(false, notify);
    }
    if (changed) {
        Invalidate();
        if (notify && m_pManager) m_pManager->SendNotify(this, L"selectchanged");
    }
}

bool COptionUI::Activate() {
    // The "click" goes out while the state is still the old one.
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.IsEmpty()) Selected(true);
    else Selected(!m_bSelected);
    return true;
}

DWORD COptionUI::CurrentTextColor() const {
    if (m_bSelected && IsEnabled() && m_dwSelectedTextColor) return m_dwSelectedTextColor;
    return CButtonUI::CurrentTextColor();
}

void COptionUI::PaintStatusImage(Gdiplus::Graphics& g) {
    if (m_bSelected) {
        const CDuiString* image = &m_sSelectedImage;
        if (!IsEnabled() && !m_sSelectedDisabledImage.IsEmpty()) image = &m_sSelectedDisabledImage;
        else if ((m_uButtonState & UISTATE_HOT) && !m_sSelectedHotImage.IsEmpty()) image = &m_sSelectedHotImage;
        if (!image->IsEmpty()) {
            DrawImage(g, *image);
            DrawImage(g, m_sForeImage);
            return;
        }
    }
    CButtonUI::PaintStatusImage(g);
}

void COptionUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    std::wstring_view n(name);
    if (n == L"group") SetGroup(value);
    else if (n == L"selected") Selected(duiattr::ParseBool(value), false);
    else if (n == L"selectedimage") SetSelectedImage(value);
    else if (n == L"selectedhotimage") m_sSelectedHotImage = value;
    else if (n == L"selecteddisabledimage") m_sSelectedDisabledImage = value;
    else if (n == L"selectedtextcolor") m_dwSelectedTextColor = ParseColorAttr(value) | 0xFF000000u;
    else CButtonUI::SetAttribute(name, value);
}
