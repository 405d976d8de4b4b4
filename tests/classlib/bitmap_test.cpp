#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

void Le16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void Le32(QByteArray& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A bitmap file laid out by hand: info header (40 bytes unless headerSize says
// otherwise), colour table, then the given pixel bytes as they are stored.
QByteArray MakeBmp(int bits, int width, int height, const QByteArray& pixels, const QVector<QRgb>& palette = {},
                   uint32_t compression = 0, const QVector<uint32_t>& masks = {}, int headerSize = 40)
{
    QByteArray info;
    Le32(info, uint32_t(headerSize));
    if (headerSize == 12) {
        Le16(info, width);
        Le16(info, height);
        Le16(info, 1);
        Le16(info, bits);
    } else {
        Le32(info, uint32_t(width));
        Le32(info, uint32_t(height));
        Le16(info, 1);
        Le16(info, bits);
        Le32(info, compression);
        Le32(info, uint32_t(pixels.size()));
        Le32(info, 2835);
        Le32(info, 2835);
        Le32(info, uint32_t(palette.size()));
        Le32(info, 0);
        if (headerSize > 40) {
            for (int i = 0; i < 4; ++i)
                Le32(info, i < masks.size() ? masks[i] : 0);
            while (info.size() < headerSize)
                info.append(char(0));
        }
    }
    QByteArray table;
    if (headerSize == 40 && compression == 3)
        for (uint32_t m : masks)
            Le32(table, m);
    for (QRgb c : palette) {
        table.append(char(qBlue(c)));
        table.append(char(qGreen(c)));
        table.append(char(qRed(c)));
        if (headerSize != 12)
            table.append(char(0));
    }
    QByteArray file("BM");
    const uint32_t off = 14 + uint32_t(info.size() + table.size());
    Le32(file, off + uint32_t(pixels.size()));
    Le32(file, 0);
    Le32(file, off);
    return file + info + table + pixels;
}

QByteArray Row(std::initializer_list<int> bytes)
{
    QByteArray r;
    for (int b : bytes)
        r.append(char(b));
    while (r.size() % 4)
        r.append(char(0));
    return r;
}

void Load(const QByteArray& bytes)
{
    TBitmap b;
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    b.LoadFromStream(buf);
}

void LoadInto(TBitmap& b, const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    b.LoadFromStream(buf);
}

QRgb Px(const TBitmap& b, int x, int y) { return b.Image().pixel(x, y) & 0xFFFFFFu; }

const QVector<QRgb> Pal4 = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (x * 5 + y * 71) & 0xFF, (x * y * 3) & 0xFF));
    return img;
}

} // namespace

TEST(BmpReader, PaletteDepthsAreReadBottomUp)
{
    // 3 x 2, one bit: bottom row 1 0 1, top row 0 1 1.
    TBitmap b1;
    LoadInto(b1, MakeBmp(1, 3, 2, Row({0xA0}) + Row({0x60}), {qRgb(10, 20, 30), qRgb(200, 100, 50)}));
    EXPECT_EQ(b1.PixelFormat(), pf1bit);
    EXPECT_EQ(Px(b1, 0, 1), qRgb(200, 100, 50) & 0xFFFFFFu);
    EXPECT_EQ(Px(b1, 1, 1), qRgb(10, 20, 30) & 0xFFFFFFu);
    EXPECT_EQ(Px(b1, 0, 0), qRgb(10, 20, 30) & 0xFFFFFFu);
    EXPECT_EQ(Px(b1, 2, 0), qRgb(200, 100, 50) & 0xFFFFFFu);

    // 3 x 1, four bits: indices 1 2 3.
    TBitmap b4;
    LoadInto(b4, MakeBmp(4, 3, 1, Row({0x12, 0x30}), Pal4));
    EXPECT_EQ(b4.PixelFormat(), pf4bit);
    EXPECT_EQ(Px(b4, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(b4, 1, 0), 0x00FF00u);
    EXPECT_EQ(Px(b4, 2, 0), 0x0000FFu);

    // Eight bits with a short colour table; an index past it reads as black.
    TBitmap b8;
    LoadInto(b8, MakeBmp(8, 3, 1, Row({3, 0, 9}), Pal4));
    EXPECT_EQ(b8.PixelFormat(), pf8bit);
    EXPECT_EQ(Px(b8, 0, 0), 0x0000FFu);
    EXPECT_EQ(Px(b8, 1, 0), 0x000000u);
    EXPECT_EQ(Px(b8, 2, 0), 0x000000u);
    EXPECT_EQ(b8.Palette().size(), 4);
}

TEST(BmpReader, CoreHeaderWithThreeByteColourTable)
{
    TBitmap b;
    LoadInto(b, MakeBmp(8, 2, 1, Row({1, 0}), {qRgb(1, 2, 3), qRgb(250, 128, 7)}, 0, {}, 12));
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(Px(b, 0, 0), qRgb(250, 128, 7) & 0xFFFFFFu);
    EXPECT_EQ(Px(b, 1, 0), qRgb(1, 2, 3) & 0xFFFFFFu);
}

TEST(BmpReader, TrueColourDepthsAndBitFields)
{
    // 16 bits, 5-5-5: pure red and pure blue.
    TBitmap b15;
    LoadInto(b15, MakeBmp(16, 2, 1, Row({0x00, 0x7C, 0x1F, 0x00})));
    EXPECT_EQ(b15.PixelFormat(), pf15bit);
    EXPECT_EQ(Px(b15, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(b15, 1, 0), 0x0000FFu);

    // 16 bits, 5-6-5 bit fields: pure green.
    TBitmap b16;
    LoadInto(b16, MakeBmp(16, 1, 1, Row({0xE0, 0x07}), {}, 3, {0xF800, 0x07E0, 0x001F}));
    EXPECT_EQ(b16.PixelFormat(), pf16bit);
    EXPECT_EQ(Px(b16, 0, 0), 0x00FF00u);

    // 24 bits, blue-green-red order, rows padded.
    TBitmap b24;
    LoadInto(b24, MakeBmp(24, 1, 2, Row({1, 2, 3}) + Row({4, 5, 6})));
    EXPECT_EQ(b24.PixelFormat(), pf24bit);
    EXPECT_EQ(Px(b24, 0, 1), qRgb(3, 2, 1) & 0xFFFFFFu);
    EXPECT_EQ(Px(b24, 0, 0), qRgb(6, 5, 4) & 0xFFFFFFu);

    // 32 bits in a V5 header whose masks put red in the lowest byte.
    TBitmap b32;
    LoadInto(b32, MakeBmp(32, 1, 1, Row({0x11, 0x22, 0x33, 0x44}), {}, 3,
                          {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, 124));
    EXPECT_EQ(b32.PixelFormat(), pf32bit);
    EXPECT_EQ(Px(b32, 0, 0), qRgb(0x11, 0x22, 0x33) & 0xFFFFFFu);

    // A V4 header, plain 32 bits.
    TBitmap v4;
    LoadInto(v4, MakeBmp(32, 1, 1, Row({0x11, 0x22, 0x33, 0x00}), {}, 0, {}, 108));
    EXPECT_EQ(Px(v4, 0, 0), qRgb(0x33, 0x22, 0x11) & 0xFFFFFFu);
}

TEST(BmpReader, TopDownRowsComeFirst)
{
    TBitmap b;
    LoadInto(b, MakeBmp(24, 1, -2, Row({0, 0, 255}) + Row({255, 0, 0})));
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(Px(b, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(b, 0, 1), 0x0000FFu);
}

TEST(BmpReader, Rle8RunsAbsoluteDeltaAndEnd)
{
    // 6 x 3, bottom row first:
    //   row 0: run of 4 x index 1, then end of line
    //   row 1: absolute 1 2 3 (padded), delta (+1, +0), run 1 x index 2, end of line
    //   row 2: end of bitmap straight away (stays index 0)
    QByteArray rle;
    for (int b : {4, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 1, 0, 1, 2, 0, 0, 0, 1})
        rle.append(char(b));
    TBitmap b;
    LoadInto(b, MakeBmp(8, 6, 3, rle, Pal4, 1));
    const QRgb black = 0, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    const QRgb expected[3][6] = {{black, black, black, black, black, black},
                                 {red, green, blue, black, green, black},
                                 {red, red, red, red, black, black}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Px(b, x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpReader, Rle4AlternatesNibbles)
{
    // 6 x 1: a run of 3 alternating 1,2 then absolute 3,1,2 (padded) then end of bitmap.
    QByteArray rle;
    for (int b : {3, 0x12, 0, 3, 0x31, 0x20, 0, 1})
        rle.append(char(b));
    TBitmap b;
    LoadInto(b, MakeBmp(4, 6, 1, rle, Pal4, 2));
    const QRgb expected[6] = {0xFF0000u, 0x00FF00u, 0xFF0000u, 0x0000FFu, 0xFF0000u, 0x00FF00u};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(Px(b, x, 0), expected[x]) << x;
}

TEST(BmpReader, RleRunsPastTheEdgeAreClipped)
{
    // A run longer than the row and a delta far outside must not write outside the picture.
    QByteArray rle;
    for (int b : {255, 1, 0, 2, 200, 200, 10, 2, 0, 1})
        rle.append(char(b));
    TBitmap b;
    LoadInto(b, MakeBmp(8, 4, 2, rle, Pal4, 1));
    EXPECT_EQ(Px(b, 3, 1), 0xFF0000u);
    EXPECT_EQ(Px(b, 0, 0), 0u);
}

TEST(BmpReader, HostileAndTruncatedFilesAreRejected)
{
    const QByteArray good = MakeBmp(24, 4, 4, QByteArray(48, char(0x40)));
    // Every cut-off prefix either fails cleanly or (cut inside the last row's padding) still loads.
    for (int n = 0; n < good.size(); ++n) {
        TBitmap b;
        try {
            LoadInto(b, good.left(n));
            EXPECT_GE(n, good.size() - 3);
        } catch (const EInvalidGraphic&) {
        }
    }
    // A huge size with a handful of pixel bytes.
    EXPECT_THROW(Load(MakeBmp(24, 100000, 100000, QByteArray(64, 0))), EInvalidGraphic);
    // An RLE bitmap claiming more pixels than we allow.
    EXPECT_THROW(Load(MakeBmp(8, 60000, 60000, QByteArray(4, 0), Pal4, 1)), EInvalidGraphic);
    // Depth, compression and header size that do not exist.
    EXPECT_THROW(Load(MakeBmp(7, 1, 1, Row({0}))), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(24, 1, 1, Row({0, 0, 0}), {}, 9)), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(24, 1, 1, Row({0, 0, 0}), {}, 0, {}, 41)), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(24, 0, 1, QByteArray())), EInvalidGraphic);
    EXPECT_THROW(Load(MakeBmp(8, 1, -1, Row({0}), Pal4, 1)), EInvalidGraphic); // top-down RLE
    EXPECT_THROW(Load(QByteArray("GIF89a")), EInvalidGraphic);
    EXPECT_THROW(Load(QByteArray()), EInvalidGraphic);
    // A colour table that claims to be huge is limited to what the depth allows.
    QByteArray big = MakeBmp(8, 1, 1, Row({1}), Pal4);
    big[14 + 32] = char(0xFF);
    big[14 + 33] = char(0xFF);
    big[14 + 34] = char(0xFF);
    big[14 + 35] = char(0x7F);
    TBitmap b;
    EXPECT_NO_THROW(LoadInto(b, big));
}

TEST(BmpReader, FailedLoadKeepsThePicture)
{
    TBitmap b;
    b.SetSize(3, 2);
    EXPECT_THROW(LoadInto(b, QByteArray("BMxxxx")), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
}

TEST(BmpWriter, EveryDepthRoundTrips)
{
    const QImage source = Pattern(13, 7);
    for (TPixelFormat pf : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap a;
        a.SetImage(source, pf24bit);
        a.SetPixelFormat(pf);
        const QByteArray file = a.SaveToBytes();
        TBitmap b;
        LoadInto(b, file);
        EXPECT_EQ(b.PixelFormat(), pf) << pf;
        ASSERT_EQ(b.Width(), 13);
        ASSERT_EQ(b.Height(), 7);
        // Reduced formats hold exactly what the bitmap held after the reduction.
        EXPECT_EQ(b.Image(), a.Image()) << "format " << pf;
        // An independent reader sees the same pixels (give or take its widening of 5- and 6-bit channels).
        QImage qt;
        ASSERT_TRUE(qt.loadFromData(file, "BMP")) << pf;
        qt = qt.convertToFormat(QImage::Format_RGB32);
        int worst = 0;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                const QRgb p = qt.pixel(x, y), q = a.Image().pixel(x, y);
                worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                  std::abs(qBlue(p) - qBlue(q))});
            }
        EXPECT_LE(worst, (pf == pf15bit || pf == pf16bit) ? 7 : 0) << "format " << pf;
    }
}

TEST(BmpWriter, DeviceFormatIsWrittenAs24Bits)
{
    TBitmap a;
    a.SetSize(5, 3);
    const QByteArray file = a.SaveToBytes();
    EXPECT_EQ(uint8_t(file[28]), 24);
    EXPECT_EQ(file.size(), 14 + 40 + 3 * 16);
    TBitmap b;
    LoadInto(b, file);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(Px(b, 4, 2), 0xFFFFFFu);
}

TEST(BmpWriter, QtWrittenFilesAreRead)
{
    const QImage source = Pattern(9, 5);
    for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_Indexed8, QImage::Format_Mono}) {
        QImage img = source.convertToFormat(f);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(img.save(&buf, "BMP"));
        TBitmap b;
        LoadInto(b, bytes);
        EXPECT_EQ(b.Image(), img.convertToFormat(QImage::Format_RGB32)) << f;
    }
}

TEST(Bitmap, SetSizeKeepsPixelsAndWhitensNewArea)
{
    TBitmap b;
    b.SetSize(4, 4);
    EXPECT_EQ(Px(b, 3, 3), 0xFFFFFFu);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 4, 4));
    b.SetSize(6, 2);
    EXPECT_EQ(Px(b, 3, 1), 0xFF0000u);
    EXPECT_EQ(Px(b, 5, 1), 0xFFFFFFu);
    // The canvas follows the new pixels.
    b.Canvas()->Brush()->SetColor(clBlue);
    b.Canvas()->FillRect(Rect(5, 0, 6, 1));
    EXPECT_EQ(Px(b, 5, 0), 0x0000FFu);
    b.SetSize(0, 5);
    EXPECT_TRUE(b.Empty());
    EXPECT_THROW(b.SetSize(70000, 70000), EInvalidGraphic);
}

TEST(Bitmap, TransparentDrawLeavesKeyColourOutAndStretchesNearest)
{
    TBitmap b;
    b.SetSize(2, 2);
    TCanvas* c = b.Canvas();
    c->SetPixel(0, 0, clRed);
    c->SetPixel(1, 0, clGreen);
    c->SetPixel(0, 1, clYellow); // bottom-left: the automatic key colour
    c->SetPixel(1, 1, clBlue);
    EXPECT_EQ(b.TransparentColor(), clYellow);

    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    TCanvas out;
    out.BindImage(&target);
    b.SetTransparent(true);
    out.StretchDraw(Rect(0, 0, 4, 4), &b);
    out.Unbind();
    EXPECT_EQ(target.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(target.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(target.pixel(3, 0) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(target.pixel(0, 3) & 0xFFFFFF, 0xFFFFFFu); // key colour: untouched
    EXPECT_EQ(target.pixel(1, 2) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(target.pixel(3, 3) & 0xFFFFFF, 0x0000FFu);

    // A fixed colour instead.
    b.SetTransparentColor(clBlue);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    target.fill(Qt::black);
    out.BindImage(&target);
    out.Draw(0, 0, &b);
    out.Unbind();
    EXPECT_EQ(target.pixel(0, 1) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(target.pixel(1, 1) & 0xFFFFFF, 0x000000u);
    b.SetTransparentMode(tmAuto);
    EXPECT_EQ(b.TransparentColor(), clYellow);

    // Opaque: every pixel is copied.
    b.SetTransparent(false);
    out.BindImage(&target);
    out.Draw(0, 0, &b);
    out.Unbind();
    EXPECT_EQ(target.pixel(0, 1) & 0xFFFFFF, 0xFFFF00u);
}

TEST(Bitmap, AssignCopiesDeeplyAndDrawsOtherKinds)
{
    TBitmap a;
    a.SetSize(3, 3);
    a.SetPixelFormat(pf24bit);
    a.SetTransparent(true);
    TBitmap b;
    b.Assign(&a);
    a.Canvas()->SetPixel(1, 1, clRed);
    EXPECT_EQ(Px(b, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_TRUE(b.Transparent());

    // A GIF is drawn onto the bitmap at its own size.
    TGIFImage gif;
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgb(0, 0, 255));
    img.setPixel(1, 0, qRgb(0, 255, 0));
    TBitmap src;
    src.SetImage(img);
    gif.Assign(&src);
    TBitmap c;
    c.Assign(&gif);
    ASSERT_EQ(c.Width(), 2);
    EXPECT_EQ(Px(c, 0, 0), 0x0000FFu);
    EXPECT_EQ(Px(c, 1, 0), 0x00FF00u);
    EXPECT_EQ(c.PixelFormat(), pfDevice);

    c.Assign(nullptr);
    EXPECT_TRUE(c.Empty());
}

TEST(Bitmap, FramedDataHoldsSizeThenFile)
{
    TBitmap a;
    a.SetImage(Pattern(3, 2), pf24bit);
    QByteArray data;
    {
        QBuffer buf(&data);
        buf.open(QIODevice::WriteOnly);
        a.WriteData(buf);
    }
    const QByteArray file = a.SaveToBytes();
    ASSERT_EQ(data.size(), 4 + file.size());
    EXPECT_EQ(data.mid(4), file);
    EXPECT_EQ(uint8_t(data[0]) | (uint8_t(data[1]) << 8), file.size());

    QBuffer in;
    in.setData(data + QByteArray("next"));
    in.open(QIODevice::ReadOnly);
    TBitmap b;
    b.ReadData(in);
    EXPECT_EQ(b.Image(), a.Image());
    EXPECT_EQ(in.read(4), QByteArray("next"));

    // Size 0: an empty bitmap.
    TBitmap empty;
    QByteArray e;
    {
        QBuffer buf(&e);
        buf.open(QIODevice::WriteOnly);
        empty.WriteData(buf);
    }
    EXPECT_EQ(e, QByteArray(4, 0));
    QBuffer in2;
    in2.setData(e);
    in2.open(QIODevice::ReadOnly);
    b.ReadData(in2);
    EXPECT_TRUE(b.Empty());

    // A size larger than the data fails without allocating it.
    QBuffer in3;
    in3.setData(QByteArray("\xff\xff\xff\x7f" "BM", 6));
    in3.open(QIODevice::ReadOnly);
    EXPECT_THROW(b.ReadData(in3), EReadError);
}
