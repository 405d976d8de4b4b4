#include "catalogue/cd_database.h"

#include "catalogue/cddb_entry.h"
#include "catalogue/db_connection.h"
#include "qt_print.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <functional>

using namespace TestSupport;

namespace {

void Store(TCDDatabase& db, const QString& id, const QString& artist, const QString& title,
           const QStringList& tracks = {})
{
    TCDDBEntry entry;
    entry.DiscId = id;
    entry.ArtistTitle = artist;
    entry.CDTitle = title;
    entry.Tracks = tracks;
    db.Add(entry);
}

int Rows(TCDDatabase& db, const QString& table, const QString& id)
{
    return db.Connection()
        ->Query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CDID = ?").arg(table), {id})
        .Rows.front()
        .value(0)
        .toInt();
}

QStringList StoredTitles(TCDDatabase& db, const QString& id)
{
    QStringList titles;
    const auto result = db.Connection()->Query(
        QStringLiteral("SELECT TrackNumber, TrackTitle FROM Track WHERE CDID = ? ORDER BY TrackNumber"), {id});
    for (const auto& row : result.Rows)
        titles.append(row.value(0).toString() + QLatin1Char(':') + row.value(1).toString());
    return titles;
}

} // namespace

TEST(CDDatabase, FirstStartCreatesTheFileWithBothTables)
{
    const QString dir = MakeTempDir();
    TCDDatabase db(nullptr, dir);
    EXPECT_EQ(db.FileName(), dir + QStringLiteral("/CDLibrary.mdb"));
    EXPECT_TRUE(QFile::exists(db.FileName()));
    EXPECT_TRUE(db.IdList().isEmpty());
    EXPECT_EQ(db.Count(), 0);
    const auto tables = db.Connection()->Query(
        QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    ASSERT_EQ(tables.Rows.size(), 2u);
    EXPECT_EQ(tables.Rows[0].value(0).toString(), QStringLiteral("Recording"));
    EXPECT_EQ(tables.Rows[1].value(0).toString(), QStringLiteral("Track"));
    EXPECT_TRUE(tables.Rows[1].value(1).toString().contains(QStringLiteral("PRIMARY KEY (CDID, TrackNumber)")));
}

TEST(CDDatabase, DefaultFolderIsTheProgramsFolder)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/CDLibrary.mdb");
    const bool existed = QFile::exists(path);
    {
        TCDDatabase db(nullptr);
        EXPECT_EQ(db.FileName(), path);
    }
    if (!existed)
        QFile::remove(path);
}

TEST(CDDatabase, AddFindAndCount)
{
    TCDDatabase db(nullptr, MakeTempDir());
    Store(db, QStringLiteral("0200B401"), QStringLiteral("Artist"), QStringLiteral("Album"),
          {QStringLiteral("One"), QStringLiteral("Two")});
    EXPECT_EQ(db.Count(), 1);
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("0200B401")}));
    EXPECT_EQ(StoredTitles(db, QStringLiteral("0200B401")),
              QStringList({QStringLiteral("1:One"), QStringLiteral("2:Two")}));

    TAccessDBEntry entry;
    ASSERT_TRUE(db.Find(QStringLiteral("0200B401"), entry));
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401"));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Artist"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Album"));
    EXPECT_EQ(entry.Connection, db.Connection());

    TAccessDBEntry other;
    other.CDTitle = QStringLiteral("as it was");
    EXPECT_FALSE(db.Find(QStringLiteral("FFFFFFFF"), other));
    EXPECT_EQ(other.CDTitle, QStringLiteral("as it was"));
    EXPECT_TRUE(other.DiscId.isEmpty());
    EXPECT_FALSE(other.Connection);
}

TEST(CDDatabase, ValuesAreBoundNotPastedIntoTheStatement)
{
    TCDDatabase db(nullptr, MakeTempDir());
    const QString nasty = QStringLiteral("O'Brien'); DROP TABLE Track; --");
    Store(db, QStringLiteral("1234ABCD"), nasty, QStringLiteral("Čechomor – Proměny"), {nasty});
    TAccessDBEntry entry;
    ASSERT_TRUE(db.Find(QStringLiteral("1234ABCD"), entry));
    EXPECT_EQ(entry.ArtistTitle, nasty);
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Čechomor – Proměny"));
    EXPECT_EQ(entry.GetTracks(), QStringList({nasty}));
    EXPECT_FALSE(db.Find(QStringLiteral("' OR '1'='1"), entry));
    db.Delete(QStringLiteral("' OR '1'='1"));
    EXPECT_EQ(db.Count(), 1);
}

TEST(CDDatabase, OpeningListsByArtistThenTitleAndAdditionsGoLast)
{
    const QString dir = MakeTempDir();
    {
        TCDDatabase db(nullptr, dir);
        Store(db, QStringLiteral("00000001"), QStringLiteral("B"), QStringLiteral("x"));
        Store(db, QStringLiteral("00000002"), QStringLiteral("a"), QStringLiteral("z"));
        Store(db, QStringLiteral("00000003"), QStringLiteral("A"), QStringLiteral("y"));
        Store(db, QStringLiteral("00000004"), QStringLiteral("C"), QStringLiteral("w"));
        EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("00000001"), QStringLiteral("00000002"),
                                            QStringLiteral("00000003"), QStringLiteral("00000004")}));
    }
    TCDDatabase db(nullptr, dir);
    // Letter case does not split the artists: "A" and "a" sort together, then by title.
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("00000003"), QStringLiteral("00000002"),
                                        QStringLiteral("00000001"), QStringLiteral("00000004")}));
    Store(db, QStringLiteral("00000005"), QStringLiteral("0 first by name"), QStringLiteral("t"));
    EXPECT_EQ(db.IdList().last(), QStringLiteral("00000005"));
    TAccessDBEntry entry;
    db.GetEntry(0, entry);
    EXPECT_EQ(entry.CDTitle, QStringLiteral("y"));
    EXPECT_THROW(db.GetEntry(5, entry), EDatabaseError);
    EXPECT_THROW(db.GetEntry(-1, entry), EDatabaseError);
}

TEST(CDDatabase, DeleteRemovesTheDiscAndItsTracks)
{
    TCDDatabase db(nullptr, MakeTempDir());
    Store(db, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"), {QStringLiteral("t1")});
    Store(db, QStringLiteral("00000002"), QStringLiteral("B"), QStringLiteral("b"),
          {QStringLiteral("t1"), QStringLiteral("t2")});
    db.Delete(QStringLiteral("00000002"));
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("00000001")}));
    EXPECT_EQ(Rows(db, QStringLiteral("Recording"), QStringLiteral("00000002")), 0);
    EXPECT_EQ(Rows(db, QStringLiteral("Track"), QStringLiteral("00000002")), 0);
    EXPECT_EQ(Rows(db, QStringLiteral("Track"), QStringLiteral("00000001")), 1);
}

TEST(CDDatabase, UpdateRenumbersTitlesFromOneAndMovesTheDiscToTheEnd)
{
    TCDDatabase db(nullptr, MakeTempDir());
    Store(db, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"),
          {QStringLiteral("t1"), QStringLiteral("t2")});
    Store(db, QStringLiteral("00000002"), QStringLiteral("B"), QStringLiteral("b"));

    TAccessDBEntry entry;
    ASSERT_TRUE(db.GetEntry(0, entry));
    entry.GetTracks()[1] = QStringLiteral("second");
    entry.CDTitle = QStringLiteral("edited");
    db.Update(entry);
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("00000002"), QStringLiteral("00000001")}));
    EXPECT_EQ(StoredTitles(db, QStringLiteral("00000001")),
              QStringList({QStringLiteral("1:t1"), QStringLiteral("2:second")}));
    EXPECT_EQ(db.Count(), 2);
    TAccessDBEntry again;
    ASSERT_TRUE(db.Find(QStringLiteral("00000001"), again));
    EXPECT_EQ(again.CDTitle, QStringLiteral("edited"));
}

TEST(CDDatabase, UpdateOfARecordWhoseTitlesWereNotLoadedYetKeepsThem)
{
    TCDDatabase db(nullptr, MakeTempDir());
    Store(db, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"),
          {QStringLiteral("t1"), QStringLiteral("t2")});
    TAccessDBEntry entry;
    ASSERT_TRUE(db.Find(QStringLiteral("00000001"), entry));
    entry.CDTitle = QStringLiteral("renamed");
    db.Update(entry);
    EXPECT_EQ(StoredTitles(db, QStringLiteral("00000001")),
              QStringList({QStringLiteral("1:t1"), QStringLiteral("2:t2")}));
}

TEST(CDDatabase, FailedAddLeavesNothingBehind)
{
    TCDDatabase db(nullptr, MakeTempDir());
    // A stray title row makes the second title of the new disc collide.
    db.Connection()->Execute(QStringLiteral("INSERT INTO Track (CDID, TrackNumber, TrackTitle) VALUES (?, ?, ?)"),
                             {QStringLiteral("0200B401"), 2, QStringLiteral("stray")});
    TCDDBEntry entry;
    entry.DiscId = QStringLiteral("0200B401");
    entry.CDTitle = QStringLiteral("Album");
    entry.Tracks = {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};
    EXPECT_THROW(db.Add(entry), EDatabaseError);
    EXPECT_EQ(Rows(db, QStringLiteral("Recording"), QStringLiteral("0200B401")), 0);
    EXPECT_EQ(StoredTitles(db, QStringLiteral("0200B401")), QStringList({QStringLiteral("2:stray")}));
    EXPECT_TRUE(db.IdList().isEmpty());
    EXPECT_FALSE(db.Connection()->InTransaction());

    // A second disc with a stored id is refused and the first stays whole.
    db.Connection()->Execute(QStringLiteral("DELETE FROM Track"));
    db.Add(entry);
    entry.CDTitle = QStringLiteral("Duplicate");
    EXPECT_THROW(db.Add(entry), EDatabaseError);
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("0200B401")}));
    TAccessDBEntry stored;
    ASSERT_TRUE(db.Find(QStringLiteral("0200B401"), stored));
    EXPECT_EQ(stored.CDTitle, QStringLiteral("Album"));
    EXPECT_EQ(stored.GetTracks().size(), 3);
}

TEST(CDDatabase, FailedUpdateKeepsTheDiscAsItWas)
{
    TCDDatabase db(nullptr, MakeTempDir());
    Store(db, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"), {QStringLiteral("t1")});
    Store(db, QStringLiteral("00000002"), QStringLiteral("B"), QStringLiteral("b"));
    // Make the insert of the new rows fail after the old ones are gone.
    db.Connection()->Execute(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON Recording BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    TAccessDBEntry entry;
    ASSERT_TRUE(db.Find(QStringLiteral("00000001"), entry));
    entry.CDTitle = QStringLiteral("edited");
    EXPECT_THROW(db.Update(entry), EDatabaseError);
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("00000001"), QStringLiteral("00000002")}));
    TAccessDBEntry stored;
    ASSERT_TRUE(db.Find(QStringLiteral("00000001"), stored));
    EXPECT_EQ(stored.CDTitle, QStringLiteral("a"));
    EXPECT_EQ(stored.GetTracks(), QStringList({QStringLiteral("t1")}));
}

TEST(CDDatabase, TwoCataloguesOnOneFile)
{
    const QString dir = MakeTempDir();
    TCDDatabase main(nullptr, dir);
    TCDDatabase window(nullptr, dir);
    Store(window, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"));
    EXPECT_EQ(main.Count(), 1);
    EXPECT_TRUE(main.IdList().isEmpty()) << "each catalogue keeps its own list";
}

TEST(CDDatabase, AFileThatIsNoDatabaseIsReportedAndKept)
{
    const QString dir = MakeTempDir();
    const QString path = dir + QStringLiteral("/CDLibrary.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray junk(4096, 'j');
    file.write(junk);
    file.close();
    try {
        TCDDatabase db(nullptr, dir);
        FAIL() << "a file of junk is no catalogue";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Fault(), TDatabaseFault::Damaged);
        EXPECT_EQ(e.Message(), QStringLiteral("Katalog disků „%1“ nelze použít: soubor je poškozený.").arg(path));
    }
    EXPECT_EQ(ReadFile(path), junk);
}

// What the user is told of a catalogue file that cannot be used: its name and
// why, in words of the program's language, without the database's statements.
TEST(CDDatabase, ALockedFileIsToldAsLockedAndWorksOnceTheLockIsGone)
{
    const QString dir = MakeTempDir();
    const QString path = dir + QStringLiteral("/CDLibrary.mdb");
    const QString locked =
        QStringLiteral("Katalog disků „%1“ nelze použít: soubor zamkl jiný program. Zkuste to znovu, až ho uvolní.").arg(path);
    TCDDatabase db(nullptr, dir);
    Store(db, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"), {QStringLiteral("t1")});
    auto faultOf = [](const std::function<void()>& use) {
        try {
            use();
        } catch (const EDatabaseError& e) {
            return std::make_pair(e.Fault(), e.Message());
        }
        return std::make_pair(TDatabaseFault::None, QStringLiteral("no error"));
    };

    // Another program holds the file with an exclusive lock.
    TDBConnection other(path, false);
    other.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    TAccessDBEntry entry;
    EXPECT_EQ(faultOf([&] { db.Find(QStringLiteral("00000001"), entry); }), std::make_pair(TDatabaseFault::Locked, locked));
    EXPECT_TRUE(entry.DiscId.isEmpty());
    EXPECT_EQ(faultOf([&] { TCDDatabase opened(nullptr, dir); }), std::make_pair(TDatabaseFault::Locked, locked));
    EXPECT_EQ(db.IdList(), QStringList({QStringLiteral("00000001")}));

    other.Execute(QStringLiteral("COMMIT"));
    ASSERT_TRUE(db.Find(QStringLiteral("00000001"), entry));
    EXPECT_EQ(entry.GetTracks(), QStringList({QStringLiteral("t1")}));
    Store(db, QStringLiteral("00000002"), QStringLiteral("B"), QStringLiteral("b"));
    EXPECT_EQ(TCDDatabase(nullptr, dir).Count(), 2);
}

TEST(CDDatabase, ACutShortFileIsToldAsDamaged)
{
    const QString dir = MakeTempDir();
    const QString path = dir + QStringLiteral("/CDLibrary.mdb");
    {
        TCDDatabase db(nullptr, dir);
        // Enough discs for the tables to fill many pages.
        for (int i = 0; i < 200; ++i)
            Store(db, QStringLiteral("%1").arg(i, 8, 16, QLatin1Char('0')).toUpper(), QStringLiteral("Artist %1").arg(i),
                  QStringLiteral("Title %1").arg(i), QStringList(10, QString(60, QLatin1Char('t'))));
    }
    QFile file(path);
    ASSERT_GT(file.size(), 20 * 4096);
    ASSERT_TRUE(file.resize(file.size() / 3));
    const QByteArray cut = ReadFile(path);
    try {
        TCDDatabase db(nullptr, dir);
        TAccessDBEntry entry;
        for (const QString& id : db.IdList())
            db.Find(id, entry);
        FAIL() << "a catalogue cut short reads as whole";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Fault(), TDatabaseFault::Damaged);
        EXPECT_EQ(e.Message(), QStringLiteral("Katalog disků „%1“ nelze použít: soubor je poškozený.").arg(path));
    }
    EXPECT_EQ(ReadFile(path), cut);
}

TEST(CDDatabase, ADatabaseOfOtherTablesIsToldAsNoCatalogueAndLeftAsItIs)
{
    const QString notCatalogue = QStringLiteral("Katalog disků „%1“ nelze použít: soubor obsahuje jinou databázi než katalog disků.");
    // Tables of another program, and tables of our names with other columns.
    for (const QString& schema : {QStringLiteral("CREATE TABLE Songs (Name TEXT)"),
                                  QStringLiteral("CREATE TABLE Recording (CDID TEXT(8), Name TEXT)"),
                                  QStringLiteral("CREATE TABLE Recording (CDID TEXT(8), CDTitle TEXT(100), "
                                                 "ArtistTitle TEXT(100))")}) {
        const QString dir = MakeTempDir();
        const QString path = dir + QStringLiteral("/CDLibrary.mdb");
        {
            TDBConnection foreign(path, true);
            foreign.Execute(schema);
        }
        const QByteArray before = ReadFile(path);
        try {
            TCDDatabase db(nullptr, dir);
            FAIL() << schema.toStdString();
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Fault(), TDatabaseFault::NotCatalogue) << schema.toStdString();
            EXPECT_EQ(e.Message(), notCatalogue.arg(path));
        }
        EXPECT_EQ(ReadFile(path), before) << schema.toStdString();
    }
}

TEST(CDDatabase, AnEmptyFileGetsItsTables)
{
    const QString dir = MakeTempDir();
    QFile file(dir + QStringLiteral("/CDLibrary.mdb"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TCDDatabase db(nullptr, dir);
    Store(db, QStringLiteral("00000001"), QStringLiteral("A"), QStringLiteral("a"));
    EXPECT_EQ(db.Count(), 1);
}

TEST(CDDatabase, AFolderThatCannotHoldTheFileRaises)
{
    EXPECT_THROW(TCDDatabase(nullptr, MakeTempDir() + QStringLiteral("/missing/folder")), EDatabaseError);
}
