#include "errorlog/error_log.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>

#include "tests/support/test_files.h"

using testing_support::Gbk;
using testing_support::TempDir;
using testing_support::Wide;

namespace {
class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override { Util::Log::SetOutputFolder(dir_.path()); }
    void TearDown() override {
        Util::Log::SetOutputFolder(L"");
        Util::Log::SetMaxLevel(7);
    }
    std::string Records() { return testing_support::ReadBytes(dir_ / L"log_error.log"); }
    TempDir dir_;
};
}  // namespace

TEST_F(ErrorLogTest, OneGuardWritesOneRecordWithItsParts) {
    ASSERT_TRUE(genericLogCheckLevel(static_cast<Util::Log::Level>(7)));
    {
        Util::Log::Guard guard(static_cast<Util::Log::Level>(7), "TessikUI", "DataCollector", 122);
        guard.stream() << "CDataCollector::ExeCollector" << "用户是用记录添加失败";
    }
    const std::string records = Records();
    const std::string expectedTail =
        "\t7\tTessikUI\tDataCollector:122\tCDataCollector::ExeCollector" + Gbk(Wide("用户是用记录添加失败")) + "\r\n";
    ASSERT_GE(records.size(), expectedTail.size());
    EXPECT_EQ(records.substr(records.size() - expectedTail.size()), expectedTail);
    EXPECT_TRUE(std::regex_search(records, std::regex(R"(^\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\]\t)")));

    {
        Util::Log::Guard second(Util::Log::Error, "TessikUI", "TessikUIFrameWnd", 300);
        second << "CCorvaneUIFrameWnd::CreateDataInfo" << " | line one\nline two" << 42;
    }
    const std::string both = Records();
    EXPECT_NE(both.find("TessikUIFrameWnd:300\tCCorvaneUIFrameWnd::CreateDataInfo | line one line two42\r\n"),
              std::string::npos);
    EXPECT_EQ(std::count(both.begin(), both.end(), '\n'), 2);
}

TEST_F(ErrorLogTest, GuardWithoutAPlaceRecordsItsOwnSourceFileAndLine) {
    int line = 0;
    {
        Util::Log::Guard guard(Util::Log::Detail, "TessikUI");
        line = __LINE__ - 1;  // the line of the guard above
        guard << "here";
    }
    const std::string records = Records();
    const std::string place = std::string(__FILE__) + ":" + std::to_string(line) + "\there\r\n";
    EXPECT_NE(records.find("\t7\tTessikUI\t" + place), std::string::npos) << records;
}

TEST_F(ErrorLogTest, LevelCheckFollowsTheConfiguredMaximum) {
    EXPECT_TRUE(genericLogCheckLevel(Util::Log::Detail));
    EXPECT_TRUE(genericLogCheckLevel(Util::Log::Fatal));
    EXPECT_FALSE(genericLogCheckLevel(static_cast<Util::Log::Level>(8)));
    EXPECT_FALSE(genericLogCheckLevel(static_cast<Util::Log::Level>(-1)));
    Util::Log::SetMaxLevel(3);
    EXPECT_FALSE(genericLogCheckLevel(Util::Log::Detail));
    EXPECT_TRUE(genericLogCheckLevel(Util::Log::Error));
}

TEST_F(ErrorLogTest, UnwritableDestinationIsSilent) {
    Util::Log::SetOutputFolder(dir_ / L"missing\\deeper");
    { Util::Log::Guard guard(Util::Log::Detail, "TessikUI", "X", 1); guard << "lost"; }
    EXPECT_FALSE(testing_support::Exists(dir_ / L"missing\\deeper\\log_error.log"));
}

TEST(ErrorLogDefault, GoesToTheLogFolderBesideTheExecutable) {
    EXPECT_EQ(Util::Log::OutputFile(), testing_support::ExecutableFolder() + L"\\log\\log_error.log");
}
