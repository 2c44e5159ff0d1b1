// Which program folders count as one for the one-updater-per-folder rule.
#include "updater/app/folder_instance.h"

#include <gtest/gtest.h>

TEST(FolderInstance, OneFolderHowEverItIsWritten) {
    const std::wstring folder = L"C:\\Games\\Velmora";
    for (const std::wstring& same : {std::wstring(L"c:\\games\\VELMORA"), std::wstring(L"C:\\Games\\Velmora\\"),
                                     std::wstring(L"\\\\?\\C:\\Games\\Velmora"), std::wstring(L"\\\\?\\c:\\GAMES\\velmora\\")}) {
        EXPECT_EQ(FolderKey(same), FolderKey(folder)) << same;
        EXPECT_EQ(FolderInstanceName(same), FolderInstanceName(folder)) << same;
    }
    EXPECT_EQ(FolderKey(L"\\\\?\\UNC\\server\\share\\Velmora"), FolderKey(L"\\\\SERVER\\share\\velmora\\"));
    // Letter case of Chinese folder names does not exist; the characters must match.
    EXPECT_EQ(FolderKey(L"D:\\游戏\\更新"), L"D:\\游戏\\更新");
}

TEST(FolderInstance, OtherFoldersAreOtherUpdaters) {
    const std::wstring name = FolderInstanceName(L"C:\\Games\\Velmora");
    EXPECT_EQ(name.rfind(L"Local\\Velmora.Updater.", 0), 0u);
    EXPECT_EQ(name.size(), std::wstring(L"Local\\Velmora.Updater.").size() + 16);
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);  // one namespace separator only
    for (const wchar_t* other : {L"C:\\Games\\Velmora2", L"C:\\Games", L"C:\\Games\\Velmora\\sub", L"D:\\Games\\Velmora"})
        EXPECT_NE(FolderInstanceName(other), name) << other;
    // A path far longer than a mutex name may be still gets a name of its own.
    const std::wstring deep = L"C:\\" + std::wstring(400, L'a');
    EXPECT_EQ(FolderInstanceName(deep).size(), name.size());
    EXPECT_NE(FolderInstanceName(deep), FolderInstanceName(deep + L"b"));
}
