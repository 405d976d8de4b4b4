#pragma once
// Image lists: small pictures of one size (tool-bar glyphs, layer icons).

#include "classlib/component.h"
#include "classlib/graphics/canvas.h"

#include <QImage>
#include <vector>

class TImageList : public TComponent {
public:
    TV_CLASS_NAME(TImageList)
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }
    // Adds a picture; pixels of the mask colour become transparent (clNone: none).
    int AddImage(const QImage& image, TColor maskColor = clNone);
    // Splits a strip of pictures of the list's width into several.
    int AddStrip(const QImage& strip, TColor maskColor = clNone);
    void Clear() { FImages.clear(); }
    const QImage& Image(int index) const { return FImages.at(static_cast<size_t>(index)); }
    // Draws a picture; a disabled one is drawn greyed.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

private:
    int FWidth, FHeight;
    std::vector<QImage> FImages;
};
