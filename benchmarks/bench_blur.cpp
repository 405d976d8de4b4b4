// bench-layer: tv_designer
// The picture blur on a 12-megapixel JPEG (4000 x 3000, a smooth gradient with
// noise, made here): the blur alone and the whole road of the blur window
// (decode, blur, JPEG of quality 85 written), at radius 20 and radius 1, and
// ImageMagick's `convert in.jpg -blur 0xR -quality 85 out.jpg` and the same
// with -gaussian-blur on the same file in the same run. Prints medians in
// milliseconds and the ratios.
// Usage: bench_blur [runs [plain|quick]]   (default 5 runs; "plain" also times the
// plain per-pixel loop once; "quick" skips ImageMagick, as does its absence)
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/jpeg_image.h"
#include "designer/objects/gauss_blur.h"
#include "median.h"

namespace {
constexpr int kWidth = 4000, kHeight = 3000;

QImage MakePicture()
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> noise(-24, 24);
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int r = 255 * x / kWidth, g = 255 * y / kHeight, b = 255 - (r + g) / 2;
            line[x] = qRgb(clamp(r + noise(rng)), clamp(g + noise(rng)), clamp(b + noise(rng)));
        }
    }
    return img;
}

// What the blur window does with a JPEG picture: its pixels into a 24-bit
// bitmap, blurred, then a JPEG of quality 85, here written to a file.
void BlurJpegFile(const QString& in, const QString& out, int radius)
{
    TJPEGImage source;
    source.LoadFromFile(in);
    TBitmap bitmap;
    bitmap.Assign(&source);
    QImage& image = bitmap.Image();
    BlurPixels32(image.bits(), image.width(), image.height(), image.bytesPerLine(), radius);
    TJPEGImage result;
    result.SetCompressionQuality(85);
    result.Assign(&bitmap);
    result.SaveToFile(out);
}

bool RunConvert(const QString& in, const QString& out, const QString& blur, int radius)
{
    const int code = QProcess::execute(QStringLiteral("/usr/bin/convert"),
                                       {in, blur, QStringLiteral("0x%1").arg(radius),
                                        QStringLiteral("-quality"), QStringLiteral("85"), out});
    return code == 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.jpg"));
    {
        QByteArray data;
        QString error;
        if (!EncodeJpeg(MakePicture(), 92, data, error)) {
            std::fprintf(stderr, "cannot make the picture: %s\n", qPrintable(error));
            return 1;
        }
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            return 1;
    }
    TJPEGImage decoded;
    decoded.LoadFromFile(in);
    const QImage pixels = decoded.Image().convertToFormat(QImage::Format_RGB32);
    // "quick" leaves out the reference tool, whose Gaussian blur alone takes minutes.
    const bool quick = argc > 2 && QByteArray(argv[2]) == "quick";
    const bool haveConvert = !quick && QFileInfo::exists(QStringLiteral("/usr/bin/convert"));

    std::printf("picture %d x %d (%.1f MB JPEG), %d runs, lane width %d, median ms\n", kWidth, kHeight,
                QFileInfo(in).size() / 1e6, runs, BlurLaneWidth());
    for (int radius : {20, 1}) {
        TGaussKernel k;
        BuildGaussKernel(k, radius, 255.0, 1.0);
        QImage work;
        std::vector<double> blurTimes;
        for (int i = 0; i < runs; ++i) {
            work = pixels.copy();
            blurTimes.push_back(MedianMs(1, [&] {
                BlurPixels32(work.bits(), work.width(), work.height(), work.bytesPerLine(), radius);
            }));
        }
        const double blur = Median(blurTimes);
        const QString out = dir.filePath(QStringLiteral("ours.jpg"));
        const double whole = MedianMs(runs, [&] { BlurJpegFile(in, out, radius); });
        std::printf("radius %3d (%3d taps): blur alone %8.1f   decode+blur+encode %8.1f", radius, 2 * k.Size + 1, blur,
                    whole);
        if (haveConvert) {
            const QString im = dir.filePath(QStringLiteral("im.jpg"));
            for (const char* op : {"-blur", "-gaussian-blur"}) {
                bool ok = true;
                const double convert =
                    MedianMs(runs, [&] { ok = RunConvert(in, im, QString::fromLatin1(op), radius) && ok; });
                if (ok)
                    std::printf("   convert %s 0x%d %8.1f   ratio %.3f", op, radius, convert, whole / convert);
                else
                    std::printf("   convert %s failed", op);
            }
        } else if (!quick) {
            std::printf("   (no /usr/bin/convert: apt-get install imagemagick)");
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    if (argc > 2 && QByteArray(argv[2]) == "plain") {
        QImage work = pixels.copy();
        const double plain = MedianMs(1, [&] {
            BlurPixels32Plain(work.bits(), work.width(), work.height(), work.bytesPerLine(), 20);
        });
        std::printf("radius  20 plain loop, blur alone %8.1f\n", plain);
    }
    return 0;
}
