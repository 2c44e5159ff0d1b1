// CBaseWnd: the launcher's skinned windows all read their layout from the archive
// "Wakfu.ui" in the folder "skin" beside the program.
#pragma once

#include "duilib/window_impl_base.h"

inline constexpr wchar_t kSkinFolder[] = L"skin";
inline constexpr wchar_t kSkinArchive[] = L"Wakfu.ui";

class CBaseWnd : public WindowImplBase {
protected:
    CDuiString GetSkinFolder() override { return kSkinFolder; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIP; }
    CDuiString GetZIPFileName() const override { return kSkinArchive; }
};
