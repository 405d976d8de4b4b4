#include "classlib/pictures/metafile.h"

#include "classlib/graphics/canvas.h"
#include "classlib/pictures/metafile_player.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <cmath>

using namespace PictureIO;

namespace {

constexpr uint32_t PlaceableKey = 0x9AC6CDD7u;
constexpr uint32_t EmfSignature = 0x464D4520u; // " EMF"
constexpr int ScreenPpi = 96;
constexpr int MaxSide = 65535;

[[noreturn]] void Invalid(const QString& why) { throw EInvalidGraphic(QStringLiteral("Metasoubor je poškozený: %1.").arg(why)); }

// The record chain of an enhanced metafile must hold together up to its end record.
void CheckEnhancedRecords(const QByteArray& data)
{
    const auto* d = reinterpret_cast<const uchar*>(data.constData());
    const size_t n = size_t(data.size());
    size_t pos = 0;
    while (pos < n) {
        if (n - pos < 8)
            Invalid(QStringLiteral("záznam je neúplný"));
        const uint32_t type = Le32(d + pos), size = Le32(d + pos + 4);
        if (size < 8 || size % 4 || size > n - pos)
            Invalid(QStringLiteral("záznam má chybnou délku"));
        if (type == 14)
            return;
        pos += size;
    }
}

// The same for a Windows metafile, whose header starts at offset.
void CheckWindowsRecords(const QByteArray& data, size_t offset)
{
    const auto* d = reinterpret_cast<const uchar*>(data.constData());
    const size_t n = size_t(data.size());
    if (n < offset + 18)
        Invalid(QStringLiteral("hlavička je neúplná"));
    const uint16_t type = Le16(d + offset), headerWords = Le16(d + offset + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        Invalid(QStringLiteral("soubor není metasoubor Windows"));
    size_t pos = offset + 18;
    while (pos < n) {
        if (n - pos < 6)
            Invalid(QStringLiteral("záznam je neúplný"));
        const uint32_t words = Le32(d + pos);
        if (words < 3 || words > (n - pos) / 2)
            Invalid(QStringLiteral("záznam má chybnou délku"));
        if (Le16(d + pos + 4) == 0)
            return;
        pos += size_t(words) * 2;
    }
}

// A plain Windows metafile has no bounding box: its window is the first one it sets.
bool FindWindow(const QByteArray& data, QRectF& box)
{
    const auto* d = reinterpret_cast<const uchar*>(data.constData());
    const size_t n = size_t(data.size());
    size_t pos = 18;
    QPointF org(0, 0);
    bool haveExt = false;
    while (pos + 6 <= n) {
        const uint32_t words = Le32(d + pos);
        const uint16_t func = Le16(d + pos + 4);
        if (words < 3 || words > (n - pos) / 2 || func == 0)
            break;
        if (words >= 5 && func == 0x020B) // SetWindowOrg: y, x
            org = QPointF(LeS16(d + pos + 8), LeS16(d + pos + 6));
        if (words >= 5 && func == 0x020C) { // SetWindowExt: y, x
            box = QRectF(org, QSizeF(LeS16(d + pos + 8), LeS16(d + pos + 6)));
            haveExt = true;
            break;
        }
        pos += size_t(words) * 2;
    }
    if (haveExt)
        box.moveTopLeft(org);
    return haveExt && box.width() != 0 && box.height() != 0;
}

QByteArray PlaceableHeader(const QRectF& box, int inch)
{
    QByteArray h;
    PutLe32(h, PlaceableKey);
    PutLe16(h, 0);
    PutLe16(h, uint16_t(int16_t(box.left())));
    PutLe16(h, uint16_t(int16_t(box.top())));
    PutLe16(h, uint16_t(int16_t(box.right())));
    PutLe16(h, uint16_t(int16_t(box.bottom())));
    PutLe16(h, uint16_t(inch));
    PutLe32(h, 0);
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= Le16(reinterpret_cast<const uchar*>(h.constData()) + i);
    PutLe16(h, sum);
    return h;
}

} // namespace

TMetafile::TMetafile() { SetTransparent(true); SetModified(false); }

void TMetafile::CopyContent(const TMetafile& m)
{
    FData = m.FData;
    FEnhanced = m.FEnhanced;
    FWidth = m.FWidth;
    FHeight = m.FHeight;
    FMMWidth = m.FMMWidth;
    FMMHeight = m.FMMHeight;
    FFrame = m.FFrame;
    FPixelsPerMm = m.FPixelsPerMm;
    FBox = m.FBox;
    FRecordsOffset = m.FRecordsOffset;
}

void TMetafile::SetWidth(int width)
{
    FWidth = std::max(0, width);
    Changed();
}

void TMetafile::SetHeight(int height)
{
    FHeight = std::max(0, height);
    Changed();
}

void TMetafile::Assign(const TPersistent* source)
{
    if (!source) {
        CopyContent(TMetafile());
        Changed();
        return;
    }
    if (const auto* m = dynamic_cast<const TMetafile*>(source)) {
        if (m == this)
            return;
        CopyContent(*m);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TMetafile::LoadFromBytes(const QByteArray& bytes)
{
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const size_t n = size_t(bytes.size());
    TMetafile m;
    if (n >= 22 && Le32(d) == PlaceableKey) {
        CheckWindowsRecords(bytes, 22);
        int inch = Le16(d + 14);
        if (inch == 0)
            inch = 1440; // the usual unit when the header leaves it out
        m.FBox = QRectF(QPointF(LeS16(d + 6), LeS16(d + 8)), QPointF(LeS16(d + 10), LeS16(d + 12)));
        m.FData = bytes;
        m.FRecordsOffset = 22;
        m.FEnhanced = false;
        m.FWidth = std::abs(MulDiv(int(m.FBox.width()), ScreenPpi, inch));
        m.FHeight = std::abs(MulDiv(int(m.FBox.height()), ScreenPpi, inch));
        m.FMMWidth = std::abs(MulDiv(int(m.FBox.width()), 2540, inch));
        m.FMMHeight = std::abs(MulDiv(int(m.FBox.height()), 2540, inch));
    } else if (n >= 88 && Le32(d) == 1 && Le32(d + 40) == EmfSignature) {
        const uint32_t headerSize = Le32(d + 4);
        if (headerSize < 88 || headerSize > n)
            Invalid(QStringLiteral("hlavička je chybná"));
        CheckEnhancedRecords(bytes);
        const QRectF bounds(QPointF(LeS32(d + 8), LeS32(d + 12)), QPointF(LeS32(d + 16), LeS32(d + 20)));
        QRectF frame(QPointF(LeS32(d + 24), LeS32(d + 28)), QPointF(LeS32(d + 32), LeS32(d + 36)));
        const double devW = LeS32(d + 72), devH = LeS32(d + 76);
        double mmW = LeS32(d + 80), mmH = LeS32(d + 84);
        if (headerSize >= 108 && LeS32(d + 100) > 0 && LeS32(d + 104) > 0) {
            mmW = LeS32(d + 100) / 1000.0;
            mmH = LeS32(d + 104) / 1000.0;
        }
        QPointF ppm(ScreenPpi / 25.4, ScreenPpi / 25.4);
        if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0)
            ppm = QPointF(devW / mmW, devH / mmH);
        if (frame.width() <= 0 || frame.height() <= 0) {
            // No frame: the bounds (device pixels) tell the size.
            frame = QRectF(bounds.left() * 100 / ppm.x(), bounds.top() * 100 / ppm.y(),
                           (bounds.width() + 1) * 100 / ppm.x(), (bounds.height() + 1) * 100 / ppm.y());
        }
        m.FData = bytes;
        m.FEnhanced = true;
        m.FPixelsPerMm = ppm;
        m.FFrame = QRectF(frame.left() * ppm.x() / 100, frame.top() * ppm.y() / 100, frame.width() * ppm.x() / 100,
                          frame.height() * ppm.y() / 100);
        const double w = std::max(0.0, frame.width()), h = std::max(0.0, frame.height());
        if (w > 1e9 || h > 1e9)
            Invalid(QStringLiteral("obrázek je příliš velký"));
        m.FMMWidth = int(w);
        m.FMMHeight = int(h);
        m.FWidth = MulDiv(m.FMMWidth, ScreenPpi, 2540);
        m.FHeight = MulDiv(m.FMMHeight, ScreenPpi, 2540);
    } else if (n >= 18 && (Le16(d) == 1 || Le16(d) == 2) && Le16(d + 2) == 9) {
        CheckWindowsRecords(bytes, 0);
        QRectF box;
        if (!FindWindow(bytes, box))
            Invalid(QStringLiteral("chybí rozměry obrázku"));
        // The placeable header we save it with holds the box in 16 bits.
        for (double v : {box.left(), box.top(), box.right(), box.bottom()})
            if (v < -32768 || v > 32767)
                Invalid(QStringLiteral("rozměry obrázku jsou mimo rozsah"));
        // Window units are taken as screen pixels, or as twips when that would
        // make the picture larger than a page.
        const int inch = std::max(std::fabs(box.width()), std::fabs(box.height())) > 1500 ? 1440 : ScreenPpi;
        m.FBox = box;
        m.FData = PlaceableHeader(box, inch) + bytes;
        m.FRecordsOffset = 22;
        m.FEnhanced = false;
        m.FWidth = std::abs(MulDiv(int(box.width()), ScreenPpi, inch));
        m.FHeight = std::abs(MulDiv(int(box.height()), ScreenPpi, inch));
        m.FMMWidth = std::abs(MulDiv(int(box.width()), 2540, inch));
        m.FMMHeight = std::abs(MulDiv(int(box.height()), 2540, inch));
    } else {
        Invalid(QStringLiteral("neznámý formát"));
    }
    if (m.FWidth > MaxSide || m.FHeight > MaxSide)
        Invalid(QStringLiteral("obrázek je příliš velký"));
    CopyContent(m);
    Changed();
}

void TMetafile::Play(QPainter& painter, const QRectF& rect) const
{
    if (Empty() || rect.width() == 0 || rect.height() == 0)
        return;
    if (FEnhanced) {
        if (FFrame.width() <= 0 || FFrame.height() <= 0)
            return;
        // The frame (in the reference device's pixels) fills the rectangle.
        const QTransform device = QTransform::fromTranslate(-FFrame.x(), -FFrame.y()) *
                                  QTransform::fromScale(rect.width() / FFrame.width(), rect.height() / FFrame.height()) *
                                  QTransform::fromTranslate(rect.x(), rect.y());
        Metafile::TPlayer player(painter, device, FPixelsPerMm);
        Metafile::PlayEnhanced(player, FData);
        return;
    }
    if (FBox.width() == 0 || FBox.height() == 0)
        return;
    // The bounding box is the window, the rectangle the viewport.
    Metafile::TPlayer player(painter, QTransform(), QPointF(ScreenPpi / 25.4, ScreenPpi / 25.4));
    player.FixedViewport = true;
    player.S.MapMode = Metafile::MM_ANISOTROPIC;
    player.S.WindowOrg = FBox.topLeft();
    player.S.WindowExt = QPointF(FBox.width(), FBox.height());
    player.S.ViewportOrg = rect.topLeft();
    player.S.ViewportExt = QPointF(rect.width(), rect.height());
    Metafile::PlayWindows(player, FData, FRecordsOffset);
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!canvas || Empty())
        return;
    canvas->PaintWith([&](QPainter& p) { Play(p, QRectF(rect.Left, rect.Top, rect.Width(), rect.Height())); });
}

void TMetafile::LoadFromStream(QIODevice& stream) { LoadFromBytes(ReadRest(stream)); }

void TMetafile::SaveToStream(QIODevice& stream) { WriteBytes(stream, FData); }

void TMetafile::ReadData(QIODevice& stream)
{
    const int32_t length = int32_t(ReadU32(stream));
    if (length <= 4) {
        Assign(nullptr);
        return;
    }
    LoadFromBytes(ReadExact(stream, length - 4));
}

void TMetafile::WriteData(QIODevice& stream)
{
    WriteU32(stream, uint32_t(FData.size() + 4));
    WriteBytes(stream, FData);
}
