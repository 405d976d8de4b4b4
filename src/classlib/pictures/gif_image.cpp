#include "classlib/pictures/gif_image.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <QHash>
#include <cstring>
#include <gif_lib.h>
#include <vector>

using namespace PictureIO;

namespace {

// What the library's error code means to a user, in the program's words.
QString GifReason(int code)
{
    switch (code) {
    case D_GIF_ERR_NOT_GIF_FILE:
        return QStringLiteral("soubor není obrázek GIF");
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON:
        return QStringLiteral("data obrázku jsou neúplná");
    case D_GIF_ERR_NOT_ENOUGH_MEM:
    case E_GIF_ERR_NOT_ENOUGH_MEM:
        return QStringLiteral("nedostatek paměti");
    case D_GIF_ERR_DATA_TOO_BIG:
    case E_GIF_ERR_DATA_TOO_BIG:
        return QStringLiteral("obrázek je příliš velký");
    case E_GIF_ERR_WRITE_FAILED:
    case E_GIF_ERR_DISK_IS_FULL:
        return QStringLiteral("data nelze zapsat");
    default:
        return QStringLiteral("data obrázku jsou poškozená");
    }
}

[[noreturn]] void Invalid(const QString& why)
{
    throw EInvalidGraphic(QStringLiteral("Obrázek GIF je poškozený: %1.").arg(why));
}

struct TMemSource {
    const uchar* Data;
    size_t Size;
    size_t Pos;
};

int ReadMem(GifFileType* gif, GifByteType* buf, int len)
{
    auto* s = static_cast<TMemSource*>(gif->UserData);
    const size_t n = std::min(size_t(std::max(len, 0)), s->Size - s->Pos);
    std::memcpy(buf, s->Data + s->Pos, n);
    s->Pos += n;
    return int(n);
}

int WriteMem(GifFileType* gif, const GifByteType* buf, int len)
{
    auto* out = static_cast<QByteArray*>(gif->UserData);
    out->append(reinterpret_cast<const char*>(buf), len);
    return len;
}

struct TGifCloser {
    GifFileType* Gif;
    ~TGifCloser()
    {
        int err = 0;
        if (Gif)
            DGifCloseFile(Gif, &err);
    }
};

struct TDecoded {
    QImage Image;
    int TransparentIndex = -1;
    TColor TransparentColor = clNone;
};

TDecoded DecodeGif(const QByteArray& bytes)
{
    TMemSource src{reinterpret_cast<const uchar*>(bytes.constData()), size_t(bytes.size()), 0};
    int err = 0;
    GifFileType* gif = DGifOpen(&src, ReadMem, &err);
    if (!gif)
        Invalid(GifReason(err));
    TGifCloser closer{gif};

    int transparent = -1;
    TDecoded out;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            Invalid(GifReason(gif->Error));
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR)
                Invalid(GifReason(gif->Error));
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    Invalid(GifReason(gif->Error));
            }
            continue;
        }
        if (type == TERMINATE_RECORD_TYPE)
            Invalid(QStringLiteral("neobsahuje žádný obrázek"));
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif) == GIF_ERROR)
            Invalid(GifReason(gif->Error));
        const GifImageDesc& d = gif->Image;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        if (d.Width <= 0 || d.Height <= 0)
            Invalid(QStringLiteral("obrázek je prázdný"));
        // The picture is the logical screen; an image that does not fit on its
        // screen is shown on its own (a tiny file must not blow up into a
        // screen sized by a far-off image position).
        int sw = gif->SWidth, sh = gif->SHeight, left = d.Left, top = d.Top;
        if (left + d.Width > sw || top + d.Height > sh) {
            sw = d.Width;
            sh = d.Height;
            left = 0;
            top = 0;
        }
        if (!PictureSizeAllowed(sw, sh))
            Invalid(QStringLiteral("rozměry %1 × %2 bodů program nepodporuje").arg(sw).arg(sh));
        const int colors = map ? map->ColorCount : 0;
        auto color = [&](int i) -> QRgb {
            if (i < 0 || i >= colors)
                return qRgb(0, 0, 0);
            const GifColorType& c = map->Colors[i];
            return qRgb(c.Red, c.Green, c.Blue);
        };
        QImage img(sw, sh, QImage::Format_ARGB32);
        if (img.isNull())
            Invalid(QStringLiteral("nedostatek paměti"));
        // Around the image: transparent if the picture has transparency, else the background colour.
        const QRgb back = transparent >= 0 ? (color(transparent) & 0x00FFFFFFu)
                                           : (gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount
                                                  ? qRgb(gif->SColorMap->Colors[gif->SBackGroundColor].Red,
                                                         gif->SColorMap->Colors[gif->SBackGroundColor].Green,
                                                         gif->SColorMap->Colors[gif->SBackGroundColor].Blue)
                                                  : qRgb(0, 0, 0));
        img.fill(back);

        std::vector<GifPixelType> line(size_t(d.Width));
        auto putRow = [&](int row) {
            auto* dst = reinterpret_cast<QRgb*>(img.scanLine(top + row));
            for (int x = 0; x < d.Width; ++x) {
                const int i = line[size_t(x)];
                dst[left + x] = i == transparent ? (color(i) & 0x00FFFFFFu) : color(i);
            }
        };
        if (d.Interlace) {
            static const int start[4] = {0, 4, 2, 1};
            static const int step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass) {
                for (int row = start[pass]; row < d.Height; row += step[pass]) {
                    if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR)
                        Invalid(GifReason(gif->Error));
                    putRow(row);
                }
            }
        } else {
            for (int row = 0; row < d.Height; ++row) {
                if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR)
                    Invalid(GifReason(gif->Error));
                putRow(row);
            }
        }
        out.Image = img;
        out.TransparentIndex = transparent >= 0 && transparent < 256 ? transparent : -1;
        if (out.TransparentIndex >= 0)
            out.TransparentColor = FromQColor(QColor(color(transparent) | 0xFF000000u));
        return out; // only the first image is shown
    }
}

// Reads exactly n bytes into out; false at the end of the stream.
bool Take(QIODevice& s, qint64 n, QByteArray& out)
{
    if (n == 0)
        return true;
    const QByteArray part = s.read(n);
    out.append(part);
    return part.size() == n;
}

} // namespace

QByteArray ScanGifFile(QIODevice& s)
{
    QByteArray out;
    if (!Take(s, 13, out) || !out.startsWith("GIF"))
        Invalid(QStringLiteral("soubor není obrázek GIF"));
    auto u8 = [&](int at) { return uchar(out.at(at)); };
    if (u8(10) & 0x80) {
        if (!Take(s, 3LL << ((u8(10) & 7) + 1), out))
            Invalid(QStringLiteral("tabulka barev je neúplná"));
    }
    auto subBlocks = [&]() {
        for (;;) {
            if (!Take(s, 1, out))
                Invalid(QStringLiteral("data obrázku jsou neúplná"));
            const int n = uchar(out.back());
            if (n == 0)
                return;
            if (!Take(s, n, out))
                Invalid(QStringLiteral("data obrázku jsou neúplná"));
        }
    };
    bool sawImage = false;
    for (;;) {
        char c;
        if (!s.getChar(&c)) {
            // A file ending without its trailer still holds its images.
            if (sawImage)
                return out;
            Invalid(QStringLiteral("neobsahuje žádný obrázek"));
        }
        out.append(c);
        switch (uchar(c)) {
        case 0x3B:
            return out;
        case 0x21:
            if (!Take(s, 1, out))
                Invalid(QStringLiteral("data obrázku jsou neúplná"));
            subBlocks();
            break;
        case 0x2C: {
            if (!Take(s, 9, out))
                Invalid(QStringLiteral("popis obrázku je neúplný"));
            const int packed = uchar(out.back());
            if (packed & 0x80) {
                if (!Take(s, 3LL << ((packed & 7) + 1), out))
                    Invalid(QStringLiteral("tabulka barev je neúplná"));
            }
            if (!Take(s, 1, out)) // LZW code size
                Invalid(QStringLiteral("data obrázku jsou neúplná"));
            subBlocks();
            sawImage = true;
            break;
        }
        default:
            Invalid(QStringLiteral("neznámý blok 0x%1").arg(uchar(c), 2, 16, QLatin1Char('0')));
        }
    }
}

bool EncodeGif(const QImage& source, QByteArray& out, QString& error)
{
    if (source.isNull()) {
        error = QStringLiteral("obrázek je prázdný");
        return false;
    }
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const size_t n = size_t(w) * size_t(h);
    bool transparent = false;
    QHash<QRgb, int> index;
    std::vector<GifByteType> pixels(n);
    std::vector<GifColorType> colors;
    bool exact = true;
    for (int y = 0; y < h && exact; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0) {
                transparent = true;
                continue;
            }
            const QRgb c = line[x] | 0xFF000000u;
            if (!index.contains(c)) {
                if (index.size() >= 255) {
                    exact = false;
                    break;
                }
                index.insert(c, int(colors.size()));
                colors.push_back(GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
            }
            pixels[size_t(y) * size_t(w) + size_t(x)] = GifByteType(index.value(c));
        }
    }
    if (!exact) {
        // More colours than a GIF holds: quantise to 255, keeping one for transparency.
        std::vector<GifByteType> r(n), g(n), b(n);
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const size_t i = size_t(y) * size_t(w) + size_t(x);
                r[i] = GifByteType(qRed(line[x]));
                g[i] = GifByteType(qGreen(line[x]));
                b[i] = GifByteType(qBlue(line[x]));
            }
        }
        int size = 255;
        colors.assign(256, GifColorType{0, 0, 0});
        if (GifQuantizeBuffer(unsigned(w), unsigned(h), &size, r.data(), g.data(), b.data(), pixels.data(),
                              colors.data()) == GIF_ERROR) {
            error = QStringLiteral("barvy obrázku nelze zredukovat");
            return false;
        }
        colors.resize(size_t(std::min(size, 255)));
    }
    int transparentIndex = -1;
    if (transparent) {
        transparentIndex = int(colors.size());
        colors.push_back(GifColorType{0, 0, 0});
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                if (qAlpha(line[x]) == 0)
                    pixels[size_t(y) * size_t(w) + size_t(x)] = GifByteType(transparentIndex);
            }
        }
    }
    int bits = 1;
    while ((1 << bits) < int(colors.size()))
        ++bits;
    colors.resize(size_t(1) << bits, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(1 << bits, colors.data());
    if (!map) {
        error = QStringLiteral("nedostatek paměti");
        return false;
    }
    QByteArray bytes;
    int err = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteMem, &err);
    bool ok = gif != nullptr;
    if (ok) {
        EGifSetGifVersion(gif, transparentIndex >= 0);
        ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
        if (ok && transparentIndex >= 0) {
            GraphicsControlBlock gcb{};
            gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
            gcb.UserInputFlag = false;
            gcb.DelayTime = 0;
            gcb.TransparentColor = transparentIndex;
            GifByteType ext[4];
            const size_t len = EGifGCBToExtension(&gcb, ext);
            ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext) == GIF_OK;
        }
        ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < h; ++y)
            ok = EGifPutLine(gif, pixels.data() + size_t(y) * size_t(w), w) == GIF_OK;
        if (!ok)
            err = gif->Error;
        int closeErr = 0;
        if (EGifCloseFile(gif, &closeErr) == GIF_ERROR && ok) {
            ok = false;
            err = closeErr;
        }
    }
    GifFreeMapObject(map);
    if (!ok) {
        error = GifReason(err);
        return false;
    }
    out = bytes;
    return true;
}

TGIFImage::TGIFImage() = default;

void TGIFImage::SetWidth(int) { throw EInvalidGraphic(QStringLiteral("Velikost obrázku GIF nelze změnit.")); }

void TGIFImage::SetHeight(int) { throw EInvalidGraphic(QStringLiteral("Velikost obrázku GIF nelze změnit.")); }

void TGIFImage::Assign(const TPersistent* source)
{
    if (!source) {
        FData.clear();
        FImage = QImage();
        FTransparentIndex = -1;
        FTransparentColor = clNone;
        Changed();
        return;
    }
    if (const auto* g = dynamic_cast<const TGIFImage*>(source)) {
        if (g == this)
            return;
        FData = g->FData;
        FImage = g->FImage;
        FTransparentIndex = g->FTransparentIndex;
        FTransparentColor = g->FTransparentColor;
        SetTransparent(g->Transparent());
        Changed();
        return;
    }
    if (dynamic_cast<const TGraphic*>(source) || dynamic_cast<const TPicture*>(source)) {
        TBitmap bmp;
        bmp.Assign(source);
        QImage img = bmp.Image().convertToFormat(QImage::Format_ARGB32);
        TColor key = clNone;
        if (bmp.Transparent() && !bmp.Empty()) {
            // The bitmap's key colour becomes the transparent index.
            key = bmp.TransparentColor();
            const QRgb k = ToQColor(key).rgb() & 0x00FFFFFFu;
            for (int y = 0; y < img.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((line[x] & 0x00FFFFFFu) == k)
                        line[x] = k;
            }
        }
        FData.clear();
        FImage = bmp.Empty() ? QImage() : img;
        FTransparentIndex = key != clNone ? 0 : -1; // the real index is chosen when encoding
        FTransparentColor = key;
        SetTransparent(bmp.Transparent());
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TGIFImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (Empty())
        return;
    DrawPictureImage(canvas, rect, FImage, Transparent() && FTransparentIndex >= 0);
}

void TGIFImage::LoadFromBytes(const QByteArray& bytes)
{
    TDecoded d = DecodeGif(bytes);
    FData = bytes;
    FImage = d.Image;
    FTransparentIndex = d.TransparentIndex;
    FTransparentColor = d.TransparentColor;
    SetTransparent(FTransparentIndex >= 0);
    Changed();
}

qint64 TGIFImage::LoadFromStreamToTrailer(QIODevice& stream)
{
    const QByteArray bytes = ScanGifFile(stream);
    LoadFromBytes(bytes);
    return bytes.size();
}

void TGIFImage::LoadFromStream(QIODevice& stream) { LoadFromStreamToTrailer(stream); }

QByteArray TGIFImage::Data()
{
    if (FData.isEmpty() && !FImage.isNull()) {
        QString error;
        if (!EncodeGif(FImage, FData, error))
            throw EInvalidGraphic(QStringLiteral("Obrázek GIF nelze uložit: %1.").arg(error));
    }
    return FData;
}

void TGIFImage::SaveToStream(QIODevice& stream) { WriteBytes(stream, Data()); }

void TGIFImage::ReadData(QIODevice& stream) { LoadFromStreamToTrailer(stream); }

void TGIFImage::WriteData(QIODevice& stream) { WriteBytes(stream, Data()); }
