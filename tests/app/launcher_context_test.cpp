#include "launcher/app/launcher_context.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "launcher/game/scrambled_file.h"
#include "tests/support/test_files.h"

using testing_support::TempDir;

TEST(LauncherContext, BuildsItsWorldInTheGivenFolderAndInstallsItForItsLifetime) {
    TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir / L"SEWI.bin", EncodeScrambledContent("http://127.0.0.1:1/zorvik/")));
    ASSERT_EQ(g_log, nullptr) << "nothing is made before an entry makes it";
    ASSERT_EQ(g_function, nullptr);
    {
        LauncherContext context{ProgramFolder(dir.path())};
        EXPECT_EQ(context.folder.Path(), dir.path());
        EXPECT_EQ(context.folder.WithSlash(), dir.path() + L"\\");
        EXPECT_EQ(context.serverBase, L"http://127.0.0.1:1/zorvik/");
        EXPECT_EQ(context.log.Folder(), dir.path() + L"\\log\\");
        EXPECT_TRUE(GetFileAttributesW((dir / L"log").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_EQ(context.function.GetLauncherFolder(), dir.path());
        EXPECT_EQ(context.settings.memoryTier + context.settings.resolutionSelection, 0) << "starts zeroed";
        EXPECT_EQ(g_log, &context.log);
        EXPECT_EQ(g_function, &context.function);

        g_log->Write(LOG_INTER, L"versi end \n", false);
        EXPECT_EQ(testing_support::ReadBytes(dir / L"log\\log_inter.log"), "versi end \r\n");
    }
    EXPECT_EQ(g_log, nullptr);
    EXPECT_EQ(g_function, nullptr);
}

// Each context owns its settings: a second one (a test, a tool) starts zeroed and
// changes in either stay in it.
TEST(LauncherContext, TwoContextsDoNotShareTheirSettings) {
    TempDir first, second;
    LauncherContext outer{ProgramFolder(first.path())};
    outer.settings.lodLevel = 2;
    outer.settings.customWidth = L"1280";
    {
        LauncherContext inner{ProgramFolder(second.path())};
        EXPECT_EQ(inner.settings.lodLevel, 0);
        EXPECT_TRUE(inner.settings.customWidth.empty());
        inner.settings.fightLevel = 1;
        EXPECT_EQ(g_function, &inner.function);
    }
    EXPECT_EQ(outer.settings.fightLevel, 0);
    EXPECT_EQ(outer.settings.lodLevel, 2);
    EXPECT_EQ(g_function, &outer.function) << "the inner context gave the names back";
    EXPECT_EQ(g_log, &outer.log);
}

TEST(LauncherContext, MissingScrambledFileGivesAnEmptyServerBase) {
    TempDir dir;
    LauncherContext context{ProgramFolder(dir.path())};
    EXPECT_EQ(context.serverBase, L"");
}

TEST(ProgramFolder, JoinsWithOneBackslash) {
    const ProgramFolder folder(L"C:\\Games\\Velmora");
    EXPECT_EQ(folder.Join(L"SEWI.bin"), L"C:\\Games\\Velmora\\SEWI.bin");
    EXPECT_EQ(ProgramFolder(L"").WithSlash(), L"");
}
