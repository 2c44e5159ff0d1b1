#include "launcher/ui/custom_vertical_layout.h"

#include "duilib/paint_manager.h"

void CCustomVerticalLayoutUI::SetScrollPos(SIZE pos) {
    if (m_pManager && m_pManager->GetPaintWindow())
        ::SendMessageW(m_pManager->GetPaintWindow(), UM_LAYOUTSCROLL, static_cast<WPARAM>(pos.cy), 0);
    CVerticalLayoutUI::SetScrollPos(pos);
}
