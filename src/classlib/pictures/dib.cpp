#include "classlib/pictures/dib.h"

#include "classlib/pictures/graphic.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <QHash>
#include <algorithm>

using namespace PictureIO;

namespace {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_JPEG = 4, BI_PNG = 5, BI_ALPHABITFIELDS = 6 };

struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;
    void Set(uint32_t mask)
    {
        Mask = mask;
        Shift = 0;
        Max = 0;
        if (!mask)
            return;
        while (!((mask >> Shift) & 1u))
            ++Shift;
        Max = mask >> Shift;
    }
    int Value(uint32_t pixel) const
    {
        if (!Max)
            return 0;
        const uint64_t v = (pixel & Mask) >> Shift;
        return int(v * 255 / Max);
    }
};

struct THeader {
    int Width = 0;
    int Height = 0;       // positive: bottom-up
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = BI_RGB;
    uint32_t ColorsUsed = 0;
    size_t HeaderSize = 0;
    bool Core = false;
    bool HasMasks = false;
    uint32_t Masks[4] = {0, 0, 0, 0};
};

bool ParseHeader(TByteReader& r, THeader& h, QString& error)
{
    uint32_t size;
    if (!r.U32(size)) {
        error = QStringLiteral("hlavička bitmapy je neúplná");
        return false;
    }
    h.HeaderSize = size;
    if (size == 12) {
        uint16_t w, hh, planes, bits;
        if (!r.U16(w) || !r.U16(hh) || !r.U16(planes) || !r.U16(bits)) {
            error = QStringLiteral("hlavička bitmapy je neúplná");
            return false;
        }
        h.Core = true;
        h.Width = w;
        h.Height = hh;
        h.BitCount = bits;
        return true;
    }
    // The information headers and their OS/2 cousins (16 to 64 bytes).
    const bool known = size == 40 || size == 52 || size == 56 || size == 108 || size == 124 ||
                       (size >= 16 && size <= 64 && size % 4 == 0);
    if (!known || !r.Has(size - 4)) {
        error = QStringLiteral("neznámá hlavička bitmapy");
        return false;
    }
    const uchar* p = r.Here() - 4;
    h.Width = LeS32(p + 4);
    const int32_t height = LeS32(p + 8);
    h.BitCount = Le16(p + 14);
    if (size >= 20)
        h.Compression = Le32(p + 16);
    if (size >= 36)
        h.ColorsUsed = Le32(p + 32);
    if (size == 64 && h.Compression >= BI_BITFIELDS) {
        // The OS/2 header numbers its compressions differently (Huffman, RLE24).
        error = QStringLiteral("tento druh komprese bitmapy program nepodporuje");
        return false;
    }
    if (height == INT32_MIN) {
        error = QStringLiteral("chybná výška bitmapy");
        return false;
    }
    h.TopDown = height < 0;
    h.Height = height < 0 ? -height : height;
    if (size >= 52 && (h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS)) {
        h.HasMasks = true;
        for (int i = 0; i < 3; ++i)
            h.Masks[i] = Le32(p + 40 + 4 * i);
        if (size >= 56)
            h.Masks[3] = Le32(p + 52);
    }
    r.Skip(size - 4);
    return true;
}

QVector<QRgb> StandardVgaColors()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// Run-length pixels into an index buffer (bottom row first in the data).
void DecodeRle(const uchar* d, size_t n, int bits, int w, int h, std::vector<uint8_t>& idx)
{
    size_t pos = 0;
    int64_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](int v) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            idx[size_t(h - 1 - y) * size_t(w) + size_t(x)] = uint8_t(v);
        ++x;
    };
    while (pos + 1 < n && y < h) {
        const int count = d[pos];
        const int value = d[pos + 1];
        pos += 2;
        if (count > 0) {
            // Whatever runs past the row's end falls off it.
            for (int i = 0; i < count; ++i)
                put(bits == 8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4)));
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (pos + 1 >= n)
                break;
            x += d[pos];
            y += d[pos + 1];
            pos += 2;
        } else { // absolute run, padded to a whole word
            const size_t bytes = bits == 8 ? size_t(value) : size_t(value + 1) / 2;
            if (pos + bytes > n)
                break;
            for (int i = 0; i < value; ++i) {
                const uchar b = d[pos + (bits == 8 ? size_t(i) : size_t(i) / 2)];
                put(bits == 8 ? b : ((i & 1) ? (b & 0x0F) : (b >> 4)));
            }
            pos += (bytes + 1) & ~size_t(1);
        }
    }
}

} // namespace

int BitsPerPixel(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf32bit:
        return 32;
    default:
        return 24;
    }
}

bool DecodeDib(const uchar* data, size_t size, const TDibOptions& options, TDib& out, QString& error)
{
    TByteReader r(data, size);
    THeader h;
    if (!ParseHeader(r, h, error))
        return false;
    int height = h.Height;
    if (options.Icon)
        height /= 2;
    const int bits = h.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        error = QStringLiteral("barevnou hloubku %1 bitů program nepodporuje").arg(bits);
        return false;
    }
    switch (h.Compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
        if (bits != 8 || h.TopDown) {
            error = QStringLiteral("chybná data komprese RLE8");
            return false;
        }
        break;
    case BI_RLE4:
        if (bits != 4 || h.TopDown) {
            error = QStringLiteral("chybná data komprese RLE4");
            return false;
        }
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        if (bits != 16 && bits != 32) {
            error = QStringLiteral("chybné barevné masky bitmapy");
            return false;
        }
        break;
    default:
        error = QStringLiteral("kompresi bitmapy %1 program nepodporuje").arg(h.Compression);
        return false;
    }
    if (!PictureSizeAllowed(h.Width, height)) {
        error = QStringLiteral("chybné rozměry bitmapy %1 × %2").arg(h.Width).arg(height);
        return false;
    }
    const int width = h.Width;

    // Colour masks stored after the short information header.
    if ((h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS) && !h.HasMasks) {
        const int n = h.Compression == BI_ALPHABITFIELDS ? 4 : 3;
        for (int i = 0; i < n; ++i) {
            if (!r.U32(h.Masks[i])) {
                error = QStringLiteral("barevné masky bitmapy jsou neúplné");
                return false;
            }
        }
        h.HasMasks = true;
    }

    // Colour table.
    QVector<QRgb> palette;
    const size_t entrySize = h.Core ? 3 : 4;
    size_t entries = 0;
    if (bits <= 8) {
        entries = h.ColorsUsed && h.ColorsUsed < (1u << bits) ? h.ColorsUsed : (1u << bits);
    } else if (!h.Core && h.ColorsUsed <= 256) {
        entries = h.ColorsUsed; // optional table of a true-colour bitmap: skipped
    }
    const size_t tableStart = r.Pos();
    if (bits <= 8) {
        // A table cut short keeps the entries that are there (bitmaps without
        // one are read with black entries).
        for (size_t i = 0; i < entries; ++i) {
            if (!r.Has(entrySize)) {
                palette.append(qRgb(0, 0, 0));
                continue;
            }
            const uchar* e = r.Here();
            palette.append(qRgb(e[2], e[1], e[0]));
            r.Skip(entrySize);
        }
    } else {
        r.Skip(std::min(r.Left(), entries * entrySize));
    }
    size_t bitsStart = options.BitsOffset ? options.BitsOffset : tableStart + entries * entrySize;
    if (bitsStart > size) {
        error = QStringLiteral("chybí body bitmapy");
        return false;
    }
    const uchar* px = data + bitsStart;
    const size_t avail = size - bitsStart;
    const size_t stride = ((size_t(width) * size_t(bits) + 31) / 32) * 4;
    const size_t rowBytes = (size_t(width) * size_t(bits) + 7) / 8;

    const bool wantAlpha = options.KeepAlpha && bits == 32;
    QImage img(width, height, wantAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (img.isNull()) {
        error = QStringLiteral("pro bitmapu není dost paměti");
        return false;
    }

    if (h.Compression == BI_RLE8 || h.Compression == BI_RLE4) {
        // Two bytes code at most 255 pixels; an image coded in full needs no less.
        // A short image whose data ends early is sound, but a large one declared
        // over a few bytes would only cost time and memory to paint blank.
        constexpr uint64_t kPixelsPerByte = 128, kSmallImage = uint64_t(1) << 22;
        const uint64_t pixels = uint64_t(width) * uint64_t(height);
        if (pixels > kSmallImage && pixels > uint64_t(avail) * kPixelsPerByte) {
            error = QStringLiteral("RLE bitmap data too short for its size %1 x %2").arg(width).arg(height);
            return false;
        }
        std::vector<uint8_t> idx(size_t(width) * size_t(height), 0);
        DecodeRle(px, avail, bits, width, height, idx);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            const uint8_t* src = idx.data() + size_t(y) * size_t(width);
            for (int x = 0; x < width; ++x)
                line[x] = src[x] < palette.size() ? palette[src[x]] : qRgb(0, 0, 0);
        }
    } else {
        // The last row may lack its padding; anything shorter is cut off.
        if (avail < stride * size_t(height - 1) + rowBytes) {
            error = QStringLiteral("body bitmapy jsou neúplné");
            return false;
        }
        TChannel red, green, blue, alpha;
        if (bits == 16) {
            if (h.HasMasks) {
                red.Set(h.Masks[0]);
                green.Set(h.Masks[1]);
                blue.Set(h.Masks[2]);
            } else {
                red.Set(0x7C00);
                green.Set(0x03E0);
                blue.Set(0x001F);
            }
        } else if (bits == 32 && h.HasMasks) {
            red.Set(h.Masks[0]);
            green.Set(h.Masks[1]);
            blue.Set(h.Masks[2]);
            alpha.Set(h.Masks[3]);
        }
        bool anyAlpha = false;
        for (int row = 0; row < height; ++row) {
            const int y = h.TopDown ? row : height - 1 - row;
            const uchar* s = px + stride * size_t(row);
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const int perByte = 8 / bits;
                const int mask = (1 << bits) - 1;
                for (int x = 0; x < width; ++x) {
                    const int b = s[x / perByte];
                    const int shift = 8 - bits * (x % perByte + 1);
                    const int i = (b >> shift) & mask;
                    line[x] = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
                }
                break;
            }
            case 16:
                for (int x = 0; x < width; ++x) {
                    const uint32_t v = Le16(s + 2 * x);
                    line[x] = qRgb(red.Value(v), green.Value(v), blue.Value(v));
                }
                break;
            case 24:
                for (int x = 0; x < width; ++x)
                    line[x] = qRgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
                break;
            case 32:
                for (int x = 0; x < width; ++x) {
                    const uint32_t v = Le32(s + 4 * x);
                    int a = 255;
                    if (h.HasMasks) {
                        if (alpha.Max)
                            a = alpha.Value(v);
                        line[x] = qRgba(red.Value(v), green.Value(v), blue.Value(v), 255);
                    } else {
                        a = s[4 * x + 3];
                        line[x] = qRgba(s[4 * x + 2], s[4 * x + 1], s[4 * x], 255);
                    }
                    if (wantAlpha) {
                        if (a)
                            anyAlpha = true;
                        line[x] = (line[x] & 0x00FFFFFFu) | (uint32_t(a) << 24);
                    }
                }
                break;
            }
        }
        out.HasAlpha = anyAlpha;
        if (wantAlpha && !anyAlpha)
            img = OpaqueImage(img); // all-zero alpha bytes mean no alpha at all
    }

    if (options.Icon) {
        // The AND mask follows the colour pixels: one bit per pixel, rows padded to 32 bits.
        const size_t maskStride = ((size_t(width) + 31) / 32) * 4;
        const size_t maskStart = stride * size_t(height);
        out.Mask.assign(size_t(width) * size_t(height), 0);
        if (h.Compression == BI_RGB && avail >= maskStart + maskStride * size_t(height)) {
            const uchar* m = px + maskStart;
            for (int row = 0; row < height; ++row) {
                const int y = h.TopDown ? row : height - 1 - row;
                for (int x = 0; x < width; ++x) {
                    if ((m[maskStride * size_t(row) + size_t(x / 8)] >> (7 - x % 8)) & 1)
                        out.Mask[size_t(y) * size_t(width) + size_t(x)] = 1;
                }
            }
        }
    }

    out.Image = img;
    out.Palette = palette;
    out.TopDown = h.TopDown;
    switch (bits) {
    case 1:
        out.PixelFormat = pf1bit;
        break;
    case 4:
        out.PixelFormat = pf4bit;
        break;
    case 8:
        out.PixelFormat = pf8bit;
        break;
    case 16:
        out.PixelFormat = (!h.HasMasks || (h.Masks[0] == 0x7C00 && h.Masks[1] == 0x03E0 && h.Masks[2] == 0x1F))
                              ? pf15bit
                              : pf16bit;
        break;
    case 24:
        out.PixelFormat = pf24bit;
        break;
    default:
        out.PixelFormat = pf32bit;
        break;
    }
    return true;
}

TDib ReadBmpFile(const QByteArray& file)
{
    const auto* d = reinterpret_cast<const uchar*>(file.constData());
    const size_t n = size_t(file.size());
    if (n < 14 + 12 || d[0] != 'B' || d[1] != 'M')
        throw EInvalidGraphic(QStringLiteral("Bitmapa je poškozená."));
    const uint32_t offBits = Le32(d + 10);
    const uint32_t headerSize = Le32(d + 14);
    TDibOptions options;
    // A pixel offset that points into the headers or past the end is ignored.
    if (offBits >= 14 + headerSize && offBits < n)
        options.BitsOffset = offBits - 14;
    TDib dib;
    QString error;
    if (!DecodeDib(d + 14, n - 14, options, dib, error))
        throw EInvalidGraphic(QStringLiteral("Bitmapa je poškozená: %1.").arg(error));
    return dib;
}

QVector<QRgb> DefaultPalette(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    case pf4bit:
        return StandardVgaColors();
    case pf8bit: {
        QVector<QRgb> p = StandardVgaColors();
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.append(qRgb(r * 51, g * 51, b * 51));
        for (int i = 1; p.size() < 256; ++i)
            p.append(qRgb(i * 10, i * 10, i * 10));
        return p;
    }
    default:
        return {};
    }
}

namespace {

class TPaletteMapper {
public:
    explicit TPaletteMapper(const QVector<QRgb>& palette) : FPalette(palette) {}
    int Index(QRgb c)
    {
        c |= 0xFF000000u;
        auto it = FCache.constFind(c);
        if (it != FCache.constEnd())
            return *it;
        int best = 0;
        long bestDist = -1;
        for (int i = 0; i < FPalette.size(); ++i) {
            const QRgb p = FPalette[i];
            const long dr = qRed(p) - qRed(c), dg = qGreen(p) - qGreen(c), db = qBlue(p) - qBlue(c);
            const long dist = dr * dr + dg * dg + db * db;
            if (bestDist < 0 || dist < bestDist) {
                best = i;
                bestDist = dist;
                if (dist == 0)
                    break;
            }
        }
        FCache.insert(c, best);
        return best;
    }

private:
    const QVector<QRgb>& FPalette;
    QHash<QRgb, int> FCache;
};

// The same widening as the reader's bit fields.
int Expand5(int v) { return v * 255 / 31; }
int Expand6(int v) { return v * 255 / 63; }

} // namespace

QImage ReduceToFormat(const QImage& image, TPixelFormat format, const QVector<QRgb>& palette)
{
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    const int bits = BitsPerPixel(format);
    if (bits <= 8 && palette.isEmpty())
        return out;
    TPaletteMapper mapper(palette);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x];
            if (bits <= 8)
                line[x] = palette[mapper.Index(c)] | 0xFF000000u;
            else if (format == pf15bit)
                line[x] = qRgb(Expand5(qRed(c) >> 3), Expand5(qGreen(c) >> 3), Expand5(qBlue(c) >> 3));
            else if (format == pf16bit)
                line[x] = qRgb(Expand5(qRed(c) >> 3), Expand6(qGreen(c) >> 2), Expand5(qBlue(c) >> 3));
        }
    }
    return out;
}

QByteArray WriteBmpFile(const QImage& source, TPixelFormat format, const QVector<QRgb>& palette)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    int bits = BitsPerPixel(format);
    QVector<QRgb> table;
    if (bits <= 8) {
        table = palette.isEmpty() ? DefaultPalette(format) : palette;
        table.resize(1 << bits); // missing entries are black
    }
    const bool bitFields = format == pf16bit;
    const size_t stride = ((size_t(w) * size_t(bits) + 31) / 32) * 4;
    const size_t imageSize = stride * size_t(h);
    const uint32_t tableBytes = uint32_t(table.size()) * 4 + (bitFields ? 12 : 0);
    const uint32_t offBits = 14 + 40 + tableBytes;

    QByteArray out;
    out.reserve(int(offBits + imageSize));
    out.append("BM", 2);
    PutLe32(out, uint32_t(offBits + imageSize));
    PutLe32(out, 0);
    PutLe32(out, offBits);
    PutLe32(out, 40);
    PutLe32(out, uint32_t(w));
    PutLe32(out, uint32_t(h));
    PutLe16(out, 1);
    PutLe16(out, uint16_t(bits));
    PutLe32(out, bitFields ? BI_BITFIELDS : BI_RGB);
    PutLe32(out, uint32_t(imageSize));
    PutLe32(out, 0);
    PutLe32(out, 0);
    PutLe32(out, 0);
    PutLe32(out, 0);
    if (bitFields) {
        PutLe32(out, 0xF800);
        PutLe32(out, 0x07E0);
        PutLe32(out, 0x001F);
    }
    for (QRgb c : table) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    TPaletteMapper mapper(table);
    QByteArray row(int(stride), 0);
    for (int y = h - 1; y >= 0; --y) {
        row.fill(0);
        auto* d = reinterpret_cast<uchar*>(row.data());
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                d[x / perByte] = uchar(d[x / perByte] | (mapper.Index(c) << shift));
                break;
            }
            case 16: {
                const uint16_t v = bitFields
                                       ? uint16_t(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3))
                                       : uint16_t(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3));
                d[2 * x] = uchar(v & 0xFF);
                d[2 * x + 1] = uchar(v >> 8);
                break;
            }
            case 24:
                d[3 * x] = uchar(qBlue(c));
                d[3 * x + 1] = uchar(qGreen(c));
                d[3 * x + 2] = uchar(qRed(c));
                break;
            case 32:
                d[4 * x] = uchar(qBlue(c));
                d[4 * x + 1] = uchar(qGreen(c));
                d[4 * x + 2] = uchar(qRed(c));
                d[4 * x + 3] = 0;
                break;
            }
        }
        out.append(row);
    }
    return out;
}
