// The check every server-given name passes before anything is written.
#include "updater/safe_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The name for a failure message: ASCII as it is, anything else as '?'.
std::string Shown(const std::wstring& name) {
    std::string shown;
    for (wchar_t c : name) shown += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return shown;
}

}  // namespace

TEST(SafeRelativeName, AcceptsOnlyPlainRelativePaths) {
    for (const std::wstring good :
         {L"Velmora.exe", L"skin\\Wakfu.ui", L"a\\b\\c.d", L".hidden", L"a..b", L"CONFIG.ini", L"com10.txt"})
        EXPECT_TRUE(IsSafeRelativeName(good)) << Shown(good);
    EXPECT_TRUE(IsSafeRelativeName(L"资源\\图标.png"));
    for (const std::wstring bad :
         {L"",      L"..",  L"..\\x",        L"a\\..\\..\\x", L"...\\x", L".. \\x", L"C:x",
          L"C:\\x", L"\\x", L"\\\\h\\s\\x",  L"a\\\\b",       L"a\\",    L"a/b",    L"x:stream",
          L"a\tb",  L"a?b", L"a*b",          L"a\"b",         L"a<b",    L"a|b",    L"dir.\\x",
          L"x ",    L"CON", L"sub\\nul.txt", L"com1.dll"})
        EXPECT_FALSE(IsSafeRelativeName(bad)) << Shown(bad);
}

TEST(SafeRelativeName, LengthDeviceAndSegmentLimits) {
    EXPECT_TRUE(IsSafeRelativeName(std::wstring(259, L'a')));
    EXPECT_FALSE(IsSafeRelativeName(std::wstring(260, L'a'))) << "past MAX_PATH with the folder in front";
    for (const std::wstring device : {L"aux", L"Prn.txt", L"conin$", L"CONOUT$.log", L"lpt9", L"sub\\COM3.x.y"})
        EXPECT_FALSE(IsSafeRelativeName(device)) << Shown(device);
    for (const std::wstring plain : {L"com0", L"lpt", L"console", L"nul_", L"auxiliary.txt", L"x\\con_fig"})
        EXPECT_TRUE(IsSafeRelativeName(plain)) << Shown(plain);
    // A NUL inside the name would cut it short for the file functions.
    EXPECT_FALSE(IsSafeRelativeName(std::wstring(L"a\0b", 3)));
}
