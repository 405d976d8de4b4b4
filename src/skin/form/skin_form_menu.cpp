#include "skin/form/skin_form.h"
#include "skin/form/skin_menu_bar.h"

// ---------------------------------------------------------------------------
// The form's side of its skinned menu bar: opening items, the keyboard and the
// owner-drawn items of its menus.

void TWinSkinForm::MenuBarClickAt(TMessage& m) { CallPrevious(m); }

void TWinSkinForm::HandleMenuAccel(TMessage& m) { m.Result = 0; }

void TWinSkinForm::TrackMenuButton(TNCObject*) {}

TNCObject* TWinSkinForm::FindMenuAccel(int) { return nullptr; }

void TWinSkinForm::OwnerDrawMenuItem(TMessage& m) { CallPrevious(m); }

void TWinSkinForm::MakeMenusOwnerDraw(bool) {}
