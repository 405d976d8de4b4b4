#include "skin/skin_draw.h"

#include "skin/skin_bitmaps.h"

namespace {
// Stretched copies use the nearest pixel, as COLORONCOLOR.
void StretchCopy(QPainter& p, const QRect& to, const QImage& image, const QRect& from)
{
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    p.drawImage(to, image, from);
}
} // namespace

QRect StripFrameRect(const QImage& image, bool vertical, int frames, int frame)
{
    frames = std::max(frames, 1);
    if (vertical) {
        const int fh = image.height() / frames;
        return QRect(0, (frame - 1) * fh, image.width(), fh);
    }
    const int fw = image.width() / frames;
    return QRect((frame - 1) * fw, 0, fw, image.height());
}

void TileBitmap(QPainter& target, const TRect& r, const QImage& source, const QRect& sourceRect)
{
    if (sourceRect.width() <= 0 || sourceRect.height() <= 0)
        return;
    const QImage tile = source.copy(sourceRect);
    for (int x = r.Left; x < r.Right; x += tile.width())
        for (int y = r.Top; y < r.Bottom; y += tile.height())
            target.drawImage(x, y, tile);
}

QImage NineGridBitmap(int w, int h, const QImage& image, const TSkinMargins& margins, bool vertical, bool tiled,
                      int frames, int frame)
{
    if (w <= 0 || h <= 0)
        return QImage();
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::black);
    if (image.isNull())
        return out;
    const QRect f = StripFrameRect(image, vertical, frames, frame);
    const int sx = f.x();
    const int sy = f.y();
    const int fw = f.width();
    const int fh = f.height();
    int L = margins.Left;
    int T = margins.Top;
    int R = margins.Right;
    int B = margins.Bottom;
    if (L + R > w)
        L = R = 0;
    if (T + B > h)
        T = B = 0;

    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    auto piece = [&](int x1, int y1, int x2, int y2, int u1, int v1, int u2, int v2) {
        StretchCopy(p, QRect(x1, y1, x2 - x1, y2 - y1), image, QRect(u1, v1, u2 - u1, v2 - v1));
    };
    if (L * T > 0)
        piece(0, 0, L, T, sx, sy, sx + L, sy + T);
    if (L * B > 0)
        piece(0, h - B, L, h, sx, sy + fh - B, sx + L, sy + fh);
    if (R * T > 0)
        piece(w - R, 0, w, T, sx + fw - R, sy, sx + fw, sy + T);
    if (L > 0)
        piece(0, T, L, h - B, sx, sy + T, sx + L, sy + fh - B);
    if (T > 0)
        piece(L, 0, w - R, T, sx + L, sy, sx + fw - R, sy + T);
    const QRect centreFrom(sx + L, sy + T, fw - L - R, fh - T - B);
    if (tiled)
        TileBitmap(p, TRect(L, T, w - R, h - B), image, centreFrom);
    else
        StretchCopy(p, QRect(L, T, w - R - L, h - B - T), image, centreFrom);
    if (R * B > 0)
        piece(w - R, h - B, w, h, sx + fw - R, sy + fh - B, sx + fw, sy + fh);
    if (R > 0)
        piece(w - R, T, w, h - B, sx + fw - R, sy + T, sx + fw, sy + fh - B);
    if (B > 0)
        piece(L, h - B, w - R, h, sx + L, sy + fh - B, sx + fw - R, sy + fh);
    return out;
}

void DrawTransparentBitmap(QPainter& dc, const TRect& r, const QImage& bitmap, TColor key)
{
    if (bitmap.isNull())
        return;
    QImage keyed = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = ColourPixel(key) & 0xFFFFFF;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == k)
                line[x] = 0;
        }
    }
    dc.drawImage(r.Left, r.Top, keyed);
}

void NineGridDraw(QPainter& dc, const TRect& r, const QImage& image, bool vertical, bool tiled, bool transparent,
                  int frames, int frame, const TSkinMargins& margins)
{
    if (r.Right < r.Left || r.Bottom < r.Top)
        return;
    const QImage bitmap = NineGridBitmap(r.Width(), r.Height(), image, margins, vertical, tiled, frames, frame);
    if (bitmap.isNull())
        return;
    if (transparent)
        DrawTransparentBitmap(dc, r, bitmap, clFuchsia);
    else
        dc.drawImage(r.Left, r.Top, bitmap);
}

void DrawFrameCentered(QPainter& dc, const TRect& r, const QImage& image, bool transparent, int frames, int frame)
{
    if (r.Right < r.Left || r.Bottom < r.Top || image.isNull())
        return;
    const QImage cell = image.copy(StripFrameRect(image, false, frames, frame));
    const TRect at = Bounds(r.Left + (r.Width() - cell.width()) / 2, r.Top + (r.Height() - cell.height()) / 2,
                            cell.width(), cell.height());
    if (transparent)
        DrawTransparentBitmap(dc, at, cell, clFuchsia);
    else
        dc.drawImage(at.Left, at.Top, cell);
}
