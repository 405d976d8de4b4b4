#pragma once
// Texts that the catalogue window inserts into the design.

#include <QString>
#include <QStringList>

class TCDDBEntry;

// The track list: "1. title", "2. title", ..., each line ended by CR LF.
QString TrackListText(const QStringList& titles);
// The artist and the disc title joined by " - ".
QString DiscTitleText(const TCDDBEntry& record);
