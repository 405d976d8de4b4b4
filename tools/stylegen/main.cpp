// Writes the style files: tv_stylegen <Style folder>.

#include "style_designs.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tv_stylegen <Style folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return 1;
    }
    for (const TStyleFile& f : BuildStyleFiles()) {
        QFile out(folder + QLatin1Char('/') + f.FileName);
        if (!out.open(QIODevice::WriteOnly) || out.write(f.Data) != f.Data.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
