// Draws the logos and background pictures that lie beside the program.
// Run: tv_artwork <data folder>; it writes Loga/*.gif and Background/*.jpg.

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/jpeg_image.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>

namespace {
bool WriteGif(const QImage& image, const QString& path)
{
    QByteArray data;
    QString error;
    if (!EncodeGif(image, data, error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

bool WriteJpeg(const QImage& image, const QString& path)
{
    TBitmap bmp;
    bmp.SetImage(image.convertToFormat(QImage::Format_RGB32));
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(88);
    jpeg.Assign(&bmp);
    jpeg.SaveToFile(path);
    return QFileInfo::exists(path);
}

// Logos: drawn on a clear background, which becomes the GIF's transparent colour.
QImage Canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// Hard edges keep the one-bit transparency of GIF clean.
void Harden(QImage& img)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qAlpha(line[x]) < 128 ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
    }
}

QImage NoteLogo()
{
    QImage img = Canvas(120, 120);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 50, 110), 6));
    p.setBrush(QColor(250, 196, 60));
    p.drawEllipse(QRectF(6, 6, 108, 108));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 50, 110));
    p.drawEllipse(QRectF(34, 70, 24, 18));
    p.drawEllipse(QRectF(66, 62, 24, 18));
    p.drawRect(QRectF(53, 30, 5, 48));
    p.drawRect(QRectF(85, 24, 5, 48));
    QPainterPath beam;
    beam.moveTo(53, 30);
    beam.lineTo(90, 22);
    beam.lineTo(90, 34);
    beam.lineTo(53, 42);
    beam.closeSubpath();
    p.drawPath(beam);
    p.end();
    Harden(img);
    return img;
}

QImage StarLogo()
{
    QImage img = Canvas(120, 120);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = (i % 2) ? 24 : 56;
        const QPointF pt(60 + r * std::cos(a), 62 + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(150, 30, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(220, 50, 60));
    p.drawPath(star);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 235, 235));
    p.drawEllipse(QPointF(60, 62), 10, 10);
    p.end();
    Harden(img);
    return img;
}

QImage DiscLogo()
{
    QImage img = Canvas(120, 120);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 28));
    p.drawEllipse(QRectF(4, 4, 112, 112));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 70, 76), 1.5));
    for (int r = 50; r > 28; r -= 5)
        p.drawEllipse(QPointF(60, 60), r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 150, 120));
    p.drawEllipse(QPointF(60, 60), 22, 22);
    p.setBrush(QColor(240, 240, 240));
    p.drawEllipse(QPointF(60, 60), 5, 5);
    p.end();
    Harden(img);
    // The hole shows through.
    for (int y = 56; y <= 64; ++y)
        for (int x = 56; x <= 64; ++x)
            if ((x - 60) * (x - 60) + (y - 60) * (y - 60) <= 9)
                img.setPixel(x, y, qRgba(0, 0, 0, 0));
    return img;
}

QImage WaveLogo()
{
    QImage img = Canvas(160, 80);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(20, 90, 170), QColor(40, 140, 210), QColor(90, 190, 230)};
    for (int k = 0; k < 3; ++k) {
        QPainterPath wave;
        const double base = 22 + k * 18;
        wave.moveTo(6, base);
        for (int x = 6; x <= 154; x += 2)
            wave.lineTo(x, base + 9 * std::sin((x + k * 14) / 16.0));
        p.setPen(QPen(colours[k], 7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    }
    p.end();
    Harden(img);
    return img;
}

QImage SunsetBackground()
{
    QImage img(600, 600, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(255, 214, 140));
    sky.setColorAt(0.55, QColor(240, 120, 90));
    sky.setColorAt(1, QColor(90, 40, 100));
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    for (int r = 280; r > 0; r -= 40) {
        p.setBrush(QColor(255, 255, 255, 14));
        p.drawEllipse(QPointF(300, 300), r, r);
    }
    return img;
}

QImage OceanBackground()
{
    QImage img(600, 600, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sea(0, 0, 600, 600);
    sea.setColorAt(0, QColor(190, 230, 245));
    sea.setColorAt(1, QColor(20, 80, 150));
    p.fillRect(img.rect(), sea);
    for (int k = 0; k < 14; ++k) {
        QPainterPath wave;
        const double base = 20 + k * 44;
        wave.moveTo(0, base);
        for (int x = 0; x <= 600; x += 4)
            wave.lineTo(x, base + 12 * std::sin(x / 45.0 + k));
        p.setPen(QPen(QColor(255, 255, 255, 60), 3));
        p.drawPath(wave);
    }
    return img;
}

QImage NightBackground()
{
    QImage img(600, 600, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sky(QPointF(300, 300), 420);
    sky.setColorAt(0, QColor(40, 50, 110));
    sky.setColorAt(1, QColor(8, 10, 30));
    p.fillRect(img.rect(), sky);
    QRandomGenerator rng(20261208); // the same stars on every run
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        const double x = rng.bounded(600.0), y = rng.bounded(600.0), r = 0.4 + rng.bounded(1.4);
        p.setBrush(QColor(255, 255, 230, 120 + rng.bounded(135)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    return img;
}

QImage PaperBackground()
{
    QImage img(600, 600, QImage::Format_RGB32);
    img.fill(QColor(246, 240, 226));
    QRandomGenerator rng(4242);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int n = rng.bounded(13) - 6;
            line[x] = qRgb(246 + std::min(n, 9), 240 + n, 226 + n);
        }
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 180, 140, 90), 1));
    for (int r = 30; r < 430; r += 24)
        p.drawEllipse(QPointF(300, 300), r, r);
    return img;
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tv_artwork <data folder>\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(data + QStringLiteral("/Loga"));
    QDir().mkpath(data + QStringLiteral("/Background"));
    bool ok = true;
    ok &= WriteGif(NoteLogo(), data + QStringLiteral("/Loga/nota.gif"));
    ok &= WriteGif(StarLogo(), data + QStringLiteral("/Loga/hvezda.gif"));
    ok &= WriteGif(DiscLogo(), data + QStringLiteral("/Loga/deska.gif"));
    ok &= WriteGif(WaveLogo(), data + QStringLiteral("/Loga/vlny.gif"));
    ok &= WriteJpeg(SunsetBackground(), data + QStringLiteral("/Background/zapad.jpg"));
    ok &= WriteJpeg(OceanBackground(), data + QStringLiteral("/Background/ocean.jpg"));
    ok &= WriteJpeg(NightBackground(), data + QStringLiteral("/Background/noc.jpg"));
    ok &= WriteJpeg(PaperBackground(), data + QStringLiteral("/Background/papir.jpg"));
    return ok ? 0 : 1;
}
