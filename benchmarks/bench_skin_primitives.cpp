// bench-layer: tv_skin
// The skin's bitmap operations at window size: a region from a 1024-pixel
// border strip with a shaped transparent edge, and a nine-grid frame of a
// 1024 x 740 window (tiled and stretched centre). Prints medians.
#include <QGuiApplication>
#include <cmath>
#include <cstdio>

#include "median.h"
#include "skin/form/skin_primitives.h"

namespace {
// A title-bar strip: rounded top corners and a wavy top edge in magenta.
QImage BorderStrip(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int edge = static_cast<int>(3 + 2 * std::sin(x / 9.0));
            const int cx = std::min(x, w - 1 - x);
            const bool corner = cx < 8 && (8 - cx) * (8 - cx) + (8 - y) * (8 - y) > 64 && y < 8;
            img.setPixel(x, y, y < edge || corner ? qRgb(255, 0, 255) : qRgb(40 + y * 3, 80, 160 - (x & 63)));
        }
    return img;
}

QImage Frame(int w, int h, int frames)
{
    QImage img(w * frames, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * frames; ++x)
            img.setPixel(x, y, qRgb(x * 5 & 0xFF, y * 7 & 0xFF, (x ^ y) & 0xFF));
    return img;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const int runs = 51;

    const QImage strip = BorderStrip(1024, 30);
    int rects = 0;
    const double region = MedianMs(runs, [&] { rects = static_cast<int>(RegionFromBitmap(strip, 0, 0, 1, 1, 1).Rects().size()); });
    std::printf("RegionFromBitmap 1024x30 border      median %.3f ms (%d runs, %d rectangles)\n", region, runs, rects);

    // The worst case for the batches: every other pixel key, 512 runs a line.
    QImage checker(1024, 740, QImage::Format_RGB32);
    for (int y = 0; y < checker.height(); ++y)
        for (int x = 0; x < checker.width(); ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 255) : qRgb(0, 0, 0));
    const double worst = MedianMs(5, [&] { rects = RegionFromBitmap(checker, 0, 0, 0, 0, 0).PixelCount(); });
    std::printf("RegionFromBitmap 1024x740 checkerboard median %.3f ms (5 runs, %d pixels)\n", worst, rects);

    const QImage frame = Frame(120, 90, 2);
    const TSkinMargins m{30, 24, 30, 20};
    for (bool tiled : {true, false}) {
        QImage out;
        const double ms = MedianMs(runs, [&] { out = NineGridBitmap(Bounds(0, 0, 1024, 740), frame, m, false, tiled, 2, 2); });
        std::printf("NineGridBitmap 1024x740 %-9s    median %.3f ms (%d runs)\n", tiled ? "tiled" : "stretched", ms,
                    runs);
    }
    const QImage small = Frame(12, 10, 2);
    QImage out;
    const double smallTiles =
        MedianMs(runs, [&] { out = NineGridBitmap(Bounds(0, 0, 1024, 740), small, {3, 3, 3, 3}, false, true, 2, 2); });
    std::printf("NineGridBitmap 1024x740 6x4 tiles    median %.3f ms (%d runs)\n", smallTiles, runs);
    return 0;
}
