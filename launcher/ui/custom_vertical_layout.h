// CCustomVerticalLayoutUI ("CustomVerticalLayout" in the layouts): a vertical layout
// that tells its window about every scroll: before a new scroll position is applied
// it sends UM_LAYOUTSCROLL to the paint window with the new vertical position as
// wParam.
#pragma once

#include "duilib/layouts.h"

inline constexpr UINT UM_LAYOUTSCROLL = 0x8001;  // WM_APP + 1

class CCustomVerticalLayoutUI : public CVerticalLayoutUI {
public:
    const wchar_t* GetClass() const override { return L"CustomVerticalLayoutUI"; }
    void SetScrollPos(SIZE pos) override;
};
