#pragma once
// The platform's glyph-outline call in its native form: a glyph's outline as
// polygon records (TTPOLYGONHEADER) each followed by line and quadratic
// spline records (TTPOLYCURVE), all points 16.16 fixed point, transformed by
// a 2 x 2 matrix (MAT2). The outlines come from FreeType through fontconfig,
// from the face Qt itself draws the font with.

#include "classlib/graphics/font.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// A 2 x 2 matrix in 16.16: x' = eM11 x + eM21 y, y' = eM12 x + eM22 y.
// Glyph space has y pointing up, so (1, 0, 0, -1) gives bitmap coordinates.
struct MAT2 {
    int32_t eM11 = 0x10000;
    int32_t eM12 = 0;
    int32_t eM21 = 0;
    int32_t eM22 = 0x10000;
};

struct GLYPHMETRICS {
    uint32_t gmBlackBoxX = 0;
    uint32_t gmBlackBoxY = 0;
    int32_t gmptGlyphOriginX = 0;
    int32_t gmptGlyphOriginY = 0;
    // The advance to the next character under the matrix, in whole pixels,
    // with y counted upward like the glyph space: a pen moving down the
    // bitmap has a negative gmCellIncY.
    int16_t gmCellIncX = 0;
    int16_t gmCellIncY = 0;
};

constexpr uint32_t GDI_ERROR = 0xFFFFFFFFu;
constexpr uint32_t TT_POLYGON_TYPE = 24;
constexpr uint16_t TT_PRIM_LINE = 1;
constexpr uint16_t TT_PRIM_QSPLINE = 2;
constexpr uint16_t TT_PRIM_CSPLINE = 3;

// Record layouts (little-endian, packed):
//   TTPOLYGONHEADER: uint32 cb (bytes of the polygon, header included),
//                    uint32 dwType, POINTFX pfxStart            -> 16 bytes
//   TTPOLYCURVE:     uint16 wType, uint16 cpfx, POINTFX apfx[cpfx] -> 4 + 8 n
//   POINTFX:         FIXED x, FIXED y; FIXED = uint16 fract, int16 value,
//                    which reads as one little-endian 16.16 int32.
constexpr size_t SizeOfPolygonHeader = 16;
constexpr size_t SizeOfCurveHeader = 4;
constexpr size_t SizeOfPointFx = 8;

inline uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int32_t ReadFixed(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

// Like GetGlyphOutline with GGO_NATIVE: with no buffer (or size 0) returns the
// bytes the outline needs; otherwise writes it and returns its size, or
// GDI_ERROR when the buffer is too small or the font has no usable face. A
// glyph without outline (a space) returns 0. The metrics are filled in every
// successful case.
uint32_t GetGlyphOutline(const TFont& font, char32_t ch, const MAT2& matrix, GLYPHMETRICS& metrics,
                         uint32_t bufferSize, uint8_t* buffer);

// The advance of one character in the untransformed font, in pixels, as the
// text measurement of a canvas gives it.
int CharExtent(const TFont& font, char32_t ch);
