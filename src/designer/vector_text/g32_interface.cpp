#include "designer/vector_text/g32_interface.h"

#include "classlib/sysutils.h"

#include <cmath>
#include <cstdlib>

void tPen32::Assign(const TPersistent* source)
{
    if (const auto* p = dynamic_cast<const tPen32*>(source)) {
        Color = p->Color;
        Width = p->Width;
        return;
    }
    TPersistent::Assign(source);
}

void tBrush32::Assign(const TPersistent* source)
{
    if (const auto* b = dynamic_cast<const tBrush32*>(source)) {
        Color = b->Color;
        return;
    }
    TPersistent::Assign(source);
}

void TContourStore::Reset()
{
    FContours.clear();
    FContours.emplace_back();
}

void TContourStore::Clear() { FContours.clear(); }

void TContourStore::NewContour() { FContours.emplace_back(); }

void TContourStore::Append(TFixedPoint p)
{
    if (FContours.empty())
        FContours.emplace_back();
    TContour& c = FContours.back();
    if (c.Count >= c.Points.size())
        c.Points.resize(std::max<size_t>(4, c.Count * 2));
    c.Points[c.Count++] = p;
}

TArrayOfArrayOfFixedPoint TContourStore::CopyOut() const
{
    TArrayOfArrayOfFixedPoint out;
    out.reserve(FContours.size());
    for (const TContour& c : FContours)
        out.emplace_back(c.Points.begin(), c.Points.begin() + std::ptrdiff_t(c.Count));
    return out;
}

TContourStore& GlyphContours()
{
    static TContourStore store;
    return store;
}

namespace {

// (a + b) div 2, truncating toward zero, without overflow.
TFixed MidCoord(TFixed a, TFixed b) { return TFixed((int64_t(a) + int64_t(b)) / 2); }
TFixedPoint MidPoint(TFixedPoint a, TFixedPoint b) { return {MidCoord(a.X, b.X), MidCoord(a.Y, b.Y)}; }
int64_t Manhattan(TFixedPoint a, TFixedPoint b)
{
    return std::llabs(int64_t(a.X) - int64_t(b.X)) + std::llabs(int64_t(a.Y) - int64_t(b.Y));
}

TFixedPoint ReadPoint(const uint8_t* p, TFixedPoint origin)
{
    return {FixedAdd(ReadFixed(p), origin.X), FixedAdd(ReadFixed(p + 4), origin.Y)};
}

} // namespace

int ClipZone(TFixedPoint p, const TFixedRect& clip)
{
    if (p.X > clip.Right)
        return 1;
    if (p.Y > clip.Bottom)
        return 3;
    if (p.X < clip.Left)
        return 0;
    if (p.Y >= clip.Top)
        return 4;
    return 2;
}

void FlattenSpline(TContourStore& store, TFixedPoint p0, TFixedPoint p1, TFixedPoint p2, const TFixedRect& clip)
{
    const int z0 = ClipZone(p0, clip);
    if (p0 == p1 || p1 == p2 || (z0 != 4 && z0 == ClipZone(p1, clip) && z0 == ClipZone(p2, clip))) {
        store.Append(p1);
        store.Append(p2);
        return;
    }
    const TFixedPoint a = MidPoint(p0, p1), b = MidPoint(p1, p2), m = MidPoint(a, b);
    if (Manhattan(p0, a) + Manhattan(a, m) <= CurveTolerance) {
        store.Append(a);
        store.Append(m);
    } else {
        FlattenSpline(store, p0, a, m, clip);
    }
    if (Manhattan(m, b) + Manhattan(b, p2) <= CurveTolerance) {
        store.Append(b);
        store.Append(p2);
    } else {
        FlattenSpline(store, m, b, p2, clip);
    }
}

void BuildGlyphContours(const uint8_t* buffer, size_t size, TFixedPoint origin, const TFixedRect& clip,
                        TContourStore& store)
{
    store.Reset();
    size_t at = 0;
    bool first = true;
    while (buffer && size - at > SizeOfPolygonHeader) {
        const uint32_t cb = ReadU32(buffer + at);
        // A record that claims less than its header or more than is left ends the outline.
        if (cb < SizeOfPolygonHeader || cb > size - at)
            break;
        if (!first)
            store.NewContour();
        first = false;
        const TFixedPoint start = ReadPoint(buffer + at + 8, origin);
        TFixedPoint current = start;
        store.Append(start);
        const size_t end = at + cb;
        size_t c = at + SizeOfPolygonHeader;
        while (end - c >= SizeOfCurveHeader) {
            const uint16_t type = ReadU16(buffer + c);
            const size_t n = ReadU16(buffer + c + 2);
            const size_t recordSize = SizeOfCurveHeader + SizeOfPointFx * n;
            if (recordSize > end - c)
                break;
            const uint8_t* pts = buffer + c + SizeOfCurveHeader;
            if (type == TT_PRIM_LINE || (type == TT_PRIM_QSPLINE && n == 1)) {
                for (size_t k = 0; k < n; ++k) {
                    const TFixedPoint p = ReadPoint(pts + SizeOfPointFx * k, origin);
                    if (!(p == current))
                        store.Append(p);
                    current = p;
                }
            } else if (type == TT_PRIM_QSPLINE) {
                TFixedPoint p0 = current;
                for (size_t k = 0; k + 1 < n; ++k) {
                    const TFixedPoint b = ReadPoint(pts + SizeOfPointFx * k, origin);
                    const TFixedPoint next = ReadPoint(pts + SizeOfPointFx * (k + 1), origin);
                    const TFixedPoint cpt = k + 2 == n ? next : MidPoint(b, next);
                    FlattenSpline(store, p0, b, cpt, clip);
                    p0 = cpt;
                }
                current = p0;
            }
            c += recordSize;
        }
        if (!(current == start))
            store.Append(start);
        at = end;
    }
}

void DrawStyledPolyPolygon(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& contours, TColor32 color, int flags)
{
    const bool fill = (flags & 4) != 0;
    const bool smooth = (flags & 3) != 0;
    if (fill) {
        if (smooth)
            PolyPolygonXS(bitmap, contours, color, pfAlternate);
        else
            PolyPolygonTS(bitmap, contours, color, pfAlternate);
    } else {
        if (smooth)
            PolyPolylineXS(bitmap, contours, color, true);
        else
            PolyPolylineTS(bitmap, contours, color, true);
    }
}

TBitmap32Ex::TBitmap32Ex()
    : FCanvas(std::make_unique<TCanvas>()), FPen(std::make_unique<tPen32>()), FBrush(std::make_unique<tBrush32>())
{
    FCanvas->BindImage(&Image());
    FTransform.eM11 = FixedOne;
    FTransform.eM12 = 0;
    FTransform.eM21 = 0;
    FTransform.eM22 = -FixedOne;
    TFont* f = Font();
    f->SetName(QStringLiteral("Tahoma"));
    f->SetSize(24);
    f->SetColor(clBlack);
    f->SetStyle(FontStyleBit(fsBold));
    FCanvas->SetFont(f);
    FCanvas->Brush()->SetStyle(bsClear);
}

TBitmap32Ex::~TBitmap32Ex() = default;

void TBitmap32Ex::SetSize(int width, int height)
{
    FCanvas->Unbind();
    TBitmap32::SetSize(width, height);
    FCanvas->BindImage(&Image());
}

void TBitmap32Ex::SetTransform(const TFloatMatrix& m)
{
    FTransform.eM11 = Fixed(double(m[0][0]));
    FTransform.eM12 = Fixed(double(m[0][1]));
    FTransform.eM21 = Fixed(double(m[1][0]));
    FTransform.eM22 = Fixed(double(m[1][1]));
}

void TBitmap32Ex::RenderTextOutline(TFixed x, TFixed y, const QString& text, TColor32 color, int flags)
{
    const double m11 = FixedToFloat(FTransform.eM11), m12 = FixedToFloat(FTransform.eM12);
    FCanvas->SetFont(Font());
    FPenX = 0;
    FPenY = 0;
    if (text.isEmpty())
        return;
    const TFont& font = *Font();
    std::vector<uint8_t> buffer(GlyphBufferInitialSize);
    const TFixedRect clip{0, 0, Fixed(Width()), Fixed(Height())};
    TContourStore& store = GlyphContours();
    for (const char32_t ch : text.toUcs4()) {
        GLYPHMETRICS gm;
        const uint32_t size = GetGlyphOutline(font, ch, FTransform, gm, 0, nullptr);
        // A failed size query would otherwise ask for a 4 GB buffer.
        if (size == GDI_ERROR)
            continue;
        if (size == 0) {
            FPenX += double(Round(gm.gmCellIncX + 0.5));
            FPenY -= double(Round(gm.gmCellIncY + 0.5));
            continue;
        }
        if (size > buffer.size())
            buffer.resize(size);
        const uint32_t got = GetGlyphOutline(font, ch, FTransform, gm, uint32_t(buffer.size()), buffer.data());
        if (got == GDI_ERROR || got < SizeOfPolygonHeader || ReadU32(buffer.data() + 4) != TT_POLYGON_TYPE)
            continue;
        const TFixedPoint origin{FixedAdd(Fixed(FPenX), x), FixedAdd(Fixed(FPenY), y)};
        BuildGlyphContours(buffer.data(), got, origin, clip, store);
        DrawStyledPolyPolygon(this, store.CopyOut(), color, flags);
        const double cx = CharExtent(font, ch);
        FPenX += cx * m11;
        FPenY += cx * m12;
    }
    store.Clear();
}
