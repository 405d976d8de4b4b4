#include "catalogue/cddb_multiple_matches_form.h"

TCDDBMultipleMatchesForm::TCDDBMultipleMatchesForm(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("CDDBMultipleMatchesForm"));
    SetCaption(QStringLiteral("Multiple matches found"));
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientSize(279, 173);

    Label1 = new TLabel(this);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetParent(this);
    Label1->SetBounds(8, 8, 263, 13);
    Label1->SetCaption(QStringLiteral("Select the correct CD (if any)"));

    MatchesList = new TListBox(this);
    MatchesList->SetName(QStringLiteral("MatchesList"));
    MatchesList->SetParent(this);
    MatchesList->SetBounds(8, 26, 263, 108);
    MatchesList->OnClick = [this](TComponent* s) { MatchesListClick(s); };

    OKButton = new TButton(this);
    OKButton->SetName(QStringLiteral("OKButton"));
    OKButton->SetParent(this);
    OKButton->SetBounds(116, 142, 75, 25);
    OKButton->SetCaption(QStringLiteral("OK"));
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrOk);

    Button2 = new TButton(this);
    Button2->SetName(QStringLiteral("Button2"));
    Button2->SetParent(this);
    Button2->SetBounds(196, 142, 75, 25);
    Button2->SetCaption(QStringLiteral("Cancel"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);

    MatchesListClick(this);
}

void TCDDBMultipleMatchesForm::MatchesListClick(TComponent*)
{
    OKButton->SetEnabled(MatchesList->ItemIndex() >= 0);
}
