// Where the main window's drawing time goes: reading images out of the skin archive,
// decoding them, making the fonts, and, per kind of drawing (background colours,
// images, text, borders), the cost of one full frame of the control tree.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CPaintManagerUI;

namespace uibench {

double NowMs();

struct PaintBreakdown {
    int imageNames = 0;         // distinct image files the layout names
    double archiveReadMs = 0;   // reading and inflating them from the archive, cold
    double coldImagesMs = 0;    // the paint manager's first GetImage of each (read + decode)
    double decodeOnlyMs = 0;    // decoding alone, bytes already read
    std::vector<std::pair<double, std::wstring>> dearestDecodes;
    double coldFontsMs = 0;     // the first GetFont of each layout font
    double firstWalkMs = 0;     // one full frame of the tree, images and fonts already loaded
    double bkColorMs = 0, bkImageMs = 0, statusImageMs = 0, textMs = 0, borderMs = 0;  // steady frame, by kind
    double steadyWalkMs = 0;    // sum of the kinds above
};

// Image file names (".png", ".jpg", ".bmp") named in a layout's text, each once.
std::vector<std::wstring> ImageNamesIn(const std::string& layoutXml);

// Measures `pm` (a laid-out window that has not painted yet) with a frame of
// `width` x `height`. `layoutXml` is the layout the window was built from.
PaintBreakdown MeasurePaint(CPaintManagerUI& pm, const std::string& layoutXml, int width, int height);

void PrintBreakdown(const PaintBreakdown& b);

struct PixelCheck {
    bool compared = false;
    int largestChannelDifference = 0;
    long differingPixels = 0;
    long beyondTolerance = 0;  // by more than premultiplication and blending round
};

// One full frame drawn from the prepared images against the same frame drawn by GDI+
// from the decoded images (the reference drawing).
PixelCheck ComparePreparedWithReference(CPaintManagerUI& pm, int width, int height);

}  // namespace uibench
