#pragma once
// TJPEGImage: a JPEG picture. It keeps the compressed bytes it was loaded from
// and writes them back unchanged; pixels assigned from a bitmap are compressed
// anew at CompressionQuality when first saved.

#include "classlib/pictures/graphic.h"

#include <QByteArray>
#include <QImage>

class TJPEGImage : public TGraphic {
public:
    TV_CLASS_NAME(TJPEGImage)
    TJPEGImage();

    // From another JPEG (bytes and pixels), a bitmap (new pixels to compress) or a
    // picture holding either; anything else throws EConvertError.
    void Assign(const TPersistent* source) override;

    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // Always opaque, whatever Transparent says.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
    // "Picture.Data": a 4-byte size, then the JPEG file (size 0 = empty).
    void ReadData(QIODevice& stream) override;
    void WriteData(QIODevice& stream) override;

    // Decodes bytes; throws EInvalidGraphic and leaves the image as it was.
    void LoadFromBytes(const QByteArray& bytes);
    // The compressed bytes: those loaded, or a new compression of assigned pixels.
    QByteArray Data();
    // True while the bytes are exactly those loaded (nothing to compress).
    bool HasLoadedData() const { return !FData.isEmpty(); }

    const QImage& Image() const { return FImage; }
    bool Grayscale() const { return FGrayscale; }
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int quality);

private:
    QByteArray FData;
    QImage FImage;
    bool FGrayscale = false;
    int FQuality = 90;
};

// The libjpeg codec: errors come back as false with a message, never exit().
bool DecodeJpeg(const QByteArray& data, QImage& image, bool& grayscale, QString& error);
bool EncodeJpeg(const QImage& image, int quality, QByteArray& data, QString& error);
