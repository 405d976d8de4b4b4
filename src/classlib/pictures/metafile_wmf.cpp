// Records of Windows metafiles (16-bit), decoded and handed to the player.

#include "classlib/pictures/metafile_player.h"
#include "classlib/pictures/stream_io.h"

using namespace PictureIO;

namespace Metafile {

namespace {

enum : uint16_t {
    META_EOF = 0x0000, META_SAVEDC = 0x001E, META_REALIZEPALETTE = 0x0035, META_SETPALENTRIES = 0x0037,
    META_CREATEPALETTE = 0x00F7, META_SETBKMODE = 0x0102, META_SETMAPMODE = 0x0103, META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106, META_RESTOREDC = 0x0127, META_INVERTREGION = 0x012A,
    META_PAINTREGION = 0x012B, META_SELECTCLIPREGION = 0x012C, META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E, META_DIBCREATEPATTERNBRUSH = 0x0142, META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9, META_SETBKCOLOR = 0x0201, META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E, META_OFFSETWINDOWORG = 0x020F, META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213, META_MOVETO = 0x0214, META_OFFSETCLIPRGN = 0x0220, META_FILLREGION = 0x0228,
    META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324, META_POLYLINE = 0x0325, META_SCALEWINDOWEXT = 0x0410, META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415, META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_FRAMEREGION = 0x0429, META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538, META_ROUNDRECT = 0x061C, META_PATBLT = 0x061D, META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817, META_PIE = 0x081A, META_CHORD = 0x0830, META_BITBLT = 0x0922, META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32, META_STRETCHBLT = 0x0B23, META_DIBSTRETCHBLT = 0x0B41, META_SETDIBTODEV = 0x0D33,
    META_STRETCHDIB = 0x0F43,
};

// The parameters of one record: 16-bit words, each read checked against the count.
struct TParams {
    const uchar* P;
    size_t Words;
    bool Has(size_t n) const { return n <= Words; }
    int W(size_t i) const { return LeS16(P + 2 * i); }
    uint32_t U32(size_t i) const { return Le32(P + 2 * i); }
    const uchar* At(size_t i) const { return P + 2 * i; }
    size_t Bytes(size_t from) const { return from <= Words ? 2 * (Words - from) : 0; }
};

QPointF Pt(const TParams& r, size_t yAt) { return QPointF(r.W(yAt + 1), r.W(yAt)); }

// Rectangle stored as bottom, right, top, left.
QRectF BoxRev(const TParams& r, size_t at)
{
    return QRectF(QPointF(r.W(at + 3), r.W(at + 2)), QPointF(r.W(at + 1), r.W(at)));
}

bool PointList(const TParams& r, size_t at, size_t count, std::vector<QPointF>& out)
{
    if (!r.Has(at) || count > (r.Words - at) / 2)
        return false;
    out.clear();
    out.reserve(count);
    for (size_t i = 0; i < count; ++i)
        out.emplace_back(r.W(at + 2 * i), r.W(at + 2 * i + 1));
    return true;
}

bool PackedDib(const TParams& r, size_t at, QImage& img)
{
    const size_t bytes = r.Bytes(at);
    if (bytes < 12)
        return false;
    const uchar* d = r.At(at);
    // The pixels follow the header and colour table directly.
    const uint32_t headerSize = Le32(d);
    if (headerSize < 12 || headerSize > bytes)
        return false;
    return DecodeRecordDib(d, bytes, nullptr, 0, false, img);
}

// A region object: a header, then scans of left/right pairs between a top and a bottom.
QPainterPath RegionObject(const TParams& r)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (!r.Has(11))
        return path;
    const int scans = r.W(5) & 0xFFFF;
    size_t at = 11; // after the 22-byte header
    for (int s = 0; s < scans && r.Has(at + 3); ++s) {
        const int count = r.W(at) & 0xFFFF;
        const int top = r.W(at + 1), bottom = r.W(at + 2);
        const size_t pairs = size_t(count) / 2;
        if (!r.Has(at + 3 + 2 * pairs + 1))
            break;
        for (size_t i = 0; i < pairs; ++i) {
            const int left = r.W(at + 3 + 2 * i), right = r.W(at + 4 + 2 * i);
            if (right > left && bottom > top)
                path.addRect(QRectF(left, top, right - left, bottom - top));
        }
        at += 3 + 2 * pairs + 1;
    }
    return path;
}

// Bitmap transfers: the source rectangle counts rows from the bottom of a
// bottom-up bitmap only for the DIB-to-device records.
QRectF Source(const QImage& img, double x, double y, double w, double h, bool dibOrigin)
{
    if (!dibOrigin || img.text(QStringLiteral("TopDown")) == QLatin1String("1"))
        return QRectF(x, y, w, h);
    return QRectF(x, img.height() - y - h, w, h);
}

void Record(TPlayer& P, uint16_t func, const TParams& r)
{
    switch (func) {
    case META_SETBKCOLOR:
        if (r.Has(2))
            P.S.BkColor = r.U32(0);
        break;
    case META_SETTEXTCOLOR:
        if (r.Has(2))
            P.S.TextColor = r.U32(0);
        break;
    case META_SETBKMODE:
        if (r.Has(1))
            P.S.BkMode = r.W(0);
        break;
    case META_SETMAPMODE:
        if (r.Has(1))
            P.SetMapMode(r.W(0));
        break;
    case META_SETROP2:
        if (r.Has(1) && r.W(0) >= 1 && r.W(0) <= 16)
            P.S.Rop2 = r.W(0);
        break;
    case META_SETPOLYFILLMODE:
        if (r.Has(1))
            P.S.PolyFillMode = r.W(0);
        break;
    case META_SETTEXTALIGN:
        if (r.Has(1))
            P.S.TextAlign = r.W(0) & 0xFFFF;
        break;
    case META_SETWINDOWORG:
        if (r.Has(2))
            P.SetWindowOrg(Pt(r, 0));
        break;
    case META_SETWINDOWEXT:
        if (r.Has(2))
            P.SetWindowExt(Pt(r, 0));
        break;
    case META_OFFSETWINDOWORG:
        if (r.Has(2))
            P.SetWindowOrg(P.S.WindowOrg + Pt(r, 0));
        break;
    case META_SCALEWINDOWEXT:
        if (r.Has(4))
            P.ScaleWindowExt(r.W(3), r.W(2), r.W(1), r.W(0));
        break;
    case META_SETVIEWPORTORG:
        if (r.Has(2))
            P.SetViewportOrg(Pt(r, 0));
        break;
    case META_SETVIEWPORTEXT:
        if (r.Has(2))
            P.SetViewportExt(Pt(r, 0));
        break;
    case META_OFFSETVIEWPORTORG:
        if (r.Has(2))
            P.SetViewportOrg(P.S.ViewportOrg + Pt(r, 0));
        break;
    case META_SCALEVIEWPORTEXT:
        if (r.Has(4))
            P.ScaleViewportExt(r.W(3), r.W(2), r.W(1), r.W(0));
        break;
    case META_LINETO:
        if (r.Has(2))
            P.LineTo(Pt(r, 0));
        break;
    case META_MOVETO:
        if (r.Has(2))
            P.MoveTo(Pt(r, 0));
        break;
    case META_EXCLUDECLIPRECT:
        if (r.Has(4))
            P.ExcludeClipRect(BoxRev(r, 0));
        break;
    case META_INTERSECTCLIPRECT:
        if (r.Has(4))
            P.IntersectClipRect(BoxRev(r, 0));
        break;
    case META_OFFSETCLIPRGN:
        if (r.Has(2))
            P.OffsetClip(Pt(r, 0));
        break;
    case META_ARC:
    case META_PIE:
    case META_CHORD:
        if (r.Has(8)) {
            const TArcKind kind = func == META_ARC ? TArcKind::Arc : func == META_PIE ? TArcKind::Pie : TArcKind::Chord;
            P.ArcFamily(kind, BoxRev(r, 4), Pt(r, 2), Pt(r, 0));
        }
        break;
    case META_ELLIPSE:
        if (r.Has(4))
            P.Ellipse(BoxRev(r, 0));
        break;
    case META_RECTANGLE:
        if (r.Has(4))
            P.Rectangle(BoxRev(r, 0));
        break;
    case META_ROUNDRECT:
        if (r.Has(6))
            P.RoundRect(BoxRev(r, 2), QSizeF(r.W(1), r.W(0)));
        break;
    case META_PATBLT:
        if (r.Has(6))
            P.PatBlt(QRectF(r.W(5), r.W(4), r.W(3), r.W(2)), r.U32(0));
        break;
    case META_SETPIXEL:
        if (r.Has(4))
            P.SetPixel(Pt(r, 2), r.U32(0));
        break;
    case META_SAVEDC:
        P.SaveDC();
        break;
    case META_RESTOREDC:
        if (r.Has(1))
            P.RestoreDC(r.W(0));
        break;
    case META_POLYGON:
    case META_POLYLINE:
        if (r.Has(1)) {
            std::vector<QPointF> pts;
            if (!PointList(r, 1, size_t(r.W(0) & 0xFFFF), pts))
                break;
            if (func == META_POLYGON)
                P.PolyPolygon({pts});
            else
                P.Polyline(pts);
        }
        break;
    case META_POLYPOLYGON:
        if (r.Has(1)) {
            const size_t n = size_t(r.W(0) & 0xFFFF);
            if (!r.Has(1 + n))
                break;
            std::vector<std::vector<QPointF>> polys;
            size_t at = 1 + n;
            bool ok = true;
            for (size_t i = 0; i < n && ok; ++i) {
                std::vector<QPointF> pts;
                const size_t c = size_t(r.W(1 + i) & 0xFFFF);
                ok = PointList(r, at, c, pts);
                at += 2 * c;
                polys.push_back(std::move(pts));
            }
            if (ok)
                P.PolyPolygon(polys);
        }
        break;
    case META_TEXTOUT:
        if (r.Has(1)) {
            const size_t count = size_t(r.W(0) & 0xFFFF);
            const size_t words = (count + 1) / 2;
            if (!r.Has(1 + words + 2))
                break;
            const QByteArray bytes(reinterpret_cast<const char*>(r.At(1)), qsizetype(count));
            P.TextOut(Pt(r, 1 + words), DecodeAnsi(bytes, P.S.Font.Charset), {}, 0, nullptr, false);
        }
        break;
    case META_EXTTEXTOUT:
        if (r.Has(4)) {
            const QPointF ref = Pt(r, 0);
            const size_t count = size_t(r.W(2) & 0xFFFF);
            const int options = r.W(3) & 0xFFFF;
            size_t at = 4;
            QRectF rect;
            const bool hasRect = options & (ETO_OPAQUE | ETO_CLIPPED);
            if (hasRect) {
                if (!r.Has(8))
                    break;
                rect = QRectF(QPointF(r.W(4), r.W(5)), QPointF(r.W(6), r.W(7)));
                at = 8;
            }
            const size_t words = (count + 1) / 2;
            if (!r.Has(at + words))
                break;
            const QByteArray bytes(reinterpret_cast<const char*>(r.At(at)), qsizetype(count));
            std::vector<double> dx;
            if (r.Has(at + words + count))
                for (size_t i = 0; i < count; ++i)
                    dx.push_back(r.W(at + words + i));
            P.TextOut(ref, DecodeAnsi(bytes, P.S.Font.Charset), dx, options, hasRect ? &rect : nullptr, false);
        }
        break;
    case META_SELECTOBJECT:
        if (r.Has(1))
            P.SelectObject(size_t(r.W(0) & 0xFFFF));
        break;
    case META_SELECTCLIPREGION:
        if (r.Has(1)) {
            const TMfObject* o = P.Object(size_t(r.W(0) & 0xFFFF));
            if (o && o->Type == TMfObject::Region)
                P.SelectClip(P.RegionToOutput(o->RegionValue), RGN_COPY, false);
            else
                P.SelectClip(QPainterPath(), RGN_COPY, true);
        }
        break;
    case META_DELETEOBJECT:
        if (r.Has(1))
            P.DeleteObject(size_t(r.W(0) & 0xFFFF));
        break;
    case META_CREATEPENINDIRECT:
        if (r.Has(5)) {
            TMfObject o;
            o.Type = TMfObject::Pen;
            o.PenValue.Style = r.W(0) & 0xFFFF;
            o.PenValue.Width = r.W(1);
            o.PenValue.Color = r.U32(3);
            P.AddObject(o);
        } else {
            P.AddObject(TMfObject{TMfObject::Other, {}, {}, {}, {}});
        }
        break;
    case META_CREATEBRUSHINDIRECT:
        if (r.Has(4)) {
            TMfObject o;
            o.Type = TMfObject::Brush;
            o.BrushValue.Style = r.W(0) & 0xFFFF;
            o.BrushValue.Color = r.U32(1);
            o.BrushValue.Hatch = r.W(3);
            P.AddObject(o);
        } else {
            P.AddObject(TMfObject{TMfObject::Other, {}, {}, {}, {}});
        }
        break;
    case META_DIBCREATEPATTERNBRUSH:
    case META_CREATEPATTERNBRUSH: {
        TMfObject o;
        o.Type = TMfObject::Brush;
        o.BrushValue.Style = BS_DIBPATTERNPT;
        o.BrushValue.Color = 0x808080;
        if (func == META_DIBCREATEPATTERNBRUSH && r.Has(2))
            PackedDib(r, 2, o.BrushValue.Pattern);
        P.AddObject(o);
        break;
    }
    case META_CREATEFONTINDIRECT:
        if (r.Has(9)) {
            TMfObject o;
            o.Type = TMfObject::Font;
            TMfFont& f = o.FontValue;
            f.Height = r.W(0);
            f.Width = r.W(1);
            f.Escapement = r.W(2);
            f.Weight = r.W(4);
            const uchar* b = r.At(5);
            f.Italic = b[0] != 0;
            f.Underline = b[1] != 0;
            f.StrikeOut = b[2] != 0;
            f.Charset = b[3];
            const size_t room = std::min<size_t>(32, r.Bytes(9));
            QByteArray face;
            for (size_t i = 0; i < room && r.At(9)[i]; ++i)
                face.append(char(r.At(9)[i]));
            f.Face = DecodeAnsi(face, f.Charset);
            P.AddObject(o);
        } else {
            P.AddObject(TMfObject{TMfObject::Other, {}, {}, {}, {}});
        }
        break;
    case META_CREATEPALETTE:
        P.AddObject(TMfObject{TMfObject::Palette, {}, {}, {}, {}});
        break;
    case META_CREATEREGION: {
        TMfObject o;
        o.Type = TMfObject::Region;
        o.RegionValue = RegionObject(r);
        P.AddObject(o);
        break;
    }
    case META_FILLREGION:
        if (r.Has(2)) {
            const TMfObject* region = P.Object(size_t(r.W(0) & 0xFFFF));
            const TMfObject* brush = P.Object(size_t(r.W(1) & 0xFFFF));
            if (region && region->Type == TMfObject::Region && brush && brush->Type == TMfObject::Brush)
                P.FillRegion(P.RegionToOutput(region->RegionValue), brush->BrushValue);
        }
        break;
    case META_FRAMEREGION:
        if (r.Has(4)) {
            const TMfObject* region = P.Object(size_t(r.W(0) & 0xFFFF));
            const TMfObject* brush = P.Object(size_t(r.W(1) & 0xFFFF));
            if (region && region->Type == TMfObject::Region && brush && brush->Type == TMfObject::Brush)
                P.FrameRegion(P.RegionToOutput(region->RegionValue), brush->BrushValue, QSizeF(r.W(3), r.W(2)));
        }
        break;
    case META_INVERTREGION:
    case META_PAINTREGION:
        if (r.Has(1)) {
            const TMfObject* region = P.Object(size_t(r.W(0) & 0xFFFF));
            if (region && region->Type == TMfObject::Region) {
                if (func == META_INVERTREGION)
                    P.InvertRegion(P.RegionToOutput(region->RegionValue));
                else
                    P.FillRegion(P.RegionToOutput(region->RegionValue), P.S.Brush);
            }
        }
        break;
    case META_DIBBITBLT:
    case META_BITBLT: {
        // Without a bitmap the record has one more reserved word and no pixels.
        const bool noBitmap = r.Words == 9;
        if (noBitmap) {
            P.PatBlt(QRectF(r.W(8), r.W(7), r.W(6), r.W(5)), r.U32(0));
            break;
        }
        if (func != META_DIBBITBLT || !r.Has(8))
            break;
        QImage img;
        if (PackedDib(r, 8, img)) {
            const double w = r.W(5), h = r.W(4);
            P.DrawBitmap(img, QRectF(r.W(3), r.W(2), w, h), QRectF(r.W(7), r.W(6), w, h), r.U32(0));
        }
        break;
    }
    case META_DIBSTRETCHBLT:
    case META_STRETCHBLT: {
        const bool noBitmap = r.Words == 11;
        if (noBitmap) {
            P.PatBlt(QRectF(r.W(10), r.W(9), r.W(8), r.W(7)), r.U32(0));
            break;
        }
        if (func != META_DIBSTRETCHBLT || !r.Has(10))
            break;
        QImage img;
        if (PackedDib(r, 10, img))
            P.DrawBitmap(img, QRectF(r.W(5), r.W(4), r.W(3), r.W(2)), QRectF(r.W(9), r.W(8), r.W(7), r.W(6)),
                         r.U32(0));
        break;
    }
    case META_STRETCHDIB:
        if (r.Has(11)) {
            QImage img;
            if (PackedDib(r, 11, img))
                P.DrawBitmap(img, Source(img, r.W(6), r.W(5), r.W(4), r.W(3), true),
                             QRectF(r.W(10), r.W(9), r.W(8), r.W(7)), r.U32(0));
        }
        break;
    case META_SETDIBTODEV:
        if (r.Has(9)) {
            QImage img;
            if (PackedDib(r, 9, img)) {
                const double w = r.W(6), h = r.W(5);
                P.DrawBitmap(img, Source(img, r.W(4), r.W(3), w, h, true), QRectF(r.W(8), r.W(7), w, h), SRCCOPY);
            }
        }
        break;
    default:
        break; // records we do not draw are skipped
    }
}

} // namespace

void PlayWindows(TPlayer& player, const QByteArray& data, size_t recordsOffset)
{
    const auto* d = reinterpret_cast<const uchar*>(data.constData());
    const size_t n = size_t(data.size());
    if (recordsOffset > n || n - recordsOffset < 18)
        return;
    const uchar* h = d + recordsOffset;
    const size_t headerWords = Le16(h + 2);
    player.ResizeObjects(Le16(h + 10));
    size_t pos = recordsOffset + std::max<size_t>(headerWords, 9) * 2;
    while (pos + 6 <= n) {
        const uint32_t words = Le32(d + pos);
        const uint16_t func = Le16(d + pos + 4);
        if (words < 3 || words > (n - pos) / 2)
            break;
        if (func == META_EOF)
            break;
        Record(player, func, TParams{d + pos + 6, size_t(words) - 3});
        pos += size_t(words) * 2;
    }
}

} // namespace Metafile
