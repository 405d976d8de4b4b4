#pragma once
// Disc records: what is known of one audio disc (titles, artist, track titles,
// CDDB category, disc id), filled from a server reply, by hand or from the catalogue.

#include "classlib/component.h"

#include <QString>
#include <QStringList>
#include <memory>

class TCDInfo;
class TDBConnection;

class TCDDBEntry : public TObject {
public:
    TV_CLASS_NAME(TCDDBEntry)
    TCDDBEntry() = default;
    TCDDBEntry(const TCDDBEntry&) = delete;
    TCDDBEntry& operator=(const TCDDBEntry&) = delete;

    QString CDTitle;
    QString ArtistTitle;
    QStringList Tracks;
    QString Category;
    QString DiscId;

    // Every reader and writer of the track titles goes through here, so that a
    // catalogue record loads its titles on first use.
    virtual QStringList& GetTracks();

    // Words are separated by single blanks; skips `skip` words, then returns the next
    // word, or with keepRest everything that is left.
    static QString ExtractWord(const QString& text, int skip, bool keepRest);
    // Fills the record from the lines of a CDDB read reply (status line first).
    void ParseCDDBEntry(const QStringList& lines, const QString& id);
    // A disc the server does not know: "Unknown" titles and "Track 1" ... "Track N".
    void FillUnknownEntry(TCDInfo& reader);
    // Lets the user edit the titles in the entry dialog; true on OK.
    bool EditCDEntry();
};

// A record read from the disc catalogue, which loads its track titles from there.
class TAccessDBEntry : public TCDDBEntry {
public:
    TV_CLASS_NAME(TAccessDBEntry)
    // The catalogue connection the record was read through; empty until Find.
    std::shared_ptr<TDBConnection> Connection;

    QStringList& GetTracks() override;
    void LoadTracks();
};
