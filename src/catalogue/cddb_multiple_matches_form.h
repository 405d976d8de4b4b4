#pragma once
// The dialog in which the user picks one of the discs a lookup server offers.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TCDDBMultipleMatchesForm : public TForm {
public:
    TV_CLASS_NAME(TCDDBMultipleMatchesForm)
    explicit TCDDBMultipleMatchesForm(TComponent* owner);

    TLabel* Label1 = nullptr;
    TListBox* MatchesList = nullptr;
    TButton* OKButton = nullptr;
    TButton* Button2 = nullptr;

    // OK only with a disc chosen.
    void MatchesListClick(TComponent* sender);
};
