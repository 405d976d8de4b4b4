#include "disc_image.h"

#include <QFile>
#include <stdexcept>

namespace TestSupport {

QString MsfText(int frames)
{
    return QStringLiteral("%1:%2:%3")
        .arg(frames / 4500, 2, 10, QLatin1Char('0'))
        .arg((frames / 75) % 60, 2, 10, QLatin1Char('0'))
        .arg(frames % 75, 2, 10, QLatin1Char('0'));
}

QString MakeCueImage(const QString& dir, const QString& baseName, const std::vector<int>& starts, int leadOut)
{
    QString cue = QStringLiteral("FILE \"%1.bin\" BINARY\r\n").arg(baseName);
    for (size_t i = 0; i < starts.size(); ++i) {
        cue += QStringLiteral("  TRACK %1 AUDIO\r\n").arg(static_cast<int>(i + 1), 2, 10, QLatin1Char('0'));
        cue += QStringLiteral("    INDEX 01 %1\r\n").arg(MsfText(starts[i] - 150));
    }
    const QString cuePath = dir + QLatin1Char('/') + baseName + QStringLiteral(".cue");
    QFile cueFile(cuePath);
    if (!cueFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the CUE sheet");
    cueFile.write(cue.toUtf8());
    cueFile.close();
    // libcdio takes the lead-out from the size of the BIN (2352 bytes a frame).
    QFile bin(dir + QLatin1Char('/') + baseName + QStringLiteral(".bin"));
    if (!bin.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !bin.resize(static_cast<qint64>(leadOut - 150) * 2352))
        throw std::runtime_error("cannot write the BIN file");
    return cuePath;
}

} // namespace TestSupport
