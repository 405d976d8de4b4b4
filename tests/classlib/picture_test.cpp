#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/icon.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/metafile.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"
#include "metafile_builder.h"
#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

using namespace MetafileBuilder;

namespace {

QImage Sample(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 20, y * 30, 128));
    return img;
}

QByteArray Encoded(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format));
    return bytes;
}

QString WriteFile(const QString& name, const QByteArray& bytes)
{
    static const QString dir = TestSupport::MakeTempDir();
    const QString path = dir + QLatin1Char('/') + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QByteArray SmallEmf()
{
    TEmf e;
    e.Brush(1, 0x0000FF);
    e.Select(1);
    e.Rectangle(0, 0, 10, 10);
    return e.Build(30, 20);
}

QByteArray SmallWmf()
{
    TWmf w;
    w.Window(0, 0, 300, 150);
    w.Rectangle(0, 0, 100, 100);
    return w.Build(0, 0, 300, 150, 1440);
}

// One picture of every kind, loaded from files written beside the tests.
struct TKinds {
    QString Bmp, Jpg, Jpeg, Gif, Ico, Emf, Wmf;
    TKinds()
    {
        TBitmap b;
        b.SetImage(Sample(7, 5), pf24bit);
        Bmp = WriteFile(QStringLiteral("a.BMP"), b.SaveToBytes());
        Jpg = WriteFile(QStringLiteral("a.jpg"), Encoded(Sample(8, 6), "JPEG"));
        Jpeg = WriteFile(QStringLiteral("b.jpeg"), Encoded(Sample(9, 6), "JPEG"));
        QByteArray gif;
        QString error;
        EncodeGif(Sample(6, 4), gif, error);
        Gif = WriteFile(QStringLiteral("a.gif"), gif);
        Ico = WriteFile(QStringLiteral("a.ico"), Encoded(Sample(16, 16), "ICO"));
        Emf = WriteFile(QStringLiteral("a.emf"), SmallEmf());
        Wmf = WriteFile(QStringLiteral("a.wmf"), SmallWmf());
    }
};

const TKinds& Kinds()
{
    static const TKinds k;
    return k;
}

} // namespace

TEST(Picture, LoadFromFileChoosesTheClassByExtension)
{
    const struct {
        QString Path;
        const char* Class;
        int Width, Height;
    } cases[] = {
        {Kinds().Bmp, "TBitmap", 7, 5},    {Kinds().Jpg, "TJPEGImage", 8, 6}, {Kinds().Jpeg, "TJPEGImage", 9, 6},
        {Kinds().Gif, "TGIFImage", 6, 4},  {Kinds().Ico, "TIcon", 16, 16},    {Kinds().Emf, "TMetafile", 30, 20},
        {Kinds().Wmf, "TMetafile", 20, 10},
    };
    for (const auto& c : cases) {
        TPicture p;
        p.LoadFromFile(c.Path);
        ASSERT_TRUE(p.HasGraphic()) << c.Path.toStdString();
        EXPECT_EQ(p.Graphic()->ClassName(), QLatin1String(c.Class)) << c.Path.toStdString();
        EXPECT_EQ(p.Width(), c.Width) << c.Path.toStdString();
        EXPECT_EQ(p.Height(), c.Height) << c.Path.toStdString();
    }
}

TEST(Picture, UnknownExtensionAndFailedLoadsLeaveThePicture)
{
    TPicture p;
    p.LoadFromFile(Kinds().Bmp);
    // Each failure says in Czech what is wrong; a type the program does not
    // know names the types it knows.
    auto failure = [&p](const QString& path) {
        try {
            p.LoadFromFile(path);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("no error");
    };
    const QString png = WriteFile(QStringLiteral("x.png"), QByteArray("whatever"));
    EXPECT_EQ(failure(png), QStringLiteral("Soubor \"%1\" nelze otevřít jako obrázek: typ .png program nezná. "
                                           "Podporované typy obrázků: BMP, JPEG, GIF, ICO, EMF, WMF.").arg(png));
    EXPECT_THROW(p.LoadFromFile(png), EInvalidGraphic);
    // A damaged picture is named with what is wrong with it.
    const QString badJpeg = WriteFile(QStringLiteral("bad.jpg"), QByteArray("not a jpeg"));
    EXPECT_EQ(failure(badJpeg), QStringLiteral("Soubor \"%1\" nelze otevřít jako obrázek. "
                                               "Obrázek JPEG nelze načíst: soubor není obrázek JPEG.").arg(badJpeg));
    const QString cutJpeg = WriteFile(QStringLiteral("cut.jpg"), FileBytes(Kinds().Jpg).left(300));
    EXPECT_EQ(failure(cutJpeg).toStdString(),
              QStringLiteral("Soubor \"%1\" nelze otevřít jako obrázek. Obrázek JPEG nelze načíst: data obrázku jsou neúplná.")
                  .arg(cutJpeg)
                  .toStdString());
    const QString badGif = WriteFile(QStringLiteral("bad.gif"), QByteArray("not a gif"));
    EXPECT_EQ(failure(badGif), QStringLiteral("Soubor \"%1\" nelze otevřít jako obrázek. "
                                              "Obrázek GIF je poškozený: soubor není obrázek GIF.").arg(badGif));
    EXPECT_EQ(failure(QStringLiteral("/nonexistent/folder/pic.bmp")),
              QStringLiteral("Soubor \"/nonexistent/folder/pic.bmp\" nelze otevřít: soubor nebo složka neexistuje."));
    EXPECT_THROW(p.LoadFromFile(WriteFile(QStringLiteral("bad.jpg"), QByteArray("not a jpeg"))), EInvalidGraphic);
    EXPECT_THROW(p.LoadFromFile(WriteFile(QStringLiteral("empty.bmp"), QByteArray())), EInvalidGraphic);
    // A GIF file under a bitmap's name is not a bitmap.
    EXPECT_THROW(p.LoadFromFile(WriteFile(QStringLiteral("gif.bmp"), FileBytes(Kinds().Gif))), EInvalidGraphic);
    EXPECT_THROW(p.LoadFromFile(QStringLiteral("/nonexistent/folder/pic.bmp")), EFileError);
    // A picture file beyond any picture (a sound bitmap with a sparse tail)
    // and a device are refused before reading, naming the file.
    const QString large = WriteFile(QStringLiteral("large.bmp"), FileBytes(Kinds().Bmp));
    ASSERT_TRUE(QFile::resize(large, MaxPictureFileBytes + 1));
    const QString zero = QFileInfo(large).absolutePath() + QStringLiteral("/zero.jpg");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& file : {large, zero}) {
        try {
            p.LoadFromFile(file);
            ADD_FAILURE() << "no error for " << file.toStdString();
        } catch (const EFileError& e) {
            EXPECT_TRUE(e.Message().contains(file)) << e.Message().toStdString();
        }
    }
    ASSERT_TRUE(p.HasGraphic());
    EXPECT_EQ(p.Graphic()->ClassName(), QLatin1String("TBitmap"));
    EXPECT_EQ(p.Width(), 7);
}

TEST(Picture, BitmapReplacesAnotherKindAndAssignCopiesDeeply)
{
    TPicture p;
    int changes = 0;
    p.OnChange = [&](TPicture*) { ++changes; };
    p.LoadFromFile(Kinds().Gif);
    EXPECT_EQ(changes, 1);
    TBitmap* b = p.Bitmap();
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->Empty()); // the GIF is dropped, not converted
    EXPECT_EQ(p.Bitmap(), b);
    EXPECT_EQ(changes, 2);
    b->SetSize(4, 4);
    EXPECT_EQ(changes, 3); // the graphic's changes reach the picture

    TPicture q;
    q.Assign(&p);
    b->Canvas()->SetPixel(0, 0, clRed);
    ASSERT_NE(dynamic_cast<TBitmap*>(q.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TBitmap*>(q.Graphic())->Image().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_NE(q.Graphic(), p.Graphic());

    TJPEGImage j;
    j.LoadFromFile(Kinds().Jpg);
    q.Assign(&j);
    EXPECT_EQ(q.Graphic()->ClassName(), QLatin1String("TJPEGImage"));
    q.Assign(nullptr);
    EXPECT_FALSE(q.HasGraphic());
    EXPECT_EQ(q.Width(), 0);
}

TEST(Picture, SaveToFileWritesTheGraphicsOwnFormat)
{
    TPicture p;
    p.LoadFromFile(Kinds().Jpg);
    const QString out = TestSupport::MakeTempDir() + QStringLiteral("/copy.jpg");
    p.SaveToFile(out);
    EXPECT_EQ(FileBytes(out), FileBytes(Kinds().Jpg));
    p.LoadFromFile(Kinds().Emf);
    p.SaveToFile(out + QStringLiteral(".emf"));
    EXPECT_EQ(FileBytes(out + QStringLiteral(".emf")), FileBytes(Kinds().Emf));
}

TEST(PictureData, EveryKindRoundTripsThroughTheFraming)
{
    for (const QString& path : {Kinds().Bmp, Kinds().Jpg, Kinds().Gif, Kinds().Ico, Kinds().Emf, Kinds().Wmf}) {
        TPicture p;
        p.LoadFromFile(path);
        const QByteArray value = p.DataBytes();
        const QByteArray name = p.Graphic()->ClassName().toLatin1();
        ASSERT_EQ(uint8_t(value[0]), name.size());
        EXPECT_EQ(value.mid(1, name.size()), name);
        const QByteArray data = value.mid(1 + name.size());
        const QByteArray file = FileBytes(path);
        if (name == "TGIFImage" || name == "TIcon") {
            EXPECT_EQ(data, file) << path.toStdString(); // the file itself, no size
        } else if (name == "TMetafile") {
            EXPECT_EQ(data.size(), file.size() + 4);
            EXPECT_EQ(data.mid(4), file);
        } else if (name == "TJPEGImage") {
            EXPECT_EQ(data.mid(4), file); // the bytes as loaded
        } else {
            EXPECT_EQ(data.size(), 4 + file.size());
        }

        TPicture r;
        r.ReadDataFromBytes(value);
        ASSERT_TRUE(r.HasGraphic());
        EXPECT_EQ(r.Graphic()->ClassName(), p.Graphic()->ClassName());
        EXPECT_EQ(r.Width(), p.Width());
        EXPECT_EQ(r.Height(), p.Height());
        EXPECT_EQ(r.DataBytes(), value) << path.toStdString();
    }
}

TEST(PictureData, BitmapPixelsSurviveTheFraming)
{
    TPicture p;
    p.Bitmap()->SetImage(Sample(5, 3), pf24bit);
    TPicture r;
    r.ReadDataFromBytes(p.DataBytes());
    ASSERT_NE(dynamic_cast<TBitmap*>(r.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TBitmap*>(r.Graphic())->Image(), Sample(5, 3));
    EXPECT_EQ(static_cast<TBitmap*>(r.Graphic())->PixelFormat(), pf24bit);
}

TEST(PictureData, UnknownOrEmptyClassNameGivesAnEmptyPicture)
{
    TPicture p;
    p.LoadFromFile(Kinds().Bmp);
    // An unknown class: the picture empties and nothing more is read.
    QBuffer in;
    in.setData(QByteArray("\x07TPngImgXYZ", 11));
    in.open(QIODevice::ReadOnly);
    p.ReadData(in);
    EXPECT_FALSE(p.HasGraphic());
    EXPECT_EQ(in.readAll(), QByteArray("XYZ"));

    p.LoadFromFile(Kinds().Bmp);
    p.ReadDataFromBytes(QByteArray(1, 0));
    EXPECT_FALSE(p.HasGraphic());
    // An empty picture writes an empty class name.
    EXPECT_EQ(p.DataBytes(), QByteArray(1, 0));
    // The class name itself cut off is an error.
    EXPECT_THROW(p.ReadDataFromBytes(QByteArray("\x09TBit", 5)), EReadError);
}

TEST(PictureData, BadGraphicDataFailsAndKeepsThePicture)
{
    TPicture p;
    p.LoadFromFile(Kinds().Gif);
    EXPECT_THROW(p.ReadDataFromBytes(QByteArray("\x07TBitmap\x10\x00\x00\x00" "BMshort", 19)), EReadError);
    EXPECT_THROW(p.ReadDataFromBytes(QByteArray("\x0ATJPEGImage\x04\x00\x00\x00" "abcd", 19)), EInvalidGraphic);
    EXPECT_THROW(p.ReadDataFromBytes(QByteArray("\x09TGIFImage" "GIF89a", 16)), EInvalidGraphic);
    EXPECT_THROW(p.ReadDataFromBytes(QByteArray("\x05TIcon\x00\x00\x01\x00\x05\x00", 12)), EReadError);
    EXPECT_THROW(p.ReadDataFromBytes(QByteArray("\x09TMetafile\x10\x00\x00\x00" "123456789012", 26)),
                 EInvalidGraphic);
    ASSERT_TRUE(p.HasGraphic());
    EXPECT_EQ(p.Graphic()->ClassName(), QLatin1String("TGIFImage"));

    // Empty pictures of the kinds that have a size: a size of 0 (metafile: 4).
    p.ReadDataFromBytes(QByteArray("\x07TBitmap\x00\x00\x00\x00", 12));
    EXPECT_TRUE(p.HasGraphic() && p.Graphic()->Empty());
    p.ReadDataFromBytes(QByteArray("\x0ATJPEGImage\x00\x00\x00\x00", 15));
    EXPECT_TRUE(p.HasGraphic() && p.Graphic()->Empty());
    p.ReadDataFromBytes(QByteArray("\x09TMetafile\x04\x00\x00\x00", 14));
    EXPECT_TRUE(p.HasGraphic() && p.Graphic()->Empty());
}
