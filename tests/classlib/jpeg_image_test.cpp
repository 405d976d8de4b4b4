#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Four flat quadrants: red, green, blue, white.
QImage Quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            img.setPixel(x, y, !right && !bottom ? qRgb(255, 0, 0)
                               : right && !bottom ? qRgb(0, 255, 0)
                               : !right           ? qRgb(0, 0, 255)
                                                  : qRgb(255, 255, 255));
        }
    return img;
}

// A JPEG written by Qt's own writer, with a comment segment spliced in after
// the start marker so that no re-encoding could reproduce the bytes.
QByteArray QtJpeg(const QImage& img, int quality)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, "JPEG", quality));
    const QByteArray comment("\xFF\xFE\x00\x0Ckept bytes", 14);
    return bytes.left(2) + comment + bytes.mid(2);
}

bool Near(QRgb a, QRgb b, int tol)
{
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol &&
           std::abs(qBlue(a) - qBlue(b)) <= tol;
}

void LoadBytes(TJPEGImage& j, const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    j.LoadFromStream(buf);
}

QByteArray Saved(TGraphic& g)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    g.SaveToStream(buf);
    return out;
}

} // namespace

TEST(JpegImage, DecodesPixelsAndKeepsTheLoadedBytes)
{
    const QByteArray file = QtJpeg(Quadrants(32, 16), 95);
    TJPEGImage j;
    LoadBytes(j, file);
    EXPECT_EQ(j.Width(), 32);
    EXPECT_EQ(j.Height(), 16);
    EXPECT_FALSE(j.Grayscale());
    EXPECT_TRUE(Near(j.Image().pixel(3, 3), qRgb(255, 0, 0), 12));
    EXPECT_TRUE(Near(j.Image().pixel(28, 3), qRgb(0, 255, 0), 12));
    EXPECT_TRUE(Near(j.Image().pixel(3, 12), qRgb(0, 0, 255), 12));
    EXPECT_TRUE(Near(j.Image().pixel(28, 12), qRgb(255, 255, 255), 12));
    EXPECT_TRUE(j.HasLoadedData());
    EXPECT_EQ(Saved(j), file);

    // Framed: a 4-byte size, then the same bytes; read back, still the same bytes.
    QByteArray framed;
    {
        QBuffer buf(&framed);
        buf.open(QIODevice::WriteOnly);
        j.WriteData(buf);
    }
    EXPECT_EQ(framed.mid(4), file);
    QBuffer in;
    in.setData(framed);
    in.open(QIODevice::ReadOnly);
    TJPEGImage k;
    k.ReadData(in);
    EXPECT_EQ(Saved(k), file);
    // A copy keeps them too.
    TJPEGImage c;
    c.Assign(&k);
    EXPECT_EQ(Saved(c), file);
}

TEST(JpegImage, GreyPicturesBecomeEightBitBitmaps)
{
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(100);
    TJPEGImage j;
    LoadBytes(j, QtJpeg(grey, 90));
    EXPECT_TRUE(j.Grayscale());
    TBitmap b;
    b.Assign(&j);
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_TRUE(Near(b.Image().pixel(4, 4), qRgb(100, 100, 100), 3));

    TJPEGImage colour;
    LoadBytes(colour, QtJpeg(Quadrants(8, 8), 90));
    b.Assign(&colour);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Width(), 8);
}

TEST(JpegImage, AssignedPixelsAreCompressedAtTheQuality)
{
    TBitmap b;
    b.SetImage(Quadrants(64, 64), pf24bit);
    // Some detail so that the quality shows in the size.
    for (int i = 0; i < 64; ++i)
        b.Canvas()->SetPixel(i, (i * 7) % 64, RGB(i * 4, 255 - i * 4, i));
    TJPEGImage hi, lo;
    hi.SetCompressionQuality(85);
    lo.SetCompressionQuality(10);
    hi.Assign(&b);
    lo.Assign(&b);
    EXPECT_FALSE(hi.HasLoadedData());
    const QByteArray h = Saved(hi), l = Saved(lo);
    ASSERT_GT(h.size(), 0);
    EXPECT_GT(h.size(), l.size());
    // The new bytes are a real JPEG (an independent reader agrees).
    QImage qt;
    ASSERT_TRUE(qt.loadFromData(h, "JPEG"));
    EXPECT_TRUE(Near(qt.pixel(8, 8), qRgb(255, 0, 0), 16));
    TJPEGImage back;
    LoadBytes(back, h);
    EXPECT_TRUE(Near(back.Image().pixel(50, 50), qRgb(255, 255, 255), 16));
    // Saving again gives the same bytes: they are kept once made.
    EXPECT_EQ(Saved(hi), h);
}

TEST(JpegImage, BadDataThrowsInsteadOfEndingTheProgram)
{
    TJPEGImage j;
    EXPECT_THROW(LoadBytes(j, QByteArray()), EInvalidGraphic);
    EXPECT_THROW(LoadBytes(j, QByteArray("not a jpeg at all")), EInvalidGraphic);
    EXPECT_THROW(LoadBytes(j, QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)), EInvalidGraphic);
    const QByteArray good = QtJpeg(Quadrants(16, 16), 80);
    EXPECT_THROW(LoadBytes(j, good.left(40)), EInvalidGraphic);
    // A failure leaves the picture as it was.
    LoadBytes(j, good);
    EXPECT_THROW(LoadBytes(j, QByteArray("junk")), EInvalidGraphic);
    EXPECT_EQ(j.Width(), 16);
    EXPECT_EQ(Saved(j), good);
}

TEST(JpegImage, OnlyBitmapsAndJpegsPassThrough)
{
    TGIFImage gif;
    TJPEGImage j;
    EXPECT_THROW(j.Assign(&gif), EConvertError);
    TBitmap empty;
    j.Assign(&empty);
    EXPECT_TRUE(j.Empty());
}

TEST(JpegImage, DrawsOpaqueEvenWhenTransparent)
{
    TJPEGImage j;
    LoadBytes(j, QtJpeg(Quadrants(4, 4), 100));
    j.SetTransparent(true);
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::black);
    TCanvas c;
    c.BindImage(&target);
    c.Draw(0, 0, &j);
    c.Unbind();
    // The bottom-left pixel would be the key colour of a bitmap; a JPEG draws it anyway.
    EXPECT_TRUE(Near(target.pixel(0, 3), qRgb(0, 0, 255), 40));
}
