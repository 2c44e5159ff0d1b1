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

TEST(CompareManifests, TenMegabytesOfOneLineAreNoRecord) {
    const std::string garbage(10 << 20, 'x');
    EXPECT_TRUE(CompareManifests(ManifestTextFromBytes(garbage), L"\n").empty());
    std::string binary;
    for (int i = 0; i < 1 << 16; ++i) binary += static_cast<char>((i * 37) % 255 + 1);
    // Binary noise may contain TABs and LFs; whatever it yields must be safe names.
    for (const auto& item : CompareManifests(ManifestTextFromBytes(binary), L"\n"))
        EXPECT_TRUE(IsSafeRelativeName(item.name));
}
