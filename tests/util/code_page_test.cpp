#include "common/text/code_page.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>

#include "tests/support/test_files.h"

using testing_support::Gbk;
using testing_support::Wide;

namespace {
const std::wstring kChinese = Wide("更新程序\\皮肤\\沃土.ui");
}  // namespace

TEST(CodePage, Cp936RoundTripGivesTheGbkBytesAndBack) {
    const std::string bytes = text::WideToCodePage(kChinese, text::kChineseCodePage);
    EXPECT_EQ(bytes, Gbk(kChinese));
    EXPECT_EQ(bytes.substr(0, 2), "\xb8\xfc");  // 更 is B8 FC
    EXPECT_EQ(text::CodePageToWide(bytes, text::kChineseCodePage), kChinese);
    // The machine's ANSI code page is 936 here, as on players' systems.
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_EQ(text::WideToCodePage(kChinese, text::kAnsiCodePage), bytes);
    EXPECT_EQ(text::CodePageToWide(bytes, text::kAnsiCodePage), kChinese);
}

TEST(CodePage, Utf8RoundTripKeepsSurrogatePairs) {
    const std::wstring sample = Wide("中\xf0\x9f\x98\x80x");  // U+1F600 is a surrogate pair
    const std::string utf8 = text::WideToCodePage(sample, text::kUtf8CodePage);
    EXPECT_EQ(utf8, "\xe4\xb8\xad\xf0\x9f\x98\x80x");
    EXPECT_EQ(text::CodePageToWide(utf8, text::kUtf8CodePage), sample);
    const text::NarrowText narrow = text::NarrowFromWide(sample, text::kUtf8CodePage, text::Unmappable::QuestionMark);
    EXPECT_EQ(narrow.bytes, utf8) << "UTF-8 takes no default character";
    EXPECT_TRUE(narrow.lossless);
}

TEST(CodePage, UnmappableCharactersFollowTheChosenRule) {
    // Thai U+0E01 has no code page 936 form; the rest must stay intact.
    const std::wstring sample = Wide(
        "a\xe0\xb8\x81"
        "b中");
    const text::NarrowText question =
        text::NarrowFromWide(sample, text::kChineseCodePage, text::Unmappable::QuestionMark);
    EXPECT_EQ(question.bytes, "a?b\xd6\xd0");
    EXPECT_FALSE(question.lossless);
    const text::NarrowText noBestFit = text::NarrowFromWide(sample, text::kChineseCodePage, text::Unmappable::NoBestFit);
    EXPECT_FALSE(noBestFit.lossless);
    EXPECT_EQ(noBestFit.bytes.front(), 'a');
    EXPECT_EQ(noBestFit.bytes.substr(noBestFit.bytes.size() - 3), "b\xd6\xd0");
    const text::NarrowText clean = text::NarrowFromWide(L"plain", text::kChineseCodePage, text::Unmappable::NoBestFit);
    EXPECT_EQ(clean.bytes, "plain");
    EXPECT_TRUE(clean.lossless);
}

TEST(CodePage, InvalidInputIsDecodedNotDropped) {
    // A lone lead byte at the end and a byte that starts no character in code page 936.
    const std::wstring cut = text::CodePageToWide("ab\xd6", text::kChineseCodePage);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut.substr(0, 2), L"ab");
    EXPECT_NE(cut[2], L'\0');
    const std::wstring broken = text::CodePageToWide(
        "\xff"
        "z",
        text::kChineseCodePage);
    ASSERT_FALSE(broken.empty());
    EXPECT_EQ(broken.back(), L'z');
    // Invalid UTF-8 becomes the replacement character.
    EXPECT_EQ(text::CodePageToWide("a\xc3(", text::kUtf8CodePage), std::wstring(L"a\xfffd("));
}

TEST(CodePage, EmptyAndUnknownCodePagesGiveEmptyText) {
    EXPECT_EQ(text::WideToCodePage(L"", text::kChineseCodePage), "");
    EXPECT_EQ(text::CodePageToWide("", text::kChineseCodePage), L"");
    EXPECT_EQ(text::WideToCodePage(L"abc", 12345), "");
    EXPECT_EQ(text::CodePageToWide("abc", 12345), L"");
}

TEST(CodePage, EmbeddedZerosAreConvertedLikeAnyCharacter) {
    const std::wstring sample(L"a\0b", 3);
    EXPECT_EQ(text::WideToCodePage(sample, text::kChineseCodePage), std::string("a\0b", 3));
    EXPECT_EQ(text::CodePageToWide(std::string("a\0b", 3), text::kChineseCodePage), sample);
}

TEST(CodePage, NeverTouchesTheRuntimeLocale) {
    text::WideToCodePage(kChinese, text::kChineseCodePage);
    text::CodePageToWide("abc", text::kChineseCodePage);
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

TEST(CodePage, AsciiApproximationReplacesEveryNonAsciiCharacter) {
    EXPECT_EQ(text::AsciiApproximation(Wide("data\\中文.pak")), "data\\??.pak");
    EXPECT_EQ(text::AsciiApproximation(Wide("\xf0\x9f\x98\x80")), "??") << "one per UTF-16 unit";
    EXPECT_EQ(text::AsciiApproximation(L""), "");
}
