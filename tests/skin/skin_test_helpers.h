#pragma once
// Building small skin archives for the tests: an INI text and pictures.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "archive_writer.h"
#include "artwork.h"
#include "skin/skin_message.h"

namespace SkinTest {
inline QImage Solid(int w, int h, const QColor& c = QColor(10, 20, 30))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// An archive holding "skin.ini" with text and the given pictures as BMP entries.
inline QByteArray Archive(const QByteArray& ini, const QList<QPair<QString, QImage>>& pictures = {})
{
    QList<SkinPack::TEntry> entries;
    entries.append({QStringLiteral("skin.ini"), ini});
    for (const auto& p : pictures)
        entries.append({p.first, SkinPack::BmpBytes(p.second)});
    return SkinPack::BuildArchive(entries);
}

// The "SkinStream" property bytes for an archive.
inline QByteArray Property(const QByteArray& archive)
{
    QByteArray out;
    const auto n = static_cast<uint32_t>(archive.size());
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((n >> (8 * i)) & 0xFF));
    return out + archive;
}

// Skin files that cannot be used, written into dir: an archive of an older
// format version, size headers of 0 and of 2 GB, an empty file and random
// bytes. Their paths, in that order.
inline QStringList DamagedSkinFiles(const QString& dir, const QString& olderArchive)
{
    auto int32 = [](uint32_t v) {
        QByteArray b;
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        return b;
    };
    QByteArray noise(65536, Qt::Uninitialized);
    uint32_t x = 2463534242u;
    for (char& c : noise) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    QFile old(olderArchive);
    old.open(QIODevice::ReadOnly);
    const QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("older.skn"), old.readAll()},
        {QStringLiteral("zero-size.skn"), int32(0) + noise.left(300)},
        {QStringLiteral("absurd-size.skn"), int32(0x7FFFFFFF) + noise.left(300)},
        {QStringLiteral("empty.skn"), QByteArray()},
        {QStringLiteral("random.skn"), noise},
    };
    QStringList paths;
    for (const auto& f : files) {
        const QString path = dir + QLatin1Char('/') + f.first;
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(f.second);
        paths << path;
    }
    return paths;
}

// Collects the messages the skin engine shows.
class TMessages {
public:
    TMessages() { FPrevious = SetSkinMessageHandler([this](const QString& t) { Texts << t; }); }
    ~TMessages() { SetSkinMessageHandler(FPrevious); }
    TMessages(const TMessages&) = delete;
    TMessages& operator=(const TMessages&) = delete;
    QStringList Texts;

private:
    TSkinMessageHandler FPrevious;
};
} // namespace SkinTest
