#include "classlib/pictures/graphic.h"

#include "classlib/graphics/canvas.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <algorithm>

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

void TGraphic::SetModified(bool value)
{
    FModified = value;
    if (value && OnChange)
        OnChange(this);
}

void TGraphic::Changed() { SetModified(true); }

void TGraphic::LoadFromFile(const QString& fileName)
{
    QByteArray bytes = ReadWholeFile(fileName, MaxPictureFileBytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(buffer);
}

void TGraphic::SaveToFile(const QString& fileName)
{
    SaveFileSafely(fileName, [this](QIODevice& f) { SaveToStream(f); });
}

void TGraphic::ReadData(QIODevice& stream) { LoadFromStream(stream); }

void TGraphic::WriteData(QIODevice& stream) { SaveToStream(stream); }

bool PictureSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= 65535 && height <= 65535 && width * height <= MaxPicturePixels;
}

QImage OpaqueImage(const QImage& image)
{
    // Colours are kept as they are, whatever the alpha said.
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    out.reinterpretAsFormat(QImage::Format_RGB32);
    return out;
}

void DrawPictureImage(TCanvas* canvas, const TRect& rect, const QImage& image, bool withAlpha)
{
    if (!canvas || image.isNull() || rect.Width() == 0 || rect.Height() == 0)
        return;
    // A rectangle given right-to-left or bottom-to-top mirrors the picture.
    const bool flipX = rect.Width() < 0, flipY = rect.Height() < 0;
    const TRect target(std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
                       std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom));
    const QImage src = (flipX || flipY) ? image.mirrored(flipX, flipY) : image;
    const TRect source(0, 0, src.width(), src.height());
    if (!withAlpha) {
        canvas->DrawImage(target, src.hasAlphaChannel() ? OpaqueImage(src) : src, source);
        return;
    }
    canvas->PaintWith([&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(target.ToQRect(), src);
    });
}
