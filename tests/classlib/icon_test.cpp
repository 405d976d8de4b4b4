#include "classlib/graphics/canvas.h"
#include "classlib/pictures/icon.h"
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

// An icon image: 24 or 32 bits, bottom-up, then its AND mask.
// colour(x, y) and masked(x, y) describe the picture top row first.
QByteArray DibEntry(int size, int bits, const std::function<QRgb(int, int)>& colour,
                    const std::function<bool(int, int)>& masked)
{
    QByteArray d;
    Le32(d, 40);
    Le32(d, uint32_t(size));
    Le32(d, uint32_t(size * 2));
    Le16(d, 1);
    Le16(d, bits);
    for (int i = 0; i < 6; ++i)
        Le32(d, 0);
    const int stride = ((size * bits + 31) / 32) * 4;
    for (int row = size - 1; row >= 0; --row) {
        QByteArray line;
        for (int x = 0; x < size; ++x) {
            const QRgb c = colour(x, row);
            line.append(char(qBlue(c)));
            line.append(char(qGreen(c)));
            line.append(char(qRed(c)));
            if (bits == 32)
                line.append(char(qAlpha(c)));
        }
        while (line.size() < stride)
            line.append(char(0));
        d += line;
    }
    const int maskStride = ((size + 31) / 32) * 4;
    for (int row = size - 1; row >= 0; --row) {
        QByteArray line(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (masked(x, row))
                line[x / 8] = char(line[x / 8] | (0x80 >> (x % 8)));
        d += line;
    }
    return d;
}

QByteArray IconFile(const QVector<QPair<int, QByteArray>>& images)
{
    QByteArray f;
    Le16(f, 0);
    Le16(f, 1);
    Le16(f, images.size());
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (const auto& [size, data] : images) {
        f.append(char(size >= 256 ? 0 : size));
        f.append(char(size >= 256 ? 0 : size));
        f.append(char(0));
        f.append(char(0));
        Le16(f, 1);
        Le16(f, 24);
        Le32(f, uint32_t(data.size()));
        Le32(f, offset);
        offset += uint32_t(data.size());
    }
    for (const auto& entry : images)
        f += entry.second;
    return f;
}

void LoadBytes(TIcon& i, const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    i.LoadFromStream(buf);
}

QRgb Solid(int, int) { return qRgb(0, 0, 255); }

} // namespace

TEST(Icon, AndMaskMakesPixelsTransparent)
{
    // 4 x 4 red with a blue top-left pixel; the right column is masked out.
    const QByteArray file = IconFile({{4, DibEntry(
                                              4, 24, [](int x, int y) { return x == 0 && y == 0 ? qRgb(0, 0, 255) : qRgb(255, 0, 0); },
                                              [](int x, int) { return x == 3; })}});
    TIcon icon;
    LoadBytes(icon, file);
    EXPECT_EQ(icon.Width(), 4);
    EXPECT_TRUE(icon.Transparent());
    EXPECT_EQ(icon.Image().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(icon.Image().pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(icon.Image().pixel(3, 1)), 0);

    QImage target(8, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    TCanvas c;
    c.BindImage(&target);
    c.StretchDraw(Rect(0, 0, 8, 8), &icon);
    c.Unbind();
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(6, 3), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(7, 7), qRgb(255, 255, 255));
}

TEST(Icon, ImageNearestTheIconSizeIsShown)
{
    auto none = [](int, int) { return false; };
    const QByteArray file = IconFile({{16, DibEntry(16, 24, Solid, none)},
                                      {48, DibEntry(48, 24, Solid, none)},
                                      {32, DibEntry(32, 24, Solid, none)}});
    TIcon icon;
    LoadBytes(icon, file);
    EXPECT_EQ(icon.ImageCount(), 3);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
}

TEST(Icon, AlphaAndPngImages)
{
    // 32 bits with alpha: the alpha wins over the mask.
    const QByteArray file = IconFile({{2, DibEntry(
                                              2, 32, [](int x, int) { return qRgba(0, 255, 0, x == 0 ? 255 : 0); },
                                              [](int, int) { return false; })}});
    TIcon icon;
    LoadBytes(icon, file);
    EXPECT_EQ(qAlpha(icon.Image().pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(icon.Image().pixel(1, 0)), 0);

    // An icon written by Qt holds a PNG image.
    QImage png(20, 20, QImage::Format_ARGB32);
    png.fill(qRgba(255, 0, 0, 255));
    png.setPixel(5, 5, qRgba(0, 0, 0, 0));
    QByteArray qtIcon;
    QBuffer buf(&qtIcon);
    buf.open(QIODevice::WriteOnly);
    ASSERT_TRUE(png.save(&buf, "ICO"));
    TIcon fromQt;
    LoadBytes(fromQt, qtIcon);
    EXPECT_EQ(fromQt.Width(), 20);
    EXPECT_EQ(fromQt.Image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(fromQt.Image().pixel(5, 5)), 0);
}

TEST(Icon, FramedReadTakesExactlyTheFileAndKeepsItsBytes)
{
    const QByteArray file = IconFile({{2, DibEntry(2, 24, Solid, [](int, int) { return false; })}});
    QBuffer in;
    in.setData(file + QByteArray("after"));
    in.open(QIODevice::ReadOnly);
    TIcon icon;
    icon.ReadData(in);
    EXPECT_EQ(in.readAll(), QByteArray("after"));
    EXPECT_EQ(icon.Data(), file);
    QByteArray out;
    QBuffer ob(&out);
    ob.open(QIODevice::WriteOnly);
    icon.SaveToStream(ob);
    EXPECT_EQ(out, file);

    // An empty icon is a directory of no images, read back as empty.
    TIcon empty;
    QByteArray e;
    QBuffer eb(&e);
    eb.open(QIODevice::WriteOnly);
    empty.WriteData(eb);
    EXPECT_EQ(e.size(), 6);
    QBuffer ein;
    ein.setData(e);
    ein.open(QIODevice::ReadOnly);
    icon.ReadData(ein);
    EXPECT_TRUE(icon.Empty());
    EXPECT_THROW(LoadBytes(icon, e), EInvalidGraphic); // as a file it is unreadable
}

TEST(Icon, HostileDirectoriesAreRejected)
{
    const QByteArray good = IconFile({{2, DibEntry(2, 24, Solid, [](int, int) { return false; })}});
    TIcon icon;
    for (int n = 0; n < good.size(); ++n)
        EXPECT_ANY_THROW(LoadBytes(icon, good.left(n))) << n;
    QByteArray inside = good;
    inside[18] = 2; // image offset inside the directory
    EXPECT_THROW(LoadBytes(icon, inside), EInvalidGraphic);
    QByteArray far = good;
    far[17] = char(0x7F); // size reaching 2 GB past the data
    EXPECT_ANY_THROW(LoadBytes(icon, far));
    QByteArray cursor = good;
    cursor[2] = 2;
    EXPECT_THROW(LoadBytes(icon, cursor), EInvalidGraphic);
    EXPECT_THROW(icon.SetWidth(5), EInvalidGraphic);
}

namespace {
// An icon image coded as RLE8: a header declaring width x height, a
// two-colour table and the given run-length data.
QByteArray Rle8Entry(int width, int height, const QByteArray& runs)
{
    QByteArray d;
    Le32(d, 40);
    Le32(d, uint32_t(width));
    Le32(d, uint32_t(height * 2));
    Le16(d, 1);
    Le16(d, 8);
    Le32(d, 1); // RLE8
    Le32(d, uint32_t(runs.size()));
    Le32(d, 0);
    Le32(d, 0);
    Le32(d, 2); // colours used
    Le32(d, 0);
    Le32(d, 0x00000000);
    Le32(d, 0x00FF0000); // red
    return d + runs;
}
} // namespace

TEST(Icon, AnRleImageFarLargerThanItsDataIsRefusedBeforeDecoding)
{
    // 709 bytes declaring 4112 x 14848 pixels: runs of 255 red pixels.
    QByteArray runs;
    const int header = 6 + 16 + 40 + 8;
    while (header + runs.size() + 4 <= 709)
        runs += QByteArray("\xFF\x01", 2);
    runs += QByteArray("\x00\x01", 2);
    runs += QByteArray(709 - header - runs.size(), 0);
    const QByteArray slow = IconFile({{0, Rle8Entry(4112, 14848, runs)}});
    ASSERT_EQ(slow.size(), 709);
    TIcon icon;
    EXPECT_THROW(LoadBytes(icon, slow), EInvalidGraphic);
    EXPECT_TRUE(icon.Empty());

    // A small image that ends its data early is sound: the rest is colour 0.
    TIcon small;
    LoadBytes(small, IconFile({{16, Rle8Entry(16, 16, QByteArray("\x03\x01\x00\x01", 4))}}));
    ASSERT_FALSE(small.Empty());
    const QImage image = small.Image();
    EXPECT_EQ(image.pixel(0, 15), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 15), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 15), qRgb(0, 0, 0));
}
