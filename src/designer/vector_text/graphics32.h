#pragma once
// The few pieces of Graphics32 that text drawn from glyph outlines needs:
// 32-bit ARGB bitmaps, 16.16 fixed point, an affine transformation with a
// 3 x 3 matrix, and four polygon routines (sharp or smoothed, closed outlines
// or odd-even fills). Drawing goes through QPainter onto a coverage mask that
// is then blended into the ARGB32 pixels, so colour channels mix with what is
// underneath whatever its alpha, as Graphics32 does.

#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

class TCanvas;

using TColor32 = uint32_t; // 0xAARRGGBB
using TFixed = int32_t;    // 16.16
constexpr TFixed FixedOne = 0x10000;

struct TFixedPoint {
    TFixed X = 0;
    TFixed Y = 0;
    friend bool operator==(const TFixedPoint& a, const TFixedPoint& b) { return a.X == b.X && a.Y == b.Y; }
};
using TArrayOfFixedPoint = std::vector<TFixedPoint>;
using TArrayOfArrayOfFixedPoint = std::vector<TArrayOfFixedPoint>;

// Rounded to the nearest 1/65536; values beyond the 16.16 range saturate.
TFixed Fixed(double value);
inline TFixed Fixed(int value) { return static_cast<TFixed>(static_cast<uint32_t>(value) << 16); }
inline double FixedToFloat(TFixed value) { return value / 65536.0; }
// Saturating 16.16 addition (coordinates far outside any bitmap stay ordered).
TFixed FixedAdd(TFixed a, TFixed b);

// A class-library colour (0x00BBGGRR, system colours resolved) as opaque ARGB.
TColor32 Color32(TColor color);
constexpr TColor32 Color32(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0xFF)
{
    return (TColor32(a) << 24) | (TColor32(r) << 16) | (TColor32(g) << 8) | TColor32(b);
}

using TFloat = float;
// M[i][j]: i is the input (0 = x, 1 = y, 2 = 1), j the output (0 = x', 1 = y'):
// x' = M[0][0] x + M[1][0] y + M[2][0], y' = M[0][1] x + M[1][1] y + M[2][1].
using TFloatMatrix = std::array<std::array<TFloat, 3>, 3>;
TFloatMatrix IdentityMatrix();
// The transformation a followed by b.
TFloatMatrix MatrixThen(const TFloatMatrix& a, const TFloatMatrix& b);

class TAffineTransformation {
public:
    TAffineTransformation() { Clear(); }
    void Clear() { Matrix = IdentityMatrix(); }
    // Each operation applies after what the matrix already does.
    void Translate(TFloat dx, TFloat dy);
    void Scale(TFloat sx, TFloat sy);
    // Degrees; a positive angle turns counter-clockwise as seen on a screen
    // whose y axis points down (x' = c x + s y, y' = -s x + c y about the centre).
    void Rotate(TFloat cx, TFloat cy, TFloat alpha);
    void Transform(double x, double y, double& outX, double& outY) const;

    TFloatMatrix Matrix;
};

class TBitmap32 {
public:
    TBitmap32();
    virtual ~TBitmap32();
    TBitmap32(const TBitmap32&) = delete;
    TBitmap32& operator=(const TBitmap32&) = delete;

    // New pixels are 0 (transparent black); a size of 0 on either axis is empty.
    virtual void SetSize(int width, int height);
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    bool Empty() const { return FImage.isNull(); }

    TFont* Font() { return &FFont; }
    void SetFont(const TFont* font) { FFont.Assign(font); }

    // Pixels x1..x2-1, y1..y2-1 take value as it is (alpha included), clipped.
    void FillRect(int x1, int y1, int x2, int y2, TColor32 value);
    void Clear(TColor32 value) { FillRect(0, 0, Width(), Height(), value); }
    // Batches changes; nothing waits on them here, the pair is kept for its callers.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate()
    {
        if (FUpdateCount > 0)
            --FUpdateCount;
    }
    int UpdateCount() const { return FUpdateCount; }

    TColor32 Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor32 value);
    // Copies the colour channels onto the canvas at (x, y); alpha is dropped,
    // as a copy to a device context does.
    void DrawTo(TCanvas* canvas, int x, int y) const;

    QImage& Image() { return FImage; }
    const QImage& Image() const { return FImage; }

private:
    QImage FImage; // Format_ARGB32 (not premultiplied)
    TFont FFont;
    int FUpdateCount = 0;
};

enum TPolyFillMode { pfAlternate, pfWinding };

// Closed (or open) one-pixel polylines: TS sharp, XS smoothed.
void PolyPolylineTS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, bool closed = true);
void PolyPolylineXS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, bool closed = true);
// Filled polygons: TS sharp, XS smoothed; odd-even unless told otherwise.
void PolyPolygonTS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color,
                   TPolyFillMode mode = pfAlternate);
void PolyPolygonXS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color,
                   TPolyFillMode mode = pfAlternate);
