// Stacking layouts. Non-floating children are placed one after another (top to
// bottom, or left to right) with the child padding between them; a child with a
// fixed size keeps it, the others share what is left equally. Children keep their
// own padding. A vertical layout with "vscrollbar" scrolls when its content is
// taller than its area.
#pragma once

#include "duilib/container.h"

class CVerticalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"VerticalLayoutUI"; }
    void SetPos(RECT rc) override;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"HorizontalLayoutUI"; }
    void SetPos(RECT rc) override;
};
