// bench-layer: tv_skin
// Decoding time of skin archives: the default skin built into the program and
// the largest LZHUF test vector, plus a whole skin load. Prints medians.
// Usage: bench_skin_decode [TESTDATA_DIR]
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "median.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"

namespace {
QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Decode(const char* label, const QByteArray& packed, int runs)
{
    QByteArray out;
    const double ms = MedianMs(runs, [&] { TSkinReader::Decompress(packed, out); });
    std::printf("%-28s %8lld -> %8lld bytes  median %.3f ms (%d runs, %.1f MB/s)\n", label,
                static_cast<long long>(packed.size()), static_cast<long long>(out.size()), ms, runs,
                out.size() / ms / 1000.0);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = 31;
    Decode("default skin (built in)", DefaultSkinArchive(), runs);

    // The largest vector by unpacked size.
    // The test vectors of the tests unless a folder is given.
    const QString testdata = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                      : QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                                            QStringLiteral("/../tests/data");
    QDir dir(testdata + QStringLiteral("/lzhuf"));
    QString largest;
    qint64 largestSize = -1;
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.unpacked")}, QDir::Files)) {
        if (fi.size() > largestSize) {
            largestSize = fi.size();
            largest = fi.completeBaseName();
        }
    }
    for (const QString& ext : {QStringLiteral(".lzh"), QStringLiteral(".skn")}) {
        const QByteArray packed = Read(dir.filePath(largest + ext));
        if (!packed.isEmpty())
            Decode(qPrintable(QStringLiteral("vector ") + largest + ext), packed, runs);
    }

    // A whole load: decode, description, pictures and derived images.
    const QByteArray property = DefaultSkinStreamProperty();
    TSkinData data(nullptr);
    const double ms = MedianMs(runs, [&] {
        QByteArray bytes = property;
        QDataStream in(bytes);
        data.ReadSkinStream(in);
    });
    std::printf("%-28s median %.3f ms (%d runs)\n", "default skin, whole load", ms, runs);
    return 0;
}
