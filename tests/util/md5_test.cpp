#include "launcher/util/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(Md5Hex, MatchesTheRfc1321TestSuite) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    std::string eightyDigits;
    for (int i = 0; i < 8; ++i) eightyDigits += "1234567890";
    EXPECT_EQ(Md5Hex(eightyDigits), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Hex, HandlesBlockBoundariesAndBinaryBytes) {
    // 55, 56 and 64 bytes straddle the padding boundary of one 64-byte block.
    EXPECT_EQ(Md5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(Md5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(Md5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
    EXPECT_EQ(Md5Hex(std::string("\0\xff", 2)), "d07d34efac6328007ad67c7e0a985e00");
}

TEST(Md5Hex, IncrementalUpdatesGiveTheSameDigest) {
    const std::string text(1000, 'x');
    Md5 md5;
    for (size_t i = 0; i < text.size(); i += 7) md5.Update(text.data() + i, std::min<size_t>(7, text.size() - i));
    EXPECT_EQ(DigestToHex(md5.Finish()), Md5Hex(text));
}

TEST(Md5Hex, PiecesOfAnySizeAcrossBlockEdgesGiveTheOneShotDigest) {
    std::string text;
    for (int i = 0; i < 4099; ++i) text += static_cast<char>((i * 131 + 7) & 0xff);
    const std::string whole = Md5Hex(text);
    for (size_t piece : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 127u, 128u, 1000u}) {
        Md5 md5;
        for (size_t at = 0; at < text.size(); at += piece) md5.Update(text.data() + at, std::min(piece, text.size() - at));
        EXPECT_EQ(DigestToHex(md5.Finish()), whole) << piece;
    }
    // One million "a" (the long message of the RFC's companion test suites).
    Md5 million;
    const std::string thousand(1000, 'a');
    for (int i = 0; i < 1000; ++i) million.Update(thousand.data(), thousand.size());
    EXPECT_EQ(DigestToHex(million.Finish()), "7707d6ae4e027c70eea2a935c2296f21");
}
