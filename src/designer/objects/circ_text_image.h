#pragma once
// TCFImage: a one-line text written along a circle. The text is in Hint and
// the circle (centre x, centre y, radius, angle) in HelpKeyword as a
// parameter string; the picture's canvas font draws it and MFFont keeps the
// copy that is saved.

#include "classlib/controls/image.h"
#include "classlib/graphics/font.h"

class TCFImage : public TImage {
public:
    TV_CLASS_NAME(TCFImage)
    explicit TCFImage(TComponent* owner);
    ~TCFImage() override;

    TFont* MFFont() const { return FMFFont.get(); }
    void SetMFFont(const TFont* font) { FMFFont->Assign(font); }

private:
    std::unique_ptr<TFont> FMFFont;
};
