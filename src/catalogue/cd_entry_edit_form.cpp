#include "catalogue/cd_entry_edit_form.h"

#include <algorithm>

TCDEntryEditForm::TCDEntryEditForm(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("CDEntryEditForm"));
    SetCaption(QStringLiteral("Editace CD"));
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientSize(328, 216);

    Label1 = Placed(new TLabel(this), "Label1", this, 8, 12, 32, 13);
    Label1->SetCaption(QStringLiteral("Název"));

    CDTitleEdit = Placed(new TEdit(this), "CDTitleEdit", this, 48, 8, 272, 21);

    Label2 = Placed(new TLabel(this), "Label2", this, 8, 38, 32, 13);
    Label2->SetCaption(QStringLiteral("Autor"));

    ArtistTitleEdit = Placed(new TEdit(this), "ArtistTitleEdit", this, 48, 34, 272, 21);

    TracksGrid = Placed(new TStringGrid(this), "TracksGrid", this, 8, 62, 312, 114);
    TracksGrid->SetColCount(2);
    TracksGrid->SetRowCount(2);
    TracksGrid->SetFixedCols(1);
    TracksGrid->SetFixedRows(1);
    TracksGrid->SetDefaultRowHeight(20);
    TracksGrid->SetColWidths(0, 40);
    TracksGrid->SetColWidths(1, 269);
    TracksGrid->SetOptions(goEditing);
    TracksGrid->SetCells(0, 0, QStringLiteral("Stopa"));
    TracksGrid->SetCells(1, 0, QStringLiteral("Název"));

    OKButton = Placed(new TButton(this), "OKButton", this, 164, 184, 75, 25);
    OKButton->SetCaption(QStringLiteral("OK"));
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrOk);
    OKButton->OnClick = [this](TComponent* s) { OKButtonClick(s); };

    Button2 = Placed(new TButton(this), "Button2", this, 245, 184, 75, 25);
    Button2->SetCaption(QStringLiteral("Storno"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);
}

void TCDEntryEditForm::SetTracks(const QStringList& titles)
{
    // A grid keeps at least one row below its fixed row, so an empty list
    // leaves one blank row, which Tracks() does not report.
    TracksGrid->SetRowCount(std::max(2, static_cast<int>(titles.size()) + 1));
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        TracksGrid->SetCells(0, row, QString::number(row));
        TracksGrid->SetCells(1, row, titles[i]);
    }
    if (titles.isEmpty()) {
        TracksGrid->SetCells(0, 1, QString());
        TracksGrid->SetCells(1, 1, QString());
    }
    FTrackCount = static_cast<int>(titles.size());
}

QStringList TCDEntryEditForm::Tracks() const
{
    QStringList titles;
    for (int row = 1; row <= FTrackCount; ++row)
        titles.append(TracksGrid->Cells(1, row));
    return titles;
}

void TCDEntryEditForm::OKButtonClick(TComponent*)
{
    // A title still being typed counts.
    TracksGrid->CommitEdit();
}
