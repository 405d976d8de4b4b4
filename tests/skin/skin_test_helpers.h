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

// Pixels that do not pack: a cut archive then ends inside real data.
inline QImage Noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    uint32_t x = 2463534242u;
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w; ++i) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            img.setPixel(i, y, 0xFF000000u | (x & 0xFFFFFF));
        }
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

// A small skin that can serve as the look of a window: the four frame sides
// (4 px sides, a 20 px caption, two frames each), a menu bar and a close button.
inline QByteArray UsableSkinIni()
{
    return "[Personality]\r\nLeft=left.bmp\r\nLeftFrame=2\r\nRight=right.bmp\r\nRightFrame=2\r\n"
           "Top=top.bmp\r\nTopFrame=2\r\nBottom=bottom.bmp\r\nBottomFrame=2\r\nmenuBar=menubar.bmp\r\n"
           "[BUTTON0]\r\nAction=0\r\nAlign=1\r\nXcoord=24\r\nYcoord=2\r\nButtonImage=close.bmp\r\n";
}

inline QList<QPair<QString, QByteArray>> UsableSkinBitmaps()
{
    return {{QStringLiteral("left.bmp"), SkinPack::BmpBytes(Solid(8, 40, QColor(200, 0, 0)))},
            {QStringLiteral("right.bmp"), SkinPack::BmpBytes(Solid(8, 40, QColor(0, 200, 0)))},
            {QStringLiteral("top.bmp"), SkinPack::BmpBytes(Solid(40, 40, QColor(0, 0, 200)))},
            {QStringLiteral("bottom.bmp"), SkinPack::BmpBytes(Solid(40, 8, QColor(200, 200, 0)))},
            {QStringLiteral("menubar.bmp"), SkinPack::BmpBytes(Solid(40, 19, QColor(0, 200, 200)))},
            {QStringLiteral("close.bmp"), SkinPack::BmpBytes(Noise(64, 16))}};
}

inline QByteArray SkinArchiveOf(const QByteArray* ini, const QList<QPair<QString, QByteArray>>& bitmaps)
{
    QList<SkinPack::TEntry> entries;
    if (ini)
        entries.append({QStringLiteral("skin.ini"), *ini});
    for (const auto& b : bitmaps)
        entries.append({b.first, b.second});
    return SkinPack::BuildArchive(entries);
}

// Well-formed archives that cannot serve as a skin, each the usable one with
// one fault, written into dir: its path and a piece of the reason the user
// must be told.
inline QList<QPair<QString, QString>> UnusableSkinFiles(const QString& dir)
{
    const QByteArray ini = UsableSkinIni();
    const auto bitmaps = UsableSkinBitmaps();
    // The usable bitmaps with the one called name replaced.
    auto with = [&bitmaps](const QString& name, const QByteArray& bytes) {
        auto list = bitmaps;
        for (auto& b : list)
            if (b.first == name)
                b.second = bytes;
        return list;
    };
    auto patched = [](QByteArray bmp, int offset, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bmp[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return bmp;
    };
    const QByteArray top = SkinPack::BmpBytes(Solid(40, 40));
    const QByteArray garbage("\x8f\x01\xfe[[[=\r\n\x00\x07 ]]]==\xff\xfe\r\n", 22);
    const QByteArray empty;
    const QByteArray usable = SkinArchiveOf(&ini, bitmaps);
    QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("no-ini.skn"), SkinArchiveOf(nullptr, bitmaps)},
        {QStringLiteral("empty-ini.skn"), SkinArchiveOf(&empty, bitmaps)},
        {QStringLiteral("garbage-ini.skn"), SkinArchiveOf(&garbage, bitmaps)},
        {QStringLiteral("no-bitmaps.skn"), SkinArchiveOf(&ini, {})},
        {QStringLiteral("zero-top.skn"), SkinArchiveOf(&ini, with(QStringLiteral("top.bmp"), patched(top, 18, 0)))},
        {QStringLiteral("huge-top.skn"),
         SkinArchiveOf(&ini, with(QStringLiteral("top.bmp"), patched(top, 22, 0x7FFFFFFF)))},
        {QStringLiteral("cut-left.skn"),
         SkinArchiveOf(&ini, with(QStringLiteral("left.bmp"), bitmaps[0].second.left(bitmaps[0].second.size() / 2)))},
        {QStringLiteral("thick-top.skn"),
         SkinArchiveOf(&ini, with(QStringLiteral("top.bmp"), SkinPack::BmpBytes(Solid(40, 600))))},
        {QStringLiteral("cut-menubar.skn"),
         SkinArchiveOf(&ini, with(QStringLiteral("menubar.bmp"), bitmaps[4].second.left(60)))},
        {QStringLiteral("no-close.skn"), SkinArchiveOf(&ini, bitmaps.mid(0, 5))},
        // The code stream cut short: the header and names are whole, the last bitmap not.
        {QStringLiteral("truncated.skn"), usable.left(usable.size() - 200)},
    };
    const QStringList reasons = {
        QStringLiteral("neobsahuje popis skinu"),
        QStringLiteral("„skin.ini“ je prázdný nebo nečitelný"),
        QStringLiteral("„skin.ini“ je prázdný nebo nečitelný"),
        QStringLiteral("Okraj okna „Left“: obrázek „left.bmp“ v archivu chybí"),
        QStringLiteral("Okraj okna „Top“: obrázek „top.bmp“ má nulový rozměr"),
        QStringLiteral("Okraj okna „Top“: obrázek „top.bmp“ má nemožný rozměr"),
        QStringLiteral("Okraj okna „Left“: obrázek „left.bmp“ je useknutý"),
        QStringLiteral("Okraj okna „Top“ by byl 300 px silný"),
        QStringLiteral("Lišta nabídky: obrázek „menubar.bmp“ je useknutý"),
        QStringLiteral("Tlačítko titulku [BUTTON0]: obrázek „close.bmp“ v archivu chybí"),
        QStringLiteral("Archiv skinu je useknutý"),
    };
    QList<QPair<QString, QString>> result;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = dir + QLatin1Char('/') + files[i].first;
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(files[i].second);
        result.append({path, reasons[i]});
    }
    return result;
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
