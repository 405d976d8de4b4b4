#include "classlib/pictures/metafile_player.h"

#include "classlib/graphics/font.h"
#include "classlib/pictures/dib.h"
#include "classlib/sysutils.h"

#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace Metafile {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Huge = 1e7;          // output coordinates beyond this are not drawn
constexpr double LongDash = 1e5;      // dashed outlines longer than this are drawn solid
constexpr size_t MaxObjects = 65536;
constexpr size_t MaxSavedStates = 10000;
constexpr int MaxFontPixels = 5000;

QColor ColorOf(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

bool Finite(double v) { return std::isfinite(v); }

QPainterPath Everything()
{
    QPainterPath p;
    p.addRect(QRectF(-Huge, -Huge, 2 * Huge, 2 * Huge));
    return p;
}

// Raster operation of the pen and brush (ROP2) as a composition mode.
QPainter::CompositionMode Rop2Mode(int rop)
{
    switch (rop) {
    case 2:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3:
        return QPainter::RasterOp_NotSourceAndDestination;
    case 4:
        return QPainter::RasterOp_NotSource;
    case 5:
        return QPainter::RasterOp_SourceAndNotDestination;
    case 6:
        return QPainter::RasterOp_NotDestination;
    case 7:
        return QPainter::RasterOp_SourceXorDestination;
    case 8:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9:
        return QPainter::RasterOp_SourceAndDestination;
    case 10:
        return QPainter::RasterOp_NotSourceXorDestination;
    case 12:
        return QPainter::RasterOp_NotSourceOrDestination;
    case 14:
        return QPainter::RasterOp_SourceOrNotDestination;
    case 15:
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// Raster operation of a bitmap transfer, for the operations that use the source.
QPainter::CompositionMode RopMode(uint32_t rop)
{
    switch (rop) {
    case SRCPAINT:
        return QPainter::RasterOp_SourceOrDestination;
    case SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE:
        return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY:
        return QPainter::RasterOp_NotSource;
    case NOTSRCERASE:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT:
        return QPainter::RasterOp_NotSourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

bool RopNeedsSource(uint32_t rop)
{
    // A ternary operation uses the source when its result depends on it.
    const uint32_t code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

const ushort Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                               0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                               0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

bool DecodeRecordDib(const uchar* header, size_t headerSize, const uchar* bits, size_t bitsSize, bool keepAlpha,
                     QImage& image)
{
    if (!header || headerSize < 12)
        return false;
    QByteArray buf(reinterpret_cast<const char*>(header), qsizetype(headerSize));
    if (bits && bitsSize)
        buf.append(reinterpret_cast<const char*>(bits), qsizetype(bitsSize));
    TDibOptions options;
    options.KeepAlpha = keepAlpha;
    // Without separate pixels the bitmap is packed: pixels follow its colour table.
    options.BitsOffset = bits ? headerSize : 0;
    TDib dib;
    QString error;
    if (!DecodeDib(reinterpret_cast<const uchar*>(buf.constData()), size_t(buf.size()), options, dib, error))
        return false;
    image = dib.Image;
    // The caller addresses rows from the bottom of a bottom-up bitmap.
    image.setText(QStringLiteral("TopDown"), dib.TopDown ? QStringLiteral("1") : QStringLiteral("0"));
    return true;
}

QString DecodeAnsi(const QByteArray& bytes, int charset)
{
    if (charset == 0 || charset == 2) {
        // Western fonts: Windows-1252 (the symbol font's bytes pass through as Latin-1).
        QString out;
        out.reserve(bytes.size());
        for (char ch : bytes) {
            const uchar b = uchar(ch);
            out.append(charset == 0 && b >= 0x80 && b < 0xA0 ? QChar(Cp1252High[b - 0x80]) : QChar(b));
        }
        return out;
    }
    return AnsiToUnicode(bytes);
}

TPlayer::TPlayer(QPainter& painter, const QTransform& deviceToOutput, QPointF pixelsPerMm)
    : FPainter(painter), FBase(painter.transform()), FDevice(deviceToOutput), FPixelsPerMm(pixelsPerMm)
{
    S.Font.Height = -13;
    S.Font.Face = QStringLiteral("Arial");
}

TPlayer::~TPlayer() = default;

void TPlayer::ResizeObjects(size_t count) { FObjects.resize(std::min(count, MaxObjects)); }

void TPlayer::PutObject(size_t index, TMfObject object)
{
    if (index >= MaxObjects)
        return;
    if (index >= FObjects.size())
        FObjects.resize(index + 1);
    FObjects[index] = std::move(object);
}

void TPlayer::AddObject(TMfObject object)
{
    for (auto& slot : FObjects) {
        if (slot.Type == TMfObject::None) {
            slot = std::move(object);
            return;
        }
    }
    if (FObjects.size() < MaxObjects)
        FObjects.push_back(std::move(object));
}

const TMfObject* TPlayer::Object(size_t index) const
{
    if (index >= FObjects.size() || FObjects[index].Type == TMfObject::None)
        return nullptr;
    return &FObjects[index];
}

void TPlayer::SelectObject(size_t index)
{
    const TMfObject* o = Object(index);
    if (!o)
        return;
    switch (o->Type) {
    case TMfObject::Pen:
        S.Pen = o->PenValue;
        break;
    case TMfObject::Brush:
        S.Brush = o->BrushValue;
        break;
    case TMfObject::Font:
        S.Font = o->FontValue;
        break;
    case TMfObject::Region:
        SelectClip(RegionToOutput(o->RegionValue), RGN_COPY, false);
        break;
    default:
        break;
    }
}

void TPlayer::SelectStockObject(int stock)
{
    auto brush = [&](int style, uint32_t color) {
        S.Brush = TMfBrush();
        S.Brush.Style = style;
        S.Brush.Color = color;
    };
    auto pen = [&](int style, uint32_t color) {
        S.Pen = TMfPen();
        S.Pen.Style = style;
        S.Pen.Color = color;
    };
    switch (stock) {
    case 0:
    case 18:
        brush(BS_SOLID, 0xFFFFFF);
        break;
    case 1:
        brush(BS_SOLID, 0xC0C0C0);
        break;
    case 2:
        brush(BS_SOLID, 0x808080);
        break;
    case 3:
        brush(BS_SOLID, 0x404040);
        break;
    case 4:
        brush(BS_SOLID, 0);
        break;
    case 5:
        brush(BS_NULL, 0);
        break;
    case 6:
        pen(PS_SOLID, 0xFFFFFF);
        break;
    case 7:
    case 19:
        pen(PS_SOLID, 0);
        break;
    case 8:
        pen(PS_NULL, 0);
        break;
    case 10:
    case 11:
    case 16:
        S.Font = TMfFont();
        S.Font.Height = -13;
        S.Font.Face = QStringLiteral("Courier New");
        break;
    case 12:
    case 13:
    case 14:
    case 17:
        S.Font = TMfFont();
        S.Font.Height = -13;
        S.Font.Face = QStringLiteral("Arial");
        break;
    default:
        break;
    }
}

void TPlayer::DeleteObject(size_t index)
{
    if (index < FObjects.size())
        FObjects[index] = TMfObject();
}

void TPlayer::SaveDC()
{
    if (FSaved.size() < MaxSavedStates)
        FSaved.push_back(S);
}

void TPlayer::RestoreDC(int which)
{
    // Negative: that many states back; positive: the state of that number.
    size_t keep;
    if (which < 0) {
        const size_t back = size_t(-int64_t(which));
        if (back > FSaved.size())
            return;
        keep = FSaved.size() - back;
    } else if (which > 0 && size_t(which) <= FSaved.size()) {
        keep = size_t(which) - 1;
    } else {
        return;
    }
    S = FSaved[keep];
    FSaved.resize(keep);
}

void TPlayer::SetMapMode(int mode)
{
    if (mode >= MM_TEXT && mode <= MM_ANISOTROPIC)
        S.MapMode = mode;
}

void TPlayer::SetWindowExt(QPointF e)
{
    if (e.x() != 0 && e.y() != 0 && Finite(e.x()) && Finite(e.y()))
        S.WindowExt = e;
}

void TPlayer::SetViewportOrg(QPointF p)
{
    if (!FixedViewport)
        S.ViewportOrg = p;
}

void TPlayer::SetViewportExt(QPointF e)
{
    if (!FixedViewport && e.x() != 0 && e.y() != 0 && Finite(e.x()) && Finite(e.y()))
        S.ViewportExt = e;
}

void TPlayer::ScaleWindowExt(double xn, double xd, double yn, double yd)
{
    if (xd != 0 && yd != 0)
        SetWindowExt(QPointF(S.WindowExt.x() * xn / xd, S.WindowExt.y() * yn / yd));
}

void TPlayer::ScaleViewportExt(double xn, double xd, double yn, double yd)
{
    if (xd != 0 && yd != 0)
        SetViewportExt(QPointF(S.ViewportExt.x() * xn / xd, S.ViewportExt.y() * yn / yd));
}

void TPlayer::SetWorldTransform(const QTransform& t)
{
    if (Finite(t.m11()) && Finite(t.m12()) && Finite(t.m21()) && Finite(t.m22()) && Finite(t.dx()) &&
        Finite(t.dy()) && t.isInvertible())
        S.World = t;
}

void TPlayer::ModifyWorldTransform(const QTransform& t, int mode)
{
    switch (mode) {
    case 1:
        S.World = QTransform();
        break;
    case 2:
        SetWorldTransform(t * S.World);
        break;
    case 3:
        SetWorldTransform(S.World * t);
        break;
    case 4:
        SetWorldTransform(t);
        break;
    default:
        break;
    }
}

QTransform TPlayer::Mapping() const
{
    double sx = 1, sy = 1;
    const int mode = S.MapMode;
    if (FixedViewport || mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) {
        sx = S.ViewportExt.x() / S.WindowExt.x();
        sy = S.ViewportExt.y() / S.WindowExt.y();
        if (mode == MM_ISOTROPIC) {
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
    } else if (mode != MM_TEXT) {
        // Metric and English modes: fixed units, y growing upward.
        double mm = 0.1;
        switch (mode) {
        case MM_HIMETRIC:
            mm = 0.01;
            break;
        case MM_LOENGLISH:
            mm = 0.254;
            break;
        case MM_HIENGLISH:
            mm = 0.0254;
            break;
        case MM_TWIPS:
            mm = 25.4 / 1440;
            break;
        default:
            break;
        }
        sx = FPixelsPerMm.x() * mm;
        sy = -FPixelsPerMm.y() * mm;
    }
    const QTransform page(sx, 0, 0, sy, S.ViewportOrg.x() - S.WindowOrg.x() * sx,
                          S.ViewportOrg.y() - S.WindowOrg.y() * sy);
    return S.World * page * FDevice;
}

double TPlayer::ScaleX() const
{
    const QTransform m = Mapping();
    return QLineF(m.map(QPointF(0, 0)), m.map(QPointF(1, 0))).length();
}

double TPlayer::ScaleY() const
{
    const QTransform m = Mapping();
    return QLineF(m.map(QPointF(0, 0)), m.map(QPointF(0, 1))).length();
}

bool TPlayer::Sane(const QRectF& r) const
{
    return Finite(r.left()) && Finite(r.top()) && Finite(r.right()) && Finite(r.bottom()) && std::fabs(r.left()) < Huge &&
           std::fabs(r.right()) < Huge && std::fabs(r.top()) < Huge && std::fabs(r.bottom()) < Huge;
}

bool TPlayer::Begin()
{
    FPainter.save();
    FPainter.setTransform(FBase);
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    FPainter.setOpacity(1.0);
    if (S.HasClip)
        FPainter.setClipPath(S.Clip, Qt::IntersectClip);
    return true;
}

void TPlayer::End() { FPainter.restore(); }

// --- clipping -------------------------------------------------------------

void TPlayer::SelectClip(const QPainterPath& output, int mode, bool reset)
{
    if (reset) {
        S.HasClip = false;
        S.Clip = QPainterPath();
        return;
    }
    if (!Sane(output.boundingRect()) && !output.isEmpty())
        return;
    const QPainterPath current = S.HasClip ? S.Clip : Everything();
    QPainterPath result;
    switch (mode) {
    case RGN_AND:
        result = current.intersected(output);
        break;
    case RGN_OR:
        result = current.united(output);
        break;
    case RGN_XOR:
        result = current.united(output).subtracted(current.intersected(output));
        break;
    case RGN_DIFF:
        result = current.subtracted(output);
        break;
    case RGN_COPY:
        result = output;
        break;
    default:
        return;
    }
    S.Clip = result;
    S.HasClip = true;
}

void TPlayer::IntersectClipRect(const QRectF& logical)
{
    QPainterPath p;
    p.addRect(logical.normalized());
    SelectClip(Mapping().map(p), RGN_AND, false);
}

void TPlayer::ExcludeClipRect(const QRectF& logical)
{
    QPainterPath p;
    p.addRect(logical.normalized());
    SelectClip(Mapping().map(p), RGN_DIFF, false);
}

void TPlayer::OffsetClip(QPointF logical)
{
    if (!S.HasClip)
        return;
    const QTransform m = Mapping();
    const QPointF v = m.map(logical) - m.map(QPointF(0, 0));
    if (Finite(v.x()) && Finite(v.y()))
        S.Clip.translate(v);
}

// --- pens and brushes -----------------------------------------------------

double TPlayer::PenPixels() const
{
    const bool geometric = S.Pen.Style & PS_GEOMETRIC;
    if (S.Pen.Width <= 0 && !geometric)
        return 1;
    const double w = S.Pen.Width * ScaleX();
    if (!Finite(w))
        return 1;
    return std::clamp(std::round(w), 1.0, 10000.0);
}

std::vector<double> TPlayer::DashPixels(double penPixels) const
{
    const int style = S.Pen.Style & PS_STYLE_MASK;
    const bool geometric = S.Pen.Style & PS_GEOMETRIC;
    std::vector<double> dashes;
    if (style == PS_USERSTYLE) {
        // A geometric pen's entries are logical lengths, scaled as its width is.
        const double scale = geometric ? ScaleX() : 1.0;
        for (double entry : S.Pen.StyleEntries)
            dashes.push_back(entry * scale);
    } else if (geometric) {
        // Geometric pens: dashes and gaps in multiples of the pen's width.
        switch (style) {
        case PS_DASH:
            dashes = {3, 1};
            break;
        case PS_DOT:
            dashes = {1, 1};
            break;
        case PS_DASHDOT:
            dashes = {3, 1, 1, 1};
            break;
        case PS_DASHDOTDOT:
            dashes = {3, 1, 1, 1, 1, 1};
            break;
        default:
            break;
        }
        for (double& d : dashes)
            d *= penPixels;
    } else if (penPixels <= 1) {
        // Cosmetic pens: fixed pixel lengths. A wide pen that is not
        // geometric is drawn solid whatever its style says.
        switch (style) {
        case PS_DASH:
            dashes = {18, 6};
            break;
        case PS_DOT:
            dashes = {3, 3};
            break;
        case PS_DASHDOT:
            dashes = {9, 6, 3, 6};
            break;
        case PS_DASHDOTDOT:
            dashes = {9, 3, 3, 3, 3, 3};
            break;
        case PS_ALTERNATE:
            dashes = {1, 1};
            break;
        default:
            break;
        }
    }
    // The entries repeat without end: an odd count swaps dash and gap on
    // every second round.
    if (dashes.size() % 2)
        dashes.insert(dashes.end(), dashes.begin(), dashes.end());
    double period = 0;
    for (double d : dashes) {
        if (!Finite(d) || d < 0)
            return {};
        period += d;
    }
    // Dashes finer than a pixel read as a solid line (and would cost a
    // segment each).
    if (period < 1)
        return {};
    return dashes;
}

QPen TPlayer::MakePen(bool& visible) const
{
    const int style = S.Pen.Style & PS_STYLE_MASK;
    visible = style != PS_NULL;
    QColor color = ColorOf(S.Pen.Color);
    if (S.Rop2 == R2_BLACK)
        color = Qt::black;
    else if (S.Rop2 == R2_WHITE)
        color = Qt::white;
    const double w = PenPixels();
    QPen pen(color);
    pen.setWidthF(w);
    const std::vector<double> dashes = DashPixels(w);
    if (w <= 1) {
        pen.setCapStyle(dashes.empty() ? Qt::SquareCap : Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        // Wide pens: round ends and joins unless the pen asks otherwise.
        switch (S.Pen.Style & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE:
            pen.setCapStyle(Qt::SquareCap);
            break;
        case PS_ENDCAP_FLAT:
            pen.setCapStyle(Qt::FlatCap);
            break;
        default:
            pen.setCapStyle(Qt::RoundCap);
            break;
        }
        switch (S.Pen.Style & PS_JOIN_MASK) {
        case PS_JOIN_BEVEL:
            pen.setJoinStyle(Qt::BevelJoin);
            break;
        case PS_JOIN_MITER:
            pen.setJoinStyle(Qt::MiterJoin);
            break;
        default:
            pen.setJoinStyle(Qt::RoundJoin);
            break;
        }
    }
    if (!dashes.empty()) {
        // Qt counts dashes in pen widths.
        QVector<qreal> pattern;
        for (double d : dashes)
            pattern << d / std::max(w, 1.0);
        pen.setDashPattern(pattern);
    }
    return pen;
}

QBrush TPlayer::MakeBrush(const TMfBrush& b, bool& visible) const
{
    visible = b.Style != BS_NULL;
    QColor color = ColorOf(b.Color);
    if (S.Rop2 == R2_BLACK)
        return QBrush(Qt::black);
    if (S.Rop2 == R2_WHITE)
        return QBrush(Qt::white);
    switch (b.Style) {
    case BS_HATCHED:
        switch (b.Hatch) {
        case HS_HORIZONTAL:
            return QBrush(color, Qt::HorPattern);
        case HS_VERTICAL:
            return QBrush(color, Qt::VerPattern);
        case HS_FDIAGONAL:
            return QBrush(color, Qt::FDiagPattern);
        case HS_BDIAGONAL:
            return QBrush(color, Qt::BDiagPattern);
        case HS_CROSS:
            return QBrush(color, Qt::CrossPattern);
        case HS_DIAGCROSS:
            return QBrush(color, Qt::DiagCrossPattern);
        default:
            return QBrush(color);
        }
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (!b.Pattern.isNull())
            return QBrush(b.Pattern);
        return QBrush(color);
    default:
        return QBrush(color);
    }
}

// --- drawing --------------------------------------------------------------

void TPlayer::Paint(const QPainterPath& output, bool fill, bool stroke, const TMfBrush* brushOverride)
{
    if (S.Rop2 == R2_NOP || output.isEmpty())
        return;
    const QRectF bounds = output.boundingRect();
    if (!Sane(bounds))
        return;
    bool penVisible = false, brushVisible = false;
    QPen pen = MakePen(penVisible);
    const QBrush brush = MakeBrush(brushOverride ? *brushOverride : S.Brush, brushVisible);
    penVisible = penVisible && stroke;
    brushVisible = brushVisible && fill;
    if (!penVisible && !brushVisible)
        return;
    if (penVisible && pen.style() != Qt::SolidLine && (bounds.width() > LongDash || bounds.height() > LongDash))
        pen.setStyle(Qt::SolidLine);
    QPainterPath path = output;
    path.setFillRule(S.PolyFillMode == FILL_WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    Begin();
    FPainter.setCompositionMode(Rop2Mode(S.Rop2));
    FPainter.setBackgroundMode(S.BkMode == BK_OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    FPainter.setBackground(ColorOf(S.BkColor));
    FPainter.setPen(penVisible ? pen : QPen(Qt::NoPen));
    FPainter.setBrush(brushVisible ? brush : QBrush(Qt::NoBrush));
    FPainter.drawPath(path);
    End();
}

void TPlayer::AddToPath(const QPainterPath& output, bool connect)
{
    // Qt's addPath and connectPath both drop a figure's lone start point (a
    // MoveTo and nothing after it), and connectPath joins onto whatever came
    // before it: a figure that continues from the current position carries
    // that point as its own first element, and is joined only onto an open
    // figure that ends there.
    const int n = FPath.elementCount();
    const bool figureOpen = n > 0 && !FPath.elementAt(n - 1).isMoveTo() && n != FClosedAt;
    if (connect && figureOpen && output.elementCount() > 0 && FPath.currentPosition() == QPointF(output.elementAt(0)))
        FPath.connectPath(output);
    else
        FPath.addPath(output);
}

void TPlayer::Figure(const QPainterPath& output, bool fill, bool stroke)
{
    if (FInPath) {
        AddToPath(output, false);
        return;
    }
    Paint(output, fill, stroke);
}

QPainterPath TPlayer::BoxPath(QRectF box, int kind, QSizeF corner) const
{
    // kind: 0 rectangle, 1 ellipse, 2 rounded rectangle
    const QTransform m = Mapping();
    QPainterPath path;
    if (m.type() <= QTransform::TxScale) {
        // Axis-aligned: the figure covers its box less the right and bottom
        // edges, counted in output pixels as the platform does.
        QRectF o = m.mapRect(box.normalized());
        o.setWidth(std::max(0.0, o.width() - 1));
        o.setHeight(std::max(0.0, o.height() - 1));
        const double w = PenPixels();
        if ((S.Pen.Style & PS_STYLE_MASK) == PS_INSIDEFRAME && w > 1)
            o.adjust(w / 2, w / 2, -w / 2, -w / 2);
        if (kind == 0)
            path.addRect(o);
        else if (kind == 1)
            path.addEllipse(o);
        else
            path.addRoundedRect(o, std::fabs(corner.width() * m.m11()) / 2, std::fabs(corner.height() * m.m22()) / 2);
        return path;
    }
    const QRectF b = box.normalized();
    if (kind == 0)
        path.addRect(b);
    else if (kind == 1)
        path.addEllipse(b);
    else
        path.addRoundedRect(b, std::fabs(corner.width()) / 2, std::fabs(corner.height()) / 2);
    return m.map(path);
}

std::vector<QPointF> TPlayer::Map(const std::vector<QPointF>& logical) const
{
    const QTransform m = Mapping();
    std::vector<QPointF> out;
    out.reserve(logical.size());
    for (const QPointF& p : logical)
        out.push_back(m.map(p));
    return out;
}

void TPlayer::StrokeOpen(const std::vector<QPointF>& pts)
{
    if (pts.size() < 2)
        return;
    std::vector<QPointF> q = pts;
    if (PenPixels() <= 1) {
        // The end point itself is not drawn: stop one pixel short of it.
        const QPointF a = q[q.size() - 2], b = q.back();
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const double steps = std::max(std::fabs(dx), std::fabs(dy));
        if (steps < 0.5 && q.size() == 2)
            return;
        if (steps >= 1)
            q.back() = QPointF(a.x() + dx * (steps - 1) / steps, a.y() + dy * (steps - 1) / steps);
    }
    QPainterPath path(q[0]);
    for (size_t i = 1; i < q.size(); ++i)
        path.lineTo(q[i]);
    Paint(path, false, true);
}

void TPlayer::MoveTo(QPointF p)
{
    S.Pos = p;
    if (FInPath)
        FPath.moveTo(Mapping().map(p));
}

void TPlayer::LineTo(QPointF p)
{
    const QTransform m = Mapping();
    const QPointF a = m.map(S.Pos), b = m.map(p);
    S.Pos = p;
    if (FInPath) {
        if (FPath.isEmpty())
            FPath.moveTo(a);
        FPath.lineTo(b);
        return;
    }
    StrokeOpen({a, b});
}

void TPlayer::Polyline(const std::vector<QPointF>& pts)
{
    if (pts.size() < 2)
        return;
    const std::vector<QPointF> o = Map(pts);
    if (FInPath) {
        FPath.moveTo(o[0]);
        for (size_t i = 1; i < o.size(); ++i)
            FPath.lineTo(o[i]);
        return;
    }
    StrokeOpen(o);
}

void TPlayer::PolylineTo(const std::vector<QPointF>& pts)
{
    if (pts.empty())
        return;
    std::vector<QPointF> all{S.Pos};
    all.insert(all.end(), pts.begin(), pts.end());
    S.Pos = pts.back();
    const std::vector<QPointF> o = Map(all);
    if (FInPath) {
        if (FPath.isEmpty())
            FPath.moveTo(o[0]);
        for (size_t i = 1; i < o.size(); ++i)
            FPath.lineTo(o[i]);
        return;
    }
    StrokeOpen(o);
}

void TPlayer::PolyBezier(const std::vector<QPointF>& pts)
{
    if (pts.size() < 4)
        return;
    const std::vector<QPointF> o = Map(pts);
    QPainterPath path(o[0]);
    for (size_t i = 1; i + 2 < o.size(); i += 3)
        path.cubicTo(o[i], o[i + 1], o[i + 2]);
    if (FInPath) {
        AddToPath(path, false);
        return;
    }
    Paint(path, false, true);
}

void TPlayer::PolyBezierTo(const std::vector<QPointF>& pts)
{
    if (pts.size() < 3)
        return;
    const std::vector<QPointF> o = Map(pts);
    const QPointF start = Mapping().map(S.Pos);
    QPainterPath path(start);
    size_t i = 0;
    for (; i + 2 < o.size(); i += 3)
        path.cubicTo(o[i], o[i + 1], o[i + 2]);
    S.Pos = pts[i - 1];
    if (FInPath) {
        if (FPath.isEmpty())
            FPath.moveTo(start);
        for (size_t k = 0; k + 2 < o.size(); k += 3)
            FPath.cubicTo(o[k], o[k + 1], o[k + 2]);
        return;
    }
    Paint(path, false, true);
}

void TPlayer::PolyPolygon(const std::vector<std::vector<QPointF>>& polys)
{
    QPainterPath path;
    for (const auto& poly : polys) {
        if (poly.size() < 2)
            continue;
        const std::vector<QPointF> o = Map(poly);
        path.moveTo(o[0]);
        for (size_t i = 1; i < o.size(); ++i)
            path.lineTo(o[i]);
        path.closeSubpath();
    }
    Figure(path, true, true);
}

void TPlayer::PolyPolyline(const std::vector<std::vector<QPointF>>& lines)
{
    for (const auto& line : lines)
        Polyline(line);
}

void TPlayer::Rectangle(QRectF box)
{
    const QPainterPath path = BoxPath(box, 0, {});
    bool penVisible = false;
    MakePen(penVisible);
    if (FInPath || !penVisible || S.Rop2 == R2_COPYPEN || PenPixels() > 1) {
        Figure(path, true, true);
        return;
    }
    // Raster operations touch each pixel once: the inside, then the outline.
    const QRectF o = path.boundingRect();
    if (o.width() > 1 && o.height() > 1) {
        QPainterPath inner;
        inner.addRect(o.adjusted(1, 1, 0, 0));
        Paint(inner, true, false);
    }
    Paint(path, false, true);
}

void TPlayer::RoundRect(QRectF box, QSizeF corner) { Figure(BoxPath(box, 2, corner), true, true); }

void TPlayer::Ellipse(QRectF box) { Figure(BoxPath(box, 1, {}), true, true); }

void TPlayer::ArcFamily(TArcKind kind, QRectF box, QPointF start, QPointF end)
{
    const QTransform m = Mapping();
    const bool aligned = m.type() <= QTransform::TxScale;
    // Work in output space when the mapping keeps axes (so the box follows the
    // pixel rules of the other figures), else in logical space and map after.
    QRectF b;
    QPointF s, e;
    if (aligned) {
        b = BoxPath(box, 0, {}).boundingRect();
        s = m.map(start);
        e = m.map(end);
    } else {
        b = box.normalized();
        s = start;
        e = end;
    }
    if (b.width() <= 0 || b.height() <= 0)
        return;
    const QPointF c = b.center();
    const double rx = b.width() / 2, ry = b.height() / 2;
    // Angles on the ellipse (counter-clockwise, y up) of the radials through the points.
    auto angleOf = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / Pi;
    };
    const double a0 = angleOf(s), a1 = angleOf(e);
    bool ccw = S.ArcDirection != AD_CLOCKWISE;
    // A mapping that mirrors one axis turns the drawing direction round.
    const QTransform lin = aligned ? m : QTransform();
    if (aligned && lin.m11() * lin.m22() < 0)
        ccw = !ccw;
    double sweep;
    if (ccw) {
        sweep = std::fmod(a1 - a0 + 720.0, 360.0);
        if (sweep <= 1e-9)
            sweep = 360;
    } else {
        sweep = -std::fmod(a0 - a1 + 720.0, 360.0);
        if (sweep >= -1e-9)
            sweep = -360;
    }
    QPainterPath path;
    if (kind == TArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(b, a0, sweep);
        path.closeSubpath();
    } else if (kind == TArcKind::ArcTo) {
        // A line from the current position to the arc's start (arcTo draws
        // it from the path's current point), then the arc.
        path.moveTo(aligned ? m.map(S.Pos) : S.Pos);
        path.arcTo(b, a0, sweep);
    } else {
        path.arcMoveTo(b, a0);
        path.arcTo(b, a0, sweep);
        if (kind == TArcKind::Chord)
            path.closeSubpath();
    }
    const QPainterPath out = aligned ? path : m.map(path);
    if (kind == TArcKind::ArcTo) {
        // The current position ends at the arc's end.
        bool ok = false;
        const QTransform inv = m.inverted(&ok);
        if (ok)
            S.Pos = inv.map(out.currentPosition());
    }
    if (FInPath) {
        AddToPath(out, kind == TArcKind::ArcTo);
        return;
    }
    const bool closed = kind == TArcKind::Chord || kind == TArcKind::Pie;
    Paint(out, closed, true);
}

void TPlayer::AngleArc(QPointF centre, double radius, double startDeg, double sweepDeg)
{
    if (!Finite(radius) || !Finite(startDeg) || !Finite(sweepDeg) || std::fabs(sweepDeg) > 3600)
        return;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(S.Pos);
    path.arcTo(box, startDeg, sweepDeg);
    S.Pos = path.currentPosition();
    const QPainterPath out = Mapping().map(path);
    if (FInPath) {
        AddToPath(out, true);
        return;
    }
    Paint(out, false, true);
}

void TPlayer::SetPixel(QPointF p, uint32_t color)
{
    const QPointF o = Mapping().map(p);
    if (!Finite(o.x()) || !Finite(o.y()) || std::fabs(o.x()) > Huge || std::fabs(o.y()) > Huge)
        return;
    Begin();
    FPainter.fillRect(QRectF(std::floor(o.x()), std::floor(o.y()), 1, 1), ColorOf(color));
    End();
}

void TPlayer::PatBlt(QRectF box, uint32_t rop)
{
    QPainterPath p;
    p.addRect(box.normalized());
    const QPainterPath out = Mapping().map(p);
    if (!Sane(out.boundingRect()) || rop == DSTCOPY)
        return;
    Begin();
    FPainter.setPen(Qt::NoPen);
    switch (rop) {
    case BLACKNESS:
        FPainter.setBrush(Qt::black);
        break;
    case WHITENESS:
        FPainter.setBrush(Qt::white);
        break;
    case DSTINVERT:
        FPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
        FPainter.setBrush(Qt::black);
        break;
    default: {
        bool visible = false;
        const QBrush b = MakeBrush(S.Brush, visible);
        if (!visible) {
            End();
            return;
        }
        if (rop == PATINVERT)
            FPainter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        FPainter.setBackgroundMode(S.BkMode == BK_OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
        FPainter.setBackground(ColorOf(S.BkColor));
        FPainter.setBrush(b);
        break;
    }
    }
    FPainter.drawPath(out);
    End();
}

void TPlayer::FillRegion(const QPainterPath& output, const TMfBrush& brush)
{
    const int rop = S.Rop2;
    S.Rop2 = R2_COPYPEN;
    Paint(output, true, false, &brush);
    S.Rop2 = rop;
}

void TPlayer::FrameRegion(const QPainterPath& output, const TMfBrush& brush, QSizeF logicalStroke)
{
    const double w = std::max(1.0, std::fabs(logicalStroke.width()) * ScaleX());
    const double h = std::max(1.0, std::fabs(logicalStroke.height()) * ScaleY());
    if (!Finite(w) || !Finite(h) || w > Huge || h > Huge)
        return;
    // The region less its inside shrunk by the stroke.
    QPainterPathStroker stroker;
    stroker.setWidth(2 * std::max(w, h));
    const QPainterPath frame = stroker.createStroke(output).intersected(output);
    FillRegion(frame, brush);
}

void TPlayer::InvertRegion(const QPainterPath& output)
{
    if (output.isEmpty() || !Sane(output.boundingRect()))
        return;
    Begin();
    FPainter.setCompositionMode(QPainter::RasterOp_NotDestination);
    FPainter.setPen(Qt::NoPen);
    FPainter.setBrush(Qt::black);
    FPainter.drawPath(output);
    End();
}

void TPlayer::TextOut(QPointF ref, const QString& text, const std::vector<double>& dx, int options,
                      const QRectF* logicalRect, bool advancedMode)
{
    const QTransform m = Mapping();
    const bool updateCp = S.TextAlign & TA_UPDATECP;
    const QPointF origin = updateCp ? S.Pos : ref;
    const QPointF out = m.map(origin);
    if (!Finite(out.x()) || !Finite(out.y()) || std::fabs(out.x()) > Huge || std::fabs(out.y()) > Huge)
        return;
    const double sx = ScaleX(), sy = ScaleY();

    QRectF opaqueRect;
    if (logicalRect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        QPainterPath r;
        r.addRect(logicalRect->normalized());
        opaqueRect = m.map(r).boundingRect();
        if (!Sane(opaqueRect))
            return;
    }

    // The font, in output pixels.
    const double px = std::fabs(double(S.Font.Height)) * sy;
    if (!Finite(px) || px > MaxFontPixels)
        return;
    TFont font;
    font.SetName(S.Font.Face.isEmpty() ? QStringLiteral("Arial") : S.Font.Face);
    const int ipx = std::max(1, int(std::lround(px)));
    font.SetHeight(S.Font.Height < 0 ? -ipx : (S.Font.Height > 0 ? ipx : -13));
    TFontStyles style = 0;
    if (S.Font.Weight >= 600)
        style |= FontStyleBit(fsBold);
    if (S.Font.Italic)
        style |= FontStyleBit(fsItalic);
    if (S.Font.Underline)
        style |= FontStyleBit(fsUnderline);
    if (S.Font.StrikeOut)
        style |= FontStyleBit(fsStrikeOut);
    font.SetStyle(style);
    QFont qf = font.ToQFont();
    if (S.Font.Width != 0) {
        const double avg = QFontMetricsF(qf).averageCharWidth();
        const double want = std::fabs(double(S.Font.Width)) * sx;
        if (avg > 0 && Finite(want))
            qf.setStretch(std::clamp(int(std::lround(100 * want / avg)), 1, 4000));
    }
    const QFontMetricsF fm(qf);

    double angle = S.Font.Escapement / 10.0;
    if (advancedMode) {
        const QPointF v = m.map(QPointF(1, 0)) - m.map(QPointF(0, 0));
        angle += std::atan2(-v.y(), v.x()) * 180.0 / Pi;
    }

    const bool glyphIndices = options & ETO_GLYPH_INDEX;
    double width = 0;
    std::vector<double> xs;
    if (!dx.empty()) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            xs.push_back(width);
            width += (size_t(i) < dx.size() ? dx[size_t(i)] : 0) * sx;
        }
    } else {
        width = fm.horizontalAdvance(text);
    }
    if (!Finite(width) || std::fabs(width) > Huge)
        return;

    Begin();
    if (options & ETO_OPAQUE && !opaqueRect.isNull())
        FPainter.fillRect(opaqueRect, ColorOf(S.BkColor));
    if (options & ETO_CLIPPED && !opaqueRect.isNull())
        FPainter.setClipRect(opaqueRect, Qt::IntersectClip);
    FPainter.translate(out);
    FPainter.rotate(-angle);
    double x0 = 0;
    switch (S.TextAlign & TA_HORZ_MASK) {
    case TA_RIGHT:
        x0 = -width;
        break;
    case TA_CENTER:
        x0 = -width / 2;
        break;
    default:
        break;
    }
    double baseline = fm.ascent();
    switch (S.TextAlign & TA_VERT_MASK) {
    case TA_BOTTOM:
        baseline = -fm.descent();
        break;
    case TA_BASELINE:
        baseline = 0;
        break;
    default:
        break;
    }
    if (S.BkMode == BK_OPAQUE && !text.isEmpty())
        FPainter.fillRect(QRectF(x0, baseline - fm.ascent(), width, fm.ascent() + fm.descent()), ColorOf(S.BkColor));
    if (!glyphIndices && !text.isEmpty()) {
        FPainter.setFont(qf);
        FPainter.setPen(ColorOf(S.TextColor));
        if (xs.empty()) {
            FPainter.drawText(QPointF(x0, baseline), text);
        } else {
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i].isLowSurrogate())
                    continue;
                const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                FPainter.drawText(QPointF(x0 + xs[size_t(i)], baseline), text.mid(i, len));
            }
        }
    }
    End();

    if (updateCp) {
        // The current position moves along the baseline past the text.
        const double rad = angle * Pi / 180.0;
        double along = 0;
        if ((S.TextAlign & TA_HORZ_MASK) == 0)
            along = width;
        else if ((S.TextAlign & TA_HORZ_MASK) == TA_RIGHT)
            along = -width;
        const QPointF endOut = out + QPointF(std::cos(rad) * along, -std::sin(rad) * along);
        bool ok = false;
        const QTransform inv = m.inverted(&ok);
        if (ok)
            S.Pos = inv.map(endOut);
    }
}

void TPlayer::DrawBitmap(const QImage& image, QRectF src, QRectF dest, uint32_t rop, double constantAlpha)
{
    if (!RopNeedsSource(rop)) {
        PatBlt(dest, rop);
        return;
    }
    if (image.isNull())
        return;
    src = src.normalized().intersected(QRectF(0, 0, image.width(), image.height()));
    if (src.isEmpty() || dest.width() == 0 || dest.height() == 0)
        return;
    const QTransform place = QTransform::fromTranslate(-src.x(), -src.y()) *
                             QTransform::fromScale(dest.width() / src.width(), dest.height() / src.height()) *
                             QTransform::fromTranslate(dest.x(), dest.y()) * Mapping();
    if (!Sane(place.mapRect(src)))
        return;
    Begin();
    FPainter.setTransform(place * FBase);
    FPainter.setCompositionMode(RopMode(rop));
    FPainter.setOpacity(std::clamp(constantAlpha, 0.0, 1.0));
    FPainter.drawImage(src, image, src);
    End();
}

// --- paths ----------------------------------------------------------------

void TPlayer::BeginPath()
{
    FPath = QPainterPath();
    FClosedAt = -1;
    FInPath = true;
}

void TPlayer::AbortPath()
{
    FPath = QPainterPath();
    FInPath = false;
}

void TPlayer::CloseFigure()
{
    if (!FPath.isEmpty())
        FPath.closeSubpath();
    FClosedAt = FPath.elementCount();
}

void TPlayer::FillPath()
{
    FInPath = false;
    Paint(FPath, true, false);
    FPath = QPainterPath();
}

void TPlayer::StrokePath()
{
    FInPath = false;
    Paint(FPath, false, true);
    FPath = QPainterPath();
}

void TPlayer::StrokeAndFillPath()
{
    FInPath = false;
    Paint(FPath, true, true);
    FPath = QPainterPath();
}

void TPlayer::WidenPath()
{
    if (FPath.isEmpty() || !Sane(FPath.boundingRect()))
        return;
    QPainterPathStroker stroker;
    stroker.setWidth(PenPixels());
    FPath = stroker.createStroke(FPath);
}

void TPlayer::SelectClipPath(int mode)
{
    FInPath = false;
    SelectClip(FPath, mode, false);
    FPath = QPainterPath();
}

} // namespace Metafile
