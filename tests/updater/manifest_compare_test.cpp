// Manifest records and their comparison on text, without the code-page step.
#include <gtest/gtest.h>

#include <algorithm>

#include "updater/update_compare.h"

namespace {

std::vector<std::wstring> Names(const std::wstring& server, const std::wstring& local) {
    return UpdateNames(CompareManifests(server, local));
}

}  // namespace

TEST(CompareManifests, FirstOccurrenceWinsAndReservedNamesNeverAppear) {
    const std::wstring server = L"a.txt\tnew\na.txt\told\nMD5.exe\tm\nUpDate.ini\tu\nmd5.exe\tm\n";
    const std::wstring local = L"a.txt\told\n";
    const UpdateList list = CompareManifests(server, local);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (UpdateItem{L"a.txt", L"new"}));
    EXPECT_EQ(list[1].name, L"md5.exe");  // reserved names are case-sensitive
    // Locally the first occurrence wins as well.
    EXPECT_TRUE(Names(L"a.txt\tx\n", L"a.txt\tx\na.txt\ty\n").empty());
}


TEST(CompareManifests, NamesOutsideTheFolderAreRejected) {
    const std::wstring server =
        L"..\\..\\x.dll\t1\nC:\\x\t1\n\\x\t1\n\\\\host\\share\\x\t1\nfile:stream\t1\nok\\..\\up\t1\n"
        L"a/b\t1\n.\\x\t1\nsub\\good.txt\t1\n";
    std::vector<std::wstring> rejected;
    const UpdateList list = CompareManifests(server, L"", &rejected);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, L"sub\\good.txt");
    EXPECT_EQ(rejected.size(), 8u);
}


TEST(CompareManifests, HundredThousandRecordsEachSide) {
    std::wstring server, local;
    for (int i = 0; i < 100000; ++i) {
        const std::wstring name = L"data\\file" + std::to_wstring(i * 7919 % 100000) + L".bin";
        server += name + L"\t" + std::to_wstring(i) + L"\n";
        local += name + L"\t" + std::to_wstring(i % 10 == 0 ? -1 : i) + L"\n";
    }
    const UpdateList list = CompareManifests(server, local);
    ASSERT_EQ(list.size(), 10000u);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const UpdateItem& a, const UpdateItem& b) { return a.name < b.name; }));
}


TEST(CompareManifests, DigestsCompareCaseBlindAfterTrimming) {
    EXPECT_TRUE(DigestsMatch(L"0CC175B9C0F1B6A831C399E269772661", L"0cc175b9c0f1b6a831c399e269772661"));
    EXPECT_TRUE(DigestsMatch(L" 0cc175b9C0F1\t", L"0CC175B9c0f1"));
    EXPECT_FALSE(DigestsMatch(L"0cc175b9c0f1", L"0cc175b9c0f2"));
    EXPECT_FALSE(DigestsMatch(L"0cc175b9c0f1", L"0cc175b9c0f"));
    // A server manifest in capitals lists nothing that is already current.
    const std::wstring server = L"a.txt\t0CC175B9C0F1B6A831C399E269772661 \nb.txt\t92EB5FFEE6AE2FEC3AD71C777531578F\n";
    const std::wstring local = L"a.txt\t0cc175b9c0f1b6a831c399e269772661\nb.txt\t4a8a08f09d37b73795649038408b5f33\n";
    EXPECT_EQ(Names(server, local), std::vector<std::wstring>{L"b.txt"});
}

TEST(ManifestTextFromWide, EndsInOneLineFeedWithCarriageReturnsOnlyOutsidePairs) {
    EXPECT_EQ(ManifestTextFromWide(L" \r\n a\tb\r\nc\td\r\n\r\n\t "), L"a\tb\nc\td\n");
    // A lone CR is no line end and stays in the value; trimming takes one at the end.
    EXPECT_EQ(ManifestTextFromWide(L"a\tb\rc\r"), L"a\tb\rc\n");
    EXPECT_EQ(ManifestTextFromWide(L""), L"\n");
    EXPECT_TRUE(ManifestTextIsEmpty(ManifestTextFromWide(L"\r\n\v\f ")));
    EXPECT_FALSE(ManifestTextIsEmpty(ManifestTextFromWide(L"x")));
}
