// Drawing primitives over GDI+, used by the controls' paint functions. All take
// the frame's Graphics (which draws into the paint manager's back buffer) and
// rectangles in client coordinates.
#pragma once

#include <windows.h>

#include <string>

#include "duilib/attributes.h"

namespace Gdiplus {
class Graphics;
class Bitmap;
class Font;
}  // namespace Gdiplus

namespace duirender {

void FillRect(Gdiplus::Graphics& g, const RECT& rc, DWORD argb);
void FillRoundRect(Gdiplus::Graphics& g, const RECT& rc, int radius, DWORD argb);
void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, int width, int radius, DWORD argb);

// Draws `image` into `rc` as `spec` describes: the source part (whole image when
// none), stretched with the corner margins kept unscaled, optionally into a
// destination inside `rc`, with the fade as opacity.
void DrawImage(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, const RECT& rc, const duiattr::ImageSpec& spec);

// Draws `text` in `rc` with DT_-style alignment flags (UITEXT_*).
void DrawText(Gdiplus::Graphics& g, Gdiplus::Font* font, const RECT& rc, const std::wstring& text, DWORD argb,
              UINT style);

}  // namespace duirender
