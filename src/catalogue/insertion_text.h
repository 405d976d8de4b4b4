#pragma once
// Texts that the catalogue window inserts into the design.

#include <QString>
#include <QStringList>

class TCDDBEntry;

// The longest artist, disc or track title that goes into the design whole. A
// server may send titles of megabytes; a text object that long is wider than
// any label (and past what text measuring can count, which leaves it 0 wide).
inline constexpr int MaxInsertedTitleLength = 255;

// The title, or its beginning ended by an ellipsis, at most the length above.
QString FitTitle(const QString& title);

// The track list: "1. title", "2. title", ..., each line ended by CR LF.
QString TrackListText(const QStringList& titles);
// The artist and the disc title joined by " - ".
QString DiscTitleText(const TCDDBEntry& record);
