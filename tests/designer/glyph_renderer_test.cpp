// The glyph-outline renderer: contour building from native outline records,
// spline flattening with its clip shortcut, and text drawn in the four styles.
#include "designer/vector_text/g32_interface.h"

#include <QRect>
#include <gtest/gtest.h>

namespace {

TFixedPoint Pt(double x, double y) { return {Fixed(x), Fixed(y)}; }

// Native outline bytes, written by hand.
class TOutlineBytes {
public:
    TOutlineBytes& Polygon(double x, double y)
    {
        FPolygon = FBytes.size();
        U32(0);
        U32(TT_POLYGON_TYPE);
        U32(uint32_t(Fixed(x)));
        U32(uint32_t(Fixed(y)));
        return *this;
    }
    TOutlineBytes& Curve(uint16_t type, std::initializer_list<std::pair<double, double>> pts)
    {
        U16(type);
        U16(uint16_t(pts.size()));
        for (const auto& [x, y] : pts) {
            U32(uint32_t(Fixed(x)));
            U32(uint32_t(Fixed(y)));
        }
        return *this;
    }
    TOutlineBytes& End()
    {
        const uint32_t cb = uint32_t(FBytes.size() - FPolygon);
        for (int i = 0; i < 4; ++i)
            FBytes[FPolygon + size_t(i)] = uint8_t(cb >> (8 * i));
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return FBytes; }

private:
    void U16(uint16_t v)
    {
        FBytes.push_back(uint8_t(v));
        FBytes.push_back(uint8_t(v >> 8));
    }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            FBytes.push_back(uint8_t(v >> (8 * i)));
    }
    std::vector<uint8_t> FBytes;
    size_t FPolygon = 0;
};

// Rows and columns of pixels that differ from the background.
QRect InkBox(const TBitmap32& b, TColor32 background)
{
    QRect box;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

int InkInRow(const TBitmap32& b, int y, TColor32 background)
{
    int n = 0;
    for (int x = 0; x < b.Width(); ++x)
        n += b.Pixel(x, y) != background;
    return n;
}

const TFixedRect kClip{0, 0, Fixed(100), Fixed(100)};

} // namespace

TEST(GlyphContours, LinesSkipRepeatsAndThePolygonCloses)
{
    TOutlineBytes o;
    o.Polygon(1, 1).Curve(TT_PRIM_LINE, {{1, 1}, {5, 1}, {5, 5}}).End();
    TContourStore store;
    BuildGlyphContours(o.Bytes().data(), o.Bytes().size(), Pt(10, 20), kClip, store);
    const auto c = store.CopyOut();
    ASSERT_EQ(c.size(), 1u);
    // The repeated start is not appended again; the start closes the polygon.
    const TArrayOfFixedPoint expected{Pt(11, 21), Pt(15, 21), Pt(15, 25), Pt(11, 21)};
    EXPECT_EQ(c[0], expected);
}

TEST(GlyphContours, EachPolygonIsItsOwnContourAndSplinesUseImpliedMidpoints)
{
    TOutlineBytes o;
    o.Polygon(0, 0).Curve(TT_PRIM_LINE, {{4, 0}}).End();
    // Two controls: the first piece ends at their midpoint (6, 8), the second at (4, 0).
    o.Polygon(0, 0).Curve(TT_PRIM_QSPLINE, {{0, 0.5}, {12, 15.5}, {12, 16}}).End();
    TContourStore store;
    BuildGlyphContours(o.Bytes().data(), o.Bytes().size(), Pt(0, 0), kClip, store);
    const auto c = store.CopyOut();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].size(), 3u); // start, line end, start again
    // The second contour passes through the implied on-curve point (6, 8).
    EXPECT_NE(std::find(c[1].begin(), c[1].end(), Pt(6, 8)), c[1].end());
    EXPECT_EQ(c[1].front(), Pt(0, 0));
    EXPECT_EQ(c[1].back(), Pt(0, 0));
    // Flattened: every step at most the tolerance long.
    for (size_t i = 1; i + 1 < c[1].size(); ++i) {
        const int64_t d = std::llabs(int64_t(c[1][i].X) - c[1][i - 1].X) + std::llabs(int64_t(c[1][i].Y) - c[1][i - 1].Y);
        EXPECT_LE(d, 2 * int64_t(CurveTolerance)) << i;
    }
}

TEST(GlyphContours, RecordsThatOverrunTheBufferEndTheOutline)
{
    TOutlineBytes o;
    o.Polygon(0, 0).Curve(TT_PRIM_LINE, {{4, 0}, {4, 4}}).End();
    std::vector<uint8_t> bytes = o.Bytes();
    // A point count larger than the polygon: the record is ignored.
    bytes[16 + 2] = 0xFF;
    TContourStore store;
    BuildGlyphContours(bytes.data(), bytes.size(), Pt(0, 0), kClip, store);
    ASSERT_EQ(store.CopyOut().size(), 1u);
    EXPECT_EQ(store.CopyOut()[0].size(), 1u);
    // A polygon size of 0 or beyond the buffer: nothing is read and nothing loops.
    bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0;
    BuildGlyphContours(bytes.data(), bytes.size(), Pt(0, 0), kClip, store);
    EXPECT_TRUE(store.CopyOut()[0].empty());
    bytes[3] = 0x7F;
    BuildGlyphContours(bytes.data(), bytes.size(), Pt(0, 0), kClip, store);
    EXPECT_TRUE(store.CopyOut()[0].empty());
}

TEST(SplineFlattening, CurveBesideTheBitmapIsEmittedAsItsControlPolygon)
{
    TContourStore store;
    // All three points right of the bitmap: zone 1 for each.
    FlattenSpline(store, Pt(150, 10), Pt(300, 50), Pt(150, 90), kClip);
    const TArrayOfFixedPoint right{Pt(300, 50), Pt(150, 90)};
    EXPECT_EQ(store.CopyOut()[0], right);

    // The same curve across the bitmap is subdivided.
    store.Reset();
    FlattenSpline(store, Pt(10, 10), Pt(90, 50), Pt(10, 90), kClip);
    const auto inside = store.CopyOut()[0];
    EXPECT_GT(inside.size(), 20u);
    EXPECT_EQ(inside.back(), Pt(10, 90));

    // Above, below and left are shortcuts too; inside points never are.
    EXPECT_EQ(ClipZone(Pt(101, -5), kClip), 1);
    EXPECT_EQ(ClipZone(Pt(50, 101), kClip), 3);
    EXPECT_EQ(ClipZone(Pt(-1, 50), kClip), 0);
    EXPECT_EQ(ClipZone(Pt(50, -1), kClip), 2);
    EXPECT_EQ(ClipZone(Pt(100, 100), kClip), 4);
    store.Reset();
    FlattenSpline(store, Pt(10, -10), Pt(50, -60), Pt(90, -10), kClip);
    EXPECT_EQ(store.CopyOut()[0].size(), 2u);
    // Points outside on different sides are subdivided.
    store.Reset();
    FlattenSpline(store, Pt(-50, 50), Pt(50, -60), Pt(150, 50), kClip);
    EXPECT_GT(store.CopyOut()[0].size(), 2u);
}

TEST(SplineFlattening, DegenerateSplinesAndShortPiecesStopAtOnce)
{
    TContourStore store;
    FlattenSpline(store, Pt(10, 10), Pt(10, 10), Pt(60, 60), kClip);
    EXPECT_EQ(store.CopyOut()[0], (TArrayOfFixedPoint{Pt(10, 10), Pt(60, 60)}));
    store.Reset();
    // Control polygon of Manhattan length 2: one split, its two halves emitted directly.
    FlattenSpline(store, Pt(10, 10), Pt(11, 10), Pt(11, 11), kClip);
    EXPECT_EQ(store.CopyOut()[0].size(), 4u);
}

TEST(Bitmap32Ex, StartsWithTheFlipTransformAndTakesTheMatrixRounded)
{
    TBitmap32Ex b;
    EXPECT_EQ(b.GlyphTransform().eM11, 65536);
    EXPECT_EQ(b.GlyphTransform().eM22, -65536);
    TFloatMatrix m = IdentityMatrix();
    m[0][0] = 1.5f;
    m[0][1] = -0.25f;
    m[1][0] = 0.1f;
    m[1][1] = -2.0f;
    m[2][0] = 500.0f; // translation is not part of the glyph transform
    b.SetTransform(m);
    EXPECT_EQ(b.GlyphTransform().eM11, 98304);
    EXPECT_EQ(b.GlyphTransform().eM12, -16384);
    EXPECT_EQ(b.GlyphTransform().eM21, 6554);
    EXPECT_EQ(b.GlyphTransform().eM22, -131072);
}

TEST(TextOutline, CapitalAStandsUprightOnItsBaseline)
{
    TBitmap32Ex b;
    b.SetSize(60, 50);
    b.Clear(0);
    b.RenderTextOutline(0, Fixed(30), QStringLiteral("A"), 0xFF000000u, tfSharpFill);
    const QRect ink = InkBox(b, 0);
    ASSERT_FALSE(ink.isEmpty());
    // 24 pt is 32 px: the capital reaches about 23 px above the baseline at y = 30.
    EXPECT_EQ(ink.bottom(), 29);
    EXPECT_GE(ink.top(), 4);
    EXPECT_LE(ink.top(), 10);
    // Upright: narrow at the apex, wide at the feet.
    EXPECT_LT(InkInRow(b, ink.top() + 1, 0), InkInRow(b, ink.bottom(), 0));
    EXPECT_GT(ink.width(), 15);
}

TEST(TextOutline, SpacesMoveThePenWithoutDrawing)
{
    TBitmap32Ex b;
    b.SetSize(200, 50);
    b.Clear(0);
    b.RenderTextOutline(0, Fixed(30), QStringLiteral("   "), 0xFF000000u, tfSharpFill);
    EXPECT_TRUE(InkBox(b, 0).isEmpty());
    const double threeSpaces = b.PenOffsetX();
    EXPECT_GT(threeSpaces, 10);
    EXPECT_EQ(b.PenOffsetY(), 0);

    b.RenderTextOutline(0, Fixed(30), QStringLiteral("A"), 0xFF000000u, tfSharpFill);
    const int plainLeft = InkBox(b, 0).left();
    b.Clear(0);
    b.RenderTextOutline(0, Fixed(30), QStringLiteral("   A"), 0xFF000000u, tfSharpFill);
    EXPECT_EQ(InkBox(b, 0).left(), plainLeft + int(threeSpaces));
}

TEST(TextOutline, TheFourStylesDifferAsTheirFlagsSay)
{
    auto draw = [](int flags) {
        auto b = std::make_unique<TBitmap32Ex>();
        b->SetSize(80, 50);
        b->Clear(0xFFFFFFFFu);
        b->RenderTextOutline(Fixed(5), Fixed(40), QStringLiteral("O"), 0xFF000000u, flags);
        return b;
    };
    auto countPixels = [](const TBitmap32& b, auto pred) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                n += pred(b.Pixel(x, y));
        return n;
    };
    auto black = [](TColor32 c) { return (c & 0xFFFFFF) == 0; };
    auto grey = [](TColor32 c) { return (c & 0xFFFFFF) != 0 && (c & 0xFFFFFF) != 0xFFFFFF; };
    const auto sharpOutline = draw(tfSharpOutline), smoothOutline = draw(tfSmoothOutline);
    const auto sharpFill = draw(tfSharpFill), smoothFill = draw(tfSmoothFill);
    // Sharp styles use only the text colour; smoothed ones blend edges.
    EXPECT_EQ(countPixels(*sharpOutline, grey), 0);
    EXPECT_EQ(countPixels(*sharpFill, grey), 0);
    EXPECT_GT(countPixels(*smoothOutline, grey), 10);
    EXPECT_GT(countPixels(*smoothFill, grey), 10);
    // A filled "O" covers much more than its outline, and its hole stays empty
    // (odd-even): the centre of the letter is white in every style.
    EXPECT_GT(countPixels(*sharpFill, black), 2 * countPixels(*sharpOutline, black));
    const QRect box = InkBox(*sharpFill, 0xFFFFFFFFu);
    for (const auto* b : {sharpOutline.get(), smoothOutline.get(), sharpFill.get(), smoothFill.get()})
        EXPECT_EQ(b->Pixel(box.center().x(), box.center().y()), 0xFFFFFFFFu);
    // The outline lies on the edge of the fill.
    EXPECT_TRUE(InkBox(*sharpOutline, 0xFFFFFFFFu).intersects(box));
}

TEST(TextOutline, EmptyTextDrawsNothingAndBlendingIgnoresTheBackgroundAlpha)
{
    TBitmap32Ex b;
    b.SetSize(60, 50);
    b.Clear(0x00D8D8D8u);
    b.RenderTextOutline(0, Fixed(30), QString(), 0xFF000000u, tfSmoothFill);
    EXPECT_TRUE(InkBox(b, 0x00D8D8D8u).isEmpty());
    b.RenderTextOutline(0, Fixed(30), QStringLiteral("A"), 0xFF000000u, tfSmoothFill);
    // Edge pixels mix black with the grey underneath, though the grey has alpha 0.
    bool mixed = false;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 c = b.Pixel(x, y);
            const unsigned r = (c >> 16) & 0xFF;
            mixed |= r > 0 && r < 0xD8;
        }
    EXPECT_TRUE(mixed);
}
