#include "classlib/graphics/canvas.h"
#include "classlib/pictures/metafile.h"
#include "classlib/sysutils.h"
#include "metafile_builder.h"

#include <QBuffer>
#include <QImage>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

using namespace MetafileBuilder;

namespace {

constexpr QRgb White = 0xFFFFFFu, Red = 0xFF0000u, Green = 0x00FF00u, Blue = 0x0000FFu, Black = 0;
constexpr uint32_t CRed = 0x0000FF, CGreen = 0x00FF00, CBlue = 0xFF0000;

TMetafile Load(const QByteArray& bytes)
{
    TMetafile m;
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    m.LoadFromStream(buf);
    return m;
}

// Plays the metafile into a white image of w x h stretched over rect.
QImage Render(TMetafile& m, int w, int h, TRect rect)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c;
    c.BindImage(&img);
    c.StretchDraw(rect, &m);
    c.Unbind();
    return img;
}

QImage Render(TMetafile& m) { return Render(m, m.Width(), m.Height(), Rect(0, 0, m.Width(), m.Height())); }

QRgb P(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; }

// Number of pixels of colour c inside r.
int Count(const QImage& img, QRgb c, QRect r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (P(img, x, y) == c)
                ++n;
    return n;
}

// Pixels of text (anti-aliased) count when they are closer to c than to white.
int CountInk(const QImage& img, QRgb c, QRect r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int dc = std::abs(qRed(p) - qRed(c)) + std::abs(qGreen(p) - qGreen(c)) + std::abs(qBlue(p) - qBlue(c));
            const int dw = (255 - qRed(p)) + (255 - qGreen(p)) + (255 - qBlue(p));
            if (dc < dw)
                ++n;
        }
    return n;
}

QImage Quad()
{
    QImage q(2, 2, QImage::Format_RGB32);
    q.setPixel(0, 0, qRgb(255, 0, 0));
    q.setPixel(1, 0, qRgb(0, 255, 0));
    q.setPixel(0, 1, qRgb(0, 0, 255));
    q.setPixel(1, 1, qRgb(0, 0, 0));
    return q;
}

} // namespace

TEST(EnhancedMetafile, SizeComesFromTheFrame)
{
    TEmf e;
    TMetafile m = Load(e.Build(96, 48));
    EXPECT_TRUE(m.Enhanced());
    EXPECT_EQ(m.Width(), 96);
    EXPECT_EQ(m.Height(), 48);
    EXPECT_EQ(m.MMWidth(), 2540);
    EXPECT_EQ(m.MMHeight(), 1270);
}

TEST(EnhancedMetafile, RectangleWithPenAndBrush)
{
    TEmf e;
    e.Brush(1, CRed);
    e.Pen(2, CBlue);
    e.Select(1);
    e.Select(2);
    e.Rectangle(10, 10, 30, 20);
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 10, 10), Blue);
    EXPECT_EQ(P(img, 29, 19), Blue);
    EXPECT_EQ(P(img, 29, 15), Blue);
    EXPECT_EQ(P(img, 30, 15), White); // right edge excluded
    EXPECT_EQ(P(img, 15, 20), White); // bottom edge excluded
    EXPECT_EQ(P(img, 11, 11), Red);
    EXPECT_EQ(P(img, 28, 18), Red);
    EXPECT_EQ(Count(img, Red, QRect(0, 0, 96, 96)), 18 * 8);
}

TEST(EnhancedMetafile, EllipseWithoutPen)
{
    TEmf e;
    e.Brush(1, CGreen);
    e.Select(1);
    e.Stock(8); // NULL_PEN
    e.Ellipse(40, 40, 80, 80);
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 60, 60), Green);
    EXPECT_EQ(P(img, 41, 60), Green);
    EXPECT_EQ(P(img, 60, 41), Green);
    EXPECT_EQ(P(img, 41, 41), White); // outside the curve
    EXPECT_EQ(P(img, 78, 78), White);
    EXPECT_EQ(P(img, 80, 60), White);
    // Roughly the area of a circle of radius 20.
    const int n = Count(img, Green, QRect(0, 0, 96, 96));
    EXPECT_NEAR(n, 3.14159 * 19.5 * 19.5, 60);
}

TEST(EnhancedMetafile, TextWithColourAlignmentAndBackground)
{
    TEmf e;
    e.Font(1, -20, QStringLiteral("Arial"), 700);
    e.Select(1);
    e.Rec(24, {CRed});   // text colour
    e.Rec(25, {CGreen}); // background colour, unused while transparent
    e.Rec(18, {1});      // transparent background
    e.Text(10, 10, QStringLiteral("HH"));
    e.Rec(22, {2 | 8}); // right, bottom
    e.Rec(24, {CBlue});
    e.Text(90, 90, QStringLiteral("HH"));
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m);
    // Left-top aligned text lies right of and below its point.
    EXPECT_GT(CountInk(img, Red, QRect(10, 10, 40, 25)), 20);
    EXPECT_EQ(CountInk(img, Red, QRect(0, 0, 96, 10)), 0);
    EXPECT_EQ(CountInk(img, Red, QRect(0, 0, 10, 96)), 0);
    // Right-bottom aligned text lies left of and above its point.
    EXPECT_GT(CountInk(img, Blue, QRect(50, 60, 40, 30)), 20);
    EXPECT_EQ(CountInk(img, Blue, QRect(90, 0, 6, 96)), 0);
    EXPECT_EQ(CountInk(img, Blue, QRect(0, 90, 96, 6)), 0);
    // No background box in transparent mode.
    EXPECT_EQ(Count(img, Green, QRect(0, 0, 96, 96)), 0);

    // Opaque background: a box of the background colour behind the text.
    TEmf o;
    o.Font(1, -20, QStringLiteral("Arial"));
    o.Select(1);
    o.Rec(25, {CGreen}); // background colour
    o.Rec(18, {2});
    o.Text(10, 10, QStringLiteral("ii"));
    TMetafile mo = Load(o.Build(96, 96));
    const QImage io = Render(mo);
    EXPECT_GT(Count(io, Green, QRect(10, 10, 20, 20)), 40);
    EXPECT_EQ(Count(io, Green, QRect(0, 0, 96, 9)), 0);
}

TEST(EnhancedMetafile, CharacterAdvancesPlaceEachCharacter)
{
    TEmf e;
    e.Font(1, -16, QStringLiteral("Arial"));
    e.Select(1);
    e.Rec(18, {1});
    e.Text(2, 2, QStringLiteral("II"), {60, 10});
    TMetafile m = Load(e.Build(96, 32));
    const QImage img = Render(m);
    // Two narrow strokes 60 pixels apart, nothing between them.
    EXPECT_GT(CountInk(img, Black, QRect(0, 0, 12, 32)), 5);
    EXPECT_GT(CountInk(img, Black, QRect(60, 0, 12, 32)), 5);
    EXPECT_EQ(CountInk(img, Black, QRect(15, 0, 40, 32)), 0);
}

TEST(EnhancedMetafile, BitmapRecordsStretchNearestAndCountRowsFromTheBottom)
{
    TEmf e;
    e.StretchDib(50, 10, 20, 20, Quad());
    e.BitBlt(5, 70, Quad());
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 50, 10), Red);
    EXPECT_EQ(P(img, 59, 19), Red);
    EXPECT_EQ(P(img, 60, 10), Green);
    EXPECT_EQ(P(img, 50, 20), Blue);
    EXPECT_EQ(P(img, 69, 29), Black);
    EXPECT_EQ(P(img, 70, 29), White);
    EXPECT_EQ(P(img, 5, 70), Red);
    EXPECT_EQ(P(img, 6, 71), Black);
    EXPECT_EQ(P(img, 7, 70), White);

    // A source rectangle: the bottom-up bitmap's row 0 is its bottom row.
    TEmf part;
    {
        const QByteArray dib = Dib24(Quad());
        QByteArray p;
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        // dest (0,0) 10x10 from source (0,0) 1x1: the bottom-left pixel (blue).
        for (int64_t v : {0, 0, 0, 0, 1, 1, 80, 40, 120, int(dib.size()) - 40, 0, 0x00CC0020, 10, 10})
            Put32(p, uint32_t(v));
        p += dib;
        part.Raw(81, p);
    }
    TMetafile mp = Load(part.Build(20, 20));
    const QImage ip = Render(mp);
    EXPECT_EQ(P(ip, 5, 5), Blue);
    EXPECT_EQ(P(ip, 12, 12), White);
}

TEST(EnhancedMetafile, MappingModesAndViewport)
{
    // Anisotropic: 1000 x 1000 logical units onto 96 x 96 device pixels.
    TEmf a;
    a.Rec(17, {8});
    a.Rec(9, {1000, 1000});
    a.Rec(11, {96, 96});
    a.Brush(1, CRed);
    a.Select(1);
    a.Stock(8);
    a.Rectangle(0, 0, 500, 250);
    TMetafile ma = Load(a.Build(96, 96));
    QImage img = Render(ma);
    EXPECT_EQ(P(img, 46, 22), Red);
    EXPECT_EQ(P(img, 49, 10), White);
    EXPECT_EQ(P(img, 10, 25), White);

    // Isotropic: 100 x 50 units into 96 x 96 keeps the aspect (0.96 px per unit).
    TEmf i;
    i.Rec(17, {7});
    i.Rec(9, {100, 50});
    i.Rec(11, {96, 96});
    i.Brush(1, CBlue);
    i.Select(1);
    i.Stock(8);
    i.Rectangle(0, 0, 100, 50);
    TMetafile mi = Load(i.Build(96, 96));
    img = Render(mi);
    EXPECT_EQ(P(img, 90, 40), Blue);
    EXPECT_EQ(P(img, 50, 60), White);

    // Metric: 0.01 mm with y growing upward; the origin moved to the bottom-left.
    TEmf h;
    h.Rec(17, {3});
    h.Rec(12, {0, 96});    // viewport origin at the bottom
    h.Brush(1, CGreen);
    h.Select(1);
    h.Stock(8);
    h.Rectangle(0, 0, 1270, 635); // 48 x 24 pixels at 96 per inch, above the origin
    TMetafile mh = Load(h.Build(96, 96));
    img = Render(mh);
    EXPECT_EQ(P(img, 10, 90), Green);
    EXPECT_EQ(P(img, 45, 74), Green);
    EXPECT_EQ(P(img, 10, 70), White);
    EXPECT_EQ(P(img, 50, 90), White);

    // Window origin shifts the drawing.
    TEmf w;
    w.Rec(10, {-20, -30});
    w.Brush(1, CRed);
    w.Select(1);
    w.Stock(8);
    w.Rectangle(0, 0, 10, 10);
    TMetafile mw = Load(w.Build(96, 96));
    img = Render(mw);
    EXPECT_EQ(P(img, 25, 35), Red);
    EXPECT_EQ(P(img, 5, 5), White);
}

TEST(EnhancedMetafile, WorldTransformAndSavedStates)
{
    TEmf e;
    e.Brush(1, CRed);
    e.Brush(2, CBlue);
    e.Select(1);
    e.Stock(8);
    e.Rec(33, {});                                    // SaveDC
    e.Select(2);
    e.Xform(35, 1, 0, 0, 1, 40, 0);                   // translate by 40
    e.Rectangle(0, 0, 10, 10);                        // blue at 40..49
    e.Rec(34, {-1});                                  // RestoreDC: red, no transform
    e.Rectangle(0, 0, 10, 10);                        // red at 0..9
    e.Xform(36, 2, 0, 0, 2, 0, 0, 4);                 // set: scale by 2
    e.Xform(36, 1, 0, 0, 1, 0, 30, 3);                // right-multiply: then move down 30
    e.Rectangle(0, 0, 10, 10);                        // red at 0..19 x 30..49
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 45, 5), Blue);
    EXPECT_EQ(P(img, 5, 5), Red);
    EXPECT_EQ(P(img, 18, 45), Red);
    EXPECT_EQ(P(img, 25, 45), White);
    EXPECT_EQ(P(img, 18, 55), White);
}

TEST(EnhancedMetafile, ClippingAndRasterOperations)
{
    TEmf e;
    e.Rec(30, {0, 0, 50, 96}); // IntersectClipRect
    e.Brush(1, CRed);
    e.Select(1);
    e.Stock(8);
    e.Rectangle(0, 0, 96, 96);
    e.Rec(75, {0, 5}); // ExtSelectClipRgn(NULL, RGN_COPY): no clip
    e.Rec(29, {60, 0, 96, 96}); // ExcludeClipRect
    e.Brush(2, CBlue);
    e.Select(2);
    e.Rectangle(55, 0, 96, 10);
    TMetafile m = Load(e.Build(96, 96));
    QImage img = Render(m);
    EXPECT_EQ(P(img, 49, 50), Red);
    EXPECT_EQ(P(img, 50, 50), White);
    EXPECT_EQ(P(img, 57, 5), Blue);
    EXPECT_EQ(P(img, 62, 5), White);

    // XOR twice leaves the picture as it was.
    TEmf x;
    x.Rec(20, {7}); // R2_XORPEN
    x.Brush(1, CRed);
    x.Select(1);
    x.Stock(8);
    x.Rectangle(10, 10, 40, 40);
    x.Rectangle(20, 20, 40, 40);
    TMetafile mx = Load(x.Build(96, 96));
    img = Render(mx);
    EXPECT_EQ(P(img, 15, 15), 0x00FFFFu); // white xor red
    EXPECT_EQ(P(img, 25, 25), White);
}

TEST(EnhancedMetafile, RegionDataClipsAndFills)
{
    auto region = [](std::initializer_list<std::array<int, 4>> rects) {
        QByteArray r;
        Put32(r, 32);
        Put32(r, 1);
        Put32(r, uint32_t(rects.size()));
        Put32(r, uint32_t(16 * rects.size()));
        for (int v : {0, 0, 96, 96})
            Put32(r, uint32_t(v));
        for (const auto& rc : rects)
            for (int v : rc)
                Put32(r, uint32_t(v));
        return r;
    };
    TEmf e;
    {
        const QByteArray rgn = region({{0, 0, 20, 96}, {70, 0, 96, 96}});
        QByteArray p;
        Put32(p, uint32_t(rgn.size()));
        Put32(p, 5); // RGN_COPY
        e.Raw(75, p + rgn);
    }
    e.Brush(1, CRed);
    e.Select(1);
    e.Stock(8);
    e.Rectangle(0, 0, 96, 50);
    e.Rec(75, {0, 5});
    e.Brush(2, CBlue);
    {
        const QByteArray rgn = region({{40, 60, 50, 70}});
        QByteArray p;
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        Put32(p, uint32_t(rgn.size()));
        Put32(p, 2); // the brush
        e.Raw(71, p + rgn); // FillRgn
    }
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 10, 10), Red);
    EXPECT_EQ(P(img, 40, 10), White);
    EXPECT_EQ(P(img, 80, 10), Red);
    EXPECT_EQ(P(img, 45, 65), Blue);
    EXPECT_EQ(Count(img, Blue, QRect(0, 0, 96, 96)), 100);
}

TEST(EnhancedMetafile, PathsAndFillModes)
{
    TEmf e;
    e.Brush(1, CGreen);
    e.Select(1);
    e.Rec(59, {});          // BeginPath
    e.Rec(27, {10, 10});    // MoveTo
    e.Rec(54, {50, 10});    // LineTo
    e.Rec(54, {10, 50});
    e.Rec(61, {});          // CloseFigure
    e.Rec(60, {});          // EndPath
    e.Rec(62, {0, 0, 0, 0}); // FillPath
    // A five-point star: its middle is filled in winding mode only.
    e.Rec(19, {2});
    e.Brush(2, CRed);
    e.Select(2);
    e.Stock(8);
    e.Polygon({{70, 50}, {82, 90}, {52, 64}, {88, 64}, {58, 90}});
    TMetafile m = Load(e.Build(96, 96));
    QImage img = Render(m);
    EXPECT_EQ(P(img, 15, 15), Green);
    EXPECT_EQ(P(img, 40, 40), White);
    EXPECT_EQ(P(img, 70, 70), Red);

    TEmf alt;
    alt.Brush(2, CRed);
    alt.Select(2);
    alt.Stock(8);
    alt.Polygon({{70, 50}, {82, 90}, {52, 64}, {88, 64}, {58, 90}});
    TMetafile ma = Load(alt.Build(96, 96));
    img = Render(ma);
    EXPECT_EQ(P(img, 70, 70), White);
    EXPECT_EQ(P(img, 70, 58), Red);
}

TEST(EnhancedMetafile, ArcsRunCounterClockwiseFromStartToEnd)
{
    TEmf e;
    e.Brush(1, CRed);
    e.Select(1);
    e.Stock(8);
    // Pie of the circle centred at (48, 48), radius 40, from three o'clock to twelve o'clock.
    e.Rec(47, {8, 8, 88, 88, 88, 48, 48, 8});
    TMetafile m = Load(e.Build(96, 96));
    QImage img = Render(m);
    EXPECT_EQ(P(img, 70, 25), Red);   // upper right
    EXPECT_EQ(P(img, 25, 25), White); // upper left
    EXPECT_EQ(P(img, 70, 70), White); // lower right
    EXPECT_EQ(P(img, 25, 70), White);

    // Clockwise: the other three quarters.
    TEmf c;
    c.Brush(1, CRed);
    c.Select(1);
    c.Stock(8);
    c.Rec(57, {2});
    c.Rec(47, {8, 8, 88, 88, 88, 48, 48, 8});
    TMetafile mc = Load(c.Build(96, 96));
    img = Render(mc);
    EXPECT_EQ(P(img, 70, 25), White);
    EXPECT_EQ(P(img, 25, 25), Red);
    EXPECT_EQ(P(img, 70, 70), Red);
}

namespace {
enum : int {
    PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_USERSTYLE = 7,
    PS_ENDCAP_FLAT = 0x200, PS_GEOMETRIC = 0x10000,
};

// Whether a dash pattern (lengths in pixels, dash first, repeated without end
// so that an odd count swaps dash and gap every second round) inks the point
// at distance d along the line; near tells whether d lies within 0.75 pixel
// of a dash's end, where the test does not judge.
bool Inked(std::vector<double> pattern, double d, bool& near)
{
    if (pattern.size() % 2)
        pattern.insert(pattern.end(), pattern.begin(), pattern.end());
    double period = 0;
    for (double p : pattern)
        period += p;
    d = std::fmod(d, period);
    near = d < 0.75 || period - d < 0.75;
    double at = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (d < at + pattern[i]) {
            near = near || d - at < 0.75 || at + pattern[i] - d < 0.75;
            return i % 2 == 0;
        }
        at += pattern[i];
    }
    return false;
}

struct TDashCheck {
    int Inked = 0, Blank = 0, Wrong = 0;
};

// Row y from x0 to x1 of a line that starts at x = start, against the pattern.
TDashCheck CheckDashes(const QImage& img, int y, int x0, int x1, double start, const std::vector<double>& pattern,
                       QRgb ink)
{
    TDashCheck c;
    for (int x = x0; x < x1; ++x) {
        bool near = false;
        const bool expected = Inked(pattern, x + 0.5 - start, near);
        if (near)
            continue;
        const QRgb got = P(img, x, y);
        (expected ? c.Inked : c.Blank)++;
        if (got != (expected ? ink : White))
            ++c.Wrong;
    }
    return c;
}
} // namespace

TEST(EnhancedMetafile, ExtendedPensKeepTheirDashesAndGaps)
{
    // Horizontal lines from x = 10 to 190, flat ends, so the dashes begin at
    // the line's start. Geometric pens: the named styles in multiples of the
    // pen's width, the dash entries in logical units; a cosmetic pen's
    // entries in pixels.
    struct TCase {
        int Style, Width;
        std::vector<uint32_t> Entries;
        std::vector<double> Pixels; // at 1:1
    };
    const TCase cases[] = {
        {PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_DASH, 4, {}, {12, 4}},
        {PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_DOT, 4, {}, {4, 4}},
        {PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_DASHDOT, 3, {}, {9, 3, 3, 3}},
        {PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_DASHDOTDOT, 3, {}, {9, 3, 3, 3, 3, 3}},
        {PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_USERSTYLE, 2, {10, 5, 5}, {10, 5, 5}},
        {PS_USERSTYLE, 1, {6, 4}, {6, 4}},
    };
    TEmf e;
    int handle = 1;
    for (const TCase& c : cases) {
        const int y = 10 + 15 * (handle - 1);
        e.ExtPen(handle, c.Style, c.Width, CBlue, c.Entries);
        e.Select(handle);
        e.MoveTo(10, y);
        e.LineTo(190, y);
        ++handle;
    }
    TMetafile m = Load(e.Build(200, 100));
    for (int scale : {1, 2}) {
        const QImage img = Render(m, 200 * scale, 100 * scale, Rect(0, 0, 200 * scale, 100 * scale));
        for (size_t i = 0; i < std::size(cases); ++i) {
            const TCase& c = cases[i];
            const bool cosmetic = !(c.Style & PS_GEOMETRIC);
            if (cosmetic && scale != 1)
                continue;
            std::vector<double> pixels = c.Pixels;
            for (double& p : pixels)
                p *= scale;
            const int y = (10 + 15 * int(i)) * scale;
            // A one-pixel line lies on the row below its coordinate or on it;
            // a wide one is centred on it.
            const int row = cosmetic ? (Count(img, Blue, QRect(0, y, 200, 1)) ? y : y - 1) : y - 1;
            const TDashCheck got = CheckDashes(img, row, 12 * scale, 186 * scale, 10.0 * scale, pixels, Blue);
            EXPECT_EQ(got.Wrong, 0) << "pen " << i << " at scale " << scale;
            EXPECT_GT(got.Inked, 10) << i;
            EXPECT_GT(got.Blank, 10) << i;
        }
    }
}

TEST(EnhancedMetafile, ArcToDrawsALineToTheArcAndMovesThePositionToItsEnd)
{
    // Outside a path: from (5, 95) a line to the arc's start at three
    // o'clock, the arc up to twelve o'clock, then a line on from there.
    TEmf e;
    e.Pen(1, CBlue);
    e.Select(1);
    e.MoveTo(5, 95);
    e.ArcTo(10, 10, 90, 90, 90, 50, 50, 10);
    e.LineTo(5, 5);
    TMetafile m = Load(e.Build(100, 100));
    QImage img = Render(m);
    auto inkNear = [&](QPointF p) { return Count(img, Blue, QRect(int(p.x()) - 1, int(p.y()) - 1, 3, 3)) > 0; };
    EXPECT_TRUE(inkNear({47.5, 72.5}));                                   // the line to the start
    EXPECT_TRUE(inkNear({50 + 40 * std::cos(0.785), 50 - 40 * std::sin(0.785)})); // the arc
    EXPECT_TRUE(inkNear({27.5, 7.5}));                                    // on from the arc's end
    EXPECT_FALSE(inkNear({70, 30}));                                      // no chord
    EXPECT_FALSE(inkNear({5, 50}));                                       // nothing from (5, 95) to (5, 5)

    // Inside a path: a triangle, then a pie made of MoveTo, ArcTo and
    // CloseFigure; both filled, nothing between them.
    TEmf p;
    p.Brush(1, CRed);
    p.Select(1);
    p.Stock(8);
    p.Rec(59, {});
    p.MoveTo(10, 95);
    p.LineTo(30, 95);
    p.LineTo(30, 75);
    p.Rec(61, {});
    p.MoveTo(50, 50);
    p.ArcTo(10, 10, 90, 90, 90, 50, 50, 10);
    p.Rec(61, {});
    p.Rec(60, {});
    p.Rec(62, {0, 0, 0, 0});
    TMetafile mp = Load(p.Build(100, 100));
    img = Render(mp);
    int wrong = 0, inside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const double cx = x + 0.5 - 50, cy = y + 0.5 - 50, r = std::hypot(cx, cy);
            const double tx = x + 0.5, ty = y + 0.5;
            // Quarter disc of radius 40 (right of and above the centre),
            // triangle below the line from (10, 95) to (30, 75).
            const bool inPie = cx > 0 && cy < 0 && r < 40;
            const bool inTriangle = tx < 30 && ty < 95 && tx + ty > 105;
            const bool near = (cx > -1 && cx < 1) || (cy > -1 && cy < 1) || std::fabs(r - 40) < 1.5 ||
                              std::fabs(tx - 30) < 1 || std::fabs(ty - 95) < 1 || std::fabs(tx + ty - 105) < 1.5;
            if (near)
                continue;
            inside += inPie || inTriangle;
            if ((P(img, x, y) == Red) != (inPie || inTriangle))
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(inside, 1000);
}

TEST(EnhancedMetafile, StretchedIntoASmallerRectangle)
{
    TEmf e;
    e.Brush(1, CRed);
    e.Select(1);
    e.Stock(8);
    e.Rectangle(0, 0, 48, 96);
    TMetafile m = Load(e.Build(96, 96));
    const QImage img = Render(m, 60, 60, Rect(10, 10, 58, 58));
    EXPECT_EQ(P(img, 12, 30), Red);
    EXPECT_EQ(P(img, 32, 30), Red);
    EXPECT_EQ(P(img, 36, 30), White);
    EXPECT_EQ(P(img, 5, 30), White);
}

TEST(EnhancedMetafile, UnknownRecordsAreSkippedAndBrokenOnesStopPlayback)
{
    TEmf e;
    e.Raw(999, QByteArray(12, 'x'));
    e.Rec(43, {1, 2});              // a rectangle record too short to hold its box
    e.Rec(3, {0, 0, 0, 0, 1000000}); // a polygon claiming a million points
    e.Brush(1, CRed);
    e.Select(1);
    e.Select(77);                   // no such object
    e.Rec(37, {int64_t(0x80000000u) | 99});
    e.Rectangle(0, 0, 10, 10);
    TMetafile m = Load(e.Build(32, 32));
    QImage img = Render(m);
    EXPECT_EQ(P(img, 5, 5), Red);

    // A record whose length runs past the end: rejected when loading.
    QByteArray bad = e.Build(32, 32);
    bad[88 + 4] = char(0x40);
    bad[88 + 5] = char(0x40);
    EXPECT_THROW(Load(bad), EInvalidGraphic);
    QByteArray odd = e.Build(32, 32);
    odd[88 + 4] = char(13);
    EXPECT_THROW(Load(odd), EInvalidGraphic);
    EXPECT_THROW(Load(QByteArray(100, 0)), EInvalidGraphic);
    EXPECT_THROW(Load(e.Build(32, 32).left(60)), EInvalidGraphic);
}

TEST(EnhancedMetafile, FramedDataCountsItsOwnLength)
{
    TEmf e;
    e.Rectangle(0, 0, 5, 5);
    const QByteArray file = e.Build(20, 10);
    TMetafile m = Load(file);
    QByteArray framed;
    {
        QBuffer b(&framed);
        b.open(QIODevice::WriteOnly);
        m.WriteData(b);
    }
    EXPECT_EQ(framed.size(), file.size() + 4);
    EXPECT_EQ(uint8_t(framed[0]) | (uint8_t(framed[1]) << 8), file.size() + 4);
    EXPECT_EQ(framed.mid(4), file);
    QBuffer in;
    in.setData(framed + QByteArray("z"));
    in.open(QIODevice::ReadOnly);
    TMetafile r;
    r.ReadData(in);
    EXPECT_EQ(r.Data(), file);
    EXPECT_EQ(in.readAll(), QByteArray("z"));

    // A length of 4 or less: an empty picture.
    QBuffer four;
    four.setData(QByteArray("\x04\x00\x00\x00", 4));
    four.open(QIODevice::ReadOnly);
    r.ReadData(four);
    EXPECT_TRUE(r.Empty());
}

TEST(WindowsMetafile, PlaceableHeaderGivesSizeAndWindow)
{
    TWmf w;
    w.Window(0, 0, 1440, 720);
    w.Brush(CRed);
    w.Select(0);
    w.Pen(0, 0, 5); // PS_NULL
    w.Select(1);
    w.Rectangle(0, 0, 720, 720);
    TMetafile m = Load(w.Build(0, 0, 1440, 720, 1440));
    EXPECT_FALSE(m.Enhanced());
    EXPECT_EQ(m.Width(), 96);
    EXPECT_EQ(m.Height(), 48);
    EXPECT_EQ(m.MMWidth(), 2540);
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 10, 10), Red);
    EXPECT_EQ(P(img, 46, 46), Red);
    EXPECT_EQ(P(img, 50, 10), White);

    // Drawn twice as large, the rectangle doubles.
    const QImage big = Render(m, 192, 96, Rect(0, 0, 192, 96));
    EXPECT_EQ(P(big, 94, 90), Red);
    EXPECT_EQ(P(big, 100, 10), White);
}

TEST(WindowsMetafile, NewObjectsTakeTheLowestFreeSlot)
{
    TWmf w;
    w.Window(0, 0, 100, 100);
    w.Pen(0, 0, 5);   // slot 0: null pen
    w.Brush(CRed);    // slot 1
    w.Brush(CBlue);   // slot 2
    w.Delete(1);
    w.Brush(CGreen);  // slot 1 again
    w.Select(0);
    w.Select(1);
    w.Rectangle(0, 0, 50, 50);
    w.Select(2);
    w.Rectangle(50, 50, 100, 100);
    TMetafile m = Load(w.Build(0, 0, 100, 100, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 20, 20), Green);
    EXPECT_EQ(P(img, 70, 70), Blue);
}

TEST(WindowsMetafile, TextBitmapAndIsotropicMapping)
{
    TWmf w;
    w.Rec(0x0103, {7}); // MM_ISOTROPIC
    w.Window(0, 0, 100, 100);
    // A 2 x 2 bitmap stretched over 50 x 50 units.
    {
        QByteArray p;
        Put32(p, 0x00CC0020);
        for (int v : {2, 2, 0, 0, 50, 50, 0, 0}) // src h, w, y, x; dest h, w, y, x
            Put16(p, v);
        p += Dib24(Quad());
        w.Raw(0x0B41, p);
    }
    // Text "I" in red at (60, 10) with a 30-unit font.
    {
        QByteArray f;
        for (int v : {-30, 0, 0, 0, 400})
            Put16(f, v);
        for (int v : {0, 0, 0, 238, 0, 0, 0, 0})
            f.append(char(v));
        f += QByteArray("Arial");
        f.append(char(0));
        w.Raw(0x02FB, f);
        w.Select(0);
        QByteArray c;
        Put32(c, CRed);
        w.Raw(0x0209, c);
        w.Rec(0x0102, {1});
        QByteArray t;
        Put16(t, 1);
        t += QByteArray("I");
        t.append(char(0));
        Put16(t, 10);
        Put16(t, 60);
        w.Raw(0x0521, t);
    }
    TMetafile m = Load(w.Build(0, 0, 100, 100, 96));
    // Into 96 x 48: isotropic keeps squares, 0.48 pixels per unit.
    const QImage img = Render(m, 96, 48, Rect(0, 0, 96, 48));
    EXPECT_EQ(P(img, 2, 2), Red);
    EXPECT_EQ(P(img, 20, 2), Green);
    EXPECT_EQ(P(img, 2, 20), Blue);
    EXPECT_EQ(P(img, 20, 20), Black);
    EXPECT_EQ(P(img, 26, 10), White);
    EXPECT_GT(CountInk(img, Red, QRect(28, 4, 10, 16)), 3);
}

TEST(WindowsMetafile, RegionObjectClips)
{
    TWmf w;
    w.Window(0, 0, 100, 100);
    // A region of two scans: (10..30) x (10..20) and (50..60, 70..80) x (20..40).
    {
        QByteArray r;
        for (int v : {0, 6, 0, 0, 0, 2, 4, 10, 10, 80, 40}) // header: chain, type, count(2), size, scans, max, bounds
            Put16(r, v);
        for (int v : {2, 10, 20, 10, 30, 2})
            Put16(r, v);
        for (int v : {4, 20, 40, 50, 60, 70, 80, 4})
            Put16(r, v);
        w.Raw(0x06FF, r);
    }
    w.Brush(CRed);   // slot 1
    w.Pen(0, 0, 5);  // slot 2
    w.Rec(0x012C, {0}); // SelectClipRegion
    w.Select(1);
    w.Select(2);
    w.Rectangle(0, 0, 100, 100);
    TMetafile m = Load(w.Build(0, 0, 100, 100, 96));
    const QImage img = Render(m);
    EXPECT_EQ(P(img, 15, 15), Red);
    EXPECT_EQ(P(img, 35, 15), White);
    EXPECT_EQ(P(img, 55, 30), Red);
    EXPECT_EQ(P(img, 65, 30), White);
    EXPECT_EQ(P(img, 75, 35), Red);
    EXPECT_EQ(P(img, 55, 45), White);
    EXPECT_EQ(Count(img, Red, QRect(0, 0, 100, 100)), 20 * 10 + 2 * 10 * 20);
}

TEST(WindowsMetafile, PlainFileWithoutPlaceableHeader)
{
    TWmf w;
    w.Window(0, 0, 40, 20);
    w.Brush(CBlue);
    w.Select(0);
    w.Rectangle(0, 0, 20, 20);
    TMetafile m = Load(w.Body());
    EXPECT_EQ(m.Width(), 40);
    EXPECT_EQ(m.Height(), 20);
    // Saved with a placeable header in front of the same records.
    ASSERT_EQ(m.Data().size(), w.Body().size() + 22);
    EXPECT_EQ(m.Data().mid(22), w.Body());
    TMetafile again = Load(m.Data());
    EXPECT_EQ(again.Width(), 40);
    const QImage img = Render(again);
    EXPECT_EQ(P(img, 10, 10), Blue);
    EXPECT_EQ(P(img, 30, 10), White);

    // A window whose far edge does not fit in 16 bits cannot be given a placeable header.
    TWmf far;
    far.Window(30000, 0, 10000, 20);
    EXPECT_THROW(Load(far.Body()), EInvalidGraphic);

    // Without any window there is no size: not a picture we can show.
    TWmf none;
    none.Rectangle(0, 0, 5, 5);
    EXPECT_THROW(Load(none.Body()), EInvalidGraphic);
}

TEST(WindowsMetafile, BrokenRecordsAreRejectedOrSkipped)
{
    TWmf w;
    w.Window(0, 0, 10, 10);
    w.Rec(0x0324, {500, 1, 2}); // a polygon claiming 500 points
    w.Rec(0x0A32, {0, 0, 900, 6}); // text with a rectangle and 900 characters it does not hold
    w.Rec(0x7777, {1, 2, 3});
    w.Select(40);
    w.Brush(CRed);
    w.Select(0);
    w.Rectangle(0, 0, 10, 10);
    const QByteArray file = w.Build(0, 0, 10, 10, 96);
    TMetafile m = Load(file);
    EXPECT_EQ(P(Render(m), 5, 5), Red);

    QByteArray bad = file;
    bad[22 + 18] = char(0xFF); // first record's length past the end
    bad[22 + 19] = char(0x7F);
    EXPECT_THROW(Load(bad), EInvalidGraphic);
    QByteArray tiny = file;
    tiny[22 + 18] = 2;
    tiny[22 + 19] = 0;
    EXPECT_THROW(Load(tiny), EInvalidGraphic);
}
