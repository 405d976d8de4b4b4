#include "classlib/controls/speed_button.h"

#include "classlib/controls/ext_controls.h"

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 23;
    FHeight = 22;
}

void TSpeedButton::SetFlat(bool v)
{
    FFlat = v;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool v)
{
    FTransparent = v;
    Invalidate();
}

void TSpeedButton::WndProc(TMessage& m)
{
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        const bool hot = m.Msg == CM_MOUSEENTER;
        if (hot != FHot) {
            FHot = hot;
            Invalidate();
        }
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FPressed = true;
        FHot = HitTest(x, y);
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    const bool inside = HitTest(x, y);
    if (inside != FHot) {
        FHot = inside;
        Invalidate();
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FFlat || !FTransparent) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
    }
    const bool down = Pressed();
    if (!FFlat) {
        TRect f = r;
        if (down) {
            Frame3D(c, f, clBtnShadow, clBtnHighlight, 1);
        } else {
            Frame3D(c, f, clBtnHighlight, cl3DDkShadow, 1);
            Frame3D(c, f, clBtnFace, clBtnShadow, 1);
        }
    } else if (FHot && FEnabled) {
        TRect f = r;
        Frame3D(c, f, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow, 1);
    }
    TRect t = r;
    if (down)
        t = TRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    c->SetFont(Font());
    if (!FEnabled)
        c->Font()->SetColor(clGrayText);
    c->Brush()->SetStyle(bsClear);
    c->DrawText(FText, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
