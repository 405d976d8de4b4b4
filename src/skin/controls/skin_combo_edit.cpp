#include "skin/controls/skin_combo_edit.h"

bool GetComboBoxInfo(HWND, COMBOBOXINFO&) { return false; }

TSkinComBox::~TSkinComBox() = default;
void TSkinComBox::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    TSkinControl::InitControl(form, skinData, canvas, setColor);
}
void TSkinComBox::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    TSkinControl::InitHwnd(window, skinData, canvas, form);
}
void TSkinComBox::Restore() { TSkinControl::Restore(); }
void TSkinComBox::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TSkinComBox::DrawControl(QPainter&, const TRect&) {}
int TSkinComBox::ButtonFrame() const { return 1; }
void TSkinComBox::SubclassEdit() {}
void TSkinComBox::UnsubclassEdit() {}
void TSkinComBox::EditProc(TMessage&) {}
void TSkinComBox::FreeListSkinners() {}

void TSkinEdit::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TSkinEdit::DrawControl(QPainter&, const TRect&) {}
