#include "duilib/attributes.h"

#include <gtest/gtest.h>

#include <climits>

using namespace duiattr;

TEST(Attributes, ColoursInTheLayoutForms) {
    std::uint32_t c = 0;
    EXPECT_TRUE(ParseColor(L"#FF102030", c));
    EXPECT_EQ(c, 0xFF102030u);
    EXPECT_TRUE(ParseColor(L"#102030", c));  // six digits: opaque
    EXPECT_EQ(c, 0xFF102030u);
    EXPECT_TRUE(ParseColor(L"0x80FFFFFF", c));
    EXPECT_EQ(c, 0x80FFFFFFu);
    EXPECT_FALSE(ParseColor(L"#GG0000", c));
    EXPECT_FALSE(ParseColor(L"", c));
}

TEST(Attributes, RectanglesAndSizes) {
    Rect r;
    EXPECT_TRUE(ParseRect(L"60,0,160,45", r));
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.right, 160);
    EXPECT_EQ(r.bottom, 45);
    EXPECT_TRUE(ParseRect(L"5", r));  // missing numbers are 0
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_FALSE(ParseRect(L"abc", r));
    int cx = 0, cy = 0;
    EXPECT_TRUE(ParseSize(L"1024, 600", cx, cy));
    EXPECT_EQ(cx, 1024);
    EXPECT_EQ(cy, 600);
}

TEST(Attributes, ImageDescriptions) {
    ImageSpec spec;
    EXPECT_TRUE(ParseImageSpec(L"滑竿.png", spec));
    EXPECT_EQ(spec.file, L"滑竿.png");
    EXPECT_FALSE(spec.hasSource);
    EXPECT_TRUE(ParseImageSpec(L"file='btn.png' source='0,0,80,30' corner='4,5,6,7' dest='0,5,20,25' fade='300'", spec));
    EXPECT_EQ(spec.file, L"btn.png");
    EXPECT_TRUE(spec.hasSource);
    EXPECT_EQ(spec.source.right, 80);
    EXPECT_EQ(spec.corner.top, 5);
    EXPECT_TRUE(spec.hasDest);
    EXPECT_EQ(spec.dest.bottom, 25);
    EXPECT_EQ(spec.fade, 255);  // clamped
    EXPECT_FALSE(ParseImageSpec(L"", spec));
    EXPECT_FALSE(ParseImageSpec(L"source='0,0,1,1'", spec));  // no file
}

// Layout numbers past the int range take the nearest int (and colours the largest
// colour), whatever the width of the C library's long.
TEST(Attributes, NumbersPastTheirRangeTakeTheNearestValue) {
    EXPECT_EQ(ParseInt(L"99999999999"), INT_MAX);
    EXPECT_EQ(ParseInt(L"-99999999999"), INT_MIN);
    // 2^32 + 10 must not wrap round to 10.
    Rect r;
    EXPECT_TRUE(ParseRect(L"4294967306,-4294967306,2147483647,-2147483648", r));
    EXPECT_EQ(r.left, INT_MAX);
    EXPECT_EQ(r.top, INT_MIN);
    EXPECT_EQ(r.right, INT_MAX);
    EXPECT_EQ(r.bottom, INT_MIN);
    std::uint32_t c = 0;
    EXPECT_TRUE(ParseColor(L"4294967306", c));
    EXPECT_EQ(c, 0xFFFFFFFFu);
    EXPECT_TRUE(ParseColor(L"#1000000AB", c));
    EXPECT_EQ(c, 0xFFFFFFFFu);
}
