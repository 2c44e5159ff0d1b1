#include <gtest/gtest.h>

#include "launcher/game/preference_lines.h"

namespace {

TEST(PreferenceLines, NormalisesLineEndsAndEndsWithOne) {
    const auto edit = EditPreferenceLines("a=1\nb=2\r\nc=3", "b=2", "b=5");
    EXPECT_TRUE(edit.matched);
    EXPECT_EQ(edit.text, "a=1\r\nb=5\r\nc=3\r\n");

    // Nothing matched: same lines, normalised; a blank line and a lone CR inside a
    // line survive, nothing is added after the last LF.
    const auto none = EditPreferenceLines("# c\r\n\r\nx=\ry\n", "musicMute=false", "musicMute=true");
    EXPECT_FALSE(none.matched);
    EXPECT_EQ(none.text, "# c\r\n\r\nx=\ry\r\n");

    EXPECT_EQ(EditPreferenceLines("", "a=1", "a=2").text, "");
}

TEST(PreferenceLines, EditsEveryMatchingLineAtItsFirstOccurrenceOnly) {
    const auto edit = EditPreferenceLines("#musicMute=false\nmusicMute=false musicMute=false\nuiSoundsMute=false\n",
                                          "musicMute=false", "musicMute=true");
    EXPECT_TRUE(edit.matched);
    EXPECT_EQ(edit.text, "#musicMute=true\r\nmusicMute=true musicMute=false\r\nuiSoundsMute=false\r\n");
}

TEST(PreferenceLines, ReplacesOnlyTheSearchLengthSoOverlappingKeysAreHit) {
    // "LODLevel=3" is inside "FightLODLevel=3"; the remainder of a longer value stays.
    const auto edit = EditPreferenceLines("FightLODLevel=3\nLODLevel=35\n", "LODLevel=3", "LODLevel=1");
    EXPECT_EQ(edit.text, "FightLODLevel=1\r\nLODLevel=15\r\n");
    // Comparison is case-sensitive.
    EXPECT_FALSE(EditPreferenceLines("lodlevel=3\n", "LODLevel=3", "LODLevel=1").matched);
}

TEST(PreferenceLines, BareKeyReplacesToTheEndOfTheLine) {
    const auto edit = EditPreferenceLines("a=1\r\nresolution=1024x768x32x60x0\r\nb=2\n", "resolution",
                                          "resolution=1600x900x32x60x1");
    EXPECT_TRUE(edit.matched);
    EXPECT_EQ(edit.text, "a=1\r\nresolution=1600x900x32x60x1\r\nb=2\r\n");

    const auto missing = EditPreferenceLines("a=1\n", "resolution", "resolution=800x600x32x60x");
    EXPECT_FALSE(missing.matched);
    EXPECT_EQ(missing.text, "a=1\r\n");
}

TEST(PreferenceLines, KeepsBytesThatAreNotText) {
    const std::string content("k=\xB9\xFA\x00z\n", 6);
    const auto edit = EditPreferenceLines(content, "k=", "key=");
    EXPECT_EQ(edit.text, std::string("key=\xB9\xFA\x00z\r\n", 10));
}

}  // namespace
