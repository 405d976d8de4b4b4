#pragma once
// The dialog in which the user edits a disc's title, artist and track titles.

#include "classlib/controls/std_controls.h"
#include "classlib/controls/string_grid.h"
#include "classlib/forms/form.h"

class TCDEntryEditForm : public TForm {
public:
    TV_CLASS_NAME(TCDEntryEditForm)
    explicit TCDEntryEditForm(TComponent* owner);

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* CDTitleEdit = nullptr;
    TEdit* ArtistTitleEdit = nullptr;
    TStringGrid* TracksGrid = nullptr;
    TButton* OKButton = nullptr;
    TButton* Button2 = nullptr;

    // One row per title, numbered from 1 in the first column.
    void SetTracks(const QStringList& titles);
    // The titles as the grid holds them, in track order.
    QStringList Tracks() const;

    void OKButtonClick(TComponent* sender);

private:
    int FTrackCount = 0;
};
