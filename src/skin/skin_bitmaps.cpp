#include "skin/skin_bitmaps.h"

#include "classlib/graphics/types.h"
#include "classlib/sysutils.h"
#include "platform/system_metrics.h"

#include <algorithm>
#include <array>

namespace {
constexpr int kGradientSlots = 16;

struct TGradientCache {
    std::array<std::vector<TColor>, kGradientSlots> Tables;
    int Next = 0;
};

TGradientCache& Cache()
{
    static TGradientCache cache;
    return cache;
}

// Per channel c1 + (d k + (n - 1) div 2) div (n - 1), truncating toward zero.
std::vector<TColor> ComputeGradient(int n, TColor c1, TColor c2)
{
    std::vector<TColor> table(static_cast<size_t>(n));
    const int from[3] = {GetRValue(c1), GetGValue(c1), GetBValue(c1)};
    const int to[3] = {GetRValue(c2), GetGValue(c2), GetBValue(c2)};
    for (int k = 0; k < n; ++k) {
        int ch[3];
        for (int i = 0; i < 3; ++i) {
            const int d = to[i] - from[i];
            ch[i] = n == 1 ? from[i] + d / 2 : from[i] + (d * k + (n - 1) / 2) / (n - 1);
        }
        table[static_cast<size_t>(k)] = RGB(ch[0] & 0xFF, ch[1] & 0xFF, ch[2] & 0xFF);
    }
    return table;
}
} // namespace

void EnsureRgb32(QImage& bitmap)
{
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
}

void GrayscaleBitmap(QImage& bitmap)
{
    EnsureRgb32(bitmap);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x) {
            const int v = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
            line[x] = qRgb(v, v, v);
        }
    }
}

void ReplaceKeyColor(QImage& bitmap, TColor colour)
{
    EnsureRgb32(bitmap);
    const QRgb key = qRgb(255, 0, 255);
    const QRgb with = ColourPixel(colour);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                line[x] = with;
        }
    }
}

void MirrorBitmap(QImage& bitmap)
{
    if (!bitmap.isNull())
        bitmap = bitmap.mirrored(true, false);
}

void FlipBitmap(QImage& bitmap)
{
    if (!bitmap.isNull())
        bitmap = bitmap.mirrored(false, true);
}

namespace {
// left: old (x, y) goes to (y, W - 1 - x); right: to (H - 1 - y, x).
void Rotate(QImage& bitmap, bool left)
{
    if (bitmap.isNull())
        return;
    const QImage old = bitmap.convertToFormat(QImage::Format_RGB32);
    const int w = old.width();
    const int h = old.height();
    QImage rotated(h, w, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(old.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int nx = left ? y : h - 1 - y;
            const int ny = left ? w - 1 - x : x;
            reinterpret_cast<QRgb*>(rotated.scanLine(ny))[nx] = line[x] | 0xFF000000u;
        }
    }
    bitmap = rotated;
}
} // namespace

void RotateBitmapLeft(QImage& bitmap) { Rotate(bitmap, true); }
void RotateBitmapRight(QImage& bitmap) { Rotate(bitmap, false); }

TColor BlendColors(TColor colour1, TColor colour2, int weight)
{
    if (colour1 < 0)
        colour1 = GetSysColor(colour1 & 0xFF);
    if (colour2 < 0)
        colour2 = GetSysColor(colour2 & 0xFF);
    const int s = weight < 100 ? 100 : 1000;
    auto mix = [&](int shift) {
        const int a = (colour1 >> shift) & 0xFF;
        const int b = (colour2 >> shift) & 0xFF;
        return ((b * (s - weight) + a * weight + s / 2) / s) & 0xFF;
    };
    return RGB(mix(0), mix(8), mix(16));
}

const std::vector<TColor>& GradientColours(int n, TColor colour1, TColor colour2)
{
    TGradientCache& cache = Cache();
    for (int i = kGradientSlots - 1; i >= 0; --i) {
        const std::vector<TColor>& t = cache.Tables[static_cast<size_t>(i)];
        if (static_cast<int>(t.size()) == n && n > 0 && t.front() == colour1 && t.back() == colour2)
            return t;
    }
    std::vector<TColor>& slot = cache.Tables[static_cast<size_t>(cache.Next)];
    slot = ComputeGradient(n, colour1, colour2);
    cache.Next = (cache.Next + 1) % kGradientSlots;
    return slot;
}

int GradientCacheNextSlot() { return Cache().Next; }

void GradientFillRect(QPainter& dc, const TRect& r, TColor colour1, bool vertical, TColor colour2)
{
    if (!dc.isActive() || !dc.device())
        return;
    // The clip box in the painter's coordinates, those of r.
    QRect clip = dc.deviceTransform().inverted().mapRect(QRect(0, 0, dc.device()->width(), dc.device()->height()));
    if (dc.hasClipping())
        clip &= dc.clipBoundingRect().toAlignedRect();
    const TRect box = TRect::From(clip);
    const TRect visible(std::max(r.Left, box.Left), std::max(r.Top, box.Top), std::min(r.Right, box.Right),
                        std::min(r.Bottom, box.Bottom));
    if (visible.IsEmpty())
        return;
    const TColor c1 = ColorToRGB(colour1);
    const TColor c2 = ColorToRGB(colour2);
    const int n = vertical ? r.Height() : r.Width();
    if (n < 1)
        return;
    int first;
    int last;
    if (vertical) {
        first = std::max(0, box.Top - r.Top);
        last = n - 1 - std::max(0, r.Bottom - box.Bottom);
    } else {
        first = std::max(0, box.Left - r.Left);
        last = n - 1 - std::max(0, r.Right - box.Right);
    }
    // The table may be recomputed into the slot it came from: copy it.
    const std::vector<TColor> table = GradientColours(n, c1, c2);
    for (int k = first; k <= last; ++k) {
        const QColor colour = ToQColor(table[static_cast<size_t>(k)]);
        if (vertical)
            dc.fillRect(QRect(r.Left, r.Top + k, r.Width(), 1), colour);
        else
            dc.fillRect(QRect(r.Left + k, r.Top, 1, r.Height()), colour);
    }
}

void RGBToHue(TColor colour, int& hue, int& saturation)
{
    const TColor c = ColorToRGB(colour);
    const int r = GetRValue(c);
    const int g = GetGValue(c);
    const int b = GetBValue(c);
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    const double d = mx - mn;
    const double s = mx == 0 ? 0.0 : d / mx;
    double h = 0;
    if (s > 0) {
        if (mx == r)
            h = (g - b) * 60.0 / d;
        else if (mx == g)
            h = (b - r) * 60.0 / d + 120;
        else
            h = (r - g) * 60.0 / d + 240;
        if (h < 0)
            h += 360;
    }
    hue = static_cast<int>(Round(h * 255 / 360));
    saturation = (r < 160 && g < 160 && b < 160) ? 200 : static_cast<int>(Round(s * 255));
}
