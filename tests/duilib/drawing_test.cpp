// Drawing from prepared images: what the window shows matches the drawing GDI+ does
// from the decoded images at every frame, what is kept is kept once and bounded, and
// a paint redraws exactly what changed.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <memory>

#include "common/win32/com_owner.h"
#include "duilib/image_prefetch.h"
#include "duilib/image_store.h"
#include "duilib/prepared_image.h"
#include "duilib/render.h"
#include "duilib/repaint_plan.h"
#include "duilib/resources.h"
#include "duilib/shape_forms.h"
#include "tests/duilib/frame_capture.h"
#include "tests/duilib/test_png.h"
#include "tests/duilib/test_zip.h"
#include "tests/duilib/ui_test_support.h"

using namespace uitest;
using testing_support::TempDir;

namespace {

const char kLayout[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="320,240">
  <Font id="0" name="NoSuchFaceAnywhere" size="13" default="true"/>
  <VerticalLayout name="root" bkimage="grad.png">
    <Container name="panel" height="70" padding="10,10,10,0" bkcolor="#B40B161E" borderround="6" bordersize="1"
               bordercolor="#FF2C5C6C"/>
    <Button name="framed" height="60" width="180" normalimage="file='frame.png' corner='8,8,8,8'" text="确定"
            textcolor="#FFFFFFFF"/>
    <Control name="faded" height="30" bkimage="file='grad.png' fade='128' dest='0,0,40,30'"/>
    <Label name="caption" height="30" text="其余 text" textcolor="#FFF3D58E" bkimage="solid.png"/>
  </VerticalLayout>
</Window>)";

// A gradient whose transparency varies across it.
std::string GradientPng(int width, int height) {
    return testpng::Encode(width, height, [](int x, int y) {
        return testpng::Rgba{static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 8), 128,
                             static_cast<std::uint8_t>(60 + (x + y) * 3)};
    });
}

// A frame: an 8-pixel border of a different colour in each quarter around a
// translucent middle.
std::string FramePng() {
    return testpng::Encode(24, 24, [](int x, int y) {
        if (x >= 8 && x < 16 && y >= 8 && y < 16) return testpng::Rgba{30, 60, 90, 200};
        return testpng::Rgba{static_cast<std::uint8_t>(x < 12 ? 200 : 40), static_cast<std::uint8_t>(y < 12 ? 80 : 220),
                             40, 255};
    });
}

std::string CheckerPng() {
    return testpng::Encode(30, 30, [](int x, int y) {
        bool dark = ((x / 5) + (y / 5)) % 2 == 0;
        return dark ? testpng::Rgba{20, 30, 40, 255} : testpng::Rgba{220, 210, 200, 255};
    });
}

class PreparedDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        duiimg::ForgetSharedImages();
        WriteArchive(GradientPng(40, 30));
        CPaintManagerUI::SetResourcePath(dir_.path().c_str());
        CPaintManagerUI::SetResourceZip(L"draw.ui", false);
    }
    void WriteArchive(const std::string& gradient) { WriteArchiveWith("main.xml", kLayout, gradient); }
    void WriteArchiveWith(const char* layoutName, const char* layout, const std::string& gradient = GradientPng(40, 30)) {
        ASSERT_TRUE(testing_support::WriteBytes(dir_ / L"draw.ui",
                                                testzip::Build({{layoutName, layout, true},
                                                                {"grad.png", gradient, false},
                                                                {"frame.png", FramePng(), true},
                                                                {"solid.png", CheckerPng(), false}})));
    }
    TempDir dir_{L"duidraw"};
};

// Premultiplying the pixels once, and AlphaBlend's rounding where GDI+ blends, may
// move a channel by one or two steps; anything more is a different picture.
constexpr int kRoundingTolerance = 3;

TEST_F(PreparedDrawing, PreparedFramesLookLikeTheReferenceDrawing) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open()) << w.pm().GetLastErrorText().GetData();
    Frame first = RenderTree(w.pm(), 320, 240);       // makes the scaled and shape forms
    Frame kept = RenderTree(w.pm(), 320, 240);        // draws from them
    w.pm().SetUsePreparedImages(false);
    Frame reference = RenderTree(w.pm(), 320, 240);   // GDI+ resampling every image
    w.pm().SetUsePreparedImages(true);

    EXPECT_EQ(LargestChannelDifference(first, kept), 0);
    EXPECT_LE(LargestChannelDifference(kept, reference), kRoundingTolerance);
    // Something was drawn: the stretched gradient differs from corner to corner, and
    // the nine-part frame shows its four border colours.
    EXPECT_NE(reference.At(2, 2), reference.At(317, 237));
    RECT framed = w.pm().FindControl(L"framed")->GetPos();
    EXPECT_NE(reference.At(framed.left + 2, framed.top + 2), reference.At(framed.right - 3, framed.bottom - 3));
    EXPECT_EQ(kept.At(framed.left + 2, framed.top + 2), reference.At(framed.left + 2, framed.top + 2));
}

TEST_F(PreparedDrawing, TheWindowShowsItsTreeAfterOutsideRepaintsChangesAndResizing) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open()) << w.pm().GetLastErrorText().GetData();
    HWND hwnd = w.GetHWND();
    UpdateWindow(hwnd);
    Frame shown = CaptureClient(hwnd);
    EXPECT_EQ(LargestChannelDifference(shown, RenderTree(w.pm(), 320, 240)), 0);

    // Asked for from outside (uncovered, restored): the kept frame comes back.
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_EQ(LargestChannelDifference(CaptureClient(hwnd), shown), 0);

    // A control that changes is drawn again, and only its rectangle changes.
    auto* caption = dynamic_cast<CLabelUI*>(w.pm().FindControl(L"caption"));
    ASSERT_NE(caption, nullptr);
    caption->SetBkImage(L"file='grad.png' dest='0,0,40,30'");
    UpdateWindow(hwnd);
    Frame changed = CaptureClient(hwnd);
    EXPECT_EQ(LargestChannelDifference(changed, RenderTree(w.pm(), 320, 240)), 0);
    RECT rc = caption->GetPos();
    EXPECT_GT(DifferingPixels(changed, shown, rc), 0);
    EXPECT_EQ(DifferingPixels(changed, shown, RECT{0, 0, 320, rc.top}), 0);
    EXPECT_EQ(DifferingPixels(changed, shown, RECT{0, rc.bottom, 320, 240}), 0);

    // A new size lays out and draws everything again at that size.
    SetWindowPos(hwnd, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    UpdateWindow(hwnd);
    EXPECT_EQ(LargestChannelDifference(CaptureClient(hwnd), RenderTree(w.pm(), 400, 300)), 0);
}

TEST_F(PreparedDrawing, TheFocusRingAppearsWhenTabKeepsTheFocusWhereItIs) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open()) << w.pm().GetLastErrorText().GetData();
    HWND hwnd = w.GetHWND();
    CControlUI* framed = w.pm().FindControl(L"framed");
    ASSERT_NE(framed, nullptr);
    Click(hwnd, Center(framed));  // focused by the mouse: no ring
    ASSERT_EQ(w.pm().GetFocus(), framed);
    UpdateWindow(hwnd);
    Frame before = CaptureClient(hwnd);
    SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);  // the only tab stop: the focus stays
    UpdateWindow(hwnd);
    Frame after = CaptureClient(hwnd);
    EXPECT_EQ(w.pm().GetFocus(), framed);
    EXPECT_GT(DifferingPixels(after, before, framed->GetPos()), 0);
    // Inside the button it is the full frame's drawing (GDI+ may set a pixel of the
    // ring just past the button's edge, which a redraw of the button leaves alone).
    EXPECT_EQ(DifferingPixels(after, RenderTree(w.pm(), 320, 240), framed->GetPos()), 0);
}

TEST_F(PreparedDrawing, EachImageIsDecodedOncePerProcessAndAgainWhenTheArchiveIsReplaced) {
    CPaintManagerUI first, second;
    duiimg::PreparedImage* image = first.GetPreparedImage(L"grad.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(second.GetPreparedImage(L"grad.png"), image);
    EXPECT_EQ(second.GetImage(L"grad.png"), image->Pixels());
    EXPECT_EQ(duiimg::SharedImageCount(), 1u);

    WriteArchive(GradientPng(50, 20));
    CPaintManagerUI third;
    duiimg::PreparedImage* replaced = third.GetPreparedImage(L"grad.png");
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(replaced->Width(), 50);
    EXPECT_EQ(replaced->Height(), 20);
    // Windows that hold the old image keep drawing it.
    EXPECT_EQ(first.GetPreparedImage(L"grad.png")->Width(), 40);

    EXPECT_EQ(third.GetPreparedImage(L"absent.png"), nullptr);
    EXPECT_NE(std::wstring(third.GetLastErrorText()).find(L"absent.png"), std::wstring::npos);
}

TEST_F(PreparedDrawing, ALayoutsImagesAreDecodedAheadStateImagesAfterTheFirstPaint) {
    const char layout[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="200,100">
  <VerticalLayout bkimage="grad.png">
    <Button name="b" height="40" normalimage="file='frame.png' corner='8,8,8,8'" hotimage="solid.png"
            pushedimage="frame.png"/>
  </VerticalLayout>
</Window>)";
    WriteArchiveWith("pre.xml", layout);
    {
        CPaintManagerUI built;
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(L"pre.xml", nullptr, &built));
        ASSERT_NE(root, nullptr);
        // Built, not drawn: the two images drawn at rest are on their way, each once
        // (frame.png is named twice); the hover image waits for a first paint.
        EXPECT_EQ(duiimg::PrefetchedImageCount(), 2u);
        EXPECT_EQ(duiimg::SharedImageCount(), 0u);
    }
    LayoutWindow w(L"pre.xml");
    ASSERT_TRUE(w.Open()) << w.pm().GetLastErrorText().GetData();
    // The first paint took the two, and the hover image is on its way now.
    EXPECT_EQ(duiimg::SharedImageCount(), 2u);
    EXPECT_EQ(duiimg::PrefetchedImageCount(), 1u);
    duiimg::PreparedImage* hot = w.pm().GetPreparedImage(L"solid.png");
    ASSERT_NE(hot, nullptr);
    EXPECT_EQ(hot->Width(), 30);
    EXPECT_TRUE(hot->Buffer().Opaque());
    EXPECT_EQ(duiimg::PrefetchedImageCount(), 0u);
    // What was decoded ahead draws as the drawing done without it.
    EXPECT_EQ(LargestChannelDifference(CaptureClient(w.GetHWND()), RenderTree(w.pm(), 200, 100)), 0);
}

TEST_F(PreparedDrawing, AnArchiveSessionReadsTheArchiveOnce) {
    std::string bytes;
    std::wstring error;
    {
        const duires::ArchiveSession session;
        ASSERT_TRUE(duires::LoadResource(L"grad.png", bytes, error)) << error;
        ASSERT_TRUE(DeleteFileW((dir_ / L"draw.ui").c_str()));
        EXPECT_TRUE(duires::LoadResource(L"frame.png", bytes, error)) << error;
        EXPECT_EQ(bytes, FramePng());
    }
    // Not cached: once the session is over the archive is read again, and it is gone.
    EXPECT_FALSE(duires::LoadResource(L"frame.png", bytes, error));
    EXPECT_NE(error.find(L"draw.ui"), std::wstring::npos);
}

class GdiplusUser : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }
    static ULONG_PTR token_;
};
ULONG_PTR GdiplusUser::token_ = 0;

TEST_F(GdiplusUser, DecodingPremultipliesAndTellsOpaqueImagesApart) {
    auto translucent = duiimg::DecodeToPremultiplied(testpng::Encode(2, 1, [](int x, int) {
        return x == 0 ? testpng::Rgba{255, 0, 0, 128} : testpng::Rgba{0, 0, 0, 0};
    }));
    ASSERT_NE(translucent, nullptr);
    std::uint32_t half = translucent->Row(0)[0];
    EXPECT_EQ(half >> 24, 128u);
    EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 128, 1);  // red scaled by its alpha
    EXPECT_EQ(translucent->Row(0)[1], 0u);
    EXPECT_FALSE(translucent->Opaque());

    auto opaque = duiimg::DecodeToPremultiplied(CheckerPng());
    ASSERT_NE(opaque, nullptr);
    EXPECT_TRUE(opaque->Opaque());
    EXPECT_EQ(opaque->Width(), 30);

    EXPECT_EQ(duiimg::DecodeToPremultiplied("not an image at all"), nullptr);
    EXPECT_EQ(duiimg::DecodeToPremultiplied(""), nullptr);
}

TEST_F(GdiplusUser, PrefetchedImagesAreTheDecodedOnesWhoeverDecodesThem) {
    duiimg::ImagePrefetch prefetch;
    const std::string frame = FramePng();
    // Many in the queue, taken from the back: the taker decodes those the worker has
    // not reached while the worker goes on from the front.
    constexpr int kImages = 40;
    for (int i = 0; i < kImages; ++i) prefetch.Add(L"img" + std::to_wstring(i), GradientPng(10 + i, 8));
    prefetch.Add(L"img0", frame);  // already queued: the first bytes stay
    prefetch.Add(L"junk", "not an image at all");
    EXPECT_EQ(prefetch.QueuedCount(), static_cast<std::size_t>(kImages + 1));
    for (int i = kImages - 1; i >= 0; --i) {
        std::unique_ptr<duiimg::PixelBuffer> pixels;
        ASSERT_EQ(prefetch.Take(L"img" + std::to_wstring(i), pixels), duiimg::ImagePrefetch::Taken::Decoded) << i;
        auto direct = duiimg::DecodeToPremultiplied(GradientPng(10 + i, 8));
        ASSERT_EQ(pixels->Width(), direct->Width());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < direct->Width(); ++x) ASSERT_EQ(pixels->Row(y)[x], direct->Row(y)[x]) << i;
    }
    std::unique_ptr<duiimg::PixelBuffer> pixels;
    EXPECT_EQ(prefetch.Take(L"img3", pixels), duiimg::ImagePrefetch::Taken::NotQueued);  // taken once only
    EXPECT_EQ(prefetch.Take(L"junk", pixels), duiimg::ImagePrefetch::Taken::Undecodable);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_EQ(prefetch.QueuedCount(), 0u);

    // Cleared with work left; what is added afterwards is decoded by a new worker.
    for (int i = 0; i < 10; ++i) prefetch.Add(L"again" + std::to_wstring(i), frame);
    prefetch.Clear();
    EXPECT_EQ(prefetch.QueuedCount(), 0u);
    EXPECT_EQ(prefetch.Take(L"again0", pixels), duiimg::ImagePrefetch::Taken::NotQueued);
    prefetch.Add(L"after", frame);
    ASSERT_EQ(prefetch.Take(L"after", pixels), duiimg::ImagePrefetch::Taken::Decoded);
    EXPECT_EQ(pixels->Width(), 24);
}

TEST_F(PreparedDrawing, AnUndecodablePrefetchedImageIsReportedWhenDrawn) {
    ASSERT_TRUE(testing_support::WriteBytes(dir_ / L"draw.ui",
                                            testzip::Build({{"grad.png", "this is no image", false}})));
    CPaintManagerUI pm;
    pm.PrefetchImages({L"grad.png", L"absent.png"}, {});
    EXPECT_EQ(duiimg::PrefetchedImageCount(), 1u);  // a missing one is reported when drawn
    EXPECT_EQ(pm.GetPreparedImage(L"grad.png"), nullptr);
    EXPECT_NE(std::wstring(pm.GetLastErrorText()).find(L"cannot be decoded"), std::wstring::npos);
    EXPECT_EQ(pm.GetPreparedImage(L"absent.png"), nullptr);
    EXPECT_NE(std::wstring(pm.GetLastErrorText()).find(L"absent.png"), std::wstring::npos);
}

// The pixels as GDI+ itself draws the decoded image onto premultiplied pixels.
std::vector<std::uint32_t> DrawnByGdiplus(const std::string& png) {
    const win32::unique_com<IStream> stream(
        SHCreateMemStream(reinterpret_cast<const BYTE*>(png.data()), static_cast<UINT>(png.size())));
    std::vector<std::uint32_t> pixels;
    {
        std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
        int w = static_cast<int>(decoded->GetWidth()), h = static_cast<int>(decoded->GetHeight());
        Gdiplus::Bitmap target(w, h, PixelFormat32bppPARGB);
        {
            Gdiplus::Graphics g(&target);
            g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
            g.DrawImage(decoded.get(), 0, 0, w, h);
        }
        Gdiplus::Rect all(0, 0, w, h);
        Gdiplus::BitmapData data{};
        target.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data);
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
            pixels.insert(pixels.end(), row, row + w);
        }
        target.UnlockBits(&data);
    }
    return pixels;
}

TEST_F(GdiplusUser, DecodedPixelsAreThoseGdiplusDrawsFromTheImage) {
    for (const std::string& png : {GradientPng(40, 30), FramePng(), CheckerPng()}) {
        auto decoded = duiimg::DecodeToPremultiplied(png);
        ASSERT_NE(decoded, nullptr);
        std::vector<std::uint32_t> drawn = DrawnByGdiplus(png);
        ASSERT_EQ(drawn.size(), static_cast<std::size_t>(decoded->Width() * decoded->Height()));
        int largest = 0;
        for (int y = 0; y < decoded->Height(); ++y)
            for (int x = 0; x < decoded->Width(); ++x)
                for (int shift = 0; shift < 32; shift += 8)
                    largest = std::max(largest, std::abs(static_cast<int>((decoded->Row(y)[x] >> shift) & 0xFF) -
                                                         static_cast<int>((drawn[y * decoded->Width() + x] >> shift) & 0xFF)));
        EXPECT_LE(largest, kRoundingTolerance);
    }
}

TEST_F(GdiplusUser, ScaledFormsAreMadeOncePerSizeAndTheLeastRecentGoesFirst) {
    duiimg::PreparedImage image(duiimg::DecodeToPremultiplied(GradientPng(40, 30)));
    int renders = 0;
    auto render = [&renders](Gdiplus::Graphics&) { ++renders; };
    auto key = [](int width) {
        duiimg::ScaleKey k;
        k.sw = 40;
        k.sh = 30;
        k.dw = width;
        k.dh = 10;
        return k;
    };
    const duiimg::PixelBuffer* first = image.Scaled(key(100), render);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 100);
    EXPECT_EQ(image.Scaled(key(100), render), first);
    EXPECT_EQ(renders, 1);

    const int kept = static_cast<int>(duiimg::PreparedImage::kScaledFormsKept);
    for (int i = 1; i < kept; ++i) image.Scaled(key(100 + i), render);
    image.Scaled(key(100), render);         // drawn again: now the most recent
    image.Scaled(key(100 + kept), render);  // one too many: the oldest other form goes
    EXPECT_EQ(image.ScaledFormCount(), duiimg::PreparedImage::kScaledFormsKept);
    renders = 0;
    image.Scaled(key(100), render);
    EXPECT_EQ(renders, 0);
    image.Scaled(key(101), render);
    EXPECT_EQ(renders, 1);

    duiimg::ScaleKey empty = key(0);
    EXPECT_EQ(image.Scaled(empty, render), nullptr);
}

TEST_F(GdiplusUser, ShapeFormsAreKeptPerLookButNotForHugeShapes) {
    duipaint::ShapeForms forms;
    int renders = 0;
    auto render = [&renders](Gdiplus::Graphics&) { ++renders; };
    duipaint::ShapeKey panel{duipaint::ShapeKey::Kind::Fill, 200, 80, 6, 0, 0xB40B161E};
    const duiimg::PixelBuffer* form = forms.Get(panel, 1, render);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Width(), 202);  // with its margin
    EXPECT_EQ(forms.Get(panel, 1, render), form);
    duipaint::ShapeKey border = panel;
    border.kind = duipaint::ShapeKey::Kind::Border;
    border.lineWidth = 1;
    EXPECT_NE(forms.Get(border, 2, render), form);
    EXPECT_EQ(renders, 2);
    duipaint::ShapeKey huge{duipaint::ShapeKey::Kind::Fill, 4000, 3000, 0, 0, 0x80FFFFFF};
    EXPECT_EQ(forms.Get(huge, 1, render), nullptr);
    EXPECT_EQ(forms.Count(), 2u);
}

// Panels and borders of one look at several sizes, over a background with colour
// in it, drawn from kept forms or directly by GDI+, optionally inside a clip.
Frame Panels(duipaint::ShapeForms* forms, const RECT* clip = nullptr) {
    return DrawIntoMemory(320, 200, [&](HDC dc) {
        Gdiplus::Graphics g(dc);
        Gdiplus::LinearGradientBrush background(Gdiplus::Point(0, 0), Gdiplus::Point(320, 200),
                                                Gdiplus::Color(255, 200, 40, 90), Gdiplus::Color(255, 20, 160, 220));
        g.FillRectangle(&background, 0, 0, 320, 200);
        if (clip) g.SetClip(Gdiplus::Rect(clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top));
        for (const RECT& rc : {RECT{10, 10, 300, 120}, RECT{20, 130, 140, 150}, RECT{150, 130, 310, 190}}) {
            duirender::FillRoundRect(g, rc, 6, 0xB40B161E, forms);
            duirender::DrawBorder(g, rc, 1, 6, 0x408A6B3A, forms);
        }
        duirender::DrawBorder(g, RECT{40, 40, 200, 100}, 3, 0, 0xC0F3D58E, forms);  // square corners, thick pen
        g.Flush(Gdiplus::FlushIntentionSync);
    });
}

TEST_F(GdiplusUser, LargeShapesComeFromSmallFormsAndLookLikeTheirDirectDrawing) {
    duipaint::ShapeForms forms;
    const Frame kept = Panels(&forms);
    const Frame direct = Panels(nullptr);
    EXPECT_LE(LargestChannelDifference(kept, direct), kRoundingTolerance);
    // One small form per look, whatever the sizes: the rounded fill, the rounded
    // border and the square one.
    EXPECT_EQ(forms.Count(), 3u);
    EXPECT_EQ(LargestChannelDifference(Panels(&forms), kept), 0);  // drawn again from the same forms

    // Inside a clip only the clipped part changes, as with the direct drawing.
    const RECT clip{100, 90, 170, 160};
    const Frame clipped = Panels(&forms, &clip);
    EXPECT_LE(LargestChannelDifference(clipped, Panels(nullptr, &clip)), kRoundingTolerance);
    const Frame plain = DrawIntoMemory(320, 200, [](HDC dc) {
        Gdiplus::Graphics g(dc);
        Gdiplus::LinearGradientBrush background(Gdiplus::Point(0, 0), Gdiplus::Point(320, 200),
                                                Gdiplus::Color(255, 200, 40, 90), Gdiplus::Color(255, 20, 160, 220));
        g.FillRectangle(&background, 0, 0, 320, 200);
    });
    EXPECT_EQ(DifferingPixels(clipped, plain, RECT{0, 0, 320, clip.top}), 0);
    EXPECT_EQ(DifferingPixels(clipped, plain, RECT{0, clip.bottom, 320, 200}), 0);
    EXPECT_GT(DifferingPixels(clipped, plain, clip), 0);
}

TEST(RepaintPlan, OpaqueFillsStayInsideTheBufferAndTheRectangle) {
    constexpr int kWidth = 6, kHeight = 4;
    std::vector<std::uint32_t> pixels(kWidth * kHeight, 0x12345678u);
    // Half outside the buffer on the left and bottom; the colour's own alpha is ignored.
    duipaint::FillOpaque(pixels.data(), kWidth, kHeight, RECT{-3, 2, 2, 9}, 0x00AABBCCu);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(pixels[y * kWidth + x], (x < 2 && y >= 2) ? 0xFFAABBCCu : 0x12345678u) << x << "," << y;
    // Empty, inverted or wholly outside: nothing is written.
    const std::vector<std::uint32_t> before = pixels;
    duipaint::FillOpaque(pixels.data(), kWidth, kHeight, RECT{3, 1, 3, 4}, 0xFF000000u);
    duipaint::FillOpaque(pixels.data(), kWidth, kHeight, RECT{5, 3, 2, 1}, 0xFF000000u);
    duipaint::FillOpaque(pixels.data(), kWidth, kHeight, RECT{6, 0, 9, 4}, 0xFF000000u);
    duipaint::FillOpaque(nullptr, kWidth, kHeight, RECT{0, 0, 6, 4}, 0xFF000000u);
    EXPECT_EQ(pixels, before);
}

TEST(RepaintPlan, RedrawsOnlyWhatChangedInsideTheClientArea) {
    const RECT client{0, 0, 100, 80};
    // No valid frame yet: everything.
    auto all = duipaint::RectsToRedraw(true, client, {RECT{5, 5, 10, 10}});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(EqualRect(&all[0], &client));
    // Nothing changed: nothing is drawn (the kept frame is copied).
    EXPECT_TRUE(duipaint::RectsToRedraw(false, client, {}).empty());
    // Changes are clipped to the client area; those outside or empty vanish.
    auto parts = duipaint::RectsToRedraw(false, client,
                                         {RECT{90, 70, 120, 90}, RECT{200, 0, 210, 10}, RECT{10, 10, 10, 30}});
    ASSERT_EQ(parts.size(), 1u);
    RECT clipped{90, 70, 100, 80};
    EXPECT_TRUE(EqualRect(&parts[0], &clipped));
    // Too many parts become their bounding box.
    std::vector<RECT> many;
    for (int i = 0; i < 10; ++i) many.push_back(RECT{i * 5, i * 2, i * 5 + 3, i * 2 + 3});
    auto box = duipaint::RectsToRedraw(false, client, many, 8);
    ASSERT_EQ(box.size(), 1u);
    RECT expected{0, 0, 48, 21};
    EXPECT_TRUE(EqualRect(&box[0], &expected));
    EXPECT_EQ(duipaint::RectsToRedraw(false, client, std::vector<RECT>(many.begin(), many.begin() + 8), 8).size(), 8u);
    // A window without a client area draws nothing.
    EXPECT_TRUE(duipaint::RectsToRedraw(true, RECT{0, 0, 0, 0}, {}).empty());
}

}  // namespace
