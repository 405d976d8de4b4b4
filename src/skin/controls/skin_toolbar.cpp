#include "skin/controls/skin_toolbar.h"

#include "classlib/graphics/canvas.h"
#include "skin/form/skin_form.h"
#include "skin/skin_data.h"

int ToolButtonFrame(TCustomDrawState state)
{
    if (state & cdsSelected)
        return 2;
    if (state & (cdsFocused | cdsHot))
        return 4;
    if (state & (cdsGrayed | cdsDisabled))
        return 0;
    if (state & cdsDefault)
        return 1;
    return 0;
}

void SkinToolbarPainter(const TWinSkinForm* form, const TSkinData* data, TToolButton* button, TCanvas* canvas,
                        TCustomDrawState state, bool& defaultDraw)
{
    if (!form || !data || !button || !canvas || form->State() != TWinSkinForm::stSkinned)
        return;
    const TDataSkinObject* e = data->ToolBars.get();
    if (!HasSkinImage(e))
        return;
    const int frame = ToolButtonFrame(state);
    if (frame == 0)
        return;
    const int colour = frame == 1 ? e->NormalColour : frame == 2 ? e->PressedColour : e->MouseOverColour;
    if (colour != -1)
        canvas->Font()->SetColor(static_cast<TColor>(colour));
    QPainter* p = canvas->Handle();
    if (!p)
        return;
    const TRect c = button->ClientRect();
    DrawSkinPart(*p, TRect(c.Left + 1, c.Top + 1, c.Right - 1, c.Bottom - 1), e, frame);
    defaultDraw = false;
}

TSkinToolBar::~TSkinToolBar() { GiveBackHandler(); }

void TSkinToolBar::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinBox::InitControl(form, skinData, canvas, setColor);
    auto* bar = dynamic_cast<TToolBar*>(FControl);
    if (!Attached() || !bar)
        return;
    FSavedHandler = bar->OnCustomDrawButton;
    bar->OnCustomDrawButton = [this](TToolBar*, TToolButton* button, TCanvas* c, TCustomDrawState state, bool& dflt) {
        SkinToolbarPainter(FSkinForm, FSkinData, button, c, state, dflt);
    };
    FHooked = true;
    bar->Invalidate();
}

void TSkinToolBar::Restore()
{
    GiveBackHandler();
    TSkinBox::Restore();
}

void TSkinToolBar::GiveBackHandler()
{
    if (!FHooked)
        return;
    FHooked = false;
    // A tool bar that frees us while it goes has lost its handler already.
    if (auto* bar = dynamic_cast<TToolBar*>(FControl); bar && !bar->IsDestroying()) {
        bar->OnCustomDrawButton = FSavedHandler;
        bar->Invalidate();
    }
    FSavedHandler = nullptr;
}
