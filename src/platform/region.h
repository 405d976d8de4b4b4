#pragma once
// Window regions with the platform's pixel rules: a rectangle (l, t, r, b)
// covers the pixels l..r-1 and t..b-1; an elliptic region covers the pixels
// whose centres lie inside the ellipse inscribed in that rectangle.

#include "platform/win_types.h"

#include <QRegion>
#include <utility>
#include <vector>

enum TRegionCombine { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

class TRegion {
public:
    TRegion() = default;
    static TRegion FromRect(int l, int t, int r, int b);
    static TRegion FromEllipse(int l, int t, int r, int b);
    static TRegion FromRoundRect(int l, int t, int r, int b, int w, int h);
    // The union of a list of rectangles (empty and inverted ones count for nothing).
    static TRegion FromRects(const std::vector<TRect>& rects);

    bool IsEmpty() const { return FRows.empty(); }
    bool Contains(int x, int y) const;
    TRect BoundingBox() const;
    // Covered pixels as rectangles, banded top to bottom.
    std::vector<TRect> Rects() const;
    // The same pixels in fewer rectangles, not banded: each span runs down
    // as long as the rows below repeat it (for filling, where count matters).
    std::vector<TRect> CoverRects() const;
    QRegion ToQRegion() const;
    void Offset(int dx, int dy);
    int PixelCount() const;

    TRegion Combined(const TRegion& other, TRegionCombine mode) const;
    friend bool operator==(const TRegion& a, const TRegion& b) { return a.FRows == b.FRows; }

private:
    using Spans = std::vector<std::pair<int, int>>; // [x1, x2) sorted, disjoint
    struct Row {
        int Y;
        Spans S;
        friend bool operator==(const Row& a, const Row& b) { return a.Y == b.Y && a.S == b.S; }
    };
    std::vector<Row> FRows; // sorted by Y, no empty rows
    static Spans CombineSpans(const Spans& a, const Spans& b, TRegionCombine mode);
};

// The platform's region calls, on values.
inline TRegion CreateRectRgn(int l, int t, int r, int b) { return TRegion::FromRect(l, t, r, b); }
inline TRegion CreateEllipticRgn(int l, int t, int r, int b) { return TRegion::FromEllipse(l, t, r, b); }
inline TRegion CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return TRegion::FromRoundRect(l, t, r, b, w, h); }
// dest := a <mode> b
void CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, TRegionCombine mode);
inline bool PtInRegion(const TRegion& r, int x, int y) { return r.Contains(x, y); }
inline TRect GetRgnBox(const TRegion& r) { return r.BoundingBox(); }
