// fuzz-layer: tv_designer
// Native glyph-outline records from arbitrary bytes: the contour builder must
// stay inside the buffer, end on any record size, and keep every contour
// closed; the contours then go through the polygon routines of every style.
#include "designer/vector_text/g32_interface.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes choose the pen position; the rest is the outline.
    if (size < 8)
        return 0;
    int32_t ox, oy;
    std::memcpy(&ox, data, 4);
    std::memcpy(&oy, data + 4, 4);
    // An exact-size copy, so reading past the outline shows as an overflow.
    const size_t n = size - 8;
    std::unique_ptr<uint8_t[]> outline(new uint8_t[n ? n : 1]);
    if (n)
        std::memcpy(outline.get(), data + 8, n);

    static TBitmap32Ex* bitmap = [] {
        auto* b = new TBitmap32Ex();
        b->SetSize(48, 32);
        return b;
    }();
    const TFixedRect clip{0, 0, Fixed(bitmap->Width()), Fixed(bitmap->Height())};
    TContourStore& store = GlyphContours();
    BuildGlyphContours(outline.get(), n, TFixedPoint{ox, oy}, clip, store);
    const TArrayOfArrayOfFixedPoint contours = store.CopyOut();
    for (const auto& c : contours)
        if (c.size() > 1 && !(c.front() == c.back()))
            __builtin_trap();
    // Drawing is the slow part: only small outlines reach it.
    size_t points = 0;
    for (const auto& c : contours)
        points += c.size();
    if (points < 4096)
        for (int flags : {0, 3, 4, 7})
            DrawStyledPolyPolygon(bitmap, contours, 0xFF000000u, flags);
    return 0;
}
