#include "duilib/render.h"

#include <algorithm>
#include <gdiplus.h>

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

// One stretched piece of a nine-part image.
void Piece(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
           Gdiplus::ImageAttributes* attrs) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh && !attrs) {
        // Unscaled: copy only the part inside the clip, which is what a hover repaint
        // of a large background needs.
        Gdiplus::Rect clip;
        g.GetClipBounds(&clip);
        int left = std::max(dx, static_cast<int>(clip.X)), top = std::max(dy, static_cast<int>(clip.Y));
        int right = std::min(dx + dw, static_cast<int>(clip.X + clip.Width));
        int bottom = std::min(dy + dh, static_cast<int>(clip.Y + clip.Height));
        if (right <= left || bottom <= top) return;
        g.DrawImage(image, left, top, sx + (left - dx), sy + (top - dy), right - left, bottom - top, Gdiplus::UnitPixel);
        return;
    }
    g.DrawImage(image, Gdiplus::Rect(dx, dy, dw, dh), sx, sy, sw, sh, Gdiplus::UnitPixel, attrs);
}

}  // namespace

void FillRect(Gdiplus::Graphics& g, const RECT& rc, DWORD argb) {
    if ((argb >> 24) == 0) return;
    Gdiplus::SolidBrush brush(ToColor(argb));
    g.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(rc.right - rc.left),
                    static_cast<INT>(rc.bottom - rc.top));
}

void FillRoundRect(Gdiplus::Graphics& g, const RECT& rc, int radius, DWORD argb) {
    if (radius <= 0) return FillRect(g, rc, argb);
    if ((argb >> 24) == 0) return;
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, Gdiplus::RectF(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), radius);
    Gdiplus::SolidBrush brush(ToColor(argb));
    auto old = g.GetSmoothingMode();
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.FillPath(&brush, &path);
    g.SetSmoothingMode(old);
}

void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, int width, int radius, DWORD argb) {
    if (width <= 0 || (argb >> 24) == 0) return;
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

void DrawImage(Gdiplus::Graphics& g, Gdiplus::Bitmap* image, const RECT& rcControl, const duiattr::ImageSpec& spec) {
    if (!image) return;
    int iw = static_cast<int>(image->GetWidth()), ih = static_cast<int>(image->GetHeight());
    int sx = 0, sy = 0, sw = iw, sh = ih;
    if (spec.hasSource) {
        sx = std::clamp(spec.source.left, 0, iw);
        sy = std::clamp(spec.source.top, 0, ih);
        sw = std::clamp(spec.source.right, sx, iw) - sx;
        sh = std::clamp(spec.source.bottom, sy, ih) - sy;
    }
    RECT rc = rcControl;
    if (spec.hasDest) {
        rc = {rcControl.left + spec.dest.left, rcControl.top + spec.dest.top, rcControl.left + spec.dest.right,
              rcControl.top + spec.dest.bottom};
    }
    int dx = rc.left, dy = rc.top, dw = rc.right - rc.left, dh = rc.bottom - rc.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;

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
