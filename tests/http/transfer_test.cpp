#include "common/http/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/http/request_headers.h"

using transfer::TransferBody;
using transfer::TransferResult;

namespace {

constexpr std::uint64_t kFourGiB = 1ull << 32;

// A body of `size` bytes whose content is never materialised: each read only
// reports how much it delivered, so bodies past 4 GiB can be counted quickly.
struct CountingSource {
    std::uint64_t size;
    std::uint64_t served = 0;
    int failAfterReads = -1;  // fail the read after this many reads
    int reads = 0;
    bool Read(char*, std::uint32_t capacity, std::uint32_t& count) {
        if (failAfterReads >= 0 && reads == failAfterReads) return false;
        ++reads;
        count = static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity, size - served));
        served += count;
        return true;
    }
};

struct TextSource {
    std::string body;
    std::size_t at = 0;
    bool Read(char* buffer, std::uint32_t capacity, std::uint32_t& count) {
        count = static_cast<std::uint32_t>(std::min<std::size_t>(capacity, body.size() - at));
        std::memcpy(buffer, body.data() + at, count);
        at += count;
        return true;
    }
};

template <typename Source>
transfer::BlockReader ReaderOf(Source& source) {
    return [&source](char* buffer, std::uint32_t capacity, std::uint32_t& count) {
        return source.Read(buffer, capacity, count);
    };
}

// A writer that keeps nothing but the number of bytes it took.
transfer::BlockWriter CountingWriter(std::uint64_t& written) {
    return [&written](const char*, std::uint32_t size) {
        written += size;
        return true;
    };
}

}  // namespace

TEST(TransferBody, CopiesTheBodyAndReportsEveryReadIncludingTheLastEmptyOne) {
    TextSource source{"abcdefghij"};
    std::string sink;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> seen;
    const auto outcome = TransferBody(
        ReaderOf(source),
        [&](const char* d, std::uint32_t n) {
            sink.append(d, n);
            return true;
        },
        [&](std::uint64_t received, std::uint32_t block) { seen.emplace_back(received, block); }, 4);
    EXPECT_EQ(outcome.result, TransferResult::Complete);
    EXPECT_EQ(outcome.received, 10u);
    EXPECT_EQ(sink, "abcdefghij");
    const std::vector<std::pair<std::uint64_t, std::uint32_t>> expected{{4, 4}, {8, 4}, {10, 2}, {10, 0}};
    EXPECT_EQ(seen, expected);
}

TEST(TransferBody, CountsBodiesPastFourGiBWithoutWrapping) {
    CountingSource source{kFourGiB + 40961};
    std::uint64_t written = 0;
    std::uint64_t lastSeen = 0;
    const auto outcome = TransferBody(
        ReaderOf(source), CountingWriter(written), [&](std::uint64_t received, std::uint32_t) { lastSeen = received; },
        1u << 20);
    EXPECT_EQ(outcome.result, TransferResult::Complete);
    EXPECT_EQ(outcome.received, kFourGiB + 40961);
    EXPECT_EQ(written, kFourGiB + 40961);
    EXPECT_EQ(lastSeen, kFourGiB + 40961);
}

TEST(TransferBody, LimitAboveFourGiBIsComparedIn64Bits) {
    // A limit of 4 GiB + 1 truncated to 32 bits would be 1 and stop at the first block.
    CountingSource within{kFourGiB};
    std::uint64_t taken = 0;
    const auto ok = TransferBody(ReaderOf(within), CountingWriter(taken), {}, 1u << 20, kFourGiB + 1);
    EXPECT_EQ(ok.result, TransferResult::Complete);
    EXPECT_EQ(taken, kFourGiB);

    CountingSource over{kFourGiB + (2u << 20)};
    std::uint64_t written = 0;
    const auto stopped = TransferBody(ReaderOf(over), CountingWriter(written), {}, 1u << 20, kFourGiB + 1);
    EXPECT_EQ(stopped.result, TransferResult::LimitExceeded);
    EXPECT_EQ(stopped.received, kFourGiB + (1u << 20)) << "the block that crossed the limit is counted";
    EXPECT_EQ(written, kFourGiB) << "and never written";
}

TEST(TransferBody, ReadAndWriteFailuresAreToldApart) {
    CountingSource source{100};
    source.failAfterReads = 1;
    std::uint64_t written = 0;
    const auto readFailed = TransferBody(ReaderOf(source), CountingWriter(written), {}, 40);
    EXPECT_EQ(readFailed.result, TransferResult::ReadFailed);
    EXPECT_EQ(readFailed.received, 40u);
    EXPECT_EQ(written, 40u);

    CountingSource second{100};
    int observed = 0;
    const auto writeFailed = TransferBody(
        ReaderOf(second), [](const char*, std::uint32_t) { return false; },
        [&](std::uint64_t, std::uint32_t) { ++observed; }, 40);
    EXPECT_EQ(writeFailed.result, TransferResult::WriteFailed);
    EXPECT_EQ(writeFailed.received, 40u);
    EXPECT_EQ(observed, 1) << "the block is observed before it is written";
}

TEST(TransferBody, AnEmptyBodyCompletesAtOnce) {
    TextSource source{""};
    int writes = 0;
    const auto outcome = TransferBody(
        ReaderOf(source), [&](const char*, std::uint32_t) { return ++writes, true; }, {}, 16);
    EXPECT_EQ(outcome.result, TransferResult::Complete);
    EXPECT_EQ(outcome.received, 0u);
    EXPECT_EQ(writes, 0);
}

TEST(RequestHeaders, ResumeOffsetsPastFourGiBAreSentWhole) {
    EXPECT_EQ(ResumeRequestHeader(kFourGiB + 5), L"Cache-Control: no-cache\r\nRange:bytes=4294967301-\r\n");
    EXPECT_EQ(ResumeRequestHeader(0), L"Cache-Control: no-cache\r\nRange:bytes=0-\r\n");
}

TEST(RequestHeaders, ContentLengthIsParsedIn64Bits) {
    EXPECT_EQ(ContentLengthValue(L"5368709120"), 5368709120ull);
    EXPECT_EQ(ContentLengthValue(L" 81920 "), 81920u);
    EXPECT_EQ(ContentLengthValue(L"18446744073709551615"), 18446744073709551615ull);
    EXPECT_EQ(ContentLengthValue(L"18446744073709551616"), 0u) << "one past 64 bits";
    EXPECT_EQ(ContentLengthValue(L""), 0u);
    EXPECT_EQ(ContentLengthValue(L"-1"), 0u);
    EXPECT_EQ(ContentLengthValue(L"12ab"), 0u);
}
