#pragma once
// The disc lookup's two dialogs, supplied by the window layer: the multiple-matches
// dialog ("Multiple matches found") and the entry dialog ("Editace CD"). Without
// dialogs every question counts as cancelled.

#include <QString>
#include <QStringList>

class TComponent;

class TCDDBDialogs {
public:
    virtual ~TCDDBDialogs() = default;
    // Shows the candidate discs; returns the index of the chosen one, or -1.
    virtual int ChooseMatch(TComponent* owner, const QStringList& matches) = 0;
    // Shows the titles for editing; on OK returns true with the edited texts in the
    // arguments (one title per track, in track order).
    virtual bool EditCDEntry(QString& cdTitle, QString& artistTitle, QStringList& tracks) = 0;
};

// The dialogs in use (not owned); nullptr when none.
TCDDBDialogs* CDDBDialogs();
void SetCDDBDialogs(TCDDBDialogs* dialogs);
