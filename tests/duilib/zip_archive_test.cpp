#include "duilib/zip_archive.h"

#include <gtest/gtest.h>

#include "tests/duilib/test_zip.h"

using duizip::ZipArchive;
using duizip::ZipResult;

TEST(ZipArchive, ReadsStoredAndDeflatedMembersByName) {
    std::string big(5000, 'x');
    for (std::size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 26);
    ZipArchive zip;
    ASSERT_TRUE(zip.Open(testzip::Build({{"a.xml", "<Window/>", false}, {"images/big.bin", big, true},
                                         {"\xe6\xa0\x87\xe5\xb0\xba.png", "png", true}})));
    ASSERT_EQ(zip.entries().size(), 3u);
    std::string out;
    EXPECT_EQ(zip.Extract(zip.Find("a.xml", "a.xml"), out), ZipResult::Ok);
    EXPECT_EQ(out, "<Window/>");
    // Backslashes and ASCII case do not matter, as with Windows file names.
    EXPECT_EQ(zip.Extract(zip.Find("IMAGES\\Big.bin", ""), out), ZipResult::Ok);
    EXPECT_EQ(out, big);
    // UTF-8 flagged names are matched by their UTF-8 form ("标尺.png").
    int chinese = zip.Find("\xe6\xa0\x87\xe5\xb0\xba.png", "\xb1\xea\xb3\xdf.png");
    EXPECT_EQ(zip.Extract(chinese, out), ZipResult::Ok);
    EXPECT_EQ(out, "png");
    EXPECT_EQ(zip.Find("missing.png", "missing.png"), -1);
    EXPECT_EQ(zip.Extract(-1, out), ZipResult::NotFound);
}

TEST(ZipArchive, RejectsDamagedArchives) {
    std::string good = testzip::Build({{"a.txt", std::string(300, 'q'), true}});
    ZipArchive zip;
    EXPECT_FALSE(zip.Open(""));
    EXPECT_FALSE(zip.Open("not a zip archive at all, just text long enough"));
    EXPECT_FALSE(zip.Open(good.substr(0, good.size() - 30)));  // directory cut off

    std::string badCrc = good;
    badCrc[30 + 5 + 2] ^= 0x5A;  // a byte of the member's compressed data
    ASSERT_TRUE(zip.Open(badCrc));
    std::string out;
    EXPECT_EQ(zip.Extract(0, out), ZipResult::Corrupt);
    EXPECT_TRUE(out.empty());

    // A directory entry pointing past the end of the data.
    std::string badOffset = good;
    std::size_t dir = badOffset.find("PK\x01\x02");
    badOffset[dir + 42] = '\x7f';
    badOffset[dir + 45] = '\x7f';
    ASSERT_TRUE(zip.Open(badOffset));
    EXPECT_EQ(zip.Extract(0, out), ZipResult::Corrupt);
}

TEST(ZipArchive, RefusesEncryptedAndUnknownMethods) {
    std::string archive = testzip::Build({{"a.txt", "abc", false}});
    std::size_t dir = archive.find("PK\x01\x02");
    std::string encrypted = archive;
    encrypted[dir + 8] |= 0x01;
    ZipArchive zip;
    std::string out;
    ASSERT_TRUE(zip.Open(encrypted));
    EXPECT_EQ(zip.Extract(0, out), ZipResult::Unsupported);
    std::string bzip = archive;
    bzip[dir + 10] = 12;
    ASSERT_TRUE(zip.Open(bzip));
    EXPECT_EQ(zip.Extract(0, out), ZipResult::Unsupported);
}
