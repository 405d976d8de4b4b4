#include "skin/controls/skin_checks.h"

void TSkinCheckGlyph::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    TSkinControl::InitControl(form, skinData, canvas, setColor);
}

void TSkinCheckGlyph::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    TSkinControl::InitHwnd(window, skinData, canvas, form);
}

bool TSkinCheckGlyph::BeforeProc(TMessage& m) { return TSkinControl::BeforeProc(m); }
void TSkinCheckGlyph::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TSkinCheckGlyph::DrawControl(QPainter&, const TRect&) {}
void TSkinCheckGlyph::CellLayout(const TRect& r, TRect& cell, TRect& text) const
{
    cell = r;
    text = r;
}
bool TSkinCheckGlyph::Disabled() const { return false; }

void TSkinCheckBox::AfterProc(TMessage& m) { TSkinCheckGlyph::AfterProc(m); }
int TSkinCheckBox::StateCell() const { return 0; }
const QImage* TSkinCheckBox::Strip() const { return nullptr; }
int TSkinCheckBox::StripFrames() const { return 0; }

int TSkinRadioButton::StateCell() const { return 0; }
const QImage* TSkinRadioButton::Strip() const { return nullptr; }
int TSkinRadioButton::StripFrames() const { return 0; }
