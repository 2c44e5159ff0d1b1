// The error record's line, apart from the file it goes to.
#include "errorlog/error_record.h"

#include <gtest/gtest.h>

TEST(ErrorLogFormat, IsOneTabSeparatedLine) {
    EXPECT_EQ(Util::Log::FormatRecord("[2026-12-07 09:05:03]", 7, "TessikUI", "DataCollector", 122, "a\r\nb"),
              "[2026-12-07 09:05:03]\t7\tTessikUI\tDataCollector:122\ta  b");
}

TEST(ErrorLogFormat, EveryLineEndBecomesOneBlankAndOtherBytesStay) {
    const std::string text = std::string("\r\r\n\nx\tz\0\xff", 9);
    EXPECT_EQ(Util::Log::FormatRecord("[t]", 1, "", "", 0, text), std::string("[t]\t1\t\t:0\t    x\tz\0\xff", 19));
    EXPECT_EQ(Util::Log::FormatRecord("", -3, "m", "f.cpp", -1, ""), "\t-3\tm\tf.cpp:-1\t");
}
