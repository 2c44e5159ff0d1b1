// The version check's texts: comparison, display form, version file line, prompt.
#include "launcher/app/version_text.h"

#include <gtest/gtest.h>

TEST(CompareVersionTexts, ComponentsAreNumbersAndTheRestIsOneNumber) {
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", "2.0.0.10"), 1) << "10 is more than 5, though it sorts first as text";
    EXPECT_EQ(CompareVersionTexts("02.00.00.05", "2.0.0.5"), 0) << "leading zeros do not count";
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", " 2.0.0.6"), 1) << "atoi skips leading blanks";
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", "2.0.0.5.9"), 0) << "the rest is read by atoi, up to its first dot";
    EXPECT_EQ(CompareVersionTexts("2.0", "2.0.0.1"), 1) << "missing components count as 0";
    EXPECT_EQ(CompareVersionTexts("2", "2"), 0) << "without a dot the same text is read again, equal each time";
    EXPECT_EQ(CompareVersionTexts("3", "2.9.9.9"), -1);
}

TEST(CompareVersionTexts, AnswersOrNoiseFromAServerAreNeverNewerThanARealVersion) {
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", ""), -1);
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", "<html><body>404</body></html>"), -1);
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", "-9.0.0.0"), -1) << "a sign is read as a sign";
    EXPECT_EQ(CompareVersionTexts("2.0.0.5", std::string("2.0.0.9", 5) + '\0' + "9"), -1)
        << "a NUL ends the number";
    EXPECT_EQ(CompareVersionTexts("", ""), 0);
}

TEST(VersionDisplay, CutsTheLastComponent) {
    EXPECT_EQ(CutVersionForDisplay(L"2.0.1.0"), L"2.0.1");
    EXPECT_EQ(CutVersionForDisplay(L"2.0.0.7"), L"2.0.0");
    EXPECT_EQ(CutVersionForDisplay(L"7"), L"");
    EXPECT_EQ(CutVersionForDisplay(L""), L"");
    EXPECT_EQ(BuildUpdatePromptText(L"2.0.1", L"2.0.0"),
              std::wstring(9, L' ') + L"服务器版本: 2.0.1\n\n" + std::wstring(10, L' ') + L" 当前版本: 2.0.0");
}

TEST(VersionFile, UsesTheLastNonEmptyLine) {
    EXPECT_EQ(LastNonEmptyLine("2.0.1.0\r\n\r\n\n"), "2.0.1.0");
    EXPECT_EQ(LastNonEmptyLine("1.0\n2.0.0.9"), "2.0.0.9");
    EXPECT_EQ(LastNonEmptyLine(""), "");
    EXPECT_EQ(LastNonEmptyLine("\r\n\n"), "");
}
