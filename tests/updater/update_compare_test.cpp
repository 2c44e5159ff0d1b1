// Manifest parsing and comparison as plain functions.
#include "updater/update_compare.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/test_files.h"
#include "updater/update_paths.h"

using testing_support::Gbk;
using testing_support::Wide;

namespace {

std::vector<std::wstring> Names(const std::wstring& server, const std::wstring& local) {
    return UpdateNames(CompareManifests(server, local));
}

}  // namespace

TEST(CompareManifests, ListsMissingAndChangedNamesInOrdinalOrder) {
    const std::wstring server =
        L"zeta.dll\tz1\nVelmora.exe\tv2\nalpha.txt\ta1\nBeta\\b.bin\tb1\nsame.ini\ts1\nlower.txt\tl1\n";
    const std::wstring local = L"same.ini\ts1\nVelmora.exe\tv1\nlocal-only.txt\tx\nLOWER.TXT\tl1\n";
    // Upper-case ASCII sorts first; a name differing only in case does not match.
    EXPECT_EQ(Names(server, local),
              (std::vector<std::wstring>{L"Beta\\b.bin", L"Velmora.exe", L"alpha.txt", L"lower.txt", L"zeta.dll"}));
    const UpdateList list = CompareManifests(server, local);
    EXPECT_EQ(list[1], (UpdateItem{L"Velmora.exe", L"v2"}));
}

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

TEST(CompareManifests, RecordsWithoutTabOrLineFeedEndParsing) {
    // A line without TAB becomes the beginning of the next name.
    EXPECT_EQ(ParseManifest(L"CalculateMd5Worry\nb.txt\tv\n").begin()->first, L"CalculateMd5Worry\nb.txt");
    EXPECT_TRUE(ParseManifest(L"no tab at all\n").empty());
    EXPECT_TRUE(ParseManifest(L"name\tvalue without line feed").empty());
    EXPECT_TRUE(ParseManifest(L"").empty());
    // An error page has no TAB: nothing to download.
    EXPECT_TRUE(Names(ManifestTextFromBytes("<html><body>404 Not Found</body></html>"), L"").empty());
}

TEST(ManifestTextFromBytes, TrimsConvertsAndEndsWithOneLineFeed) {
    // The last record without its line feed still counts; CR LF arrives as LF.
    EXPECT_EQ(ManifestTextFromBytes("  a.txt\tv1\r\nb.txt\tv2 \r\n\r\n"), L"a.txt\tv1\nb.txt\tv2\n");
    EXPECT_EQ(ManifestTextFromBytes("a.txt\tv1"), L"a.txt\tv1\n");
    EXPECT_EQ(ManifestTextFromBytes(""), L"\n");
    // Code page 936 names come out as the right characters.
    EXPECT_EQ(ManifestTextFromBytes(Gbk(Wide("资源\\图标.png")) + "\tv\n"), Wide("资源\\图标.png\tv\n"));
    // Reading stops at a NUL byte, as for a C string.
    EXPECT_EQ(ManifestTextFromBytes(std::string("a\tb\n\0c\td\n", 10)), L"a\tb\n");
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

TEST(SafeRelativeName, AcceptsOnlyPlainRelativePaths) {
    for (const std::wstring good :
         {L"Velmora.exe", L"skin\\Wakfu.ui", L"a\\b\\c.d", L".hidden", L"a..b", L"CONFIG.ini", L"com10.txt"})
        EXPECT_TRUE(IsSafeRelativeName(good)) << Gbk(good);
    EXPECT_TRUE(IsSafeRelativeName(Wide("资源\\图标.png")));
    for (const std::wstring bad :
         {L"",      L"..",  L"..\\x",        L"a\\..\\..\\x", L"...\\x", L".. \\x", L"C:x",
          L"C:\\x", L"\\x", L"\\\\h\\s\\x",  L"a\\\\b",       L"a\\",    L"a/b",    L"x:stream",
          L"a\tb",  L"a?b", L"a*b",          L"a\"b",         L"a<b",    L"a|b",    L"dir.\\x",
          L"x ",    L"CON", L"sub\\nul.txt", L"com1.dll"})
        EXPECT_FALSE(IsSafeRelativeName(bad)) << Gbk(bad);
}

TEST(UpdatePaths, ExtendedLengthFormAndBack) {
    EXPECT_EQ(ExtendedLengthPath(L"C:\\Games\\游戏"), L"\\\\?\\C:\\Games\\游戏");
    EXPECT_EQ(ExtendedLengthPath(L"\\\\server\\share\\v"), L"\\\\?\\UNC\\server\\share\\v");
    // Already extended, a device path, relative or drive-relative: left as they are.
    for (const wchar_t* kept : {L"\\\\?\\C:\\x", L"\\\\.\\pipe\\p", L"relative\\x", L"C:x", L"", L"中:\\x"})
        EXPECT_EQ(ExtendedLengthPath(kept), kept) << kept;
    for (const wchar_t* path : {L"C:\\Games\\游戏", L"\\\\server\\share\\v", L"relative"})
        EXPECT_EQ(PlainPath(ExtendedLengthPath(path)), path) << path;
}

TEST(UpdatePaths, NormalisesAndJoins) {
    EXPECT_EQ(NormaliseUrl(L"http://h/zorvik/Wakfu/Update"), L"http://h/zorvik/Wakfu/Update/");
    EXPECT_EQ(NormaliseUrl(L"http://h/x/"), L"http://h/x/");
    EXPECT_EQ(NormaliseUrl(L""), L"");
    EXPECT_EQ(NormaliseFolder(L"C:\\game"), L"C:\\game\\");
    EXPECT_EQ(NormaliseFolder(L""), L"");
    EXPECT_EQ(UpdateFileUrl(L"http://h/Update", L"skin\\sub\\Wakfu.ui"), L"http://h/Update/skin/sub/Wakfu.ui");
    EXPECT_EQ(UpdateFileUrl(L"http://h/U/", Wide("新 #%.txt")), L"http://h/U/%E6%96%B0%20%23%25.txt");
    EXPECT_EQ(UpdateFileUrl(L"http://h/U/", Wide("a😀")), L"http://h/U/a%F0%9F%98%80");
    EXPECT_EQ(TempPath(L"C:\\g", L"skin\\a.ui"), L"C:\\g\\skin\\a.ui.tmp");
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

TEST(CompareManifests, TenMegabytesOfOneLineAreNoRecord) {
    const std::string garbage(10 << 20, 'x');
    EXPECT_TRUE(CompareManifests(ManifestTextFromBytes(garbage), L"\n").empty());
    std::string binary;
    for (int i = 0; i < 1 << 16; ++i) binary += static_cast<char>((i * 37) % 255 + 1);
    // Binary noise may contain TABs and LFs; whatever it yields must be safe names.
    for (const auto& item : CompareManifests(ManifestTextFromBytes(binary), L"\n"))
        EXPECT_TRUE(IsSafeRelativeName(item.name));
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
