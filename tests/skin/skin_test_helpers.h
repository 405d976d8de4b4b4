#pragma once
// Building small skin archives for the tests: an INI text and pictures.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

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
