// Parsing of layout attribute values: colours, rectangles, sizes, booleans and image
// descriptions. Pure functions, no Win32 types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace duiattr {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or decimal. False when not a colour.
bool ParseColor(std::wstring_view text, std::uint32_t& argb);
// "l,t,r,b"; missing trailing numbers are 0. False when no number is present.
bool ParseRect(std::wstring_view text, Rect& rect);
// "cx,cy".
bool ParseSize(std::wstring_view text, int& cx, int& cy);
bool ParseBool(std::wstring_view text);  // "true"/"1" → true
int ParseInt(std::wstring_view text, int fallback = 0);

// An image attribute: either a plain name ("bg.png") or key='value' pairs
// ("file='btn.png' source='0,0,80,30' corner='4,4,4,4' fade='200'").
struct ImageSpec {
    std::wstring file;
    Rect source;
    bool hasSource = false;
    Rect corner;
    Rect dest;       // relative to the control's rectangle
    bool hasDest = false;
    int fade = 255;  // 0..255 opacity
};
// False when the description names no file (an empty attribute clears the image).
bool ParseImageSpec(std::wstring_view text, ImageSpec& spec);

}  // namespace duiattr
