#pragma once
// The disc lookup's questions asked in the dialog windows: the multiple-matches
// dialog and the entry dialog.

#include "catalogue/cddb_dialogs.h"

class TCDDBWindowDialogs : public TCDDBDialogs {
public:
    int ChooseMatch(TComponent* owner, const QStringList& matches) override;
    bool EditCDEntry(QString& cdTitle, QString& artistTitle, QStringList& tracks) override;
};

// The one instance, for SetCDDBDialogs.
TCDDBDialogs* CDDBWindowDialogs();
