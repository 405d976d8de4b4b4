#include <gtest/gtest.h>

#include "classlib/graphics/types.h"
#include "platform/system_metrics.h"
#include "skin/skin_bitmaps.h"

namespace {
// A picture whose every pixel differs: (x, y) -> (x * 20, y * 30, x + y).
QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 20, y * 30, x + y));
    return img;
}

TColor At(const QImage& img, int x, int y) { return PixelColour(img.pixel(x, y)); }
} // namespace

TEST(SkinBitmaps, RotationsMapPixelsAndUndoEachOther)
{
    const QImage start = Pattern(5, 3);
    QImage img = start;
    RotateBitmapLeft(img);
    ASSERT_EQ(img.size(), QSize(3, 5));
    // old (x, y) -> (y, W - 1 - x)
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(img.pixel(y, 4 - x), start.pixel(x, y));
    RotateBitmapRight(img);
    EXPECT_EQ(img, start);

    img = start;
    RotateBitmapRight(img);
    ASSERT_EQ(img.size(), QSize(3, 5));
    // old (x, y) -> (H - 1 - y, x)
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(img.pixel(2 - y, x), start.pixel(x, y));
    RotateBitmapLeft(img);
    EXPECT_EQ(img, start);
    // Other formats come out 24-bit.
    QImage argb = start.convertToFormat(QImage::Format_ARGB32);
    RotateBitmapLeft(argb);
    EXPECT_EQ(argb.format(), QImage::Format_RGB32);
}

TEST(SkinBitmaps, MirrorAndFlip)
{
    const QImage start = Pattern(4, 3);
    QImage img = start;
    MirrorBitmap(img);
    EXPECT_EQ(img.pixel(0, 1), start.pixel(3, 1));
    EXPECT_EQ(img.pixel(3, 2), start.pixel(0, 2));
    img = start;
    FlipBitmap(img);
    EXPECT_EQ(img.pixel(1, 0), start.pixel(1, 2));
    EXPECT_EQ(img.pixel(2, 2), start.pixel(2, 0));
    QImage empty;
    MirrorBitmap(empty);
    RotateBitmapLeft(empty);
    EXPECT_TRUE(empty.isNull());
}

TEST(SkinBitmaps, GreyAndKeyColour)
{
    QImage img(3, 1, QImage::Format_RGB888);
    img.setPixel(0, 0, qRgb(255, 0, 255));
    img.setPixel(1, 0, qRgb(255, 1, 255));
    img.setPixel(2, 0, qRgb(10, 20, 33));
    QImage keyed = img;
    ReplaceKeyColor(keyed, RGB(1, 2, 3));
    EXPECT_EQ(keyed.format(), QImage::Format_RGB32);
    EXPECT_EQ(At(keyed, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(At(keyed, 1, 0), RGB(255, 1, 255));  // not exactly magenta
    EXPECT_EQ(At(keyed, 2, 0), RGB(10, 20, 33));

    GrayscaleBitmap(img);
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_EQ(At(img, 0, 0), RGB(170, 170, 170));
    EXPECT_EQ(At(img, 2, 0), RGB(21, 21, 21));  // 63 div 3
}

TEST(SkinBitmaps, BlendColorsPercentAndPerMille)
{
    EXPECT_EQ(BlendColors(clWhite, clBlack, 50), RGB(128, 128, 128));
    // 100 is per mille: 10 % of c1, 90 % of c2.
    EXPECT_EQ(BlendColors(RGB(200, 100, 0), RGB(0, 0, 100), 100), RGB(20, 10, 90));
    EXPECT_EQ(BlendColors(RGB(200, 100, 0), RGB(0, 0, 100), 99), RGB(198, 99, 1));
    EXPECT_EQ(BlendColors(clWhite, clBlack, 150), RGB(38, 38, 38));  // (255 * 150 + 500) div 1000
    EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(40, 50, 60), 0), RGB(40, 50, 60));
    // System colours are resolved first.
    EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 30), ColorToRGB(clBtnFace));
}

TEST(SkinBitmaps, RGBToHueExamples)
{
    int h = -1;
    int s = -1;
    RGBToHue(RGB(100, 100, 100), h, s);
    EXPECT_EQ(s, 200);
    EXPECT_EQ(h, 0);
    RGBToHue(RGB(255, 0, 0), h, s);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 255);
    RGBToHue(RGB(0, 255, 0), h, s);
    EXPECT_EQ(h, 85);  // 120 degrees
    RGBToHue(RGB(0, 0, 255), h, s);
    EXPECT_EQ(h, 170);
    RGBToHue(RGB(255, 0, 128), h, s);  // negative hue wraps: 330 degrees
    EXPECT_EQ(h, 234);
    RGBToHue(RGB(200, 100, 100), h, s);
    EXPECT_EQ(s, 128);  // 0.5 * 255 rounded half to even
    RGBToHue(RGB(0, 0, 0), h, s);
    EXPECT_EQ(s, 200);
    RGBToHue(RGB(255, 255, 255), h, s);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(h, 0);
}

TEST(SkinBitmaps, GradientTablesAndCache)
{
    const std::vector<TColor> up = GradientColours(5, RGB(0, 0, 0), RGB(100, 200, 40));
    ASSERT_EQ(up.size(), 5u);
    EXPECT_EQ(up.front(), RGB(0, 0, 0));
    EXPECT_EQ(up[2], RGB(50, 100, 20));
    EXPECT_EQ(up.back(), RGB(100, 200, 40));
    // A second request is served from the cache: no slot is used.
    const int next = GradientCacheNextSlot();
    GradientColours(5, RGB(0, 0, 0), RGB(100, 200, 40));
    EXPECT_EQ(GradientCacheNextSlot(), next);
    // A falling channel ends one short of c2, so the lookup misses every time.
    const std::vector<TColor> down = GradientColours(3, RGB(255, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(down.back(), RGB(1, 0, 0));
    const int afterDown = GradientCacheNextSlot();
    EXPECT_EQ(afterDown, (next + 1) % 16);
    GradientColours(3, RGB(255, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GradientCacheNextSlot(), (afterDown + 1) % 16);
    // One entry: the midpoint.
    EXPECT_EQ(GradientColours(1, RGB(0, 100, 200), RGB(255, 0, 0)).front(), RGB(127, 50, 100));
    // Sixteen new tables push the oldest out of the ring.
    for (int i = 0; i < 16; ++i)
        GradientColours(100 + i, RGB(0, 0, 0), RGB(0, 0, 99));
    const int before = GradientCacheNextSlot();
    GradientColours(5, RGB(0, 0, 0), RGB(100, 200, 40));
    EXPECT_EQ(GradientCacheNextSlot(), (before + 1) % 16);
}

TEST(SkinBitmaps, GradientFillPaintsLinesWithinTheClip)
{
    QImage img(20, 12, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        GradientFillRect(p, TRect(2, 1, 12, 11), RGB(0, 0, 0), true, RGB(90, 180, 9));
    }
    EXPECT_EQ(At(img, 2, 1), RGB(0, 0, 0));
    EXPECT_EQ(At(img, 11, 10), RGB(90, 180, 9));
    EXPECT_EQ(At(img, 5, 4), RGB(30, 60, 3));  // line 3 of 10: (90 * 3 + 4) div 9
    EXPECT_EQ(At(img, 12, 5), RGB(255, 255, 255));
    EXPECT_EQ(At(img, 1, 5), RGB(255, 255, 255));

    // Horizontal, one pixel high: each column in the table's colour.
    img.fill(Qt::white);
    {
        QPainter p(&img);
        GradientFillRect(p, TRect(0, 0, 3, 1), RGB(0, 0, 0), false, RGB(200, 0, 0));
    }
    EXPECT_EQ(At(img, 1, 0), RGB(100, 0, 0));
    EXPECT_EQ(At(img, 1, 1), RGB(255, 255, 255));

    // A rectangle one pixel high filled vertically takes the midpoint colour.
    img.fill(Qt::white);
    {
        QPainter p(&img);
        GradientFillRect(p, TRect(0, 3, 20, 4), RGB(0, 0, 0), true, RGB(200, 100, 50));
    }
    EXPECT_EQ(At(img, 7, 3), RGB(100, 50, 25));

    // Only the clipped part is painted, and in its own colours.
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setClipRect(QRect(0, 5, 20, 2));
        GradientFillRect(p, TRect(0, 0, 20, 12), RGB(0, 0, 0), true, RGB(0, 0, 110));
    }
    EXPECT_EQ(At(img, 3, 4), RGB(255, 255, 255));
    EXPECT_EQ(At(img, 3, 5), RGB(0, 0, 50));
    EXPECT_EQ(At(img, 3, 6), RGB(0, 0, 60));
    EXPECT_EQ(At(img, 3, 7), RGB(255, 255, 255));

    // Outside the clip, or empty: nothing at all.
    img.fill(Qt::white);
    {
        QPainter p(&img);
        GradientFillRect(p, TRect(30, 30, 40, 40), RGB(0, 0, 0), true, RGB(0, 0, 0));
        GradientFillRect(p, TRect(3, 3, 3, 9), RGB(0, 0, 0), true, RGB(0, 0, 0));
        // System colours are resolved.
        GradientFillRect(p, TRect(0, 0, 1, 1), clBtnFace, true, clBtnFace);
    }
    EXPECT_EQ(At(img, 0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(img, 3, 3), RGB(255, 255, 255));
}
