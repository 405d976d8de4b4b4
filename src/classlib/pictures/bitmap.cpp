#include "classlib/pictures/bitmap.h"

#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/picture.h"
#include "classlib/pictures/stream_io.h"
#include "classlib/sysutils.h"

#include <QPainter>

using namespace PictureIO;

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    if (FCanvas)
        FCanvas->Unbind();
}

void TBitmap::ReplaceImage(QImage image)
{
    // The canvas's painter must let go of the old pixels first.
    if (FCanvas)
        FCanvas->Unbind();
    FImage = std::move(image);
    if (FCanvas)
        FCanvas->BindImage(&FImage);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        FCanvas->BindImage(&FImage);
    }
    return FCanvas.get();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    if (width == 0 || height == 0) {
        ReplaceImage(QImage());
        Changed();
        return;
    }
    if (!PictureSizeAllowed(width, height))
        throw EInvalidGraphic(QStringLiteral("Bitmapa je příliš velká (%1 × %2 bodů)").arg(width).arg(height));
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw EInvalidGraphic(QStringLiteral("Pro bitmapu %1 × %2 bodů není dost paměti").arg(width).arg(height));
    image.fill(Qt::white);
    if (FCanvas)
        FCanvas->Unbind();
    if (!FImage.isNull()) {
        QPainter p(&image);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, FImage);
    }
    ReplaceImage(std::move(image));
    Changed();
}

void TBitmap::SetImage(const QImage& image, TPixelFormat format)
{
    if (!image.isNull() && !PictureSizeAllowed(image.width(), image.height()))
        throw EInvalidGraphic(QStringLiteral("Bitmapa je příliš velká (%1 × %2 bodů)").arg(image.width()).arg(image.height()));
    ReplaceImage(image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32).copy());
    FPixelFormat = format;
    FPalette = DefaultPalette(format);
    Changed();
}

void TBitmap::Assign(const TPersistent* source)
{
    if (!source) {
        ReplaceImage(QImage());
        FPixelFormat = pfDevice;
        FPalette.clear();
        Changed();
        return;
    }
    if (const auto* b = dynamic_cast<const TBitmap*>(source)) {
        if (b == this)
            return;
        ReplaceImage(b->FImage.copy());
        FPixelFormat = b->FPixelFormat;
        FPalette = b->FPalette;
        FTransparentColor = b->FTransparentColor;
        FTransparentMode = b->FTransparentMode;
        SetTransparent(b->Transparent());
        Changed();
        return;
    }
    if (const auto* pic = dynamic_cast<const TPicture*>(source)) {
        Assign(pic->Graphic());
        return;
    }
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        // The decoded pixels themselves: 24 bits, or 8 bits of grey.
        if (jpeg->Grayscale()) {
            QVector<QRgb> grey;
            for (int i = 0; i < 256; ++i)
                grey.append(qRgb(i, i, i));
            ReplaceImage(jpeg->Image().convertToFormat(QImage::Format_RGB32).copy());
            FPixelFormat = pf8bit;
            FPalette = grey;
        } else {
            ReplaceImage(jpeg->Image().convertToFormat(QImage::Format_RGB32).copy());
            FPixelFormat = pf24bit;
            FPalette.clear();
        }
        Changed();
        return;
    }
    if (const auto* g = dynamic_cast<const TGraphic*>(source)) {
        // Any other picture is drawn onto white at its own size.
        TBitmap tmp;
        tmp.SetSize(g->Width(), g->Height());
        if (!tmp.Empty())
            const_cast<TGraphic*>(g)->Draw(tmp.Canvas(), TRect(0, 0, tmp.Width(), tmp.Height()));
        tmp.Canvas()->Unbind();
        ReplaceImage(tmp.FImage);
        FPixelFormat = pfDevice;
        FPalette.clear();
        SetTransparent(g->Transparent());
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    if (Empty() || !canvas)
        return;
    // Drawing onto our own canvas reads from a copy.
    const QImage src = canvas->Image() == &FImage ? FImage.copy() : FImage;
    if (!Transparent()) {
        DrawPictureImage(canvas, rect, src, false);
        return;
    }
    const QRgb key = ToQColor(TransparentColor()).rgb() & 0x00FFFFFFu;
    QImage masked = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == key)
                line[x] = key; // alpha 0
        }
    }
    DrawPictureImage(canvas, rect, masked, true);
}

void TBitmap::LoadBytes(const QByteArray& bytes)
{
    TDib dib = ReadBmpFile(bytes);
    ReplaceImage(dib.Image);
    FPixelFormat = dib.PixelFormat;
    FPalette = dib.Palette;
    Changed();
}

void TBitmap::LoadFromStream(QIODevice& stream) { LoadBytes(ReadRest(stream)); }

QByteArray TBitmap::SaveToBytes() const
{
    if (Empty())
        return {};
    return WriteBmpFile(FImage, FPixelFormat, FPalette);
}

void TBitmap::SaveToStream(QIODevice& stream) { WriteBytes(stream, SaveToBytes()); }

void TBitmap::ReadData(QIODevice& stream)
{
    const int32_t size = int32_t(ReadU32(stream));
    if (size < 0)
        throw EInvalidGraphic(QStringLiteral("Bitmapa je poškozená"));
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    LoadBytes(ReadExact(stream, size));
}

void TBitmap::WriteData(QIODevice& stream)
{
    const QByteArray bytes = SaveToBytes();
    WriteU32(stream, uint32_t(bytes.size()));
    WriteBytes(stream, bytes);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == FPixelFormat)
        return;
    const int bits = BitsPerPixel(format);
    if (bits <= 8 && format != pfDevice && format != pfCustom) {
        if (FPalette.size() != (1 << bits))
            FPalette = DefaultPalette(format);
    } else {
        FPalette.clear();
    }
    if (!Empty() && format != pfDevice && format != pfCustom && format != pf24bit && format != pf32bit)
        ReplaceImage(ReduceToFormat(FImage, format, FPalette));
    FPixelFormat = format;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return ColorToRGB(FTransparentColor);
    if (FPixelFormat == pf1bit)
        return clWhite;
    if (Empty())
        return clDefault;
    return FromQColor(QColor(FImage.pixel(0, FImage.height() - 1)));
}

void TBitmap::SetTransparentColor(TColor color)
{
    FTransparentColor = color;
    FTransparentMode = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}
