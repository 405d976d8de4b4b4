#pragma once
// Text drawn from glyph outlines into a 32-bit bitmap: each glyph's native
// outline (lines and quadratic splines) under a 2 x 2 transformation, turned
// into 16.16 polygon contours (curves flattened, but not where they lie
// wholly outside the bitmap on one side) and handed to the polygon routines
// in one of four styles.

#include "classlib/component.h"
#include "classlib/graphics/canvas.h"
#include "designer/vector_text/glyph_outline.h"
#include "designer/vector_text/graphics32.h"

#include <QString>
#include <memory>
#include <vector>

// Curves are split until a piece's control polygon is at most this long
// (Manhattan length, 2.0 in 16.16).
constexpr TFixed CurveTolerance = 131072;
constexpr size_t GlyphBufferInitialSize = 1024;

// Style flags: bit 2 fill, bits 0 and 1 smoothing.
enum : int {
    tfSharpOutline = 0,
    tfSmoothOutline = 3,
    tfSharpFill = 4,
    tfSmoothFill = 7,
};

class tPen32 : public TPersistent {
public:
    TV_CLASS_NAME(tPen32)
    void Assign(const TPersistent* source) override;
    TColor32 Color = 0xFF0000FF;
    TFixed Width = FixedOne;
};

class tBrush32 : public TPersistent {
public:
    TV_CLASS_NAME(tBrush32)
    void Assign(const TPersistent* source) override;
    TColor32 Color = 0xFFFFFFFF;
};

struct TFixedRect {
    TFixed Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The contours of the glyph being built; shared by every bitmap, reset per glyph.
class TContourStore {
public:
    TContourStore() { Reset(); }
    // One empty contour.
    void Reset();
    // Nothing at all (between texts).
    void Clear();
    void NewContour();
    // Appends to the current contour, doubling its array when full.
    void Append(TFixedPoint p);
    // Every contour cut to its point count.
    TArrayOfArrayOfFixedPoint CopyOut() const;
    size_t ContourCount() const { return FContours.size(); }

private:
    struct TContour {
        std::vector<TFixedPoint> Points;
        size_t Count = 0;
    };
    std::vector<TContour> FContours;
};
TContourStore& GlyphContours();

// Which side of the clip rectangle a point lies on: 1 right, 3 below, 0 left,
// 2 above, 4 inside (tested in that order).
int ClipZone(TFixedPoint p, const TFixedRect& clip);
// Flattens the quadratic spline (p0, p1, p2) into store, p0 excluded.
void FlattenSpline(TContourStore& store, TFixedPoint p0, TFixedPoint p1, TFixedPoint p2, const TFixedRect& clip);
// Reads a native outline buffer into store (reset first), every point moved
// by origin. Stops at the first record that does not fit in the buffer.
void BuildGlyphContours(const uint8_t* buffer, size_t size, TFixedPoint origin, const TFixedRect& clip,
                        TContourStore& store);
// Draws the contours in the style the flags select.
void DrawStyledPolyPolygon(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& contours, TColor32 color, int flags);

class TBitmap32Ex : public TBitmap32 {
public:
    TBitmap32Ex();
    ~TBitmap32Ex() override;

    void SetSize(int width, int height) override;
    // A canvas on the bitmap's own pixels.
    TCanvas* Canvas() { return FCanvas.get(); }
    tPen32* Pen() { return FPen.get(); }
    tBrush32* Brush() { return FBrush.get(); }

    const MAT2& GlyphTransform() const { return FTransform; }
    // The 2 x 2 part of m, rounded to 16.16; the translation is not used.
    void SetTransform(const TFloatMatrix& m);
    // Draws text with its first pen position at (x, y) (16.16, bitmap pixels).
    void RenderTextOutline(TFixed x, TFixed y, const QString& text, TColor32 color, int flags);
    // Where the pen ended after the last text, relative to its start.
    double PenOffsetX() const { return FPenX; }
    double PenOffsetY() const { return FPenY; }

private:
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<tPen32> FPen;
    std::unique_ptr<tBrush32> FBrush;
    MAT2 FTransform;
    double FPenX = 0, FPenY = 0;
};
