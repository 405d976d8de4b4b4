#pragma once
// TSpeedButton: a button without a window of its own, drawn by its parent.
// A flat one shows no frame until the mouse is over it, and lets what lies
// beneath show through.

#include "classlib/controls/control.h"

class TSpeedButton : public TGraphicControl {
public:
    TV_CLASS_NAME(TSpeedButton)
    explicit TSpeedButton(TComponent* owner);

    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // True while the left button is held on the control with the mouse over it.
    bool Pressed() const { return FPressed && FHot; }
    // True while the mouse is over the control.
    bool Hot() const { return FHot; }

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void TextChanged() override { Invalidate(); }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool FFlat = false;
    bool FTransparent = true;
    bool FPressed = false;
    bool FHot = false;
};
