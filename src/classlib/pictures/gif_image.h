#pragma once
// TGIFImage: the first image of a GIF file (giflib), with the transparency of
// its graphics control extension. Keeps the loaded bytes and saves them back
// unchanged; pixels assigned from another picture are encoded anew.

#include "classlib/pictures/graphic.h"

#include <QByteArray>
#include <QImage>

class TGIFImage : public TGraphic {
public:
    TV_CLASS_NAME(TGIFImage)
    TGIFImage();

    // From another GIF, or any graphic drawn at its own size.
    void Assign(const TPersistent* source) override;

    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // With Transparent, pixels of the transparent index are left out.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
    // "Picture.Data": the GIF file itself, read up to and including its trailer.
    void ReadData(QIODevice& stream) override;
    void WriteData(QIODevice& stream) override;

    // Reads one GIF from stream, stopping right after its trailer byte (0x3B);
    // returns the number of bytes used. Throws EInvalidGraphic / EReadError.
    qint64 LoadFromStreamToTrailer(QIODevice& stream);
    void LoadFromBytes(const QByteArray& bytes);
    // The GIF file: the bytes loaded, or a new encoding of assigned pixels.
    QByteArray Data();

    // Pixels with alpha 0 where the transparent index lies (colours kept).
    const QImage& Image() const { return FImage; }
    bool HasTransparentColor() const { return FTransparentIndex >= 0; }
    TColor TransparentColor() const { return FTransparentColor; }

private:
    QByteArray FData;
    QImage FImage;
    int FTransparentIndex = -1;
    TColor FTransparentColor = clNone;
};

// Splits one GIF off the front of stream by its block structure. A stream that
// ends at a block boundary after an image counts as the end of the file.
QByteArray ScanGifFile(QIODevice& stream);
bool EncodeGif(const QImage& image, QByteArray& out, QString& error);
