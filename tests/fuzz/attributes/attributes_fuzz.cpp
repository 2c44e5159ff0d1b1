// Layout attribute values on any text: every parser ends without fault, and an
// image description keeps its opacity in range and names a file when it says so.
#include <cstdint>

#include "duilib/attributes.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::WideUnits(data, size);
    std::uint32_t argb = 0;
    const size_t first = text.find_first_not_of(L" \t");
    const size_t last = text.find_last_not_of(L" \t");
    // "#RRGGBB" is opaque whatever it holds.
    if (duiattr::ParseColor(text, argb) && first != std::wstring::npos && text[first] == L'#' && last - first == 6)
        FUZZ_CHECK((argb >> 24) == 0xFF);
    duiattr::Rect rect;
    const bool hasRect = duiattr::ParseRect(text, rect);
    int cx = -1, cy = -1;
    const bool hasSize = duiattr::ParseSize(text, cx, cy);
    FUZZ_CHECK(hasRect == hasSize);
    if (hasSize) FUZZ_CHECK(cx == rect.left && cy == rect.top);
    duiattr::ParseBool(text);
    duiattr::ParseInt(text, 7);

    duiattr::ImageSpec spec;
    const bool named = duiattr::ParseImageSpec(text, spec);
    FUZZ_CHECK(named == !spec.file.empty());
    FUZZ_CHECK(spec.fade >= 0 && spec.fade <= 255);
    FUZZ_CHECK(spec.file.size() <= text.size());
    return 0;
}
