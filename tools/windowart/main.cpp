// windowart <folder>: draws the pictures of the small windows into the folder
// (JPEG through our JPEG codec, BMP through our bitmap writer).

#include "artwork.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/sysutils.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace {
bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "windowart: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool WriteJpeg(const QString& path, const QImage& image)
{
    QByteArray data;
    QString error;
    if (!EncodeJpeg(image, 90, data, error)) {
        std::fprintf(stderr, "windowart: %s\n", qPrintable(error));
        return false;
    }
    return Write(path, data);
}

bool WriteBmp(const QString& path, const QImage& image)
{
    TBitmap bmp;
    bmp.SetImage(image, pf24bit);
    return Write(path, bmp.SaveToBytes());
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowart <folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const QImage background = WindowArt::AboutBackground();
    bool ok = WriteJpeg(dir + "/start.jpg", WindowArt::StartRing());
    ok = WriteJpeg(dir + "/about_background.jpg", background) && ok;
    ok = WriteBmp(dir + "/emblem.bmp", WindowArt::AboutEmblem(background)) && ok;
    ok = WriteBmp(dir + "/export.bmp", WindowArt::ExportIcon()) && ok;
    ok = WriteBmp(dir + "/offset_x.bmp", WindowArt::OffsetArrow(false)) && ok;
    ok = WriteBmp(dir + "/offset_y.bmp", WindowArt::OffsetArrow(true)) && ok;
    return ok ? 0 : 1;
}
