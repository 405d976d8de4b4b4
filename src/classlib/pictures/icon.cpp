#include "classlib/pictures/icon.h"

#include "classlib/pictures/dib.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <cstdlib>

using namespace PictureIO;

namespace {

constexpr int IconSize = 32; // the platform's icon size

[[noreturn]] void Invalid(const QString& why) { throw EInvalidGraphic(QStringLiteral("Ikona je poškozená: %1.").arg(why)); }

struct TEntry {
    int Width;
    int Height;
    int Bits;
    uint32_t Size;
    uint32_t Offset;
};

QImage DecodeEntry(const QByteArray& file, const TEntry& e)
{
    if (e.Offset > uint32_t(file.size()) || e.Size > uint32_t(file.size()) - e.Offset || e.Size < 8)
        Invalid(QStringLiteral("data obrázku leží mimo soubor"));
    const auto* d = reinterpret_cast<const uchar*>(file.constData()) + e.Offset;
    static const uchar png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(d, png, 8) == 0) {
        // Check the declared size before Qt allocates anything.
        if (e.Size < 24)
            Invalid(QStringLiteral("obrázek PNG je neúplný"));
        const qint64 w = (qint64(d[16]) << 24) | (d[17] << 16) | (d[18] << 8) | d[19];
        const qint64 h = (qint64(d[20]) << 24) | (d[21] << 16) | (d[22] << 8) | d[23];
        if (!PictureSizeAllowed(w, h))
            Invalid(QStringLiteral("rozměry obrázku PNG program nepodporuje"));
        QImage img;
        if (!img.loadFromData(d, int(e.Size), "PNG") || img.isNull())
            Invalid(QStringLiteral("obrázek PNG nelze přečíst"));
        return img.convertToFormat(QImage::Format_ARGB32);
    }
    TDibOptions options;
    options.Icon = true;
    options.KeepAlpha = true;
    TDib dib;
    QString error;
    if (!DecodeDib(d, e.Size, options, dib, error))
        Invalid(error);
    QImage img = dib.Image.convertToFormat(QImage::Format_ARGB32);
    if (!dib.HasAlpha) {
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if (dib.Mask[size_t(y) * size_t(img.width()) + size_t(x)])
                    line[x] &= 0x00FFFFFFu;
        }
    }
    return img;
}

} // namespace

TIcon::TIcon() { SetTransparent(true); SetModified(false); }

void TIcon::SetWidth(int) { throw EInvalidGraphic(QStringLiteral("Velikost ikony nelze změnit.")); }

void TIcon::SetHeight(int) { throw EInvalidGraphic(QStringLiteral("Velikost ikony nelze změnit.")); }

void TIcon::Assign(const TPersistent* source)
{
    if (!source) {
        FData.clear();
        FImage = QImage();
        FCount = 0;
        Changed();
        return;
    }
    if (const auto* i = dynamic_cast<const TIcon*>(source)) {
        if (i == this)
            return;
        FData = i->FData;
        FImage = i->FImage;
        FCount = i->FCount;
        SetTransparent(i->Transparent());
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!Empty())
        DrawPictureImage(canvas, rect, FImage, Transparent());
}

void TIcon::Load(QIODevice& stream, bool allowEmpty)
{
    QByteArray file = ReadExact(stream, 6);
    const auto* h = reinterpret_cast<const uchar*>(file.constData());
    if (Le16(h) != 0 || Le16(h + 2) != 1)
        Invalid(QStringLiteral("soubor není ikona"));
    const int count = Le16(h + 4);
    if (count == 0) {
        if (!allowEmpty)
            Invalid(QStringLiteral("neobsahuje žádný obrázek"));
        Assign(nullptr);
        FData = file;
        return;
    }
    file.append(ReadExact(stream, qint64(count) * 16));
    std::vector<TEntry> entries;
    uint64_t extent = file.size();
    for (int i = 0; i < count; ++i) {
        const auto* e = reinterpret_cast<const uchar*>(file.constData()) + 6 + 16 * i;
        TEntry t{e[0] ? e[0] : 256, e[1] ? e[1] : 256, Le16(e + 6), Le32(e + 8), Le32(e + 12)};
        if (t.Bits == 0)
            t.Bits = e[2] == 0 ? 8 : (e[2] <= 2 ? 1 : (e[2] <= 16 ? 4 : 8));
        if (t.Offset < uint32_t(file.size()))
            Invalid(QStringLiteral("obrázek leží v seznamu obrázků"));
        extent = std::max<uint64_t>(extent, uint64_t(t.Offset) + t.Size);
        entries.push_back(t);
    }
    if (extent > uint64_t(INT32_MAX))
        Invalid(QStringLiteral("soubor je příliš velký"));
    file.append(ReadExact(stream, qint64(extent) - file.size()));

    // The image nearest the platform's icon size, the most colours among equals.
    const TEntry* best = nullptr;
    for (const TEntry& e : entries) {
        if (!best) {
            best = &e;
            continue;
        }
        const int d = std::abs(e.Width - IconSize) + std::abs(e.Height - IconSize);
        const int bd = std::abs(best->Width - IconSize) + std::abs(best->Height - IconSize);
        if (d < bd || (d == bd && e.Bits > best->Bits))
            best = &e;
    }
    QImage image = DecodeEntry(file, *best);
    FData = file;
    FImage = image;
    FCount = count;
    Changed();
}

void TIcon::LoadFromStream(QIODevice& stream) { Load(stream, false); }

void TIcon::LoadFromBytes(const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    Load(buf, false);
}

void TIcon::ReadData(QIODevice& stream) { Load(stream, true); }

void TIcon::SaveToStream(QIODevice& stream) { WriteData(stream); }

void TIcon::WriteData(QIODevice& stream)
{
    if (FData.isEmpty()) {
        // An empty icon: a directory of no images.
        QByteArray empty;
        PutLe16(empty, 0);
        PutLe16(empty, 1);
        PutLe16(empty, 0);
        WriteBytes(stream, empty);
        return;
    }
    WriteBytes(stream, FData);
}
