// Main window drawing cost: building "skin.xml" from the skin archive, the first
// paint, the repaint per frame while the mouse moves over buttons at 1024 x 600, a
// repaint of the whole window asked for from outside (uncovered, restored), and a
// redraw of every control.
// Prints milliseconds and, as the reference measured in the same run, the cost of a
// full-window GDI copy of the same size, so results compare across machines.
#include <windows.h>

#include <cstdio>

#include "bench/ui_paint_breakdown.h"
#include "common/win32/gdi_handle.h"
#include "duilib/duilib.h"
#include "duilib/resources.h"
#include "launcher/ui/dialog_builder_callback.h"

namespace {

double Now() { return uibench::NowMs(); }

class BenchWindow : public CWindowWnd {
public:
    CPaintManagerUI pm;
    double buildMs = 0;

protected:
    const wchar_t* GetWindowClassName() const override { return L"VelmoraBenchWnd"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) {
            pm.Init(m_hWnd);
            double start = Now();
            CDialogBuilder builder;
            CDialogBuilderCallback callback;
            CControlUI* root = builder.Create(L"skin.xml", &callback, &pm);
            if (!root) return -1;
            pm.AttachDialog(root);
            buildMs = Now() - start;
            return 0;
        }
        if (msg == WM_NCCALCSIZE) return 0;
        LRESULT result = 0;
        if (pm.MessageHandler(msg, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
};

void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int main() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourcePath((CPaintManagerUI::GetInstancePath() + L"skin").GetData());
    CPaintManagerUI::SetResourceZip(L"Wakfu.ui", false);
    BenchWindow w;
    double createStart = Now();
    HWND made = w.Create(nullptr, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1024, 600);
    double createMs = Now() - createStart;
    if (!made) {
        std::printf("cannot create the main layout: %ls\n", w.pm.GetLastErrorText().GetData());
        return 1;
    }
    HWND hwnd = w.GetHWND();
    double start = Now();
    ::ShowWindow(hwnd, SW_SHOW);
    double showMs = Now() - start;
    start = Now();
    UpdateWindow(hwnd);
    double firstPaint = Now() - start;
    Drain();

    const wchar_t* names[] = {L"btnStartGame", L"首页", L"详细设置", L"setting", L"close", L"feedback"};
    POINT points[6]{};
    for (int i = 0; i < 6; ++i) {
        CControlUI* c = w.pm.FindControl(names[i]);
        RECT rc = c ? c->GetPos() : RECT{};
        points[i] = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    const int frames = 300;
    start = Now();
    for (int i = 0; i < frames; ++i) {
        POINT p = points[i % 6];
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        UpdateWindow(hwnd);
    }
    double hoverMs = (Now() - start) / frames;

    const int fullFrames = 60;
    start = Now();
    for (int i = 0; i < fullFrames; ++i) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    }
    double fullMs = (Now() - start) / fullFrames;

    // Every control drawn again (all of them changed, as at a page switch).
    start = Now();
    for (int i = 0; i < fullFrames; ++i) {
        w.pm.InvalidateAll();
        UpdateWindow(hwnd);
    }
    double redrawAllMs = (Now() - start) / fullFrames;

    // Reference: copying a 1024 x 600 frame to the window with plain GDI.
    double referenceMs = 0;
    {
        const win32::unique_window_dc dc(hwnd);
        const win32::unique_memory_dc mem(CreateCompatibleDC(dc.get()));
        const win32::unique_hbitmap bmp(CreateCompatibleBitmap(dc.get(), 1024, 600));
        const win32::select_object_guard selected(mem.get(), bmp.get());
        start = Now();
        for (int i = 0; i < fullFrames; ++i) {
            PatBlt(mem.get(), 0, 0, 1024, 600, (i & 1) ? WHITENESS : BLACKNESS);
            BitBlt(dc.get(), 0, 0, 1024, 600, mem.get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
        referenceMs = (Now() - start) / fullFrames;
    }

    std::printf("layout build from archive: %.2f ms\n", w.buildMs);
    std::printf("window creation (total):   %.2f ms\n", createMs);
    std::printf("show window:               %.2f ms\n", showMs);
    std::printf("first paint ms = %.2f (target <= 150)\n", firstPaint);
    std::printf("full repaint ms per frame = %.3f (target <= 16, reference GDI copy %.3f)\n", fullMs, referenceMs);
    std::printf("hover repaint ms = %.3f (target <= 2)\n", hoverMs);
    std::printf("full redraw of every control ms per frame = %.3f (reference GDI copy %.3f)\n", redrawAllMs,
                referenceMs);
    std::printf("ratio hover/reference:     %.2f\n", referenceMs > 0 ? hoverMs / referenceMs : 0.0);
    std::printf("ratio full/reference:      %.2f\n", referenceMs > 0 ? fullMs / referenceMs : 0.0);
    std::printf("ratio redraw-all/reference: %.2f\n", referenceMs > 0 ? redrawAllMs / referenceMs : 0.0);

    // A second, hidden window of the same layout, taken apart step by step.
    BenchWindow second;
    if (second.Create(nullptr, L"bench2", WS_POPUP, 0, 0, 0, 1024, 600)) {
        second.pm.UpdateLayout();
        std::string layout;
        std::wstring error;
        duires::LoadResource(L"skin.xml", layout, error);
        uibench::PrintBreakdown(uibench::MeasurePaint(second.pm, layout, 1024, 600));
        uibench::PixelCheck pixels = uibench::ComparePreparedWithReference(second.pm, 1024, 600);
        if (pixels.compared)
            std::printf("pixels prepared vs reference drawing: %ld differ, %ld by more than 3 per channel "
                        "(largest %d)\n",
                        pixels.differingPixels, pixels.beyondTolerance, pixels.largestChannelDifference);
        else
            std::printf("pixels prepared vs reference drawing: not compared (no frame)\n");
        DestroyWindow(second.GetHWND());
    }
    return 0;
}
