#include "classlib/controls/image_list.h"

#include <QPainter>

TImageList::TImageList(TComponent* owner, int width, int height) : TComponent(owner), FWidth(width), FHeight(height) {}

void TImageList::SetSize(int width, int height)
{
    FWidth = width;
    FHeight = height;
    FImages.clear();
}

int TImageList::AddImage(const QImage& image, TColor maskColor)
{
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    if (img.width() != FWidth || img.height() != FHeight)
        img = img.copy(0, 0, FWidth, FHeight);
    if (maskColor != clNone) {
        const QRgb key = ToQColor(maskColor).rgb() & 0xFFFFFF;
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
    }
    FImages.push_back(img);
    return Count() - 1;
}

int TImageList::AddStrip(const QImage& strip, TColor maskColor)
{
    int first = -1;
    for (int x = 0; x + FWidth <= strip.width(); x += FWidth) {
        const int i = AddImage(strip.copy(x, 0, FWidth, FHeight), maskColor);
        if (first < 0)
            first = i;
    }
    return first;
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const
{
    if (!canvas || index < 0 || index >= Count())
        return;
    QPainter* p = canvas->Handle();
    if (!p)
        return;
    const QImage& img = FImages[static_cast<size_t>(index)];
    if (enabled) {
        p->drawImage(x, y, img);
        return;
    }
    // Disabled: an embossed grey silhouette.
    QImage grey = img;
    for (int yy = 0; yy < grey.height(); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(yy));
        for (int xx = 0; xx < grey.width(); ++xx) {
            const int g = qGray(line[xx]);
            line[xx] = qAlpha(line[xx]) ? qRgba(128 + g / 4, 128 + g / 4, 128 + g / 4, qAlpha(line[xx])) : 0;
        }
    }
    p->drawImage(x, y, grey);
}
