// The launch script's text on its own, without the game folder or the file.
#include "launcher/game/launch_script_text.h"

#include <gtest/gtest.h>

#include "tests/game/launch_script_golden.h"

using game_test::ScriptFileGolden;

TEST(LaunchScriptText, EachKnownTierGivesTheGoldenFileBytes) {
    for (const int tier : {0, 1, 2, 5}) {
        EXPECT_EQ(ToTextModeBytes(BuildLaunchScriptText(tier, "E:/Wakfu", "player")),
                  ScriptFileGolden(tier, "E:/Wakfu", "player"))
            << tier;
    }
    for (const int tier : {-1, 3, 4, 6, 1 << 30}) EXPECT_EQ(BuildLaunchScriptText(tier, "E:/Wakfu", "p"), "") << tier;
}

TEST(LaunchScriptText, LeadByteAtTheEndIsNoPairAndCmdCharactersInTheNameAreEscaped) {
    // A lone lead byte at the very end has no second byte to copy.
    const std::string text = BuildLaunchScriptText(0, "C:/a\x81", "x%y|z\x81");
    EXPECT_EQ(text.rfind("set game_directory=C:/a\x81\nset user_name=x%%y^|z\x81\nStart \"wakfu\" \"C:/a\x81/game/", 0),
              0u);
    // A lead byte takes the next byte whole, even when that is a '%'.
    EXPECT_EQ(BuildLaunchScriptText(0, "\xA1%", "").rfind("set game_directory=\xA1%\n", 0), 0u);
}

TEST(LaunchScriptText, TextModeBytesTurnEveryLineFeedIntoCarriageReturnLineFeed) {
    EXPECT_EQ(ToTextModeBytes("a\nb\r\n\n"), "a\r\nb\r\r\n\r\n");
    EXPECT_EQ(ToTextModeBytes(""), "");
    EXPECT_EQ(ToTextModeBytes(std::string("\0\n", 2)), std::string("\0\r\n", 3));
}
