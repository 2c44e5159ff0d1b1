// The content of SEWI.bin: the key, decoding and encoding, without files.
#include "launcher/game/scrambled_content.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The key byte at position i, recovered through the XOR itself.
unsigned char KeyByte(size_t i) {
    std::string zeros(i + 1, '\0');
    XorWithKey(zeros);
    return static_cast<unsigned char>(zeros[i]);
}

}  // namespace

TEST(ScrambleKey, Has212CharactersNineTabsRestPrintable) {
    std::string key(kScrambleKeyLength, '\0');
    XorWithKey(key);
    int tabs = 0;
    for (char c : key) {
        if (c == '\t') {
            ++tabs;
        } else {
            EXPECT_TRUE(c >= 0x20 && c < 0x7f) << int(c);
        }
    }
    EXPECT_EQ(tabs, 9);
    // The key repeats after 212 bytes.
    EXPECT_EQ(KeyByte(212), KeyByte(0));
    EXPECT_EQ(KeyByte(213), KeyByte(1));
}

TEST(ScrambleDecode, ReadsCaretTerminatedNumbers) {
    const std::string decoded = DecodeScrambledContent("65^66^\r\n");
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(decoded[0]), 65 ^ KeyByte(0));
    EXPECT_EQ(static_cast<unsigned char>(decoded[1]), 66 ^ KeyByte(1));
}

TEST(ScrambleDecode, TokenRulesDropWhatTheFormatDoesNotCover) {
    EXPECT_EQ(DecodeScrambledContent("65^66"), DecodeScrambledContent("65^")) << "no final ^ loses the last number";
    EXPECT_EQ(DecodeScrambledContent("321^"), DecodeScrambledContent("65^")) << "only the low 8 bits count";
    EXPECT_EQ(DecodeScrambledContent("  \t\n65^ 66^"), DecodeScrambledContent("65^")) << "one token only";
    EXPECT_EQ(DecodeScrambledContent("^x^"), DecodeScrambledContent("0^0^")) << "empty or junk pieces are 0";
    EXPECT_EQ(DecodeScrambledContent("-191^"), DecodeScrambledContent("65^")) << "atoi reads a sign";
    EXPECT_EQ(DecodeScrambledContent(""), "");
    EXPECT_EQ(DecodeScrambledContent("   "), "");
}

TEST(ScrambleEncode, IsTheInverseOfDecode) {
    const std::string address = "http://127.0.0.1:18080/zorvik/Wakfu/";
    const std::string content = EncodeScrambledContent(address);
    EXPECT_EQ(content.back(), '^');
    EXPECT_EQ(content.find_first_not_of("0123456789^"), std::string::npos);
    EXPECT_EQ(DecodeScrambledContent(content), address);
    // Longer than the key: wraps around.
    const std::string longAddress(500, 'w');
    EXPECT_EQ(DecodeScrambledContent(EncodeScrambledContent(longAddress)), longAddress);
}
