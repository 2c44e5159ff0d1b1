#include "bench/ui_paint_breakdown.h"

#include <cstdio>
#include <cstdlib>
#include <gdiplus.h>
#include <algorithm>
#include <set>

#include "common/text/code_page.h"
#include "common/win32/gdi_handle.h"
#include "duilib/duilib.h"
#include "duilib/image_store.h"
#include "duilib/prepared_image.h"
#include "duilib/resources.h"

namespace uibench {
namespace {

struct KindTimes {
    double bkColor = 0, bkImage = 0, status = 0, text = 0, border = 0;
};

template <typename F>
double Timed(F&& f) {
    double start = NowMs();
    f();
    return NowMs() - start;
}

// Paints the tree in the order the controls paint themselves, timing each kind.
void Walk(CControlUI* c, Gdiplus::Graphics& g, KindTimes& t) {
    if (!c || !c->IsVisible()) return;
    t.bkColor += Timed([&] { c->PaintBkColor(g); });
    t.bkImage += Timed([&] { c->PaintBkImage(g); });
    t.status += Timed([&] { c->PaintStatusImage(g); });
    t.text += Timed([&] { c->PaintText(g); });
    t.border += Timed([&] { c->PaintBorder(g); });
    if (auto* container = dynamic_cast<CContainerUI*>(c))
        for (int i = 0; i < container->GetCount(); ++i) Walk(container->GetItemAt(i), g, t);
}

// The tree drawn as one full frame into memory.
std::vector<std::uint32_t> RenderFrame(CPaintManagerUI& pm, int width, int height) {
    void* bits = nullptr;
    const win32::unique_hbitmap frame = win32::make_top_down_dib(nullptr, width, height, &bits);
    const win32::unique_memory_dc dc(CreateCompatibleDC(nullptr));
    if (!frame || !dc || !bits) return {};
    {
        const win32::select_object_guard selected(dc.get(), frame.get());
        Gdiplus::Graphics g(dc.get());
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
        g.FillRectangle(&black, 0, 0, width, height);
        g.SetClip(Gdiplus::Rect(0, 0, width, height));
        RECT all{0, 0, width, height};
        if (pm.GetRoot()) pm.GetRoot()->DoPaint(g, all);
        g.Flush(Gdiplus::FlushIntentionSync);
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return std::vector<std::uint32_t>(pixels, pixels + static_cast<std::size_t>(width) * height);
}

}  // namespace

constexpr int kRoundingTolerance = 3;

PixelCheck ComparePreparedWithReference(CPaintManagerUI& pm, int width, int height) {
    PixelCheck check;
    std::vector<std::uint32_t> prepared = RenderFrame(pm, width, height);
    pm.SetUsePreparedImages(false);
    std::vector<std::uint32_t> reference = RenderFrame(pm, width, height);
    pm.SetUsePreparedImages(true);
    if (prepared.empty() || prepared.size() != reference.size()) return check;
    check.compared = true;
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        int largest = 0;
        for (int shift = 0; shift < 24; shift += 8)
            largest = std::max(largest, std::abs(static_cast<int>((prepared[i] >> shift) & 0xFF) -
                                                 static_cast<int>((reference[i] >> shift) & 0xFF)));
        if (largest) ++check.differingPixels;
        if (largest > kRoundingTolerance) ++check.beyondTolerance;
        check.largestChannelDifference = std::max(check.largestChannelDifference, largest);
    }
    return check;
}

double NowMs() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<std::wstring> ImageNamesIn(const std::string& layoutXml) {
    std::wstring text = text::CodePageToWide(layoutXml, CP_UTF8);
    std::set<std::wstring> names;
    for (const wchar_t* ext : {L".png", L".jpg", L".bmp"}) {
        for (std::size_t at = text.find(ext); at != std::wstring::npos; at = text.find(ext, at + 1)) {
            std::size_t begin = text.find_last_of(L"\"'=", at);
            if (begin == std::wstring::npos) continue;
            names.insert(text.substr(begin + 1, at + 4 - begin - 1));
        }
    }
    return {names.begin(), names.end()};
}

PaintBreakdown MeasurePaint(CPaintManagerUI& pm, const std::string& layoutXml, int width, int height) {
    PaintBreakdown b;
    std::vector<std::wstring> names = ImageNamesIn(layoutXml);
    b.imageNames = static_cast<int>(names.size());
    b.archiveReadMs = Timed([&] {
        for (const auto& name : names) {
            std::string bytes;
            std::wstring error;
            duires::LoadResource(name, bytes, error);
        }
    });
    {
        // The dearest decodes, each alone.
        std::vector<std::pair<double, std::wstring>> costs;
        for (const auto& name : names) {
            std::string bytes;
            std::wstring error;
            if (!duires::LoadResource(name, bytes, error)) continue;
            costs.emplace_back(Timed([&] { duiimg::DecodeToPremultiplied(bytes); }), name);
        }
        std::sort(costs.rbegin(), costs.rend());
        double total = 0;
        for (const auto& c : costs) total += c.first;
        b.decodeOnlyMs = total;
        for (std::size_t i = 0; i < costs.size() && i < 4; ++i) b.dearestDecodes.push_back(costs[i]);
    }
    duiimg::ForgetSharedImages();  // the main window decoded them already
    b.coldImagesMs = Timed([&] {
        const duires::ArchiveSession archiveRead;
        for (const auto& name : names) pm.GetImage(name.c_str());
    });
    b.coldFontsMs = Timed([&] {
        for (int i = 0; i < 8; ++i) pm.GetFont(i);
    });

    const win32::unique_screen_dc screen(GetDC(nullptr));
    void* bits = nullptr;
    const win32::unique_hbitmap frame = win32::make_top_down_dib(screen.get(), width, height, &bits);
    const win32::unique_memory_dc dc(CreateCompatibleDC(screen.get()));
    if (!frame || !dc) return b;
    const win32::select_object_guard selected(dc.get(), frame.get());
    Gdiplus::Graphics g(dc.get());
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    g.SetClip(Gdiplus::Rect(0, 0, width, height));
    KindTimes first;
    b.firstWalkMs = Timed([&] { Walk(pm.GetRoot(), g, first); });
    const int frames = 10;
    KindTimes steady;
    for (int i = 0; i < frames; ++i) Walk(pm.GetRoot(), g, steady);
    b.bkColorMs = steady.bkColor / frames;
    b.bkImageMs = steady.bkImage / frames;
    b.statusImageMs = steady.status / frames;
    b.textMs = steady.text / frames;
    b.borderMs = steady.border / frames;
    b.steadyWalkMs = b.bkColorMs + b.bkImageMs + b.statusImageMs + b.textMs + b.borderMs;
    return b;
}

void PrintBreakdown(const PaintBreakdown& b) {
    std::printf("breakdown, a second window of the same layout:\n");
    std::printf("  images named by the layout:       %d\n", b.imageNames);
    std::printf("  archive read + inflate, cold:     %.2f ms\n", b.archiveReadMs);
    std::printf("  first GetImage of each:           %.2f ms (read + decode)\n", b.coldImagesMs);
    std::printf("  decoding alone, all of them:      %.2f ms\n", b.decodeOnlyMs);
    for (const auto& [ms, name] : b.dearestDecodes) std::printf("    %-30ls %.2f ms\n", name.c_str(), ms);
    std::printf("  first GetFont of each:            %.2f ms\n", b.coldFontsMs);
    std::printf("  first frame of the tree:          %.2f ms\n", b.firstWalkMs);
    std::printf("  steady frame of the tree:         %.2f ms\n", b.steadyWalkMs);
    std::printf("    background colours:             %.2f ms\n", b.bkColorMs);
    std::printf("    background images:              %.2f ms\n", b.bkImageMs);
    std::printf("    state and fore images:          %.2f ms\n", b.statusImageMs);
    std::printf("    text:                           %.2f ms\n", b.textMs);
    std::printf("    borders:                        %.2f ms\n", b.borderMs);
}

}  // namespace uibench
