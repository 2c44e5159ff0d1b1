#include "updater/driver/progress.h"

#include <gtest/gtest.h>

#include "updater/driver/update_texts.h"

namespace {

TEST(PassProgress, OneFileInTwoBlocksEndsAtTheTop) {
    PassProgress progress(1);
    EXPECT_EQ(progress.AddBlock(40960, 81920), 5000u);
    EXPECT_EQ(progress.AddBlock(40960, 81920), 10000u);
    EXPECT_EQ(progress.FinishFile(), 10000u);
    EXPECT_EQ(progress.filesDone(), 1);
}

TEST(PassProgress, LargeFilesDoNotOverflowTheIncrement) {
    // length × total and block × 10000 both exceed 32 bits here.
    PassProgress progress(3);
    const std::uint32_t length = 3'000'000'000u;
    std::uint32_t position = 0;
    for (int i = 0; i < 1000; ++i) position = progress.AddBlock(40960 * 100, length);
    // 4 096 000 000 bytes announced as 3e9: clamped at the file's share, not wrapped.
    EXPECT_EQ(position, 3333u);
    PassProgress exact(2);
    EXPECT_EQ(exact.AddBlock(1'500'000'000u, 3'000'000'000u), 2500u);
}

TEST(PassProgress, StaysWithinTheFileShareWhenTheServerSendsTooMuch) {
    PassProgress progress(2);
    EXPECT_EQ(progress.AddBlock(40960, 1), 5000u);  // no Content-Length: length 1
    EXPECT_EQ(progress.AddBlock(40960, 1), 5000u);
    EXPECT_EQ(progress.FinishFile(), 5000u);
    EXPECT_EQ(progress.AddBlock(100, 0), 10000u);   // 0 taken as 1
    EXPECT_EQ(progress.FinishFile(), 10000u);
}

TEST(PassProgress, TruncatedIncrementsCatchUpWhenEachFileEnds) {
    PassProgress progress(7);
    for (int file = 1; file <= 7; ++file) {
        for (int block = 0; block < 3; ++block) progress.AddBlock(1, 3);  // 1×10000/21 = 476 each
        EXPECT_LE(progress.position(), static_cast<std::uint32_t>(file * 10000 / 7));
        EXPECT_EQ(progress.FinishFile(), static_cast<std::uint32_t>(file * 10000 / 7));
    }
    EXPECT_EQ(progress.position(), kProgressMax);
    EXPECT_EQ(progress.FinishFile(), kProgressMax);  // an extra end does not pass the top
}

TEST(UpdateTexts, RowTextsInThousandsOfBytes) {
    EXPECT_EQ(RowProgressText(40960, 81920), L"40.96K(当前大小)/81.92K(总大小)");
    EXPECT_EQ(RowProgressText(0, 1), L"0.00K(当前大小)/0.00K(总大小)");
    EXPECT_EQ(RowProgressText(4194304, 4194304), L"4194.30K(当前大小)/4194.30K(总大小)");
}

TEST(UpdateTexts, SpeedFromTheAnnouncedLength) {
    EXPECT_EQ(SpeedText(81920, 5000, 5000), L"81.9k/s(下载速度)");   // within one tick
    EXPECT_EQ(SpeedText(2000000, 1000, 3000), L"1000.0k/s(下载速度)");
    EXPECT_EQ(SpeedText(500, 0xFFFFFF00u, 0x0000012Cu), L"0.9k/s(下载速度)");  // tick count wrapped: 556 ms
}

TEST(UpdateTexts, CountAndDisplayName) {
    EXPECT_EQ(CountText(1, 1), L"1个(当前已下载文件个数)/1个(总文件个数)");
    EXPECT_EQ(CountText(0, 0), L"0个(当前已下载文件个数)/0个(总文件个数)");
    EXPECT_EQ(DisplayName(L"data\\地图.bin"), L"data\\地图.bin");  // code page 936 holds these
    EXPECT_EQ(DisplayName(L"a\u0e01\u0915.txt"), L"a??.txt");
}

}  // namespace
