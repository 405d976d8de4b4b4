#include "catalogue/cddb_window_dialogs.h"

#include "catalogue/cd_entry_edit_form.h"
#include "catalogue/cddb_multiple_matches_form.h"

#include <memory>

int TCDDBWindowDialogs::ChooseMatch(TComponent* owner, const QStringList& matches)
{
    std::unique_ptr<TCDDBMultipleMatchesForm> form(new TCDDBMultipleMatchesForm(owner));
    for (const QString& match : matches)
        form->MatchesList->Items()->Add(match);
    if (form->ShowModal() != mrOk)
        return -1;
    return form->MatchesList->ItemIndex();
}

bool TCDDBWindowDialogs::EditCDEntry(QString& cdTitle, QString& artistTitle, QStringList& tracks)
{
    std::unique_ptr<TCDEntryEditForm> form(new TCDEntryEditForm(nullptr));
    form->CDTitleEdit->SetText(cdTitle);
    form->ArtistTitleEdit->SetText(artistTitle);
    form->SetTracks(tracks);
    if (form->ShowModal() != mrOk)
        return false;
    cdTitle = form->CDTitleEdit->Text();
    artistTitle = form->ArtistTitleEdit->Text();
    tracks = form->Tracks();
    return true;
}

TCDDBDialogs* CDDBWindowDialogs()
{
    static TCDDBWindowDialogs dialogs;
    return &dialogs;
}
