#pragma once
// TFImage: a one-line text shown as a picture drawn from its glyph outlines.
// The text is in Hint, the rotation (0, 90, 180, 270) in HelpContext and the
// automatic size ("1" or "0") in HelpKeyword, so the stream saves them as
// ordinary image properties; the font and the two drawing switches are its own.

#include "classlib/controls/image.h"
#include "classlib/graphics/font.h"

class TFImage : public TImage {
public:
    TV_CLASS_NAME(TFImage)
    explicit TFImage(TComponent* owner);
    ~TFImage() override;

    TFont* MFFont() const { return FMFFont.get(); }
    void SetMFFont(const TFont* font) { FMFFont->Assign(font); }
    // Smoothed glyph edges.
    bool Aliasing() const { return FAliasing; }
    void SetAliasing(bool v) { FAliasing = v; }
    // True: outlines only; false: filled glyphs.
    bool Filling() const { return FFilling; }
    void SetFilling(bool v) { FFilling = v; }

private:
    std::unique_ptr<TFont> FMFFont;
    bool FAliasing = false;
    bool FFilling = false;
};
