// fuzz-layer: tv_skin
// The skin's bitmap operations over arbitrary sizes, margins, frame counts and
// frames: nothing may crash or read outside a bitmap, a nine-grid bitmap has the
// target's size, and a region from a bitmap holds exactly its non-key pixels.
#include "skin/form/skin_primitives.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

namespace {
// Reads the fuzz input as a stream of numbers; past the end it gives zeros.
class TReader {
public:
    TReader(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
    uint32_t U8() { return FPos < FSize ? FData[FPos++] : 0u; }
    uint32_t U16() { return U8() | (U8() << 8); }
    int32_t S16() { return static_cast<int16_t>(U16()); }
    int32_t S32() { return static_cast<int32_t>(U16() | (U16() << 16)); }
    const uint8_t* Rest(size_t& n) const
    {
        n = FSize - std::min(FPos, FSize);
        return FData + std::min(FPos, FSize);
    }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

// Pixels from the remaining input, repeated; a few magenta ones so that keys show.
QImage Bitmap(int w, int h, const TReader& in)
{
    QImage img(w, h, QImage::Format_RGB32);
    size_t n = 0;
    const uint8_t* p = in.Rest(n);
    size_t k = 0;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (n == 0) {
                line[x] = qRgb(x & 0xFF, y & 0xFF, 0);
                continue;
            }
            const uint8_t b = p[k++ % n];
            line[x] = (b & 0xC0) == 0xC0 ? qRgb(255, b & 1, 255) : qRgb(b, b * 7 & 0xFF, b * 13 & 0xFF);
        }
    }
    return img;
}

constexpr int kMaxSide = 2048;
constexpr int64_t kMaxArea = 1 << 20;

// A target size from the input: sometimes inverted, never beyond the caps.
int Side(TReader& in)
{
    const int v = in.S16();
    return v < 0 ? -(-v % 64) : v % (kMaxSide + 1);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TReader in(data, size);
    const uint32_t op = in.U8() % 8;
    const bool vertical = in.U8() & 1;
    const bool flag = in.U8() & 1;
    const int frames = 1 + static_cast<int>(in.U8() % 32);
    const int frame = static_cast<int8_t>(in.U8());
    const int iw = 1 + static_cast<int>(in.U16() % 256);
    const int ih = 1 + static_cast<int>(in.U16() % 256);
    const TSkinMargins m{in.S32(), in.S32(), in.S32(), in.S32()};
    const int left = in.S16() % 300;
    const int top = in.S16() % 300;
    const int w = Side(in);
    const int h = Side(in);
    if (std::llabs(int64_t(w) * h) > kMaxArea || int64_t(iw) * ih > kMaxArea)
        return 0;
    const TRect r(left, top, left + w, top + h);
    const QImage image = Bitmap(iw, ih, in);

    if (op == 7) {
        // Regions: every pixel in the region exactly when it is not key.
        const int rt = static_cast<int8_t>(in.U8()), gt = static_cast<int8_t>(in.U8()), bt = static_cast<int8_t>(in.U8());
        const TColor key = static_cast<TColor>(in.U8() | (in.U8() << 8) | (in.U8() << 16));
        const int x0 = in.S32(), y0 = in.S32();
        const TRegion rgn = RegionFromBitmap(image, x0, y0, rt, gt, bt, key);
        if (x0 != std::clamp(x0, -(1 << 29), 1 << 29) || y0 != std::clamp(y0, -(1 << 29), 1 << 29))
            return 0;
        auto inKey = [](int c, int k, int t) { return c >= k && c <= std::min<int64_t>(255, int64_t(k) + t); };
        int64_t solid = 0;
        for (int y = 0; y < ih; ++y)
            for (int x = 0; x < iw; ++x) {
                const QRgb c = image.pixel(x, y);
                const bool isKey = inKey(qRed(c), GetRValue(key), rt) && inKey(qGreen(c), GetGValue(key), gt) &&
                                   inKey(qBlue(c), GetBValue(key), bt);
                solid += !isKey;
                if (rgn.Contains(x0 + x, y0 + y) == isKey)
                    std::abort();
            }
        if (rgn.PixelCount() != solid)
            std::abort();
        return 0;
    }

    QImage canvas(256, 256, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter p(&canvas);
    switch (op) {
    case 0: {
        const QImage out = NineGridBitmap(r, image, m, vertical, flag, frames, frame);
        const bool none = w <= 0 || h <= 0;
        if (none != out.isNull() || (!none && out.size() != QSize(w, h)))
            std::abort();
        break;
    }
    case 1:
        NineGridDraw(p, r, image, vertical, flag, !flag, frames, frame, m);
        break;
    case 2:
        DrawStripTiled(p, r, image, vertical, flag, frames, frame, m);
        break;
    case 3:
        DrawFrameThreeSlice(p, r, image, vertical, frames, frame, m);
        break;
    case 4:
        DrawFrameStretched(p, r, image, flag, frames, frame);
        break;
    case 5:
        DrawFrameCentered(p, r, image, flag, frames, frame);
        break;
    case 6: {
        const QRect from(m.Left % 600, m.Top % 600, m.Right % 600, m.Bottom % 600);
        TileBitmap(p, r, image, from);
        break;
    }
    default:
        break;
    }
    return 0;
}
