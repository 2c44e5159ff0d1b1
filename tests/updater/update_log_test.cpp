// The update log text.
#include "updater/update_log.h"

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

using testing_support::Gbk;
using testing_support::Wide;

TEST(UpdateLogText, SplitsAtLineFeedsAndKeepsCarriageReturns) {
    EXPECT_EQ(UpdateLogText("line one\r\nline two\n\nlast"), L"line one\r\nline two\n\nlast\n");
    EXPECT_EQ(UpdateLogText(Gbk(Wide("更新说明\n修复了问题\n"))), Wide("更新说明\n修复了问题\n"));
    EXPECT_EQ(UpdateLogText(""), L"");
}
