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

namespace duiimg {
class PreparedImage;
}

namespace duipaint {
class ShapeForms;
}

namespace duirender {

void FillRect(Gdiplus::Graphics& g, const RECT& rc, DWORD argb);
// With `forms`, a translucent or rounded shape is drawn once per size and colour into
// a kept form and copied 1:1 from then on; without, GDI+ draws it every time.
void FillRoundRect(Gdiplus::Graphics& g, const RECT& rc, int radius, DWORD argb, duipaint::ShapeForms* forms = nullptr);
void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, int width, int radius, DWORD argb,
                duipaint::ShapeForms* forms = nullptr);

// Draws `image` into `rc` as `spec` describes: the source part (whole image when
// none), stretched with the corner margins kept unscaled, optionally into a
// destination inside `rc`, with the fade as opacity. With `usePrepared` the pixels
// are copied with GDI (AlphaBlend, or BitBlt for opaque images), and a scaled or faded
// image is resampled once per size into a form kept with the image; without, GDI+
// draws and resamples the image at every frame (the reference drawing).
void DrawImage(Gdiplus::Graphics& g, duiimg::PreparedImage* image, const RECT& rc, const duiattr::ImageSpec& spec,
               bool usePrepared = true);

// Draws `text` in `rc` with DT_-style alignment flags (UITEXT_*).
void DrawText(Gdiplus::Graphics& g, Gdiplus::Font* font, const RECT& rc, const std::wstring& text, DWORD argb,
              UINT style);

}  // namespace duirender
