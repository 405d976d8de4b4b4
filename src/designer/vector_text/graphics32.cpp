#include "designer/vector_text/graphics32.h"

#include "classlib/graphics/canvas.h"
#include "classlib/sysutils.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

TFixed Fixed(double value)
{
    const double v = std::nearbyint(value * 65536.0);
    if (!(v == v))
        return 0;
    if (v >= double(std::numeric_limits<TFixed>::max()))
        return std::numeric_limits<TFixed>::max();
    if (v <= double(std::numeric_limits<TFixed>::min()))
        return std::numeric_limits<TFixed>::min();
    return static_cast<TFixed>(v);
}

TFixed FixedAdd(TFixed a, TFixed b)
{
    const int64_t s = int64_t(a) + int64_t(b);
    return static_cast<TFixed>(std::clamp<int64_t>(s, std::numeric_limits<TFixed>::min(),
                                                   std::numeric_limits<TFixed>::max()));
}

TColor32 Color32(TColor color)
{
    const TColor c = ColorToRGB(color);
    return Color32(uint8_t(GetRValue(c)), uint8_t(GetGValue(c)), uint8_t(GetBValue(c)));
}

TFloatMatrix IdentityMatrix()
{
    TFloatMatrix m{};
    m[0][0] = m[1][1] = m[2][2] = 1.0f;
    return m;
}

TFloatMatrix MatrixThen(const TFloatMatrix& a, const TFloatMatrix& b)
{
    // Column vectors indexed [input][output]: (b after a)[i][j] = sum_k a[i][k] * b[k][j].
    TFloatMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            TFloat s = 0;
            for (int k = 0; k < 3; ++k)
                s += a[i][k] * b[k][j];
            r[i][j] = s;
        }
    return r;
}

void TAffineTransformation::Translate(TFloat dx, TFloat dy)
{
    TFloatMatrix t = IdentityMatrix();
    t[2][0] = dx;
    t[2][1] = dy;
    Matrix = MatrixThen(Matrix, t);
}

void TAffineTransformation::Scale(TFloat sx, TFloat sy)
{
    TFloatMatrix s = IdentityMatrix();
    s[0][0] = sx;
    s[1][1] = sy;
    Matrix = MatrixThen(Matrix, s);
}

void TAffineTransformation::Rotate(TFloat cx, TFloat cy, TFloat alpha)
{
    if (cx != 0 || cy != 0)
        Translate(-cx, -cy);
    const double rad = double(alpha) * M_PI / 180.0;
    // Whole quarter turns come out exact, so 90-degree text has no shear.
    double s = std::sin(rad), c = std::cos(rad);
    if (std::fabs(s) < 1e-12)
        s = 0;
    if (std::fabs(c) < 1e-12)
        c = 0;
    TFloatMatrix r = IdentityMatrix();
    r[0][0] = TFloat(c);
    r[1][0] = TFloat(s);
    r[0][1] = TFloat(-s);
    r[1][1] = TFloat(c);
    Matrix = MatrixThen(Matrix, r);
    if (cx != 0 || cy != 0)
        Translate(cx, cy);
}

void TAffineTransformation::Transform(double x, double y, double& outX, double& outY) const
{
    outX = Matrix[0][0] * x + Matrix[1][0] * y + Matrix[2][0];
    outY = Matrix[0][1] * x + Matrix[1][1] * y + Matrix[2][1];
}

TBitmap32::TBitmap32()
{
    FFont.SetName(QStringLiteral("Arial"));
    FFont.SetHeight(-13);
}

TBitmap32::~TBitmap32() = default;

void TBitmap32::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        FImage = QImage();
        return;
    }
    if (width == Width() && height == Height())
        return;
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        throw EInvalidGraphic(QStringLiteral("Pro obrázek %1 × %2 bodů není dost paměti").arg(width).arg(height));
    image.fill(0);
    FImage = std::move(image);
}

void TBitmap32::FillRect(int x1, int y1, int x2, int y2, TColor32 value)
{
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, Width());
    y2 = std::min(y2, Height());
    for (int y = y1; y < y2; ++y) {
        auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
        std::fill(line + x1, line + x2, value);
    }
}

TColor32 TBitmap32::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return 0;
    return reinterpret_cast<const QRgb*>(FImage.constScanLine(y))[x];
}

void TBitmap32::SetPixel(int x, int y, TColor32 value)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    reinterpret_cast<QRgb*>(FImage.scanLine(y))[x] = value;
}

void TBitmap32::DrawTo(TCanvas* canvas, int x, int y) const
{
    if (!canvas || FImage.isNull())
        return;
    // The colour of a pixel counts even where its alpha is 0: copy the channels
    // by hand (a format conversion would blacken transparent pixels).
    QImage opaque(FImage.size(), QImage::Format_RGB32);
    for (int row = 0; row < FImage.height(); ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(FImage.constScanLine(row));
        auto* dst = reinterpret_cast<QRgb*>(opaque.scanLine(row));
        for (int col = 0; col < FImage.width(); ++col)
            dst[col] = src[col] | 0xFF000000u;
    }
    const unsigned savedMode = canvas->CopyMode();
    canvas->SetCopyMode(cmSrcCopy);
    canvas->DrawImage(TRect(x, y, x + Width(), y + Height()), opaque, TRect(0, 0, Width(), Height()));
    canvas->SetCopyMode(savedMode);
}

namespace {

// The part of the bitmap the points can touch, widened for a one-pixel pen.
QRect PointsBounds(const TBitmap32& bitmap, const TArrayOfArrayOfFixedPoint& points)
{
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    bool any = false;
    for (const auto& poly : points)
        for (const auto& p : poly) {
            const double x = FixedToFloat(p.X), y = FixedToFloat(p.Y);
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
            any = true;
        }
    if (!any)
        return QRect();
    const int l = int(std::max(-1.0, std::floor(minX) - 2));
    const int t = int(std::max(-1.0, std::floor(minY) - 2));
    const int r = int(std::min(double(bitmap.Width()) + 1, std::ceil(maxX) + 2));
    const int b = int(std::min(double(bitmap.Height()) + 1, std::ceil(maxY) + 2));
    return QRect(QPoint(l, t), QPoint(r, b)).intersected(QRect(0, 0, bitmap.Width(), bitmap.Height()));
}

// Blends color into the bitmap through an 8-bit coverage mask at area's corner.
void BlendMask(TBitmap32& bitmap, const QImage& mask, const QRect& area, TColor32 color)
{
    const unsigned sa = color >> 24;
    const unsigned sr = (color >> 16) & 0xFF, sg = (color >> 8) & 0xFF, sb = color & 0xFF;
    for (int y = 0; y < area.height(); ++y) {
        const uchar* m = mask.constScanLine(y);
        auto* dst = reinterpret_cast<QRgb*>(bitmap.Image().scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            const unsigned w = (unsigned(m[x]) * sa + 127) / 255;
            if (w == 0)
                continue;
            const QRgb d = dst[x];
            const unsigned iw = 255 - w;
            const unsigned r = (sr * w + qRed(d) * iw + 127) / 255;
            const unsigned g = (sg * w + qGreen(d) * iw + 127) / 255;
            const unsigned b = (sb * w + qBlue(d) * iw + 127) / 255;
            const unsigned a = w + (qAlpha(d) * iw + 127) / 255;
            dst[x] = qRgba(int(r), int(g), int(b), int(std::min(a, 255u)));
        }
    }
}

enum class TDrawKind { Outline, Fill };

void DrawPolys(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, bool smooth,
               TDrawKind kind, bool closed, TPolyFillMode mode)
{
    if (!bitmap || bitmap->Empty() || (color >> 24) == 0)
        return;
    const QRect area = PointsBounds(*bitmap, points);
    if (area.isEmpty())
        return;
    QImage mask(area.size(), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        p.translate(-area.left(), -area.top());
        if (kind == TDrawKind::Fill) {
            QPainterPath path;
            path.setFillRule(mode == pfAlternate ? Qt::OddEvenFill : Qt::WindingFill);
            for (const auto& poly : points) {
                if (poly.size() < 3)
                    continue;
                QPolygonF qp;
                qp.reserve(qsizetype(poly.size()));
                for (const auto& pt : poly)
                    qp.append(QPointF(FixedToFloat(pt.X), FixedToFloat(pt.Y)));
                path.addPolygon(qp);
                path.closeSubpath();
            }
            p.fillPath(path, QColor(0, 0, 0, 255));
        } else {
            QPen pen(QColor(0, 0, 0, 255));
            pen.setWidthF(1.0);
            pen.setCosmetic(true);
            pen.setCapStyle(Qt::SquareCap);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            for (const auto& poly : points) {
                if (poly.empty())
                    continue;
                QPolygonF qp;
                qp.reserve(qsizetype(poly.size()));
                for (const auto& pt : poly)
                    qp.append(QPointF(FixedToFloat(pt.X), FixedToFloat(pt.Y)));
                if (qp.size() == 1)
                    p.drawPoint(qp.first());
                else if (closed)
                    p.drawPolygon(qp);
                else
                    p.drawPolyline(qp);
            }
        }
    }
    BlendMask(*bitmap, mask, area, color);
}

} // namespace

void PolyPolylineTS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, bool closed)
{
    DrawPolys(bitmap, points, color, false, TDrawKind::Outline, closed, pfAlternate);
}

void PolyPolylineXS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, bool closed)
{
    DrawPolys(bitmap, points, color, true, TDrawKind::Outline, closed, pfAlternate);
}

void PolyPolygonTS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, TPolyFillMode mode)
{
    DrawPolys(bitmap, points, color, false, TDrawKind::Fill, true, mode);
}

void PolyPolygonXS(TBitmap32* bitmap, const TArrayOfArrayOfFixedPoint& points, TColor32 color, TPolyFillMode mode)
{
    DrawPolys(bitmap, points, color, true, TDrawKind::Fill, true, mode);
}
