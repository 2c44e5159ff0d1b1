// Faces the system lacks are replaced by one it has, in GDI and GDI+ alike.
#include "duilib/font_fallback.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <set>

#include "duilib/duilib.h"
#include "tests/duilib/ui_test_support.h"

namespace {

const wchar_t kMissingFace[] = L"Velmora Nonexistent Face";

std::vector<std::pair<std::wstring, std::wstring>> g_reports;
void Record(const std::wstring& missing, const std::wstring& used) { g_reports.emplace_back(missing, used); }

class FontFallbackTest : public testing::Test {
protected:
    void SetUp() override {
        dui::ResetFontFaceChoices();
        g_reports.clear();
        dui::SetFontFallbackReporter(Record);
    }
    void TearDown() override {
        dui::SetFontFallbackReporter(nullptr);
        dui::ResetFontFaceChoices();
    }
};

}  // namespace

TEST(ChooseFontFace, KeepsAnInstalledFaceAndOtherwiseTakesTheFirstInstalledFallback) {
    const std::set<std::wstring> installed{L"Tahoma", L"WenQuanYi Micro Hei"};
    auto has = [&](const std::wstring& face) { return installed.count(face) != 0; };
    EXPECT_EQ(dui::ChooseFontFace(L"Tahoma", has, {L"WenQuanYi Micro Hei"}), L"Tahoma");
    EXPECT_EQ(dui::ChooseFontFace(L"微软雅黑", has, {L"Segoe UI", L"", L"WenQuanYi Micro Hei", L"Tahoma"}),
              L"WenQuanYi Micro Hei");
    EXPECT_EQ(dui::ChooseFontFace(L"", has, {L"Tahoma"}), L"Tahoma") << "no face named counts as missing";
    EXPECT_EQ(dui::ChooseFontFace(L"宋体", has, {L"Arial"}), L"宋体") << "nothing better: the request stands";
}

TEST_F(FontFallbackTest, TheSystemOffersAnInstalledFallbackAndAMissingFaceIsReplacedOnce) {
    ASSERT_FALSE(dui::IsFontFaceInstalled(kMissingFace));
    const std::vector<std::wstring> fallbacks = dui::FallbackFontFaces();
    ASSERT_FALSE(fallbacks.empty());
    bool anyInstalled = false;
    for (const std::wstring& face : fallbacks) anyInstalled = anyInstalled || dui::IsFontFaceInstalled(face);
    EXPECT_TRUE(anyInstalled);

    const std::wstring used = dui::UsableFontFace(kMissingFace);
    EXPECT_NE(used, kMissingFace);
    EXPECT_TRUE(dui::IsFontFaceInstalled(used)) << used;
    EXPECT_EQ(dui::UsableFontFace(kMissingFace), used);
    ASSERT_EQ(g_reports.size(), 1u) << "the fallback is reported once";
    EXPECT_EQ(g_reports[0].first, kMissingFace);
    EXPECT_EQ(g_reports[0].second, used);

    EXPECT_EQ(dui::UsableFontFace(used), used);
    EXPECT_EQ(g_reports.size(), 1u) << "an installed face is no fallback";
}

// A label in a face the system lacks still draws its text, through GDI+ (the paint)
// and GDI (the text measure).
TEST_F(FontFallbackTest, ALabelInAMissingFaceStillDrawsItsText) {
    CPaintManagerUI pm;
    pm.AddFont(0, kMissingFace, 24, false, false, false, true);
    Gdiplus::Font* font = pm.GetFont(0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetLastStatus(), Gdiplus::Ok);
    Gdiplus::FontFamily family;
    ASSERT_EQ(font->GetFamily(&family), Gdiplus::Ok);
    wchar_t name[LF_FACESIZE] = {};
    family.GetFamilyName(name);
    EXPECT_STRNE(name, kMissingFace);

    HFONT gdiFont = pm.GetHFont(0);
    ASSERT_NE(gdiFont, nullptr);
    LOGFONTW made{};
    ASSERT_TRUE(GetObjectW(gdiFont, sizeof(made), &made));
    EXPECT_STRNE(made.lfFaceName, kMissingFace);
    EXPECT_TRUE(dui::IsFontFaceInstalled(made.lfFaceName)) << made.lfFaceName;

    // Drawn into a bitmap, the text leaves ink.
    Gdiplus::Bitmap bitmap(200, 40, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.Clear(Gdiplus::Color(255, 255, 255, 255));
        Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
        g.DrawString(L"Velmora", -1, font, Gdiplus::PointF(2, 2), &black);
    }
    int dark = 0;
    for (UINT y = 0; y < 40; ++y)
        for (UINT x = 0; x < 200; ++x) {
            Gdiplus::Color c;
            bitmap.GetPixel(x, y, &c);
            if (c.GetR() < 128) ++dark;
        }
    EXPECT_GT(dark, 20);
    EXPECT_EQ(g_reports.size(), 1u);
}
