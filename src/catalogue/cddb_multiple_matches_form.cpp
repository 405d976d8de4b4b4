#include "catalogue/cddb_multiple_matches_form.h"

TCDDBMultipleMatchesForm::TCDDBMultipleMatchesForm(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("CDDBMultipleMatchesForm"));
    SetCaption(QStringLiteral("Multiple matches found"));
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientSize(279, 173);

    Label1 = Placed(new TLabel(this), "Label1", this, 8, 8, 263, 13);
    Label1->SetCaption(QStringLiteral("Select the correct CD (if any)"));

    MatchesList = Placed(new TListBox(this), "MatchesList", this, 8, 26, 263, 108);
    MatchesList->OnClick = [this](TComponent* s) { MatchesListClick(s); };

    OKButton = Placed(new TButton(this), "OKButton", this, 116, 142, 75, 25);
    OKButton->SetCaption(QStringLiteral("OK"));
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrOk);

    Button2 = Placed(new TButton(this), "Button2", this, 196, 142, 75, 25);
    Button2->SetCaption(QStringLiteral("Cancel"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);

    MatchesListClick(this);
}

void TCDDBMultipleMatchesForm::MatchesListClick(TComponent*)
{
    OKButton->SetEnabled(MatchesList->ItemIndex() >= 0);
}
