#include "platform/region.h"

#include <gtest/gtest.h>

TEST(Region, RectangleExcludesRightAndBottomEdges)
{
    const TRegion r = CreateRectRgn(2, 3, 6, 5);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(5, 4));
    EXPECT_FALSE(r.Contains(6, 4));
    EXPECT_FALSE(r.Contains(5, 5));
    EXPECT_EQ(r.PixelCount(), 8);
    EXPECT_EQ(GetRgnBox(r), TRect(2, 3, 6, 5));
    EXPECT_TRUE(CreateRectRgn(4, 4, 4, 9).IsEmpty());
}

TEST(Region, EllipseIsSymmetricAndInscribed)
{
    const TRegion e = CreateEllipticRgn(147, 147, 313, 313);
    EXPECT_EQ(GetRgnBox(e), TRect(147, 147, 313, 313));
    // Mirror symmetry on both axes.
    for (int y = 147; y < 313; ++y)
        for (int x = 147; x < 313; ++x) {
            ASSERT_EQ(e.Contains(x, y), e.Contains(147 + 312 - x, y)) << x << "," << y;
            ASSERT_EQ(e.Contains(x, y), e.Contains(x, 147 + 312 - y)) << x << "," << y;
        }
    EXPECT_FALSE(e.Contains(147, 147)); // corners lie outside
    EXPECT_TRUE(e.Contains(230, 230));
    // Area close to pi * r^2.
    EXPECT_NEAR(e.PixelCount(), 3.14159265 * 83 * 83, 200);
}

TEST(Region, XorOfRectangleAndEllipsesMakesTheDiscMask)
{
    TRegion mask = CreateRectRgn(0, 0, 461, 461);
    CombineRgn(mask, mask, CreateEllipticRgn(7, 7, 452, 452), RGN_XOR);
    CombineRgn(mask, mask, CreateEllipticRgn(147, 147, 313, 313), RGN_XOR);
    EXPECT_TRUE(mask.Contains(0, 0));       // corner outside the disc
    EXPECT_FALSE(mask.Contains(100, 230));  // on the ring
    EXPECT_TRUE(mask.Contains(230, 230));   // in the hole
    EXPECT_EQ(GetRgnBox(mask), TRect(0, 0, 461, 461));
}

TEST(Region, OutlineRingIsOnePixelWide)
{
    // The guide outline: xor of a shape and the same shape one pixel larger.
    TRegion a;
    CombineRgn(a, a, CreateRectRgn(10, 10, 21, 21), RGN_XOR);
    CombineRgn(a, a, CreateRectRgn(9, 9, 22, 22), RGN_XOR);
    EXPECT_EQ(a.PixelCount(), 13 * 13 - 11 * 11);
    EXPECT_TRUE(a.Contains(9, 9));
    EXPECT_TRUE(a.Contains(21, 21));
    EXPECT_FALSE(a.Contains(10, 10));
}

TEST(Region, CombineModes)
{
    const TRegion a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15);
    EXPECT_EQ(a.Combined(b, RGN_AND).PixelCount(), 25);
    EXPECT_EQ(a.Combined(b, RGN_OR).PixelCount(), 175);
    EXPECT_EQ(a.Combined(b, RGN_XOR).PixelCount(), 150);
    EXPECT_EQ(a.Combined(b, RGN_DIFF).PixelCount(), 75);
    TRegion c = a;
    c.Offset(5, 5);
    EXPECT_EQ(c, CreateRectRgn(5, 5, 15, 15));
    EXPECT_EQ(a.ToQRegion().boundingRect(), QRect(0, 0, 10, 10));
}

// Combining by a pixel-by-pixel reference on random shapes, and the fewer
// rectangles of CoverRects covering exactly the same pixels, none twice.
TEST(Region, CombineAndCoverRectsAgreeWithPixelsOnRandomShapes)
{
    uint32_t seed = 12345;
    auto rnd = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % uint32_t(n));
    };
    auto shape = [&] {
        TRegion r;
        for (int k = 0; k < 4; ++k) {
            const int l = rnd(60), t = rnd(60);
            const TRegion part = rnd(2) ? CreateEllipticRgn(l, t, l + 1 + rnd(40), t + 1 + rnd(40))
                                        : CreateRectRgn(l, t, l + rnd(40), t + rnd(40));
            CombineRgn(r, r, part, rnd(2) ? RGN_OR : RGN_XOR);
        }
        return r;
    };
    for (int round = 0; round < 40; ++round) {
        const TRegion a = shape(), b = shape();
        for (TRegionCombine mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
            TRegion c;
            CombineRgn(c, a, b, mode);
            std::vector<int> seen(110 * 110, 0);
            for (const TRect& r : c.CoverRects())
                for (int y = r.Top; y < r.Bottom; ++y)
                    for (int x = r.Left; x < r.Right; ++x)
                        ++seen[size_t(y * 110 + x)];
            int pixels = 0;
            for (int y = 0; y < 110; ++y)
                for (int x = 0; x < 110; ++x) {
                    const bool ia = a.Contains(x, y), ib = b.Contains(x, y);
                    const bool want = mode == RGN_AND ? ia && ib : mode == RGN_OR ? ia || ib
                                      : mode == RGN_XOR ? ia != ib : ia && !ib;
                    ASSERT_EQ(c.Contains(x, y), want) << round << " " << mode << " at " << x << "," << y;
                    ASSERT_EQ(seen[size_t(y * 110 + x)], want ? 1 : 0) << round << " " << mode;
                    pixels += want;
                }
            EXPECT_EQ(c.PixelCount(), pixels);
            EXPECT_LE(c.CoverRects().size(), c.Rects().size());
        }
    }
}
