#include "skin/form/skin_primitives.h"

#include "classlib/controls/control.h"
#include "platform/window_proc.h"
#include "skin/skin_bitmaps.h"

#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
bool Inverted(const TRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

// Stretched copies use the nearest pixel, as COLORONCOLOR.
void StretchCopy(QPainter& p, const QRect& to, const QImage& image, const QRect& from)
{
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    p.drawImage(to, image, from);
}

// A blank work bitmap of the target's size, black as a fresh device bitmap.
QImage WorkBitmap(int w, int h)
{
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::black);
    return out;
}

// Opaque copy (SRCCOPY) or magenta-keyed drawing of a work bitmap at r.
void Deliver(QPainter& dc, const TRect& r, const QImage& bitmap, bool transparent)
{
    if (transparent)
        DrawTransparentBitmap(dc, r, bitmap, clFuchsia);
    else
        dc.drawImage(r.Left, r.Top, bitmap);
}

// Margins below 0 count as 0; absurdly large ones are cut so that sums of
// coordinates and margins cannot overflow.
TSkinMargins NonNegative(const TSkinMargins& m)
{
    constexpr int kMax = 1 << 24;
    return {std::clamp(m.Left, 0, kMax), std::clamp(m.Top, 0, kMax), std::clamp(m.Right, 0, kMax),
            std::clamp(m.Bottom, 0, kMax)};
}

// Tiles of at least this many pixels each way keep the number of draw calls
// down for small source rectangles.
constexpr int kMinTileSpan = 64;
} // namespace

QRect StripFrameRect(const QImage& image, bool vertical, int frames, int frame)
{
    frames = std::max(frames, 1);
    // A frame outside the strip is empty rather than some other part of the bitmap.
    if (frame < 1 || frame > frames)
        return QRect();
    if (vertical) {
        const int fh = image.height() / frames;
        return QRect(0, (frame - 1) * fh, image.width(), fh);
    }
    const int fw = image.width() / frames;
    return QRect((frame - 1) * fw, 0, fw, image.height());
}

void TileBitmap(QPainter& target, const TRect& r, const QImage& source, const QRect& sourceRect)
{
    if (Inverted(r) || r.IsEmpty() || sourceRect.width() <= 0 || sourceRect.height() <= 0)
        return;
    const QImage tile = source.copy(sourceRect).convertToFormat(QImage::Format_RGB32);
    const int tw = tile.width();
    const int th = tile.height();
    if (tw <= 0 || th <= 0)
        return;
    // The tiles reach the first multiple of the tile size at or past the target's edge.
    const int64_t nx = (int64_t(r.Width()) + tw - 1) / tw;
    const int64_t ny = (int64_t(r.Height()) + th - 1) / th;
    const int64_t endX = r.Left + nx * tw;
    const int64_t endY = r.Top + ny * th;
    // Repeat the tile into a wider block; the block is drawn on the same grid and
    // cut where the single tiles would have ended, so the pixels are the same.
    const int kx = static_cast<int>(std::min<int64_t>(nx, (kMinTileSpan + tw - 1) / tw));
    const int ky = static_cast<int>(std::min<int64_t>(ny, (kMinTileSpan + th - 1) / th));
    QImage block(kx * tw, ky * th, QImage::Format_RGB32);
    for (int y = 0; y < block.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(tile.constScanLine(y % th));
        auto* to = reinterpret_cast<QRgb*>(block.scanLine(y));
        for (int x = 0; x < block.width(); x += tw)
            std::copy(from, from + tw, to + x);
    }
    target.save();
    if ((nx % kx) != 0 || (ny % ky) != 0)
        target.setClipRect(QRect(r.Left, r.Top, static_cast<int>(endX - r.Left), static_cast<int>(endY - r.Top)),
                           Qt::IntersectClip);
    for (int64_t x = r.Left; x < endX; x += block.width())
        for (int64_t y = r.Top; y < endY; y += block.height())
            target.drawImage(static_cast<int>(x), static_cast<int>(y), block);
    target.restore();
}

QImage NineGridBitmap(const TRect& target, const QImage& image, const TSkinMargins& margins, bool vertical, bool tiled,
                      int frames, int frame)
{
    if (Inverted(target) || target.IsEmpty())
        return QImage();
    const int w = target.Width();
    const int h = target.Height();
    QImage out = WorkBitmap(w, h);
    if (image.isNull() || out.isNull())
        return out;
    const QRect f = StripFrameRect(image, vertical, frames, frame);
    const int sx = f.x();
    const int sy = f.y();
    const int fw = f.width();
    const int fh = f.height();
    const TSkinMargins m = NonNegative(margins);
    int L = m.Left;
    int T = m.Top;
    int R = m.Right;
    int B = m.Bottom;
    // Margins that do not fit go pairwise; margins that fit exactly stay.
    if (int64_t(L) + R > w)
        L = R = 0;
    if (int64_t(T) + B > h)
        T = B = 0;

    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    auto piece = [&](int x1, int y1, int x2, int y2, int u1, int v1, int u2, int v2) {
        StretchCopy(p, QRect(x1, y1, x2 - x1, y2 - y1), image, QRect(u1, v1, u2 - u1, v2 - v1));
    };
    // The order matters: the centre goes before the right and bottom pieces,
    // which cover tiles that run past it.
    if (L > 0 && T > 0)
        piece(0, 0, L, T, sx, sy, sx + L, sy + T);
    if (L > 0 && B > 0)
        piece(0, h - B, L, h, sx, sy + fh - B, sx + L, sy + fh);
    if (R > 0 && T > 0)
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
    if (R > 0 && B > 0)
        piece(w - R, h - B, w, h, sx + fw - R, sy + fh - B, sx + fw, sy + fh);
    if (R > 0)
        piece(w - R, T, w, h - B, sx + fw - R, sy + T, sx + fw, sy + fh - B);
    if (B > 0)
        piece(L, h - B, w - R, h, sx + L, sy + fh - B, sx + fw - R, sy + fh);
    return out;
}

void NineGridDraw(QPainter& dc, const TRect& r, const QImage& image, bool vertical, bool tiled, bool transparent,
                  int frames, int frame, const TSkinMargins& margins)
{
    const QImage bitmap = NineGridBitmap(r, image, margins, vertical, tiled, frames, frame);
    if (!bitmap.isNull())
        Deliver(dc, r, bitmap, transparent);
}

void DrawStripTiled(QPainter& canvas, const TRect& r, const QImage& image, bool vertical, bool transparent, int frames,
                    int frame, const TSkinMargins& margins)
{
    if (Inverted(r) || r.IsEmpty())
        return;
    const int w = r.Width();
    const int h = r.Height();
    QImage out = WorkBitmap(w, h);
    if (out.isNull())
        return;
    if (!image.isNull()) {
        const QRect f = StripFrameRect(image, vertical, frames, frame);
        const int sx = f.x();
        const int sy = f.y();
        const int fw = f.width();
        const int fh = f.height();
        const TSkinMargins m = NonNegative(margins);
        const int L = m.Left;
        const int R = m.Right;
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        StretchCopy(p, QRect(0, 0, L, h), image, QRect(sx, sy, L, fh));
        const int64_t M = int64_t(fw) - L - R;
        if (M > 0 && fh > 0) {
            // The middle band stretched to the height once, then repeated.
            QImage band = WorkBitmap(static_cast<int>(M), h);
            {
                QPainter bp(&band);
                bp.setRenderHint(QPainter::SmoothPixmapTransform, false);
                StretchCopy(bp, band.rect(), image, QRect(sx + L, sy, static_cast<int>(M), fh));
            }
            TileBitmap(p, TRect(L, 0, w - R, h), band, band.rect());
        }
        StretchCopy(p, QRect(w - R, 0, R, h), image, QRect(sx + fw - R, sy, R, fh));
    }
    Deliver(canvas, r, out, transparent);
}

void DrawFrameStretched(QPainter& dc, const TRect& r, const QImage& image, bool transparent, int frames, int frame)
{
    if (Inverted(r) || r.IsEmpty() || image.isNull())
        return;
    QImage out = WorkBitmap(r.Width(), r.Height());
    if (out.isNull())
        return;
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        StretchCopy(p, out.rect(), image, StripFrameRect(image, false, frames, frame));
    }
    Deliver(dc, r, out, transparent);
}

void DrawFrameCentered(QPainter& dc, const TRect& r, const QImage& image, bool transparent, int frames, int frame)
{
    if (Inverted(r) || image.isNull())
        return;
    const QRect f = StripFrameRect(image, false, frames, frame);
    if (f.isEmpty())
        return;
    const QImage cell = image.copy(f);
    // Both halved toward zero, also when the frame is larger than r.
    const TRect at = Bounds(r.Left + (r.Width() - cell.width()) / 2, r.Top + (r.Height() - cell.height()) / 2,
                            cell.width(), cell.height());
    Deliver(dc, at, cell, transparent);
}

void DrawFrameThreeSlice(QPainter& dc, const TRect& r, const QImage& image, bool vertical, int frames, int frame,
                         const TSkinMargins& margins)
{
    if (Inverted(r) || image.isNull())
        return;
    const QRect f = StripFrameRect(image, vertical, frames, frame);
    const int sx = f.x();
    const int sy = f.y();
    const int fw = f.width();
    const int fh = f.height();
    const int x = r.Left;
    const int y = r.Top;
    const int w = r.Width();
    const int h = r.Height();
    dc.save();
    dc.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (fw > w) {
        StretchCopy(dc, QRect(x, y, w, h), image, f);
    } else {
        const TSkinMargins m = NonNegative(margins);
        const int L = m.Left;
        const int R = m.Right;
        StretchCopy(dc, QRect(x, y, L, h), image, QRect(sx, sy, L, fh));
        StretchCopy(dc, QRect(x + L, y, w - L - R, h), image, QRect(sx + L, sy, fw - L - R, fh));
        StretchCopy(dc, QRect(x + w - R, y, R, h), image, QRect(sx + fw - R, sy, R, fh));
    }
    dc.restore();
}

void DrawTransparentBitmap(QPainter& dc, const TRect& r, const QImage& bitmap, TColor key)
{
    if (Inverted(r) || bitmap.isNull())
        return;
    const int w = std::min(bitmap.width(), r.Width());
    const int h = std::min(bitmap.height(), r.Height());
    if (w <= 0 || h <= 0)
        return;
    QImage keyed = bitmap.copy(0, 0, w, h).convertToFormat(QImage::Format_ARGB32);
    const QRgb k = ColourPixel(key) & 0xFFFFFF;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = (line[x] & 0xFFFFFF) == k ? 0 : (line[x] | 0xFF000000u);
    }
    dc.save();
    // Where the key was, the destination stays as it is.
    dc.setCompositionMode(QPainter::CompositionMode_SourceOver);
    dc.drawImage(r.Left, r.Top, keyed);
    dc.restore();
}

TRegion RegionFromBitmap(const QImage& bitmap, int x, int y, int redTolerance, int greenTolerance, int blueTolerance,
                         TColor key)
{
    TRegion result;
    if (bitmap.isNull())
        return result;
    const QImage img = bitmap.format() == QImage::Format_RGB32 || bitmap.format() == QImage::Format_ARGB32
                           ? bitmap
                           : bitmap.convertToFormat(QImage::Format_RGB32);
    // Offsets far outside any screen would overflow the coordinates.
    constexpr int kLimit = 1 << 29;
    x = std::clamp(x, -kLimit, kLimit);
    y = std::clamp(y, -kLimit, kLimit);
    // Key bounds per channel: key .. min(255, key + tolerance).
    struct TBounds {
        int Lo, Hi;
        bool In(int c) const { return c >= Lo && c <= Hi; }
    };
    auto bounds = [](int value, int tolerance) {
        return TBounds{value, static_cast<int>(std::clamp<int64_t>(int64_t(value) + tolerance, -1, 255))};
    };
    const TBounds rb = bounds(GetRValue(key), redTolerance);
    const TBounds gb = bounds(GetGValue(key), greenTolerance);
    const TBounds bb = bounds(GetBValue(key), blueTolerance);
    auto isKey = [&](QRgb c) { return rb.In(qRed(c)) && gb.In(qGreen(c)) && bb.In(qBlue(c)); };

    // Runs go to the region in batches of at most 2000 rectangles. The batch
    // regions are united pairwise, like sizes with like, so that a bitmap with
    // many runs is not combined again and again into one growing region.
    constexpr size_t kBatch = 2000;
    std::vector<TRect> batch;
    batch.reserve(500);
    std::vector<std::pair<TRegion, int>> pending; // region and its merge level
    auto flush = [&] {
        if (batch.empty())
            return;
        TRegion part = TRegion::FromRects(batch);
        batch.clear();
        int level = 0;
        while (!pending.empty() && pending.back().second == level) {
            part = pending.back().first.Combined(part, RGN_OR);
            pending.pop_back();
            ++level;
        }
        pending.emplace_back(std::move(part), level);
    };
    const int w = img.width();
    for (int row = 0; row < img.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(row));
        int px = 0;
        while (px < w) {
            while (px < w && isKey(line[px]))
                ++px;
            if (px >= w)
                break;
            const int start = px;
            while (px < w && !isKey(line[px]))
                ++px;
            batch.emplace_back(x + start, y + row, x + px, y + row + 1);
            if (batch.size() >= kBatch)
                flush();
        }
    }
    flush();
    for (auto it = pending.rbegin(); it != pending.rend(); ++it)
        result = result.IsEmpty() ? std::move(it->first) : it->first.Combined(result, RGN_OR);
    return result;
}

void PaintParentBackground(HWND control, QPainter& dc)
{
    if (!control)
        return;
    QWidget* parent = control->parentWidget();
    if (!parent)
        return;
    const QRect at = control->geometry();
    dc.save();
    TWinControl* owner = FindControl(parent);
    if (owner && owner->Handle() == parent) {
        // Our own windows paint through their procedures, so that a skinner
        // of the parent paints its face too.
        dc.translate(-at.x(), -at.y());
        dc.setClipRect(at, Qt::IntersectClip);
        const auto painter = reinterpret_cast<WPARAM>(&dc);
        SendMessage(parent, WM_ERASEBKGND, painter);
        SendMessage(parent, WM_PAINT, painter);
    } else {
        // The parent's own painting only: its children (this control among
        // them) would paint over it, or paint it again.
        parent->render(&dc, QPoint(0, 0), QRegion(at.intersected(parent->rect())), QWidget::DrawWindowBackground);
    }
    dc.restore();
}
