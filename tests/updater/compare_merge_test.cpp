// CompareManifests: the corners where matching records by name goes wrong
// (repeated names on either side, names that differ only in case or
// share prefixes, empty sides), and agreement with a plain map lookup on a large
// scrambled pair of manifests.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "updater/update_compare.h"

namespace {

std::vector<std::wstring> Names(const std::wstring& server, const std::wstring& local) {
    return UpdateNames(CompareManifests(server, local));
}

TEST(CompareMerge, RepeatedNamesOnEitherSideCountOnlyTheirFirstRecord) {
    // Local: the first "a" differs, a later one matches; the first one counts.
    EXPECT_EQ(Names(L"a\t1\n", L"a\t0\na\t1\n"), std::vector<std::wstring>{L"a"});
    // Server: the first "b" matches, a later one differs; nothing to fetch.
    EXPECT_TRUE(Names(L"b\t1\nb\t2\nb\t3\n", L"b\t1\n").empty());
    // Repeats on both sides, interleaved with other names: each name is listed once.
    const UpdateList list = CompareManifests(L"c\t9\na\t1\nc\t8\na\t2\nb\t5\n", L"a\t1\nc\t7\nc\t9\na\t0\n");
    EXPECT_EQ(list, (UpdateList{{L"b", L"5"}, {L"c", L"9"}}));
    // A repeated name the local side lacks is fetched once, with its first digest.
    EXPECT_EQ(CompareManifests(L"n\t2\nm\t1\nn\t3\nn\t1\n", L"m\t1\n"), (UpdateList{{L"n", L"2"}}));
}

TEST(CompareMerge, CaseAndSharedPrefixesAreDifferentNames) {
    const std::wstring server = L"A.txt\t1\na.txt\t1\nab\t1\na\t1\nB\t1\n";
    // Only "a.txt" and "a" are current; upper-case letters sort before lower-case ones.
    const std::wstring local = L"a.txt\t1\na\t1\nAB\t1\nb\t1\n";
    EXPECT_EQ(Names(server, local), (std::vector<std::wstring>{L"A.txt", L"B", L"ab"}));
    // Code units above ASCII sort after every ASCII name, by value.
    EXPECT_EQ(Names(L"\u8d44\t1\nz\t1\n\u00e9\t1\n", L""), (std::vector<std::wstring>{L"z", L"\u00e9", L"\u8d44"}));
}

TEST(CompareMerge, EmptySides) {
    EXPECT_TRUE(Names(L"", L"").empty());
    EXPECT_TRUE(Names(L"\n", L"a\t1\nb\t2\n").empty());  // a server without records lists nothing
    EXPECT_EQ(Names(L"b\t2\na\t1\n", L"\n"), (std::vector<std::wstring>{L"a", L"b"}));
    // A local side whose names all sort before or after the server's.
    EXPECT_EQ(Names(L"m\t1\nn\t1\n", L"a\t1\nb\t1\n"), (std::vector<std::wstring>{L"m", L"n"}));
    EXPECT_EQ(Names(L"m\t1\nn\t1\n", L"x\t1\ny\t1\n"), (std::vector<std::wstring>{L"m", L"n"}));
}

TEST(CompareMerge, AgreesWithAMapLookupOnAScrambledPair) {
    std::mt19937 random(17);
    std::wstring server, local;
    for (int i = 0; i < 20000; ++i) {
        // Few distinct names, so repeats, case variants and local-only names are common.
        const std::wstring name = (random() % 2 ? L"Dir\\" : L"dir\\") + std::to_wstring(random() % 6000);
        server += name + L"\t" + std::to_wstring(random() % 3) + L"\n";
        local += (random() % 2 ? L"dir\\" : L"Dir\\") + std::to_wstring(random() % 6000) + L"\t" +
                 std::to_wstring(random() % 3) + L"\n";
    }
    const auto serverMap = ParseManifest(server);
    const auto localMap = ParseManifest(local);
    UpdateList expected;
    for (const auto& [name, value] : serverMap) {
        const auto mine = localMap.find(name);
        if (mine == localMap.end() || mine->second != value) expected.push_back({name, value});
    }
    ASSERT_GT(expected.size(), 1000u);
    EXPECT_EQ(CompareManifests(server, local), expected);
}

}  // namespace
