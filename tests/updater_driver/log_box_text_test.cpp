#include "updater/app/log_box_text.h"

#include <gtest/gtest.h>

TEST(LogBoxText, LineFeedsBecomeLineBreaksOnce) {
    EXPECT_EQ(LogBoxText(L"v1.0.1\n修复\n"), L"v1.0.1\r\n修复\r\n");
    EXPECT_EQ(LogBoxText(L"a\r\nb\r\n"), L"a\r\nb\r\n");
    EXPECT_EQ(LogBoxText(L"\n\r\n"), L"\r\n\r\n");
    EXPECT_EQ(LogBoxText(L""), L"");
}
