#include "catalogue/cddb_entry.h"

#include "catalogue/cd_database.h"
#include "catalogue/cd_info.h"
#include "disc_image.h"
#include "fake_dialogs.h"
#include "qt_print.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace TestSupport;

TEST(CDDBEntry, ExtractWord)
{
    const QString line = QStringLiteral("210 rock 0200B401 Some Artist / Some Album");
    EXPECT_EQ(TCDDBEntry::ExtractWord(line, 0, false), QStringLiteral("210"));
    EXPECT_EQ(TCDDBEntry::ExtractWord(line, 1, false), QStringLiteral("rock"));
    EXPECT_EQ(TCDDBEntry::ExtractWord(line, 3, true), QStringLiteral("Some Artist / Some Album"));
    EXPECT_EQ(TCDDBEntry::ExtractWord(line, 2, true), QStringLiteral("0200B401 Some Artist / Some Album"));
    EXPECT_EQ(TCDDBEntry::ExtractWord(QStringLiteral("word"), 0, false), QString());
    EXPECT_EQ(TCDDBEntry::ExtractWord(QStringLiteral("word"), 3, true), QStringLiteral("word"));
    // Two blanks in a row make an empty word.
    EXPECT_EQ(TCDDBEntry::ExtractWord(QStringLiteral("a  b c"), 1, false), QString());
    EXPECT_EQ(TCDDBEntry::ExtractWord(QStringLiteral("a  b c"), 2, false), QStringLiteral("b"));
    // The last word has no blank after it, so without keepRest it is not returned.
    EXPECT_EQ(TCDDBEntry::ExtractWord(QStringLiteral("a b"), 1, false), QString());
    EXPECT_EQ(TCDDBEntry::ExtractWord(QString(), 1, true), QString());
}

TEST(CDDBEntry, ParseSplitsTheDiscTitleAtTheFirstSlash)
{
    struct Case {
        const char* dtitle;
        const char* artist;
        const char* title;
    };
    const Case cases[] = {
        {"Some Artist / Some Album", "Some Artist", "Some Album"},
        {"A/B/C", "A", "B/C"},
        {"Sampler", "Sampler", "Sampler"},
        {" \tLeading / trailing \t", "Leading", "trailing"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        TCDDBEntry entry;
        entry.ParseCDDBEntry({QStringLiteral("210 rock 0200B401"), QStringLiteral("DTITLE=") + QString::fromUtf8(c.dtitle)},
                             QStringLiteral("0200B401"));
        EXPECT_EQ(entry.ArtistTitle, QString::fromUtf8(c.artist)) << c.dtitle;
        EXPECT_EQ(entry.CDTitle, QString::fromUtf8(c.title)) << c.dtitle;
    }
}

TEST(CDDBEntry, ParseReadsCategoryIdAndTrackLinesUpToTheFirstEmptyTitle)
{
    const QStringList reply = {
        QStringLiteral("210 rock 12345678 CD database entry follows (until terminating `.')"),
        QStringLiteral("# xmcd"),
        QStringLiteral("DISCID=12345678"),
        QStringLiteral("dtitle=Artist / Album"),
        QStringLiteral("DTITLE= continued"),
        QStringLiteral("TTITLE0=First"),
        QStringLiteral("ttitle1=Second = with equals"),
        QStringLiteral("TTITLE1=continuation ignored"),
        QStringLiteral("TTITLE2="),
        QStringLiteral("TTITLE3=Beyond the gap"),
        QStringLiteral("EXTD=YEAR: 1999"),
        QStringLiteral("."),
    };
    TCDDBEntry entry;
    entry.Tracks = {QStringLiteral("old")};
    entry.ParseCDDBEntry(reply, QStringLiteral("0200B401"));
    EXPECT_EQ(entry.Category, QStringLiteral("rock"));
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401")) << "the id computed from the disc wins";
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Artist"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Album"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("First"), QStringLiteral("Second = with equals")}));
}

TEST(CDDBEntry, ParseOfAnEmptyReplyLeavesEmptyTitles)
{
    TCDDBEntry entry;
    entry.CDTitle = QStringLiteral("old");
    entry.ParseCDDBEntry({}, QStringLiteral("0200B401"));
    EXPECT_TRUE(entry.CDTitle.isEmpty());
    EXPECT_TRUE(entry.Category.isEmpty());
    EXPECT_TRUE(entry.Tracks.isEmpty());
}

TEST(CDDBEntry, UnknownDiscGetsPlaceholderTitles)
{
    TCDInfo reader(nullptr, MakeCueImage(MakeTempDir(), QStringLiteral("u"), {150, 1000, 2000}, 150 + 180 * 75));
    TAccessDBEntry entry; // never read from the catalogue: no connection, no query
    entry.Tracks = {QStringLiteral("stale")};
    entry.FillUnknownEntry(reader);
    EXPECT_EQ(entry.DiscId, reader.DiscIdString());
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Unknown"));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Unknown"));
    EXPECT_EQ(entry.Tracks,
              QStringList({QStringLiteral("Track 1"), QStringLiteral("Track 2"), QStringLiteral("Track 3")}));
}

TEST(CDDBEntry, EditChangesTitlesInPlaceOnOkOnly)
{
    FakeCDDBDialogs dialogs;
    TCDDBEntry entry;
    entry.CDTitle = QStringLiteral("Album");
    entry.ArtistTitle = QStringLiteral("Artist");
    entry.Tracks = {QStringLiteral("One"), QStringLiteral("Two")};

    dialogs.Edit = [](QString& title, QString& artist, QStringList& tracks) {
        title = QStringLiteral("New album");
        artist = QStringLiteral("New artist");
        tracks[1] = QStringLiteral("Second");
        tracks.append(QStringLiteral("a row the dialog does not have"));
        return false;
    };
    EXPECT_FALSE(entry.EditCDEntry());
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Album"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("One"), QStringLiteral("Two")}));

    auto edit = dialogs.Edit;
    dialogs.Edit = [edit](QString& title, QString& artist, QStringList& tracks) {
        edit(title, artist, tracks);
        return true;
    };
    EXPECT_TRUE(entry.EditCDEntry());
    EXPECT_EQ(dialogs.ShownCDTitle, QStringLiteral("Album"));
    EXPECT_EQ(dialogs.ShownArtistTitle, QStringLiteral("Artist"));
    EXPECT_EQ(dialogs.ShownTracks, QStringList({QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("New album"));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("New artist"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("One"), QStringLiteral("Second")}))
        << "the number of titles never changes";
}

TEST(CDDBEntry, EditWithoutDialogsCountsAsCancelled)
{
    TCDDBEntry entry;
    entry.CDTitle = QStringLiteral("Album");
    EXPECT_FALSE(entry.EditCDEntry());
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Album"));
}

TEST(AccessDBEntry, LoadsItsTitlesFromTheCatalogueOnceAndOnlyIntoAnEmptyList)
{
    TCDDatabase db(nullptr, MakeTempDir());
    TCDDBEntry stored;
    stored.DiscId = QStringLiteral("0200B401");
    stored.CDTitle = QStringLiteral("Album");
    stored.ArtistTitle = QStringLiteral("Artist");
    stored.Tracks = {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};
    db.Add(stored);

    TAccessDBEntry entry;
    ASSERT_TRUE(db.Find(QStringLiteral("0200B401"), entry));
    EXPECT_TRUE(entry.Tracks.isEmpty()) << "Find leaves the titles to GetTracks";
    EXPECT_EQ(entry.GetTracks(), stored.Tracks);

    // Later changes in the database do not reach a list already loaded.
    db.Connection()->Execute(QStringLiteral("UPDATE Track SET TrackTitle = 'changed'"));
    EXPECT_EQ(entry.GetTracks(), stored.Tracks);

    // A list that already holds titles is never replaced.
    TAccessDBEntry edited;
    ASSERT_TRUE(db.Find(QStringLiteral("0200B401"), edited));
    edited.Tracks = {QStringLiteral("Mine")};
    EXPECT_EQ(edited.GetTracks(), QStringList({QStringLiteral("Mine")}));
}
