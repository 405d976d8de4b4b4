#pragma once
// TBitmap: device-independent pixels with a pixel format kept for saving, a
// canvas to draw on, and transparency by key colour (automatic: the
// bottom-left pixel; or a fixed colour).

#include "classlib/graphics/canvas.h"
#include "classlib/pictures/dib.h"
#include "classlib/pictures/graphic.h"

#include <QImage>
#include <QVector>
#include <memory>

enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TV_CLASS_NAME(TBitmap)
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // From another bitmap (a deep copy), from a picture, or from any graphic by drawing it.
    void Assign(const TPersistent* source) override;

    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int width) override { SetSize(width, Height()); }
    void SetHeight(int height) override { SetSize(Width(), height); }
    // Keeps the pixels that still fit; new area is white. Throws EInvalidGraphic
    // for a size no bitmap may have.
    void SetSize(int width, int height);

    void Draw(TCanvas* canvas, const TRect& rect) override;

    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
    // "Picture.Data": a 4-byte size, then a complete bitmap file (size 0 = empty).
    void ReadData(QIODevice& stream) override;
    void WriteData(QIODevice& stream) override;
    // The bitmap file the bitmap saves (empty for an empty bitmap).
    QByteArray SaveToBytes() const;

    // The pixels, always Format_RGB32 (or null when empty).
    QImage& Image() { return FImage; }
    const QImage& Image() const { return FImage; }
    // Replaces the pixels with a copy of image.
    void SetImage(const QImage& image, TPixelFormat format = pfDevice);
    TCanvas* Canvas();

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Palette formats map the pixels to their colour table; 15/16 bits drop precision.
    void SetPixelFormat(TPixelFormat format);
    const QVector<QRgb>& Palette() const { return FPalette; }

    // tmAuto: the bottom-left pixel (white for a monochrome bitmap); tmFixed: the set colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode mode);

private:
    void ReplaceImage(QImage image);
    void LoadBytes(const QByteArray& bytes);

    QImage FImage;
    TPixelFormat FPixelFormat = pfDevice;
    QVector<QRgb> FPalette;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};
