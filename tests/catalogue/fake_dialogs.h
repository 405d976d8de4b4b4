#pragma once
// Stand-ins for the lookup's two dialogs: they record what they were shown and
// answer as the test says. Installed for the lifetime of the object.
#include "catalogue/cddb_dialogs.h"

#include <functional>

class FakeCDDBDialogs : public TCDDBDialogs {
public:
    FakeCDDBDialogs() { SetCDDBDialogs(this); }
    ~FakeCDDBDialogs() override { SetCDDBDialogs(nullptr); }

    // The match to pick, -1 for Cancel.
    int Choice = -1;
    // Edits the entry dialog's fields; returns false for Storno.
    std::function<bool(QString&, QString&, QStringList&)> Edit;

    int ChooseCalls = 0;
    QStringList ShownMatches;
    TComponent* ShownOwner = nullptr;
    int EditCalls = 0;
    QString ShownCDTitle;
    QString ShownArtistTitle;
    QStringList ShownTracks;

    int ChooseMatch(TComponent* owner, const QStringList& matches) override
    {
        ++ChooseCalls;
        ShownOwner = owner;
        ShownMatches = matches;
        return Choice;
    }
    bool EditCDEntry(QString& cdTitle, QString& artistTitle, QStringList& tracks) override
    {
        ++EditCalls;
        ShownCDTitle = cdTitle;
        ShownArtistTitle = artistTitle;
        ShownTracks = tracks;
        return Edit ? Edit(cdTitle, artistTitle, tracks) : false;
    }
};
