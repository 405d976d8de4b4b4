#pragma once
// Check boxes and radio buttons of other control families that draw their
// glyph from a picture of their own ("CustomGlyphs", with "UseCustomGlyphs"
// and "TransparentColor", on the control or its "Properties"): the picture
// becomes the skin's check or radio strip while skinned, and the control's
// own comes back at restore. The control keeps its procedure.

#include "skin/controls/skin_control.h"

#include <QImage>

class TSkinObjImage : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinObjImage)
    using TSkinControl::TSkinControl;
    ~TSkinObjImage() override;

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void Restore() override;
    void ApplyColor() override;
    // Radio buttons take the radio strip, the others the check strip.
    bool Radio() const;

private:
    // The object carrying the glyph properties: the control's "Properties", else the control.
    TObject* Target() const;
    void AssignStrip();
    bool FAssigned = false;
    QImage FSavedGlyph;
    QString FSavedUse;
    QString FSavedTransparent;
};
