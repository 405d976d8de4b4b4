#include "skin/controls/skin_boxes.h"

#include "classlib/controls/std_controls.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/types.h"
#include "platform/window_info.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_props.h"
#include "skin/skin_data.h"

#include <QFontMetrics>

// ---------------------------------------------------------------- TSkinGroupBox

void TSkinGroupBox::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinControl::InitControl(form, skinData, canvas, setColor);
    if (dynamic_cast<TGroupBox*>(FControl))
        FCustomFlag = 1;
}

bool TSkinGroupBox::BeforeProc(TMessage& m)
{
    if (m.Msg == WM_PAINT && FCustomFlag == 1) {
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    }
    return TSkinControl::BeforeProc(m);
}

void TSkinGroupBox::DrawControl(QPainter& dc, const TRect& r)
{
    FCaption = ReadWindowText();
    if (FCaption.isEmpty() && FControl)
        FCaption = GetWideStrProp(FControl, QStringLiteral("Caption"));
    const TColor face = FaceColour();
    FillColor(dc, r, face);
    TFont font;
    if (FControl)
        font.Assign(FControl->Font());
    else
        font = FontOfWidget(FHwnd);
    const int h = QFontMetrics(font.ToQFont()).height();
    TCanvas canvas;
    canvas.BindPainter(&dc);
    canvas.SetFont(&font);
    if (FCustomFlag != 1) {
        canvas.Brush()->SetColor(face);
        canvas.FrameRect(r);
        canvas.FrameRect(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
    }
    canvas.Pen()->SetColor(FSkinData ? FSkinData->Colours.ButtonShadow : clBtnShadow);
    canvas.Pen()->SetWidth(1);
    canvas.Brush()->SetStyle(bsClear);
    canvas.RoundRect(1, h / 2 - 1, r.Width() - 1, r.Height() - 1, 5, 5);
    if (!FCaption.isEmpty()) {
        const bool right = (WindowLong(GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
        TRect box(0, 0, r.Width(), h);
        canvas.DrawText(FCaption, box, DT_EXPANDTABS | DT_CALCRECT | DT_SINGLELINE);
        const int w = box.Width();
        box = right ? TRect(r.Width() - 8 - w, 0, r.Width() - 8, h) : TRect(8, 0, 8 + w, h);
        FillColor(dc, box, face);
        SkinText(dc, font, FCaption, box, DT_EXPANDTABS | DT_SINGLELINE | (right ? DT_RIGHT : 0u) | RtlFlag());
    }
    canvas.Unbind();
    if (FCustomFlag == 1)
        if (auto* wc = dynamic_cast<TWinControl*>(FControl))
            wc->PaintControls(dc, QRect());
}

// ---------------------------------------------------------------- TSkinBox

void TSkinBox::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FSetColor = setColor;
    FControl = dynamic_cast<TControl*>(Owner());
    if (!FControl)
        return;
    JoinForm(form);
    if (setColor) {
        SwitchParentBackgroundOff();
        FSavedColor = FControl->Color();
        FControl->SetColor(FaceColour());
    }
    FAttached = true;
    FLifeState = lsAttached;
}

// ---------------------------------------------------------------- TSkinBoxH

bool TSkinBoxH::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        if (m.WParam && FHwnd)
            FillFace(*reinterpret_cast<QPainter*>(m.WParam), TRect(0, 0, FHwnd->width(), FHwnd->height()));
        m.Result = 0;
        return false;
    case WM_CTLCOLORSTATIC:
        CallOldProc(m);
        m.Result = FSkinData ? LParamOf(&FSkinData->SkinBrush) : 0;
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

// ---------------------------------------------------------------- TSkinSizer

bool TSkinSizer::BeforeProc(TMessage& m)
{
    // The grip lies over the corner of the dialog's last button: only its
    // ridges are drawn, from the skin when it has them, else its own.
    if (m.Msg == WM_PAINT && SkinGripCell(FSkinData) != 0) {
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    }
    return TSkinControl::BeforeProc(m);
}

void TSkinSizer::DrawControl(QPainter& dc, const TRect& r) { DrawSkinGrip(dc, r, FSkinData); }
