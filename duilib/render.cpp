#include "duilib/render.h"

#include <algorithm>
#include <gdiplus.h>

#include "duilib/prepared_image.h"
#include "duilib/shape_forms.h"

namespace duirender {
namespace {

Gdiplus::Color ToColor(DWORD argb) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)); }

void AddRoundRect(Gdiplus::GraphicsPath& path, const Gdiplus::RectF& r, float radius) {
    float d = radius * 2;
    path.AddArc(r.X, r.Y, d, d, 180, 90);
    path.AddArc(r.X + r.Width - d, r.Y, d, d, 270, 90);
    path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0, 90);
    path.AddArc(r.X, r.Y + r.Height - d, d, d, 90, 90);
    path.CloseFigure();
}

// In ints, so that GDI+ calls taking its fields pick the integer overloads.
struct Part {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The part of the rectangle (dx, dy, dw, dh) inside the frame's clip; false when
// none of it is.
bool VisiblePart(Gdiplus::Graphics& g, int dx, int dy, int dw, int dh, Part* part) {
    Gdiplus::Rect clip;
    g.GetClipBounds(&clip);
    part->left = std::max(dx, static_cast<int>(clip.X));
    part->top = std::max(dy, static_cast<int>(clip.Y));
    part->right = std::min(dx + dw, static_cast<int>(clip.X + clip.Width));
    part->bottom = std::min(dy + dh, static_cast<int>(clip.Y + clip.Height));
    return part->right > part->left && part->bottom > part->top;
}

// One stretched piece of a nine-part image.
void Piece(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
           Gdiplus::ImageAttributes* attrs) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh && !attrs) {
        // Unscaled: copy only the part inside the clip, which is what a hover repaint
        // of a large background needs.
        Part part;
        if (!VisiblePart(g, dx, dy, dw, dh, &part)) return;
        g.DrawImage(image, part.left, part.top, sx + (part.left - dx), sy + (part.top - dy), part.right - part.left,
                    part.bottom - part.top, Gdiplus::UnitPixel);
        return;
    }
    g.DrawImage(image, Gdiplus::Rect(dx, dy, dw, dh), sx, sy, sw, sh, Gdiplus::UnitPixel, attrs);
}

// Copies prepared pixels 1:1 with GDI, limited to the frame's clip.
void BlitPiece(Gdiplus::Graphics& g, const duiimg::PixelBuffer& pixels, int dx, int dy, int dw, int dh, int sx, int sy) {
    Part part;
    if (!VisiblePart(g, dx, dy, dw, dh, &part)) return;
    const int left = part.left, top = part.top, right = part.right, bottom = part.bottom;
    bool drawn = false;
    if (HDC dc = g.GetHDC()) {
        drawn = duiimg::BlitPixels(dc, pixels, left, top, right - left, bottom - top, sx + (left - dx), sy + (top - dy));
        g.ReleaseHDC(dc);
    }
    if (!drawn)
        g.DrawImage(pixels.Bitmap(), left, top, sx + (left - dx), sy + (top - dy), right - left, bottom - top,
                    Gdiplus::UnitPixel);
}

}  // namespace

void FillRect(Gdiplus::Graphics& g, const RECT& rc, DWORD argb) {
    if ((argb >> 24) == 0) return;
    Gdiplus::SolidBrush brush(ToColor(argb));
    g.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(rc.right - rc.left),
                    static_cast<INT>(rc.bottom - rc.top));
}

namespace {

void FillRoundRectNow(Gdiplus::Graphics& g, const RECT& rc, int radius, DWORD argb) {
    if (radius <= 0) return FillRect(g, rc, argb);
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, Gdiplus::RectF(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), radius);
    Gdiplus::SolidBrush brush(ToColor(argb));
    auto old = g.GetSmoothingMode();
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.FillPath(&brush, &path);
    g.SetSmoothingMode(old);
}

void DrawBorderNow(Gdiplus::Graphics& g, const RECT& rc, int width, int radius, DWORD argb) {
    Gdiplus::Pen pen(ToColor(argb), static_cast<Gdiplus::REAL>(width));
    float inset = width / 2.0f;
    Gdiplus::RectF r(rc.left + inset, rc.top + inset, rc.right - rc.left - width, rc.bottom - rc.top - width);
    if (radius <= 0) {
        g.DrawRectangle(&pen, r);
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, r, radius);
    auto old = g.GetSmoothingMode();
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.DrawPath(&pen, &path);
    g.SetSmoothingMode(old);
}

// Draws a shape from its kept form when there is one: the same drawing done once
// onto transparency composes to the same pixels. GDI+ may touch a pixel past the
// rectangle's right and bottom edges (a pen centred on them), so the form has a
// transparent margin of `margin` pixels all round.
//
// A shape larger than its corners comes from a small form of the same look, drawn as
// nine parts: its corners 1:1 and its middle row and column, which hold the pixels of
// the straight edges and of the inside, stretched. Its forms then do not depend on
// the panel's size: a few small ones serve every panel of a look, and a window's
// first frame does not rasterise each large panel and border once more.
template <typename Draw>
bool DrawShapeInNineParts(Gdiplus::Graphics& g, const RECT& rc, duipaint::ShapeForms* forms,
                          const duipaint::ShapeKey& key, int margin, Draw draw) {
    // Past this many pixels from its side a rounded rectangle's edge is straight.
    const int corner = key.radius + key.lineWidth + 2;
    const int core = 2 * corner + 1;
    if (!forms || key.width <= core || key.height <= core) return false;
    duipaint::ShapeKey small = key;
    small.width = small.height = core;
    const duiimg::PixelBuffer* form =
        forms->Get(small, margin, [&](Gdiplus::Graphics& fg) { draw(fg, RECT{margin, margin, margin + core, margin + core}); });
    if (!form) return false;
    Gdiplus::Rect clip;
    g.GetClipBounds(&clip);
    const RECT dest{rc.left - margin, rc.top - margin, rc.right + margin, rc.bottom + margin};
    const RECT visible{clip.X, clip.Y, clip.X + clip.Width, clip.Y + clip.Height};
    HDC dc = g.GetHDC();
    if (!dc) return false;
    // Drawn once either way: a piece GDI refused is not drawn again another way.
    duiimg::BlitNineParts(dc, *form, dest, margin + corner, visible);
    g.ReleaseHDC(dc);
    return true;
}

template <typename Draw>
void DrawShape(Gdiplus::Graphics& g, const RECT& rc, duipaint::ShapeForms* forms, const duipaint::ShapeKey& key,
               int margin, Draw draw) {
    if (DrawShapeInNineParts(g, rc, forms, key, margin, draw)) return;
    const duiimg::PixelBuffer* form = nullptr;
    if (forms && key.width > 0 && key.height > 0) {
        form = forms->Get(key, margin, [&](Gdiplus::Graphics& fg) {
            draw(fg, RECT{margin, margin, margin + key.width, margin + key.height});
        });
    }
    if (form) BlitPiece(g, *form, rc.left - margin, rc.top - margin, form->Width(), form->Height(), 0, 0);
    else draw(g, rc);
}

}  // namespace

void FillRoundRect(Gdiplus::Graphics& g, const RECT& rc, int radius, DWORD argb, duipaint::ShapeForms* forms) {
    if ((argb >> 24) == 0) return;
    // An opaque plain rectangle is one fast fill already.
    if (radius <= 0 && (argb >> 24) == 0xFF) return FillRect(g, rc, argb);
    duipaint::ShapeKey key{duipaint::ShapeKey::Kind::Fill, static_cast<int>(rc.right - rc.left),
                           static_cast<int>(rc.bottom - rc.top), radius, 0, argb};
    DrawShape(g, rc, forms, key, 1,
              [&](Gdiplus::Graphics& to, const RECT& at) { FillRoundRectNow(to, at, radius, argb); });
}

void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, int width, int radius, DWORD argb, duipaint::ShapeForms* forms) {
    if (width <= 0 || (argb >> 24) == 0) return;
    duipaint::ShapeKey key{duipaint::ShapeKey::Kind::Border, static_cast<int>(rc.right - rc.left),
                           static_cast<int>(rc.bottom - rc.top), radius, width, argb};
    DrawShape(g, rc, forms, key, width + 1,
              [&](Gdiplus::Graphics& to, const RECT& at) { DrawBorderNow(to, at, width, radius, argb); });
}

namespace {

// The part of the image and the destination `spec` picks inside `rcControl`.
struct Placement {
    int sx = 0, sy = 0, sw = 0, sh = 0;
    int dx = 0, dy = 0, dw = 0, dh = 0;
    bool Empty() const { return dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0; }
    bool Scaled() const { return dw != sw || dh != sh; }
};

Placement Place(int iw, int ih, const RECT& rcControl, const duiattr::ImageSpec& spec) {
    Placement p;
    p.sw = iw;
    p.sh = ih;
    if (spec.hasSource) {
        p.sx = std::clamp(spec.source.left, 0, iw);
        p.sy = std::clamp(spec.source.top, 0, ih);
        p.sw = std::clamp(spec.source.right, p.sx, iw) - p.sx;
        p.sh = std::clamp(spec.source.bottom, p.sy, ih) - p.sy;
    }
    RECT rc = rcControl;
    if (spec.hasDest) {
        rc = {rcControl.left + spec.dest.left, rcControl.top + spec.dest.top, rcControl.left + spec.dest.right,
              rcControl.top + spec.dest.bottom};
    }
    p.dx = rc.left;
    p.dy = rc.top;
    p.dw = rc.right - rc.left;
    p.dh = rc.bottom - rc.top;
    return p;
}

// Draws the placed image with GDI+ doing the scaling, the corners and the fade.
void DrawResampled(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, const Placement& p, const duiattr::ImageSpec& spec) {
    const int sx = p.sx, sy = p.sy, sw = p.sw, sh = p.sh, dx = p.dx, dy = p.dy, dw = p.dw, dh = p.dh;
    Gdiplus::ImageAttributes attrs;
    Gdiplus::ImageAttributes* useAttrs = nullptr;
    if (spec.fade < 255) {
        Gdiplus::ColorMatrix m = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, spec.fade / 255.0f, 0},
                                   {0, 0, 0, 0, 1}}};
        attrs.SetColorMatrix(&m);
        useAttrs = &attrs;
    }
    if (dw != sw || dh != sh) {
        // Edge pixels are repeated rather than blended with transparency when scaling.
        attrs.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        useAttrs = &attrs;
    }
    const auto& c = spec.corner;
    bool corners = c.left || c.top || c.right || c.bottom;
    if (!corners || (dw == sw && dh == sh)) {
        Piece(g, image, dx, dy, dw, dh, sx, sy, sw, sh, useAttrs);
        return;
    }
    // Nine-part images are frames of flat colour: nearest-neighbour stretching keeps
    // the seams between the parts from blending in the neighbouring border pixels.
    auto oldInterpolation = g.GetInterpolationMode();
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    int cl = std::min(c.left, sw), cr = std::min(c.right, sw - cl), ct = std::min(c.top, sh), cb = std::min(c.bottom, sh - ct);
    int mdw = dw - cl - cr, mdh = dh - ct - cb, msw = sw - cl - cr, msh = sh - ct - cb;
    // Corners unscaled, edges stretched along one axis, middle stretched.
    Piece(g, image, dx, dy, cl, ct, sx, sy, cl, ct, useAttrs);
    Piece(g, image, dx + cl, dy, mdw, ct, sx + cl, sy, msw, ct, useAttrs);
    Piece(g, image, dx + dw - cr, dy, cr, ct, sx + sw - cr, sy, cr, ct, useAttrs);
    Piece(g, image, dx, dy + ct, cl, mdh, sx, sy + ct, cl, msh, useAttrs);
    Piece(g, image, dx + cl, dy + ct, mdw, mdh, sx + cl, sy + ct, msw, msh, useAttrs);
    Piece(g, image, dx + dw - cr, dy + ct, cr, mdh, sx + sw - cr, sy + ct, cr, msh, useAttrs);
    Piece(g, image, dx, dy + dh - cb, cl, cb, sx, sy + sh - cb, cl, cb, useAttrs);
    Piece(g, image, dx + cl, dy + dh - cb, mdw, cb, sx + cl, sy + sh - cb, msw, cb, useAttrs);
    Piece(g, image, dx + dw - cr, dy + dh - cb, cr, cb, sx + sw - cr, sy + sh - cb, cr, cb, useAttrs);
    g.SetInterpolationMode(oldInterpolation);
}

}  // namespace

void DrawImage(Gdiplus::Graphics& g, duiimg::PreparedImage* image, const RECT& rcControl,
               const duiattr::ImageSpec& spec, bool usePrepared) {
    if (!image || !image->Pixels()) return;
    const Placement p = Place(image->Width(), image->Height(), rcControl, spec);
    if (p.Empty()) return;
    if (!p.Scaled() && spec.fade >= 255) {
        if (usePrepared) BlitPiece(g, image->Buffer(), p.dx, p.dy, p.dw, p.dh, p.sx, p.sy);
        else Piece(g, image->Pixels(), p.dx, p.dy, p.dw, p.dh, p.sx, p.sy, p.sw, p.sh, nullptr);
        return;
    }
    const duiimg::PixelBuffer* form = nullptr;
    if (usePrepared) {
        const auto& c = spec.corner;
        duiimg::ScaleKey key{p.sx, p.sy, p.sw, p.sh, c.left, c.top, c.right, c.bottom, p.dw, p.dh, spec.fade};
        // The form is the same drawing done once onto transparency at the origin;
        // drawn 1:1 it composes to the same pixels as drawing it here each frame.
        form = image->Scaled(key, [&](Gdiplus::Graphics& fg) {
            Placement at = p;
            at.dx = at.dy = 0;
            DrawResampled(fg, image->Pixels(), at, spec);
        });
    }
    if (form) BlitPiece(g, *form, p.dx, p.dy, p.dw, p.dh, 0, 0);
    else DrawResampled(g, image->Pixels(), p, spec);
}

void DrawText(Gdiplus::Graphics& g, Gdiplus::Font* font, const RECT& rc, const std::wstring& text, DWORD argb,
              UINT style) {
    if (!font || text.empty() || (argb >> 24) == 0) return;
    Gdiplus::StringFormat format;
    format.SetAlignment((style & DT_CENTER) ? Gdiplus::StringAlignmentCenter
                        : (style & DT_RIGHT) ? Gdiplus::StringAlignmentFar
                                             : Gdiplus::StringAlignmentNear);
    format.SetLineAlignment((style & DT_VCENTER) ? Gdiplus::StringAlignmentCenter
                            : (style & DT_BOTTOM) ? Gdiplus::StringAlignmentFar
                                                  : Gdiplus::StringAlignmentNear);
    INT flags = 0;
    if (!(style & DT_WORDBREAK)) flags |= Gdiplus::StringFormatFlagsNoWrap;
    flags |= Gdiplus::StringFormatFlagsLineLimit;
    format.SetFormatFlags(flags);
    if (style & DT_END_ELLIPSIS) format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    Gdiplus::SolidBrush brush(ToColor(argb));
    Gdiplus::RectF layout(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    g.DrawString(text.c_str(), static_cast<INT>(text.size()), font, layout, &format, &brush);
}

}  // namespace duirender
