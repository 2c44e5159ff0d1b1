#include "launcher/ui/find_path_wnd.h"

#include <shlobj.h>

#include "common/win32/com_owner.h"
#include "duilib/edit.h"
#include "launcher/game/folder_commit.h"
#include "launcher/game/game_folder.h"

void CFindPathWnd::InitWindow() {
    if (g_function && g_function->IsGameFolderValid()) {
        if (CControlUI* edit = m_PaintManager.FindControl(L"pathstr")) edit->SetText(g_function->GetGameFolder().c_str());
    }
}

void CFindPathWnd::OnClick(TNotifyUI& msg) {
    if (!msg.pSender) return;
    const CDuiString& name = msg.pSender->GetName();
    if (name == L"btnclose" || name == L"canlepath") Close(1);
    else if (name == L"find") Browse();
    else if (name == L"surepath") Confirm();
}

void CFindPathWnd::Browse() {
    BROWSEINFOW info{};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = L"请选择源文件夹";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const win32::unique_pidl item(SHBrowseForFolderW(&info));
    if (!item) return;  // cancelled: nothing changes
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item.get(), path)) {
        m_browsedPath = path;
        if (CControlUI* edit = m_PaintManager.FindControl(L"pathstr")) edit->SetText(path);
    }
}

void CFindPathWnd::Confirm() {
    CControlUI* edit = m_PaintManager.FindControl(L"pathstr");
    if (!edit || !g_function) return;
    m_chosenPath = edit->GetText().str();
    if (CommitGameFolderCandidate(*g_function, m_chosenPath)) {
        m_accepted = true;
        Close(1);
        return;
    }
    edit->SetText(kRejectedFolderText);
}
