#include "launcher/util/text_convert.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <cstring>

#include "tests/support/test_files.h"

using testing_support::Gbk;
using testing_support::Wide;

TEST(ChineseAnsi, RoundTripsChineseTextAsCodePage936) {
    const std::wstring text = Wide("D:\\游戏\\沃土 Wakfu");
    const std::string bytes = WideToChs(text);
    EXPECT_EQ(bytes, Gbk(text));
    EXPECT_EQ(bytes, "D:\\\xd3\xce\xcf\xb7\\\xce\xd6\xcd\xc1 Wakfu");
    EXPECT_EQ(ChsToWide(bytes), text);
}

TEST(ChineseAnsi, UnmappableCharactersBecomeQuestionMarksAndKeepTheRest) {
    // Thai U+0E01 and U+1F600 have no code page 936 form.
    const std::wstring text = Wide("C:\\caf\xe0\xb8\x81\\\xf0\x9f\x98\x80\\\xe4\xb8\xad");
    const std::string bytes = WideToChs(text);
    EXPECT_EQ(bytes.substr(0, 6), "C:\\caf");
    EXPECT_EQ(bytes.back(), '\xd0');  // 中 is D6 D0
    EXPECT_NE(bytes.find('?'), std::string::npos);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

TEST(ChineseAnsi, LeavesTheCLocaleInForce) {
    WideToChs(L"abc");
    ChsToWide("abc");
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
}

TEST(ChineseAnsi, EmptyInEmptyOut) {
    EXPECT_EQ(WideToChs(L""), "");
    EXPECT_EQ(ChsToWide(""), L"");
}

TEST(FileApiText, UsesTheAnsiCodePageOfTheMachine) {
    // The tests run with code page 936 as the ANSI code page, as players' systems do.
    ASSERT_EQ(GetACP(), 936u);
    const std::wstring text = Wide("服务器 http://127.0.0.1/");
    EXPECT_EQ(ToNarrowString(text), Gbk(text));
    EXPECT_EQ(ToWideString(Gbk(text)), text);
    EXPECT_EQ(ToNarrowString(L""), "");
    EXPECT_EQ(ToWideString(""), L"");
}

TEST(FileApiText, FollowsTheOemSwitchOfTheFileFunctions) {
    const std::wstring text = Wide("\xe2\x94\x80\xc3\xa9");  // box drawing and é differ between code pages
    SetFileApisToOEM();
    const std::string oem = ToNarrowString(text);
    SetFileApisToANSI();
    char expected[16] = {};
    const int length = WideCharToMultiByte(CP_OEMCP, 0, text.c_str(), static_cast<int>(text.size()), expected,
                                           sizeof(expected), nullptr, nullptr);
    EXPECT_EQ(oem, std::string(expected, length));
    EXPECT_FALSE(oem.empty());
}
