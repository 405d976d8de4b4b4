#include "classlib/graphics/canvas.h"

#include "classlib/pictures/graphic.h"
#include "classlib/sysutils.h"
#include "platform/region.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>

QPainter::CompositionMode PenModeToComposition(TPenMode mode)
{
    switch (mode) {
    case pmBlack:
        return QPainter::RasterOp_ClearDestination;
    case pmWhite:
        return QPainter::RasterOp_SetDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmNop:
    case pmCopy:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

// One drawing call: the painter is saved on entry and restored on exit, so a
// canvas never leaves its settings on a painter it shares.
struct TCanvasPainter {
    TCanvas& C;
    QPainter* P;
    explicit TCanvasPainter(TCanvas& c) : C(c), P(c.Begin())
    {
        if (P) {
            P->save();
            if (C.FHasClip)
                P->setClipRect(C.FClip.ToQRect(), Qt::IntersectClip);
        }
    }
    ~TCanvasPainter()
    {
        if (P) {
            P->restore();
            C.End(P);
        }
    }
    explicit operator bool() const { return P != nullptr; }
    QPainter* operator->() const { return P; }
};

TCanvas::TCanvas() = default;

TCanvas::~TCanvas() { Unbind(); }

void TCanvas::BindImage(QImage* image)
{
    Unbind();
    FImage = image;
}

void TCanvas::BindPainter(QPainter* painter)
{
    Unbind();
    FExternal = painter;
}

void TCanvas::Unbind()
{
    if (FOwnPainter) {
        FOwnPainter->end();
        FOwnPainter.reset();
    }
    FLock = 0;
    FImage = nullptr;
    FExternal = nullptr;
}

QPainter* TCanvas::Begin()
{
    if (FExternal)
        return FExternal;
    if (!FImage || FImage->isNull())
        return nullptr;
    if (!FOwnPainter) {
        FOwnPainter = std::make_unique<QPainter>(FImage);
        if (!FOwnPainter->isActive()) {
            FOwnPainter.reset();
            return nullptr;
        }
    }
    return FOwnPainter.get();
}

void TCanvas::End(QPainter* p)
{
    if (p == FOwnPainter.get() && FLock == 0) {
        FOwnPainter->end();
        FOwnPainter.reset();
    }
}

QPainter* TCanvas::Handle()
{
    // An image canvas keeps the painter until its next drawing call ends, or
    // until its pixels are read.
    return Begin();
}

void TCanvas::Flush()
{
    if (FOwnPainter && FLock == 0) {
        FOwnPainter->end();
        FOwnPainter.reset();
    }
}

void TCanvas::Lock() { ++FLock; }

void TCanvas::Unlock()
{
    if (FLock > 0)
        --FLock;
    if (FLock == 0 && FOwnPainter) {
        FOwnPainter->end();
        FOwnPainter.reset();
    }
}

void TCanvas::PreparePainter(QPainter& p, bool withPen, bool withBrush)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(withPen ? FPen.ToQPen() : QPen(Qt::NoPen));
    p.setBrush(withBrush ? FBrush.ToQBrush() : QBrush(Qt::NoBrush));
    p.setBackgroundMode(Qt::TransparentMode);
    p.setCompositionMode(PenModeToComposition(FPen.Mode()));
}

void TCanvas::MoveTo(int x, int y) { FPenPos = TPoint(x, y); }

void TCanvas::LineTo(int x, int y)
{
    const TPoint from = FPenPos;
    FPenPos = TPoint(x, y);
    if (FPen.Mode() == pmNop || FPen.Style() == psClear)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    PreparePainter(*p.P, true, false);
    // The end point itself is not drawn.
    const int dx = x - from.X;
    const int dy = y - from.Y;
    if (dx == 0 && dy == 0)
        return;
    if (FPen.Width() <= 1) {
        const int steps = std::max(std::abs(dx), std::abs(dy));
        const double ex = from.X + dx * double(steps - 1) / steps;
        const double ey = from.Y + dy * double(steps - 1) / steps;
        p->drawLine(QPointF(from.X, from.Y), QPointF(std::round(ex), std::round(ey)));
    } else {
        p->drawLine(QPoint(from.X, from.Y), QPoint(x, y));
    }
}

namespace {
// Figures with a one-pixel pen cover [x1, x2) x [y1, y2); without a pen the
// interior is one pixel smaller on the right and bottom, as on the platform.
QRectF FigureRect(int x1, int y1, int x2, int y2, const TPen& pen)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2);
    const int t = std::min(y1, y2), b = std::max(y1, y2);
    if (pen.Style() == psClear)
        return QRectF(l, t, r - l - 1, b - t - 1);
    if (pen.Width() <= 1)
        return QRectF(l, t, r - l - 1, b - t - 1);
    // Wide pens are centred on the figure's outline.
    return QRectF(l + 0.5, t + 0.5, r - l - 1, b - t - 1);
}
} // namespace

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (FPen.Mode() == pmNop)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    const QRectF r = FigureRect(x1, y1, x2, y2, FPen);
    if (FPen.Style() == psClear) {
        PreparePainter(*p.P, false, true);
        p->fillRect(QRectF(r.left(), r.top(), r.width(), r.height()), p->brush());
        return;
    }
    PreparePainter(*p.P, true, true);
    if (FPen.Width() <= 1) {
        // Fill the inside, then the one-pixel outline, so raster modes touch each pixel once.
        const QRect inner(int(r.left()) + 1, int(r.top()) + 1, int(r.width()) - 1, int(r.height()) - 1);
        if (FBrush.Style() != bsClear && inner.width() > 0 && inner.height() > 0)
            p->fillRect(inner, p->brush());
        p->setBrush(Qt::NoBrush);
        p->drawRect(r);
    } else {
        p->drawRect(r);
    }
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    if (FPen.Mode() == pmNop)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    PreparePainter(*p.P, FPen.Style() != psClear, true);
    p->drawRoundedRect(FigureRect(x1, y1, x2, y2, FPen), x3 / 2.0, y3 / 2.0);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (FPen.Mode() == pmNop)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    PreparePainter(*p.P, FPen.Style() != psClear, true);
    p->drawEllipse(FigureRect(x1, y1, x2, y2, FPen));
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (points.empty() || FPen.Mode() == pmNop)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    PreparePainter(*p.P, FPen.Style() != psClear, true);
    QPolygon poly;
    for (const TPoint& pt : points)
        poly << pt.ToQPoint();
    p->drawPolygon(poly, Qt::OddEvenFill);
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (points.size() < 2 || FPen.Mode() == pmNop || FPen.Style() == psClear)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    PreparePainter(*p.P, true, false);
    QPolygon poly;
    for (const TPoint& pt : points)
        poly << pt.ToQPoint();
    p->drawPolyline(poly);
}

void TCanvas::FillRect(const TRect& r)
{
    if (r.IsEmpty() || FBrush.Style() == bsClear)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(r.ToQRect(), FBrush.ToQBrush());
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty())
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    const QBrush b = FBrush.ToQBrush();
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), b);
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), b);
    p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), b);
    p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), b);
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    const int l = std::min(rect.Left, rect.Right), rr = std::max(rect.Left, rect.Right);
    const int t = std::min(rect.Top, rect.Bottom), bb = std::max(rect.Top, rect.Bottom);
    if (rr <= l || bb <= t)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    // A dotted outline inverted in place: drawing it twice restores the pixels.
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(QPen(QColor(255, 255, 255), 0));
    QPolygon dots;
    for (int x = l; x < rr; x += 2) {
        dots << QPoint(x, t);
        if (bb - 1 != t)
            dots << QPoint(x, bb - 1);
    }
    for (int y = t + 2; y < bb - 1; y += 2) {
        dots << QPoint(l, y);
        if (rr - 1 != l)
            dots << QPoint(rr - 1, y);
    }
    p->drawPoints(dots);
}

void TCanvas::FillRegion(const TRegion& region)
{
    if (FBrush.Style() == bsClear)
        return;
    TCanvasPainter p(*this);
    if (!p)
        return;
    // The fewest rectangles: a printer page writes every one of them. The
    // fill state is set once; each rectangle stays its own fill, since a PDF
    // rasterizer snaps one path of many thin rectangles differently.
    // No pen: an outline would widen each rectangle by half a pixel.
    p->setPen(Qt::NoPen);
    p->setBrush(FBrush.ToQBrush());
    for (const TRect& r : region.CoverRects())
        p->drawRect(r.ToQRect());
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    TCanvasPainter p(*this);
    if (!p)
        return;
    const QFont qf = FFont.ToQFont();
    p->setFont(qf);
    const QFontMetrics fm(qf, p->device());
    p->translate(x, y);
    if (FFont.Orientation() != 0)
        p->rotate(-FFont.Orientation() / 10.0);
    if (FBrush.Style() != bsClear) {
        const QRect box(0, 0, fm.horizontalAdvance(text), fm.ascent() + fm.descent());
        p->fillRect(box, ToQColor(FBrush.Color()));
    }
    p->setPen(ToQColor(FFont.Color()));
    p->drawText(QPoint(0, fm.ascent()), text);
    FPenPos = TPoint(x + fm.horizontalAdvance(text), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    TCanvasPainter p(*this);
    if (!p)
        return;
    const QFont qf = FFont.ToQFont();
    p->setFont(qf);
    const QFontMetrics fm(qf, p->device());
    p->setClipRect(r.ToQRect(), Qt::IntersectClip);
    if (FBrush.Style() != bsClear)
        p->fillRect(r.ToQRect(), ToQColor(FBrush.Color()));
    p->setPen(ToQColor(FFont.Color()));
    p->drawText(QPoint(x, y + fm.ascent()), text);
}

QSize TCanvas::TextExtent(const QString& text)
{
    const QFontMetrics fm(FFont.ToQFont());
    return QSize(fm.horizontalAdvance(text), fm.ascent() + fm.descent());
}

int TCanvas::TextWidth(const QString& text) { return TextExtent(text).width(); }
int TCanvas::TextHeight(const QString& text) { return TextExtent(text).height(); }

namespace {
struct PreparedLine {
    QString Text;
    int Underline = -1; // index of the character after "&"
};

PreparedLine StripPrefix(const QString& s, bool noPrefix)
{
    PreparedLine out;
    if (noPrefix) {
        out.Text = s;
        return out;
    }
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size()) {
            if (s[i + 1] != QLatin1Char('&') && out.Underline < 0)
                out.Underline = out.Text.size();
            ++i;
        }
        out.Text.append(s[i]);
    }
    return out;
}

// Splits at line breaks (CR LF, CR or LF) and, with word wrap, at blanks.
std::vector<PreparedLine> LayoutLines(const QString& text, unsigned flags, const QFontMetrics& fm, int width)
{
    std::vector<PreparedLine> lines;
    QStringList paragraphs;
    if (flags & DT_SINGLELINE) {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String(" "));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        paragraphs << t;
    } else {
        paragraphs = ToLineFeeds(text).split(QLatin1Char('\n'));
    }
    const bool noPrefix = flags & DT_NOPREFIX;
    for (const QString& para : paragraphs) {
        if (!(flags & DT_WORDBREAK) || (flags & DT_SINGLELINE)) {
            lines.push_back(StripPrefix(para, noPrefix));
            continue;
        }
        // Greedy word wrap; a word longer than the width stands on its own line.
        const QStringList words = para.split(QLatin1Char(' '));
        QString current;
        bool first = true;
        for (const QString& w : words) {
            const QString candidate = first ? w : current + QLatin1Char(' ') + w;
            if (!first && fm.horizontalAdvance(StripPrefix(candidate, noPrefix).Text) > width) {
                lines.push_back(StripPrefix(current, noPrefix));
                current = w;
            } else {
                current = candidate;
            }
            first = false;
        }
        lines.push_back(StripPrefix(current, noPrefix));
    }
    return lines;
}
} // namespace

int TCanvas::DrawText(const QString& text, TRect& r, unsigned flags)
{
    const QFont qf = FFont.ToQFont();
    const QFontMetrics fm(qf);
    const int lineHeight = fm.ascent() + fm.descent();
    const auto lines = LayoutLines(text, flags, fm, r.Width());
    const int total = lineHeight * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        int maxWidth = 0;
        for (const auto& l : lines)
            maxWidth = std::max(maxWidth, fm.horizontalAdvance(l.Text));
        r.Right = r.Left + maxWidth;
        r.Bottom = r.Top + total;
        return total;
    }
    TCanvasPainter p(*this);
    if (!p)
        return total;
    p->setFont(qf);
    p->setPen(ToQColor(FFont.Color()));
    if (!(flags & DT_NOCLIP))
        p->setClipRect(r.ToQRect(), Qt::IntersectClip);
    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = r.Bottom - lineHeight;
    }
    for (const auto& l : lines) {
        const int w = fm.horizontalAdvance(l.Text);
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - w;
        p->drawText(QPoint(x, y + fm.ascent()), l.Text);
        if (l.Underline >= 0 && l.Underline < l.Text.size()) {
            const int ux = x + fm.horizontalAdvance(l.Text.left(l.Underline));
            const int uw = fm.horizontalAdvance(l.Text.mid(l.Underline, 1));
            p->fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), ToQColor(FFont.Color()));
        }
        y += lineHeight;
    }
    return total;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    graphic->Draw(this, r);
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const TRect& sourceRect)
{
    TCanvasPainter p(*this);
    if (!p)
        return;
    switch (FCopyMode) {
    case cmSrcPaint:
        p->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case cmSrcAnd:
        p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case cmSrcInvert:
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case cmNotSrcCopy:
        p->setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    case cmWhiteness:
        p->fillRect(dest.ToQRect(), Qt::white);
        return;
    case cmBlackness:
        p->fillRect(dest.ToQRect(), Qt::black);
        return;
    default:
        p->setCompositionMode(QPainter::CompositionMode_Source);
        break;
    }
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(dest.ToQRect(), image, sourceRect.ToQRect());
}

void TCanvas::PaintWith(const std::function<void(QPainter&)>& paint)
{
    TCanvasPainter p(*this);
    if (!p)
        return;
    paint(*p.P);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect)
{
    if (!source)
        return;
    QImage* src = source->FImage;
    if (!src && source->FExternal && source->FExternal->device() &&
        source->FExternal->device()->devType() == QInternal::Image)
        src = static_cast<QImage*>(source->FExternal->device());
    if (!src)
        return;
    if (source == this) {
        const QImage copy = src->copy(sourceRect.ToQRect());
        DrawImage(dest, copy, TRect(0, 0, copy.width(), copy.height()));
        return;
    }
    // The source's own painter must have finished before we read its pixels.
    source->Flush();
    DrawImage(dest, *src, sourceRect);
}

TColor TCanvas::Pixel(int x, int y)
{
    Flush();
    QImage* img = FImage;
    if (!img && FExternal && FExternal->device() && FExternal->device()->devType() == QInternal::Image)
        img = static_cast<QImage*>(FExternal->device());
    if (!img || !img->valid(x, y))
        return clNone;
    return FromQColor(img->pixelColor(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    Flush();
    if (FImage && !FOwnPainter) {
        if (FImage->valid(x, y))
            FImage->setPixelColor(x, y, ToQColor(color));
        return;
    }
    TCanvasPainter p(*this);
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void TCanvas::SetClipRect(const TRect& r)
{
    FHasClip = true;
    FClip = r;
}

void TCanvas::ClearClip() { FHasClip = false; }

TRect TCanvas::ClipRect()
{
    if (FHasClip)
        return FClip;
    if (FImage)
        return TRect(0, 0, FImage->width(), FImage->height());
    if (FExternal && FExternal->device())
        return TRect(0, 0, FExternal->device()->width(), FExternal->device()->height());
    return TRect();
}
