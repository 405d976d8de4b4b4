// Records of enhanced metafiles, decoded and handed to the player.

#include "classlib/pictures/metafile_player.h"
#include "classlib/pictures/stream_io.h"

#include <QRegion>
#include <algorithm>

using namespace PictureIO;

namespace Metafile {

namespace {

enum : uint32_t {
    EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_EOF = 14,
    EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20,
    EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_OFFSETCLIPRGN = 26,
    EMR_MOVETOEX = 27, EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40, EMR_ANGLEARC = 41, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44,
    EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_LINETO = 54, EMR_ARCTO = 55, EMR_SETARCDIRECTION = 57,
    EMR_BEGINPATH = 59, EMR_ENDPATH = 60, EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62, EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64, EMR_FLATTENPATH = 65, EMR_WIDENPATH = 66, EMR_SELECTCLIPPATH = 67, EMR_ABORTPATH = 68,
    EMR_FILLRGN = 71, EMR_FRAMERGN = 72, EMR_INVERTRGN = 73, EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_MASKBLT = 78, EMR_SETDIBITSTODEVICE = 80, EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95, EMR_ALPHABLEND = 114, EMR_TRANSPARENTBLT = 116,
};

// One record: every field read is checked against its size first.
struct TRec {
    const uchar* P;
    size_t Size;
    bool Has(size_t end) const { return end <= Size; }
    int32_t I(size_t off) const { return LeS32(P + off); }
    uint32_t U(size_t off) const { return Le32(P + off); }
    float F(size_t off) const { return LeF32(P + off); }
    QPointF Point(size_t off) const { return QPointF(I(off), I(off + 4)); }
    QRectF Box(size_t off) const
    {
        return QRectF(QPointF(I(off), I(off + 4)), QPointF(I(off + 8), I(off + 12)));
    }
    // A block [off, off + len) inside the record.
    bool Block(uint32_t off, uint32_t len) const { return off <= Size && len <= Size - off; }
};

bool Points(const TRec& r, size_t off, uint32_t count, bool small, std::vector<QPointF>& out)
{
    const size_t each = small ? 4 : 8;
    if (off > r.Size || count > (r.Size - off) / each)
        return false;
    out.clear();
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uchar* p = r.P + off + each * i;
        out.emplace_back(small ? QPointF(LeS16(p), LeS16(p + 2)) : QPointF(LeS32(p), LeS32(p + 4)));
    }
    return true;
}

// Region data: a header and rectangles in device pixels.
bool Region(const TRec& r, size_t off, uint32_t size, const TPlayer& player, QPainterPath& out)
{
    if (!r.Block(uint32_t(off), size) || size < 32)
        return false;
    const uchar* d = r.P + off;
    const uint32_t count = Le32(d + 8);
    if (count > (size - 32) / 16)
        return false;
    QRegion region;
    for (uint32_t i = 0; i < count; ++i) {
        const uchar* q = d + 32 + 16 * i;
        const int64_t l = LeS32(q), t = LeS32(q + 4), rr = LeS32(q + 8), b = LeS32(q + 12);
        if (rr <= l || b <= t || std::llabs(l) > 1000000 || std::llabs(t) > 1000000 || std::llabs(rr) > 1000000 ||
            std::llabs(b) > 1000000)
            continue;
        region += QRect(int(l), int(t), int(rr - l), int(b - t));
    }
    QPainterPath p;
    p.addRegion(region);
    out = player.DeviceToOutput().map(p);
    return true;
}

bool Dib(const TRec& r, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits, bool alpha, QImage& img)
{
    if (!cbBmi || !r.Block(offBmi, cbBmi) || !r.Block(offBits, cbBits))
        return false;
    return DecodeRecordDib(r.P + offBmi, cbBmi, r.P + offBits, cbBits, alpha, img);
}

QTransform Xform(const TRec& r, size_t off)
{
    return QTransform(r.F(off), r.F(off + 4), r.F(off + 8), r.F(off + 12), r.F(off + 16), r.F(off + 20));
}

// The source rectangle of a device-independent bitmap counts rows from its
// bottom when the bitmap is stored bottom-up.
QRectF DibSource(const QImage& img, double x, double y, double w, double h)
{
    if (img.text(QStringLiteral("TopDown")) == QLatin1String("1"))
        return QRectF(x, y, w, h);
    return QRectF(x, img.height() - y - h, w, h);
}

void PolyRecord(TPlayer& P, uint32_t type, const TRec& r)
{
    const bool small = type >= EMR_POLYBEZIER16;
    if (!r.Has(28))
        return;
    std::vector<QPointF> pts;
    if (!Points(r, 28, r.U(24), small, pts))
        return;
    switch (small ? type - EMR_POLYBEZIER16 + EMR_POLYBEZIER : type) {
    case EMR_POLYBEZIER:
        P.PolyBezier(pts);
        break;
    case EMR_POLYGON:
        P.PolyPolygon({pts});
        break;
    case EMR_POLYLINE:
        P.Polyline(pts);
        break;
    case EMR_POLYBEZIERTO:
        P.PolyBezierTo(pts);
        break;
    case EMR_POLYLINETO:
        P.PolylineTo(pts);
        break;
    default:
        break;
    }
}

void PolyPolyRecord(TPlayer& P, uint32_t type, const TRec& r)
{
    const bool small = type >= EMR_POLYPOLYLINE16;
    if (!r.Has(32))
        return;
    const uint32_t n = r.U(24), total = r.U(28);
    if (n > (r.Size - 32) / 4)
        return;
    std::vector<QPointF> pts;
    if (!Points(r, 32 + size_t(n) * 4, total, small, pts))
        return;
    std::vector<std::vector<QPointF>> polys;
    size_t at = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t c = r.U(32 + 4 * size_t(i));
        if (c > pts.size() - at)
            return;
        polys.emplace_back(pts.begin() + long(at), pts.begin() + long(at + c));
        at += c;
    }
    if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16)
        P.PolyPolygon(polys);
    else
        P.PolyPolyline(polys);
}

void TextRecord(TPlayer& P, uint32_t type, const TRec& r)
{
    if (!r.Has(76))
        return;
    const int graphicsMode = r.I(24);
    const QPointF ref = r.Point(36);
    const uint32_t count = r.U(44), offString = r.U(48), options = r.U(52), offDx = r.U(72);
    const QRectF rect = r.Box(56);
    const bool wide = type == EMR_EXTTEXTOUTW;
    if (count > 65536 || !r.Block(offString, count * (wide ? 2 : 1)))
        return;
    QString text;
    if (wide) {
        text.resize(qsizetype(count));
        for (uint32_t i = 0; i < count; ++i)
            text[qsizetype(i)] = QChar(Le16(r.P + offString + 2 * i));
    } else {
        text = DecodeAnsi(QByteArray(reinterpret_cast<const char*>(r.P + offString), qsizetype(count)), P.S.Font.Charset);
    }
    std::vector<double> dx;
    const uint32_t per = (options & ETO_PDY) ? 2 : 1;
    if (offDx && r.Block(offDx, count * 4 * per)) {
        for (uint32_t i = 0; i < count; ++i)
            dx.push_back(r.I(offDx + 4 * per * i));
    }
    const bool hasRect = rect.width() != 0 && rect.height() != 0;
    P.TextOut(ref, text, dx, int(options), hasRect ? &rect : nullptr, graphicsMode == 2);
}

void Record(TPlayer& P, uint32_t type, const TRec& r)
{
    switch (type) {
    case EMR_HEADER:
        if (r.Has(52))
            P.ResizeObjects(Le16(r.P + 48));
        break;
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        PolyRecord(P, type, r);
        break;
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
        PolyPolyRecord(P, type, r);
        break;
    case EMR_SETWINDOWEXTEX:
        if (r.Has(16))
            P.SetWindowExt(r.Point(8));
        break;
    case EMR_SETWINDOWORGEX:
        if (r.Has(16))
            P.SetWindowOrg(r.Point(8));
        break;
    case EMR_SETVIEWPORTEXTEX:
        if (r.Has(16))
            P.SetViewportExt(r.Point(8));
        break;
    case EMR_SETVIEWPORTORGEX:
        if (r.Has(16))
            P.SetViewportOrg(r.Point(8));
        break;
    case EMR_SETPIXELV:
        if (r.Has(20))
            P.SetPixel(r.Point(8), r.U(16));
        break;
    case EMR_SETMAPMODE:
        if (r.Has(12))
            P.SetMapMode(r.I(8));
        break;
    case EMR_SETBKMODE:
        if (r.Has(12))
            P.S.BkMode = r.I(8);
        break;
    case EMR_SETPOLYFILLMODE:
        if (r.Has(12))
            P.S.PolyFillMode = r.I(8);
        break;
    case EMR_SETROP2:
        if (r.Has(12) && r.I(8) >= 1 && r.I(8) <= 16)
            P.S.Rop2 = r.I(8);
        break;
    case EMR_SETTEXTALIGN:
        if (r.Has(12))
            P.S.TextAlign = r.I(8);
        break;
    case EMR_SETTEXTCOLOR:
        if (r.Has(12))
            P.S.TextColor = r.U(8);
        break;
    case EMR_SETBKCOLOR:
        if (r.Has(12))
            P.S.BkColor = r.U(8);
        break;
    case EMR_OFFSETCLIPRGN:
        if (r.Has(16))
            P.OffsetClip(r.Point(8));
        break;
    case EMR_MOVETOEX:
        if (r.Has(16))
            P.MoveTo(r.Point(8));
        break;
    case EMR_EXCLUDECLIPRECT:
        if (r.Has(24))
            P.ExcludeClipRect(r.Box(8));
        break;
    case EMR_INTERSECTCLIPRECT:
        if (r.Has(24))
            P.IntersectClipRect(r.Box(8));
        break;
    case EMR_SCALEVIEWPORTEXTEX:
        if (r.Has(24))
            P.ScaleViewportExt(r.I(8), r.I(12), r.I(16), r.I(20));
        break;
    case EMR_SCALEWINDOWEXTEX:
        if (r.Has(24))
            P.ScaleWindowExt(r.I(8), r.I(12), r.I(16), r.I(20));
        break;
    case EMR_SAVEDC:
        P.SaveDC();
        break;
    case EMR_RESTOREDC:
        if (r.Has(12))
            P.RestoreDC(r.I(8));
        break;
    case EMR_SETWORLDTRANSFORM:
        if (r.Has(32))
            P.SetWorldTransform(Xform(r, 8));
        break;
    case EMR_MODIFYWORLDTRANSFORM:
        if (r.Has(36))
            P.ModifyWorldTransform(Xform(r, 8), r.I(32));
        break;
    case EMR_SELECTOBJECT:
        if (r.Has(12)) {
            const uint32_t h = r.U(8);
            if (h & 0x80000000u)
                P.SelectStockObject(int(h & 0x7FFFFFFF));
            else
                P.SelectObject(h);
        }
        break;
    case EMR_DELETEOBJECT:
        if (r.Has(12))
            P.DeleteObject(r.U(8));
        break;
    case EMR_CREATEPEN:
        if (r.Has(28)) {
            TMfObject o;
            o.Type = TMfObject::Pen;
            o.PenValue.Style = r.I(12) & (PS_STYLE_MASK | PS_ENDCAP_MASK | PS_JOIN_MASK);
            o.PenValue.Width = r.I(16);
            o.PenValue.Color = r.U(24);
            P.PutObject(r.U(8), o);
        }
        break;
    case EMR_EXTCREATEPEN:
        if (r.Has(52)) {
            TMfObject o;
            o.Type = TMfObject::Pen;
            o.PenValue.Style = r.I(28);
            // Cosmetic pens are one pixel wide whatever they say.
            o.PenValue.Width = (r.I(28) & PS_GEOMETRIC) ? r.U(32) : 0;
            o.PenValue.Color = r.U(40);
            if (r.U(36) == BS_NULL)
                o.PenValue.Style = (o.PenValue.Style & ~PS_STYLE_MASK) | PS_NULL;
            // The dash entries follow the fixed part; a count the record
            // cannot hold is read as far as the record goes.
            if ((o.PenValue.Style & PS_STYLE_MASK) == PS_USERSTYLE) {
                const uint32_t count = std::min<uint32_t>(r.U(48), 64);
                for (uint32_t i = 0; i < count && r.Has(52 + 4 * (i + 1)); ++i)
                    o.PenValue.StyleEntries.push_back(r.U(52 + 4 * i));
            }
            P.PutObject(r.U(8), o);
        }
        break;
    case EMR_CREATEBRUSHINDIRECT:
        if (r.Has(24)) {
            TMfObject o;
            o.Type = TMfObject::Brush;
            o.BrushValue.Style = r.I(12);
            o.BrushValue.Color = r.U(16);
            o.BrushValue.Hatch = r.I(20);
            P.PutObject(r.U(8), o);
        }
        break;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        if (r.Has(32)) {
            TMfObject o;
            o.Type = TMfObject::Brush;
            o.BrushValue.Style = BS_DIBPATTERNPT;
            o.BrushValue.Color = 0;
            Dib(r, r.U(16), r.U(20), r.U(24), r.U(28), false, o.BrushValue.Pattern);
            P.PutObject(r.U(8), o);
        }
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        if (r.Has(104)) {
            TMfObject o;
            o.Type = TMfObject::Font;
            TMfFont& f = o.FontValue;
            f.Height = r.I(12);
            f.Width = r.I(16);
            f.Escapement = r.I(20);
            f.Weight = r.I(28);
            f.Italic = r.P[32] != 0;
            f.Underline = r.P[33] != 0;
            f.StrikeOut = r.P[34] != 0;
            f.Charset = r.P[35];
            for (int i = 0; i < 32; ++i) {
                const ushort c = Le16(r.P + 40 + 2 * i);
                if (!c)
                    break;
                f.Face.append(QChar(c));
            }
            P.PutObject(r.U(8), o);
        }
        break;
    case EMR_ANGLEARC:
        if (r.Has(28))
            P.AngleArc(r.Point(8), r.U(16), r.F(20), r.F(24));
        break;
    case EMR_ELLIPSE:
        if (r.Has(24))
            P.Ellipse(r.Box(8));
        break;
    case EMR_RECTANGLE:
        if (r.Has(24))
            P.Rectangle(r.Box(8));
        break;
    case EMR_ROUNDRECT:
        if (r.Has(32))
            P.RoundRect(r.Box(8), QSizeF(r.I(24), r.I(28)));
        break;
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO:
        if (r.Has(40)) {
            const TArcKind kind = type == EMR_ARC     ? TArcKind::Arc
                                  : type == EMR_CHORD ? TArcKind::Chord
                                  : type == EMR_PIE   ? TArcKind::Pie
                                                      : TArcKind::ArcTo;
            P.ArcFamily(kind, r.Box(8), r.Point(24), r.Point(32));
        }
        break;
    case EMR_LINETO:
        if (r.Has(16))
            P.LineTo(r.Point(8));
        break;
    case EMR_SETARCDIRECTION:
        if (r.Has(12))
            P.S.ArcDirection = r.I(8);
        break;
    case EMR_BEGINPATH:
        P.BeginPath();
        break;
    case EMR_ENDPATH:
        P.EndPath();
        break;
    case EMR_CLOSEFIGURE:
        P.CloseFigure();
        break;
    case EMR_FILLPATH:
        P.FillPath();
        break;
    case EMR_STROKEANDFILLPATH:
        P.StrokeAndFillPath();
        break;
    case EMR_STROKEPATH:
        P.StrokePath();
        break;
    case EMR_FLATTENPATH:
        break; // curves stay curves: the result looks the same
    case EMR_WIDENPATH:
        P.WidenPath();
        break;
    case EMR_SELECTCLIPPATH:
        if (r.Has(12))
            P.SelectClipPath(r.I(8));
        break;
    case EMR_ABORTPATH:
        P.AbortPath();
        break;
    case EMR_FILLRGN:
        if (r.Has(32)) {
            QPainterPath region;
            const TMfObject* brush = P.Object(r.U(28));
            if (brush && brush->Type == TMfObject::Brush && Region(r, 32, r.U(24), P, region))
                P.FillRegion(region, brush->BrushValue);
        }
        break;
    case EMR_FRAMERGN:
        if (r.Has(40)) {
            QPainterPath region;
            const TMfObject* brush = P.Object(r.U(28));
            if (brush && brush->Type == TMfObject::Brush && Region(r, 40, r.U(24), P, region))
                P.FrameRegion(region, brush->BrushValue, QSizeF(r.I(32), r.I(36)));
        }
        break;
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        if (r.Has(28)) {
            QPainterPath region;
            if (Region(r, 28, r.U(24), P, region)) {
                if (type == EMR_INVERTRGN)
                    P.InvertRegion(region);
                else
                    P.FillRegion(region, P.S.Brush);
            }
        }
        break;
    case EMR_EXTSELECTCLIPRGN:
        if (r.Has(16)) {
            const uint32_t size = r.U(8);
            const int mode = r.I(12);
            QPainterPath region;
            if (size == 0)
                P.SelectClip(QPainterPath(), mode, mode == RGN_COPY);
            else if (Region(r, 16, size, P, region))
                P.SelectClip(region, mode, false);
        }
        break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_MASKBLT:
        if (r.Has(100)) {
            const QRectF dest(r.I(24), r.I(28), r.I(32), r.I(36));
            const uint32_t rop = r.U(40);
            QImage img;
            if (!Dib(r, r.U(84), r.U(88), r.U(92), r.U(96), false, img)) {
                P.DrawBitmap(QImage(), QRectF(), dest, rop); // no source: a pattern fill
                break;
            }
            QRectF src(r.I(44), r.I(48), dest.width(), dest.height());
            if (type == EMR_STRETCHBLT && r.Has(108))
                src.setSize(QSizeF(r.I(100), r.I(104)));
            P.DrawBitmap(img, src, dest, rop);
        }
        break;
    case EMR_STRETCHDIBITS:
        if (r.Has(80)) {
            const QRectF dest(r.I(24), r.I(28), r.I(72), r.I(76));
            QImage img;
            if (Dib(r, r.U(48), r.U(52), r.U(56), r.U(60), false, img))
                P.DrawBitmap(img, DibSource(img, r.I(32), r.I(36), r.I(40), r.I(44)), dest, r.U(68));
            else
                P.DrawBitmap(QImage(), QRectF(), dest, r.U(68));
        }
        break;
    case EMR_SETDIBITSTODEVICE:
        if (r.Has(76)) {
            QImage img;
            if (Dib(r, r.U(48), r.U(52), r.U(56), r.U(60), false, img)) {
                const double w = r.I(40), h = r.I(44);
                P.DrawBitmap(img, DibSource(img, r.I(32), r.I(36), w, h), QRectF(r.I(24), r.I(28), w, h), SRCCOPY);
            }
        }
        break;
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        if (r.Has(108)) {
            const QRectF dest(r.I(24), r.I(28), r.I(32), r.I(36));
            QImage img;
            if (!Dib(r, r.U(84), r.U(88), r.U(92), r.U(96), type == EMR_ALPHABLEND, img))
                break;
            double alpha = 1.0;
            if (type == EMR_ALPHABLEND) {
                alpha = r.P[42] / 255.0;
                if (r.P[43] & 1) // the source carries premultiplied alpha
                    img.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
            } else {
                // The colour given in place of the raster operation is left out.
                const QRgb key = qRgb(int(r.U(40) & 0xFF), int((r.U(40) >> 8) & 0xFF), int((r.U(40) >> 16) & 0xFF));
                img = img.convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < img.height(); ++y) {
                    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                    for (int x = 0; x < img.width(); ++x)
                        if ((line[x] | 0xFF000000u) == key)
                            line[x] = 0;
                }
            }
            P.DrawBitmap(img, QRectF(r.I(44), r.I(48), r.I(100), r.I(104)), dest, SRCCOPY, alpha);
        }
        break;
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        TextRecord(P, type, r);
        break;
    default:
        break; // records we do not draw are skipped
    }
}

} // namespace

void PlayEnhanced(TPlayer& player, const QByteArray& data)
{
    const auto* d = reinterpret_cast<const uchar*>(data.constData());
    const size_t n = size_t(data.size());
    size_t pos = 0;
    while (pos + 8 <= n) {
        const uint32_t type = Le32(d + pos);
        const uint32_t size = Le32(d + pos + 4);
        if (size < 8 || size % 4 || size > n - pos)
            break;
        if (type == EMR_EOF)
            break;
        Record(player, type, TRec{d + pos, size});
        pos += size;
    }
}

} // namespace Metafile
