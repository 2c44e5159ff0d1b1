// The text of a usage report: address, check value, body, acceptance.
#include "launcher/services/usage_report.h"

#include <gtest/gtest.h>

#include <string>

#include "launcher/util/md5.h"

namespace {

const std::string kAddress = "00-1A-2B-3C-4D-5E";
const std::string kStartupBody = "&SoftwareID=181&macAdd=00-1A-2B-3C-4D-5E&chk=" +
                                 Md5Hex(std::string("18100-1A-2B-3C-4D-5E") + "Hq2Wd7LX)3KTtRJfPa");

}  // namespace

TEST(UsageReport, BodiesAddressAndAcceptance) {
    const uint8_t bytes[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(usage::FormatAdapterAddress(bytes), kAddress);
    const uint8_t high[6] = {0xFF, 0xAB, 0x00, 0x01, 0x10, 0xC0};
    EXPECT_EQ(usage::FormatAdapterAddress(high), "FF-AB-00-01-10-C0");

    const std::string check = usage::CheckValue(kAddress);
    EXPECT_EQ(usage::BuildBody(181, kAddress, check), kStartupBody);
    EXPECT_EQ(kStartupBody.size(), 77u);
    EXPECT_EQ(usage::BuildBody(42, kAddress, check),
              "&SoftwareID=181&FeaturesID=42&macAdd=00-1A-2B-3C-4D-5E&chk=" + check);
    EXPECT_EQ(usage::BuildBody(-3, kAddress, check).substr(0, 29), "&SoftwareID=181&FeaturesID=-3");
    // Over-long parts are cut at the body buffer, never written past it.
    EXPECT_EQ(usage::BuildBody(181, std::string(5000, 'A'), check).size(), 1023u);

    EXPECT_TRUE(usage::IsAccepted("1"));
    for (const char* refused : {"1\r\n", "11", "", "0", " 1", "1\n"}) EXPECT_FALSE(usage::IsAccepted(refused)) << refused;
}
