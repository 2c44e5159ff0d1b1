#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32/unique_handle.h"
#include "launcher/game/preference_editor.h"
#include "launcher/util/text_convert.h"
#include "tests/game/game_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

class PreferenceEditor : public game_test::GameFolders {
protected:
    std::string PrefsPathChs() const { return WideToChs(prefsFile_); }
    std::wstring Temporary() const { return prefsFile_ + L".tmp"; }
};

TEST_F(PreferenceEditor, RewritesTheFileInPlaceThroughATemporaryFile) {
    SetPrefs("# game settings\nmusicMute=false\r\nLODLevel=3");
    EXPECT_EQ(ReplaceInFile(PrefsPathChs(), "musicMute=false", "musicMute=true"), 0);
    EXPECT_EQ(Prefs(), "# game settings\r\nmusicMute=true\r\nLODLevel=3\r\n");
    EXPECT_FALSE(Exists(Temporary()));

    // No match: -1, but the file is still rewritten with normalised line ends.
    SetPrefs("a=1\nb=2");
    EXPECT_EQ(ReplaceInFile(PrefsPathChs(), "musicMute=false", "musicMute=true"), -1);
    EXPECT_EQ(Prefs(), "a=1\r\nb=2\r\n");
    EXPECT_FALSE(Exists(Temporary()));
}

TEST_F(PreferenceEditor, TruncatesATemporaryFileLeftByAnInterruptedEdit) {
    SetPrefs("musicMute=false\r\n");
    ASSERT_TRUE(WriteBytes(Temporary(), "stale=1\r\nstale=2\r\n"));
    EXPECT_EQ(ReplaceInFile(PrefsPathChs(), "musicMute=false", "musicMute=true"), 0);
    EXPECT_EQ(Prefs(), "musicMute=true\r\n");
    EXPECT_FALSE(Exists(Temporary()));
}

// A file held open by another program leaves the original intact and no temporary
// file behind, whether it cannot be read at all or only cannot be replaced.
TEST_F(PreferenceEditor, LockedFileStaysAsItWas) {
    const std::string original = "musicMute=false\n";
    SetPrefs(original);
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        SCOPED_TRACE(share);
        {
            win32::unique_file lock(CreateFileW(prefsFile_.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(lock);
            const int result = ReplaceInFile(PrefsPathChs(), "musicMute=false", "musicMute=true");
            // Unreadable: nothing could be compared. Readable: the match is reported.
            EXPECT_EQ(result, share == 0 ? -1 : 0);
            EXPECT_FALSE(Exists(Temporary()));
        }
        EXPECT_EQ(Prefs(), original);
    }
}

TEST_F(PreferenceEditor, ReadOnlyFileStaysAsItWas) {
    const std::string original = "musicMute=false\n";
    SetPrefs(original);
    ASSERT_TRUE(SetFileAttributesW(prefsFile_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SetUserPreference(where_, "uiSoundsMute=false", "uiSoundsMute=true", true));
    EXPECT_TRUE(SetUserPreference(where_, "musicMute=false", "musicMute=true", true));
    SetFileAttributesW(prefsFile_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Prefs(), original);
    EXPECT_FALSE(Exists(Temporary()));
}

TEST_F(PreferenceEditor, AppendsWhenNothingMatched) {
    // Missing file in an existing folder: the edit creates nothing, the append
    // creates the file holding just the entry.
    EXPECT_EQ(ReplaceInFile(PrefsPathChs(), "resolution", "resolution=1"), -1);
    EXPECT_FALSE(Exists(prefsFile_) || Exists(Temporary()));
    EXPECT_FALSE(SetUserPreference(where_, "resolution", "resolution=800x600x32x60x0", true));
    EXPECT_EQ(Prefs(), "resolution=800x600x32x60x0\r\n");

    // An entry already holding the new value gains a duplicate: only the old value is searched.
    SetPrefs("musicMute=true");
    EXPECT_FALSE(SetUserPreference(where_, "musicMute=false", "musicMute=true", true));
    EXPECT_EQ(Prefs(), "musicMute=true\r\nmusicMute=true\r\n");

    // Without the append flag nothing is added.
    EXPECT_FALSE(SetUserPreference(where_, "a=1", "a=2", false));
    EXPECT_EQ(Prefs(), "musicMute=true\r\nmusicMute=true\r\n");
}

TEST_F(PreferenceEditor, AppendNeverRunsOnFromALastLineWithoutLineEnd) {
    // A folder in the temporary file's place stops the rewrite, so the append meets
    // the file as it is.
    SetPrefs("uiSoundsMute=false");
    ASSERT_TRUE(CreateDirectoryW(Temporary().c_str(), nullptr));
    EXPECT_FALSE(SetUserPreference(where_, "musicMute=false", "musicMute=true", true));
    EXPECT_EQ(Prefs(), "uiSoundsMute=false\r\nmusicMute=true\r\n");
    RemoveDirectoryW(Temporary().c_str());
}

TEST_F(PreferenceEditor, MissingFolderIsNeverCreated) {
    where_.localAppDataFolder = root_ / L"nowhere";
    EXPECT_FALSE(SetUserPreference(where_, "resolution", "resolution=800x600x32x60x0", true));
    EXPECT_FALSE(Exists(where_.localAppDataFolder));

    where_.localAppDataFolder.clear();
    EXPECT_FALSE(SetUserPreference(where_, "resolution", "resolution=800x600x32x60x0", true));
}

}  // namespace
