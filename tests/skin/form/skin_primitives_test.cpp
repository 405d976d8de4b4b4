#include "skin/form/skin_primitives.h"

#include "classlib/controls/control.h"
#include "classlib/forms/form.h"
#include "platform/window_proc.h"

#include <QPaintEvent>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kBackdrop = qRgb(1, 2, 3);

QImage Picture(int w, int h, const std::function<QRgb(int, int)>& colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, colour(x, y));
    return img;
}

QImage Canvas(int w, int h, QRgb fill = kBackdrop)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// The colour of one of the nine parts of a frame (column and row 0..2).
QRgb PartColour(int col, int row) { return qRgb(40 + col * 80, 40 + row * 80, 100); }

// A frame whose nine parts under the margins have distinct colours; the
// centre is a pattern so that tiling shows.
QRgb NinePartPixel(int u, int v, int fw, int fh, const TSkinMargins& m)
{
    const int col = u < m.Left ? 0 : u >= fw - m.Right ? 2 : 1;
    const int row = v < m.Top ? 0 : v >= fh - m.Bottom ? 2 : 1;
    if (col == 1 && row == 1)
        return qRgb(200, (u - m.Left) * 30, (v - m.Top) * 40);
    return PartColour(col, row);
}

// Which part a target pixel belongs to and what it must show.
struct TExpectNine {
    int W, H, Fw, Fh;
    TSkinMargins M;
    bool Tiled;
    QRgb At(int x, int y) const
    {
        const int col = x < M.Left ? 0 : x >= W - M.Right ? 2 : 1;
        const int row = y < M.Top ? 0 : y >= H - M.Bottom ? 2 : 1;
        if (col != 1 || row != 1)
            return PartColour(col, row);
        const int cw = Fw - M.Left - M.Right, ch = Fh - M.Top - M.Bottom;
        return qRgb(200, ((x - M.Left) % cw) * 30, ((y - M.Top) % ch) * 40);
    }
};

int CountDifferences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}
} // namespace

TEST(SkinPrimitives, FramesAreCutFromTheStrip)
{
    // Every column of the 60-pixel strip has its own colour.
    const QImage strip = Picture(60, 4, [](int x, int y) { return qRgb(x * 4, y * 50, 7); });
    EXPECT_EQ(StripFrameRect(strip, false, 3, 2), QRect(20, 0, 20, 4));
    EXPECT_TRUE(StripFrameRect(strip, false, 3, 4).isEmpty());
    EXPECT_TRUE(StripFrameRect(strip, false, 3, 0).isEmpty());
    const QImage stacked = Picture(4, 60, [](int x, int y) { return qRgb(x * 50, y * 4, 7); });
    EXPECT_EQ(StripFrameRect(stacked, true, 3, 3), QRect(0, 40, 4, 20));

    // Frame 2 drawn at its own size: the strip's pixels 20..39, keyed or not.
    for (bool keyed : {false, true}) {
        QImage out = Canvas(30, 10);
        {
            QPainter p(&out);
            DrawFrameStretched(p, Bounds(5, 3, 20, 4), strip, keyed, 3, 2);
        }
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 30; ++x) {
                const bool inside = x >= 5 && x < 25 && y >= 3 && y < 7;
                ASSERT_EQ(out.pixel(x, y), inside ? strip.pixel(x - 5 + 20, y - 3) : kBackdrop) << x << "," << y;
            }
    }
    // Stretched twice as tall and wide: every source pixel becomes a 2x2 block.
    QImage big = Canvas(40, 8);
    {
        QPainter p(&big);
        DrawFrameStretched(p, Bounds(0, 0, 40, 8), strip, false, 3, 3);
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(big.pixel(x, y), strip.pixel(40 + x / 2, y / 2)) << x << "," << y;
}

TEST(SkinPrimitives, NineGridPiecesLandWhereTheMarginsSay)
{
    // Frame 2 of a two-frame strip, 12 x 10 with margins 3, 2, 4, 3: the centre is 5 x 5.
    const TSkinMargins m{3, 2, 4, 3};
    const int fw = 12, fh = 10;
    const QImage strip = Picture(2 * fw, fh, [&](int x, int y) {
        return x < fw ? qRgb(9, 9, 9) : NinePartPixel(x - fw, y, fw, fh, m);
    });
    // 38 wide: the centre of 31 is not a whole number of 5-pixel tiles, so the
    // last tile runs under the right edge, which must cover it.
    const TExpectNine expect{38, 29, fw, fh, m, true};
    const QImage tiled = NineGridBitmap(Bounds(100, 100, 38, 29), strip, m, false, true, 2, 2);
    ASSERT_EQ(tiled.size(), QSize(38, 29));
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 38; ++x)
            ASSERT_EQ(tiled.pixel(x, y), expect.At(x, y)) << x << "," << y;

    // Stretched instead: corners and edges as before, the centre is the centre stretched.
    const QImage stretched = NineGridBitmap(Bounds(0, 0, 17, 15), strip, m, false, false, 2, 2);
    const TExpectNine exact{17, 15, fw, fh, m, false}; // centre 10 x 10 from 5 x 5: a factor of 2
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 17; ++x) {
            const bool centre = x >= 3 && x < 13 && y >= 2 && y < 12;
            const QRgb want = centre ? qRgb(200, ((x - 3) / 2) * 30, ((y - 2) / 2) * 40) : exact.At(x, y);
            ASSERT_EQ(stretched.pixel(x, y), want) << x << "," << y;
        }

    // The same frame stacked in a vertical strip gives the same bitmap.
    QImage stacked(fw, 2 * fh, QImage::Format_RGB32);
    stacked.fill(qRgb(9, 9, 9));
    {
        QPainter p(&stacked);
        p.drawImage(0, fh, strip.copy(fw, 0, fw, fh));
    }
    EXPECT_EQ(NineGridBitmap(Bounds(0, 0, 38, 29), stacked, m, true, true, 2, 2), tiled);

    // NineGridDraw puts the same bitmap at the rectangle and nothing elsewhere.
    QImage target = Canvas(50, 40);
    {
        QPainter p(&target);
        NineGridDraw(p, Bounds(6, 5, 38, 29), strip, false, true, false, 2, 2, m);
    }
    EXPECT_EQ(target.copy(6, 5, 38, 29), tiled);
    EXPECT_EQ(target.pixel(5, 5), kBackdrop);
    EXPECT_EQ(target.pixel(44, 34), kBackdrop);
}

TEST(SkinPrimitives, MarginsThatDoNotFitAreDroppedPairwise)
{
    // Thirds of a 30-pixel frame: red, green, blue.
    const QImage frame = Picture(30, 4, [](int x, int) {
        return x < 10 ? qRgb(255, 0, 0) : x < 20 ? qRgb(0, 255, 0) : qRgb(0, 0, 255);
    });
    const TSkinMargins sides{10, 0, 10, 0};
    // 10 + 10 on 19 pixels: both go and the whole frame is stretched to 19.
    const QImage dropped = NineGridBitmap(Bounds(0, 0, 19, 4), frame, sides, false, false, 1, 1);
    for (int x : {0, 1, 2, 3, 4})
        EXPECT_EQ(dropped.pixel(x, 2), qRgb(255, 0, 0)) << x;
    for (int x : {7, 8, 9, 10, 11})
        EXPECT_EQ(dropped.pixel(x, 2), qRgb(0, 255, 0)) << x;
    for (int x : {14, 15, 16, 17, 18})
        EXPECT_EQ(dropped.pixel(x, 2), qRgb(0, 0, 255)) << x;

    // 10 + 10 on 20 pixels fit exactly and stay: the middle third never shows.
    const QImage kept = NineGridBitmap(Bounds(0, 0, 20, 4), frame, sides, false, true, 1, 1);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(kept.pixel(x, 1), x < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << x;

    // The same rule for top and bottom, on the frame turned on its side.
    const QImage tall = frame.transformed(QTransform().rotate(90));
    const QImage droppedV = NineGridBitmap(Bounds(0, 0, 4, 19), tall, {0, 10, 0, 10}, false, false, 1, 1);
    const QImage keptV = NineGridBitmap(Bounds(0, 0, 4, 20), tall, {0, 10, 0, 10}, false, false, 1, 1);
    EXPECT_EQ(droppedV.pixel(1, 9), tall.pixel(1, 15));
    EXPECT_EQ(keptV.pixel(1, 9), tall.pixel(1, 9));
    EXPECT_EQ(keptV.pixel(1, 10), tall.pixel(1, 20));
}

TEST(SkinPrimitives, StripsAndSlices)
{
    // A 9-pixel frame: left 3, a middle band of 4 distinct columns, right 2; 3 rows.
    const TSkinMargins m{3, 0, 2, 0};
    const QImage strip = Picture(18, 3, [](int x, int y) {
        const int u = x % 9;
        if (x < 9)
            return qRgb(9, 9, 9);
        return u < 3 ? qRgb(255, 0, y * 60) : u >= 7 ? qRgb(0, 0, 255 - y * 60) : qRgb(0, 50 * (u - 2), y * 60);
    });
    auto source = [&](int u, int v) { return strip.pixel(9 + u, v); };

    // Tiled middle: the band repeats from x = 3, the right slice covers the last tile.
    QImage out = Canvas(24, 8);
    {
        QPainter p(&out);
        DrawStripTiled(p, Bounds(2, 1, 20, 6), strip, false, false, 2, 2, m);
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x) {
            const int tx = x - 2, ty = y - 1;
            QRgb want = kBackdrop;
            if (tx >= 0 && tx < 20 && ty >= 0 && ty < 6) {
                const int v = ty / 2; // 3 rows stretched to 6
                want = tx < 3 ? source(tx, v) : tx >= 18 ? source(7 + (tx - 18), v) : source(3 + (tx - 3) % 4, v);
            }
            ASSERT_EQ(out.pixel(x, y), want) << x << "," << y;
        }

    // Three slices with the middle stretched: 3 + 16 + 2 on a 21-pixel rectangle.
    QImage three = Canvas(21, 3);
    {
        QPainter p(&three);
        DrawFrameThreeSlice(p, Bounds(0, 0, 21, 3), strip, false, 2, 2, m);
    }
    for (int x = 0; x < 21; ++x) {
        const QRgb want = x < 3 ? source(x, 1) : x >= 19 ? source(7 + x - 19, 1) : source(3 + (x - 3) / 4, 1);
        EXPECT_EQ(three.pixel(x, 1), want) << x;
    }

    // A frame wider than the rectangle is stretched whole: 9 to 3, one in three columns.
    QImage narrow = Canvas(5, 3);
    {
        QPainter p(&narrow);
        DrawFrameThreeSlice(p, TRect(1, 0, 4, 3), strip, false, 2, 2, m);
    }
    EXPECT_EQ(narrow.pixel(0, 0), kBackdrop);
    EXPECT_EQ(narrow.pixel(1, 0), source(1, 0));
    EXPECT_EQ(narrow.pixel(2, 0), source(4, 0));
    EXPECT_EQ(narrow.pixel(3, 0), source(7, 0));
    EXPECT_EQ(narrow.pixel(4, 0), kBackdrop);

    // Centred frames, halved toward zero both when smaller and when larger.
    const QImage cells = Picture(16, 6, [](int x, int y) { return qRgb(x * 10, y * 30, 1); });
    QImage centred = Canvas(20, 12);
    {
        QPainter p(&centred);
        DrawFrameCentered(p, Bounds(0, 0, 5, 3), cells, false, 2, 1);  // at -1, -1
        DrawFrameCentered(p, Bounds(2, 2, 13, 9), cells, false, 2, 2); // at 2 + 2, 2 + 1
    }
    EXPECT_EQ(centred.copy(4, 3, 8, 6), cells.copy(8, 0, 8, 6));
    EXPECT_EQ(centred.pixel(3, 5), kBackdrop);
    EXPECT_EQ(centred.pixel(0, 0), cells.pixel(1, 1));
    EXPECT_EQ(centred.pixel(3, 1), cells.pixel(4, 2));
}

TEST(SkinPrimitives, KeyedDrawingLeavesTheDestinationUnderMagenta)
{
    const QImage dest = Picture(30, 20, [](int x, int y) { return qRgb(x * 8, y * 12, 90); });
    // Magenta on a diagonal band and in the left column.
    const QImage bitmap = Picture(10, 8, [](int x, int y) {
        return (x == 0 || (x + y) % 4 == 0) ? kMagenta : qRgb(250, 250, x * 20);
    });
    auto expect = [&](const QImage& out, int left, int top, const QImage& drawn) {
        for (int y = 0; y < dest.height(); ++y)
            for (int x = 0; x < dest.width(); ++x) {
                const int u = x - left, v = y - top;
                QRgb want = dest.pixel(x, y);
                if (u >= 0 && v >= 0 && u < drawn.width() && v < drawn.height() && drawn.pixel(u, v) != kMagenta)
                    want = drawn.pixel(u, v);
                ASSERT_EQ(out.pixel(x, y), want) << x << "," << y;
            }
    };
    QImage out = dest;
    {
        QPainter p(&out);
        DrawTransparentBitmap(p, Bounds(4, 3, 10, 8), bitmap, clFuchsia);
    }
    expect(out, 4, 3, bitmap);
    // A rectangle smaller than the bitmap shows only its part.
    out = dest;
    {
        QPainter p(&out);
        DrawTransparentBitmap(p, Bounds(4, 3, 6, 5), bitmap, clFuchsia);
    }
    expect(out, 4, 3, bitmap.copy(0, 0, 6, 5));

    // The composed routines key in the same way.
    const QImage strip = Picture(20, 8, [&](int x, int y) { return x < 10 ? qRgb(5, 5, 5) : bitmap.pixel(x - 10, y); });
    out = dest;
    {
        QPainter p(&out);
        NineGridDraw(p, Bounds(12, 6, 10, 8), strip, false, false, true, 2, 2, {2, 2, 2, 2});
    }
    expect(out, 12, 6, bitmap);
    out = dest;
    {
        QPainter p(&out);
        DrawFrameCentered(p, Bounds(0, 0, 30, 20), strip, true, 2, 2);
    }
    expect(out, 10, 6, bitmap);
    out = dest;
    {
        QPainter p(&out);
        DrawStripTiled(p, Bounds(1, 2, 10, 8), strip, false, true, 2, 2, {4, 0, 6, 0});
    }
    expect(out, 1, 2, bitmap);
}

TEST(SkinPrimitives, InvertedRectanglesDrawNothing)
{
    const QImage strip = Picture(20, 10, [](int x, int y) { return qRgb(x * 10, y * 20, 3); });
    const TSkinMargins m{2, 2, 2, 2};
    const QImage before = Canvas(30, 30);
    const std::vector<std::function<void(QPainter&, const TRect&)>> ops = {
        [&](QPainter& p, const TRect& r) { NineGridDraw(p, r, strip, false, true, false, 2, 1, m); },
        [&](QPainter& p, const TRect& r) { NineGridDraw(p, r, strip, false, false, true, 2, 1, m); },
        [&](QPainter& p, const TRect& r) { DrawStripTiled(p, r, strip, false, false, 2, 1, m); },
        [&](QPainter& p, const TRect& r) { DrawFrameStretched(p, r, strip, false, 2, 1); },
        [&](QPainter& p, const TRect& r) { DrawFrameCentered(p, r, strip, false, 2, 1); },
        [&](QPainter& p, const TRect& r) { DrawFrameThreeSlice(p, r, strip, false, 2, 1, m); },
        [&](QPainter& p, const TRect& r) { TileBitmap(p, r, strip, QRect(0, 0, 3, 3)); },
        [&](QPainter& p, const TRect& r) { DrawTransparentBitmap(p, r, strip, clFuchsia); },
    };
    for (size_t i = 0; i < ops.size(); ++i)
        for (const TRect& r : {TRect(20, 5, 10, 25), TRect(5, 20, 25, 10)}) {
            QImage out = before;
            {
                QPainter p(&out);
                ops[i](p, r);
            }
            EXPECT_EQ(CountDifferences(out, before), 0) << "operation " << i;
        }
    EXPECT_TRUE(NineGridBitmap(TRect(20, 5, 10, 25), strip, m, false, true, 2, 1).isNull());
}

TEST(SkinPrimitives, TilesStartAtTheTopLeftAndRunPastTheEdge)
{
    const QImage source = Picture(10, 10, [](int x, int y) { return qRgb(x * 20, y * 20, 77); });
    const QRect from(2, 3, 3, 2);
    QImage out = Canvas(20, 12);
    {
        QPainter p(&out);
        TileBitmap(p, TRect(1, 1, 8, 4), source, from); // 7 x 3: three columns, two rows of tiles
    }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 1 && x < 10 && y >= 1 && y < 5;
            const QRgb want = inside ? source.pixel(2 + (x - 1) % 3, 3 + (y - 1) % 2) : kBackdrop;
            ASSERT_EQ(out.pixel(x, y), want) << x << "," << y;
        }
    // Many small tiles over a large target: still every tile in its place and
    // the last ones ending on the tile grid, not at the target's edge.
    QImage wide = Canvas(300, 100);
    {
        QPainter p(&wide);
        TileBitmap(p, TRect(0, 0, 250, 70), source, QRect(1, 1, 3, 4));
    }
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool inside = x < 252 && y < 72;
            const QRgb want = inside ? source.pixel(1 + x % 3, 1 + y % 4) : kBackdrop;
            ASSERT_EQ(wide.pixel(x, y), want) << x << "," << y;
        }
}

TEST(SkinPrimitives, RegionsFromBitmaps)
{
    // Entirely magenta: nothing.
    EXPECT_TRUE(RegionFromBitmap(Canvas(16, 9, kMagenta), 0, 0, 1, 1, 1).IsEmpty());
    EXPECT_TRUE(RegionFromBitmap(QImage(), 0, 0, 1, 1, 1).IsEmpty());

    // One channel one above the key is key with a tolerance of 1, not with 0;
    // the tolerance only reaches upward.
    QImage img = Canvas(4, 3, kMagenta);
    img.setPixel(1, 0, qRgb(255, 1, 255));
    img.setPixel(2, 1, qRgb(10, 20, 30));
    img.setPixel(3, 2, qRgb(254, 0, 255));
    const TRegion tolerant = RegionFromBitmap(img, 10, 20, 1, 1, 1);
    EXPECT_EQ(tolerant.PixelCount(), 2);
    EXPECT_TRUE(tolerant.Contains(12, 21));
    EXPECT_TRUE(tolerant.Contains(13, 22));
    EXPECT_FALSE(tolerant.Contains(11, 20));
    const TRegion strict = RegionFromBitmap(img, 0, 0, 0, 0, 0);
    EXPECT_EQ(strict.PixelCount(), 3);
    EXPECT_TRUE(strict.Contains(1, 0));
    // The tolerance is per channel.
    EXPECT_TRUE(RegionFromBitmap(img, 0, 0, 1, 0, 1).Contains(1, 0));

    // Runs on one line become one piece each.
    QImage line = Canvas(10, 1, kMagenta);
    for (int x : {1, 2, 3, 6, 9})
        line.setPixel(x, 0, qRgb(0, 0, 0));
    const TRegion runs = RegionFromBitmap(line, 0, 5, 0, 0, 0);
    EXPECT_EQ(runs.Rects(), (std::vector<TRect>{TRect(1, 5, 4, 6), TRect(6, 5, 7, 6), TRect(9, 5, 10, 6)}));

    // Far more than 2000 runs, with batches ending inside a line: the same
    // region as the pixels themselves say.
    const QImage noisy = Picture(77, 90, [](int x, int y) {
        const unsigned h = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u);
        return (x + y) % 2 == 0 || (h >> 7) % 5 == 0 ? kMagenta : qRgb(int(h & 0xFF), 0, 0);
    });
    const TRegion big = RegionFromBitmap(noisy, -3, 4, 0, 0, 0);
    int solid = 0;
    TRect box(1000, 1000, -1000, -1000);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x) {
            const bool want = noisy.pixel(x, y) != kMagenta;
            solid += want;
            if (want)
                box = TRect(std::min(box.Left, x - 3), std::min(box.Top, y + 4), std::max(box.Right, x - 2),
                            std::max(box.Bottom, y + 5));
            ASSERT_EQ(big.Contains(x - 3, y + 4), want) << x << "," << y;
        }
    EXPECT_GT(solid, 2000);
    EXPECT_EQ(big.PixelCount(), solid);
    EXPECT_EQ(big.BoundingBox(), box);
}

namespace {
// A bare Qt parent that paints a pattern of its own.
class TPatternWidget : public QWidget {
public:
    static QRgb At(int x, int y) { return qRgb(x * 3 % 256, y * 5 % 256, 60); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) {
                p.setPen(QColor::fromRgb(At(x, y)));
                p.drawPoint(x, y);
            }
    }
};

// A class-library parent: one colour with a second block at (30, 20, 50, 35).
class TBlockControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static QRgb At(int x, int y)
    {
        return TRect(30, 20, 50, 35).Contains(x, y) ? qRgb(200, 10, 10) : qRgb(10, 200, 10);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(RGB(10, 200, 10));
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(RGB(200, 10, 10));
        Canvas()->FillRect(TRect(30, 20, 50, 35));
    }
};
} // namespace

TEST(SkinPrimitives, ParentPaintsBehindTheControl)
{
    // A bare widget: its own painting, shifted by the control's place.
    TPatternWidget parent;
    parent.resize(80, 60);
    QWidget child(&parent);
    child.setGeometry(25, 15, 40, 30);
    QImage out = Canvas(40, 30);
    {
        QPainter p(&out);
        PaintParentBackground(&child, p);
    }
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(out.pixel(x, y), TPatternWidget::At(x + 25, y + 15)) << x << "," << y;

    // A class-library parent gets the erase and the paint with the painter.
    auto form = std::make_unique<TForm>(nullptr);
    auto* owner = new TBlockControl(form.get());
    owner->SetParent(form.get());
    owner->SetBounds(0, 0, 80, 60);
    auto* control = new TBlockControl(form.get());
    control->SetParent(owner);
    control->SetBounds(25, 15, 40, 30);
    std::vector<std::string> seen;
    QImage classlib = Canvas(40, 30);
    QPainter p(&classlib);
    const TWndProc old = GetWindowProc(owner->Handle());
    SetWindowProc(owner->Handle(), [&](TMessage& m) {
        if (m.Msg == WM_ERASEBKGND || m.Msg == WM_PAINT)
            seen.push_back((m.Msg == WM_PAINT ? "paint " : "erase ") +
                           std::string(m.WParam == reinterpret_cast<WPARAM>(&p) ? "dc" : "other"));
        CallWindowProc(old, m);
    });
    PaintParentBackground(control->Handle(), p);
    p.end();
    SetWindowProc(owner->Handle(), old);
    EXPECT_EQ(seen, (std::vector<std::string>{"erase dc", "paint dc"}));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(classlib.pixel(x, y), TBlockControl::At(x + 25, y + 15)) << x << "," << y;

    // Without a parent nothing happens.
    QWidget orphan;
    QImage none = Canvas(5, 5);
    {
        QPainter np(&none);
        PaintParentBackground(&orphan, np);
    }
    EXPECT_EQ(CountDifferences(none, Canvas(5, 5)), 0);
}
