#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <QImage>
#include <gif_lib.h>
#include <gtest/gtest.h>

namespace {

// The smallest transparent GIF: one pixel, colour 0 transparent.
const QByteArray Pixel1x1("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x01\x00\x00\x00\x00"
                          "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                          43);

int WriteBuf(GifFileType* gif, const GifByteType* data, int len)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), len);
    return len;
}

// A GIF written with giflib directly: a w x h image at (left, top) of a larger
// screen, with its own colour table; row y holds colour index y % 4; optional
// interlacing and transparent index.
QByteArray MakeGif(int screenW, int screenH, int left, int top, int w, int h, bool interlace, int transparent)
{
    QByteArray out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, WriteBuf, &err);
    GifColorType global[2] = {{9, 9, 9}, {8, 8, 8}};
    ColorMapObject* gmap = GifMakeMapObject(2, global);
    GifColorType local[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    ColorMapObject* lmap = GifMakeMapObject(4, local);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenW, screenH, 8, 1, gmap);
    if (transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = transparent;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext);
    }
    EGifPutImageDesc(gif, left, top, w, h, interlace, lmap);
    std::vector<GifPixelType> line(size_t(w), 0);
    std::vector<int> order;
    if (interlace) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int p = 0; p < 4; ++p)
            for (int y = start[p]; y < h; y += step[p])
                order.push_back(y);
    } else {
        for (int y = 0; y < h; ++y)
            order.push_back(y);
    }
    for (int y : order) {
        std::fill(line.begin(), line.end(), GifPixelType(y % 4));
        EGifPutLine(gif, line.data(), w);
    }
    EGifCloseFile(gif, &err);
    GifFreeMapObject(gmap);
    GifFreeMapObject(lmap);
    return out;
}

void LoadBytes(TGIFImage& g, const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    g.LoadFromStream(buf);
}

QRgb Rgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; }

} // namespace

TEST(GifImage, TransparencyComesFromTheControlExtension)
{
    TGIFImage g;
    LoadBytes(g, Pixel1x1);
    EXPECT_EQ(g.Width(), 1);
    EXPECT_TRUE(g.Transparent());
    EXPECT_TRUE(g.HasTransparentColor());
    EXPECT_EQ(g.TransparentColor(), clBlack);
    EXPECT_EQ(qAlpha(g.Image().pixel(0, 0)), 0);

    QImage target(3, 3, QImage::Format_RGB32);
    target.fill(qRgb(1, 2, 3));
    TCanvas c;
    c.BindImage(&target);
    c.StretchDraw(Rect(0, 0, 3, 3), &g);
    EXPECT_EQ(Rgb(target, 1, 1), qRgb(1, 2, 3) & 0xFFFFFFu);
    // Switched off, the transparent index shows its colour.
    g.SetTransparent(false);
    c.StretchDraw(Rect(0, 0, 3, 3), &g);
    c.Unbind();
    EXPECT_EQ(Rgb(target, 1, 1), 0u);
}

TEST(GifImage, LocalTableOffsetAndInterlacedRows)
{
    for (bool interlace : {false, true}) {
        TGIFImage g;
        LoadBytes(g, MakeGif(12, 12, 2, 1, 8, 10, interlace, 3));
        ASSERT_EQ(g.Width(), 12);
        ASSERT_EQ(g.Height(), 12);
        const QRgb colours[4] = {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u};
        for (int y = 0; y < 10; ++y) {
            const QRgb p = g.Image().pixel(2 + 3, 1 + y);
            EXPECT_EQ(p & 0xFFFFFFu, colours[y % 4]) << "row " << y << " interlace " << interlace;
            EXPECT_EQ(qAlpha(p), y % 4 == 3 ? 0 : 255) << "row " << y;
        }
        // Outside the image: transparent, since the picture has a transparent index.
        EXPECT_EQ(qAlpha(g.Image().pixel(0, 0)), 0);
    }
    // An image that does not fit on its screen is shown on its own.
    TGIFImage off;
    LoadBytes(off, MakeGif(4, 4, 3000, 2000, 3, 2, false, -1));
    EXPECT_EQ(off.Width(), 3);
    EXPECT_EQ(off.Height(), 2);
    EXPECT_EQ(off.Image().pixel(0, 1), qRgb(0, 255, 0));
    // Without transparency the screen around the image takes the background colour.
    TGIFImage opaque;
    LoadBytes(opaque, MakeGif(6, 6, 1, 1, 2, 2, false, -1));
    EXPECT_FALSE(opaque.Transparent());
    EXPECT_EQ(opaque.Image().pixel(5, 5), qRgb(8, 8, 8));
}

TEST(GifImage, EncodedPicturesReadBackHereAndInQt)
{
    QImage img(5, 3, QImage::Format_ARGB32);
    img.fill(qRgb(10, 20, 30));
    img.setPixel(1, 1, qRgb(200, 0, 0));
    img.setPixel(4, 2, qRgba(0, 0, 0, 0));
    QByteArray bytes;
    QString error;
    ASSERT_TRUE(EncodeGif(img, bytes, error)) << error.toStdString();
    EXPECT_TRUE(bytes.endsWith(';'));

    QImage qt;
    ASSERT_TRUE(qt.loadFromData(bytes, "GIF"));
    EXPECT_EQ(Rgb(qt, 1, 1), qRgb(200, 0, 0) & 0xFFFFFFu);
    EXPECT_EQ(qAlpha(qt.pixel(4, 2)), 0);

    TGIFImage g;
    LoadBytes(g, bytes);
    EXPECT_EQ(Rgb(g.Image(), 0, 0), qRgb(10, 20, 30) & 0xFFFFFFu);
    EXPECT_EQ(qAlpha(g.Image().pixel(4, 2)), 0);
    EXPECT_TRUE(g.Transparent());

    // Many colours: reduced to a palette, close to the original.
    QImage many(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            many.setPixel(x, y, qRgb(x * 6, y * 6, (x + y) * 3));
    ASSERT_TRUE(EncodeGif(many, bytes, error));
    LoadBytes(g, bytes);
    EXPECT_LE(std::abs(qRed(g.Image().pixel(20, 10)) - 120), 24);
}

TEST(GifImage, SavingKeepsLoadedBytesAndEncodesAssignedPixels)
{
    const QByteArray file = MakeGif(4, 4, 0, 0, 4, 4, false, -1) ;
    TGIFImage g;
    LoadBytes(g, file);
    EXPECT_EQ(g.Data(), file);
    TGIFImage copy;
    copy.Assign(&g);
    EXPECT_EQ(copy.Data(), file);

    TBitmap b;
    b.SetSize(3, 3);
    b.Canvas()->SetPixel(0, 0, clRed);
    b.SetTransparent(true); // bottom-left white is the key
    TGIFImage fromBitmap;
    fromBitmap.Assign(&b);
    const QByteArray encoded = fromBitmap.Data();
    TGIFImage back;
    LoadBytes(back, encoded);
    EXPECT_EQ(Rgb(back.Image(), 0, 0), 0xFF0000u);
    EXPECT_EQ(qAlpha(back.Image().pixel(2, 2)), 0);
    EXPECT_TRUE(back.Transparent());
}

TEST(GifImage, ReadingStopsRightAfterTheTrailer)
{
    const QByteArray a = MakeGif(4, 4, 0, 0, 4, 4, true, 1);
    QBuffer in;
    in.setData(a + QByteArray("rest"));
    in.open(QIODevice::ReadOnly);
    TGIFImage g;
    EXPECT_EQ(g.LoadFromStreamToTrailer(in), a.size());
    EXPECT_EQ(in.readAll(), QByteArray("rest"));

    // Two framed GIF pictures back to back in one stream.
    TPicture p1, p2;
    TGIFImage first, second;
    LoadBytes(first, a);
    LoadBytes(second, Pixel1x1);
    p1.SetGraphic(&first);
    p2.SetGraphic(&second);
    const QByteArray both = p1.DataBytes() + p2.DataBytes();
    EXPECT_EQ(both.size(), 2 * 10 + a.size() + Pixel1x1.size());
    QBuffer s;
    s.setData(both);
    s.open(QIODevice::ReadOnly);
    TPicture r1, r2;
    r1.ReadData(s);
    r2.ReadData(s);
    EXPECT_TRUE(s.atEnd());
    ASSERT_NE(dynamic_cast<TGIFImage*>(r1.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TGIFImage*>(r1.Graphic())->Data(), a);
    EXPECT_EQ(static_cast<TGIFImage*>(r2.Graphic())->Data(), Pixel1x1);
}

TEST(GifImage, CutOffFilesAreRejectedButAMissingTrailerIsForgiven)
{
    const QByteArray a = MakeGif(4, 4, 0, 0, 4, 4, false, -1);
    TGIFImage g;
    LoadBytes(g, a.left(a.size() - 1)); // all but the trailer
    EXPECT_EQ(g.Width(), 4);
    for (int n : {0, 5, 13, 20, int(a.size()) - 4}) {
        TGIFImage h;
        EXPECT_THROW(LoadBytes(h, a.left(n)), EInvalidGraphic) << n;
    }
    // A block type that does not exist.
    QByteArray bad = a;
    bad[13 + 6] = 'X';
    EXPECT_THROW(LoadBytes(g, bad), EInvalidGraphic);
    EXPECT_EQ(g.Data(), a.left(a.size() - 1)); // unchanged by the failure
    // A screen far too large.
    QByteArray huge = a;
    huge[6] = char(0xFF);
    huge[7] = char(0xFF);
    huge[8] = char(0xFF);
    huge[9] = char(0xFF);
    EXPECT_THROW(LoadBytes(g, huge), EInvalidGraphic);
}
