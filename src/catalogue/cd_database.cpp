#include "catalogue/cd_database.h"

#include "catalogue/cddb_entry.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

const QString kFileName = QStringLiteral("CDLibrary.mdb");
const QString kCollation = QStringLiteral("TITLES");
QString gDefaultFolder;

// Titles sort as people read them: by the user's language, ignoring letter case;
// texts that compare equal keep a fixed order.
int CompareTitles(void* arg, int length1, const void* text1, int length2, const void* text2)
{
    const auto* collator = static_cast<const QCollator*>(arg);
    const QString a = QString::fromUtf8(static_cast<const char*>(text1), length1);
    const QString b = QString::fromUtf8(static_cast<const char*>(text2), length2);
    const int result = collator->compare(a, b);
    if (result != 0)
        return result;
    return a.compare(b);
}

void RegisterTitleCollation(sqlite3* db)
{
    auto* collator = new QCollator(QLocale());
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    const QByteArray name = kCollation.toUtf8();
    if (sqlite3_create_collation_v2(db, name.constData(), SQLITE_UTF8, collator, CompareTitles,
                                    [](void* p) { delete static_cast<QCollator*>(p); }) != SQLITE_OK) {
        delete collator;
        throw EDatabaseError(QStringLiteral("Cannot set up the catalogue's sort order"));
    }
}

} // namespace

TCDDatabase::TCDDatabase(TComponent* owner, const QString& folder) : TComponent(owner)
{
    const QString dir = folder.isEmpty() ? DefaultFolder() : folder;
    Open(IncludeTrailingPathDelimiter(dir) + kFileName);
}

QString TCDDatabase::DefaultFolder()
{
    return gDefaultFolder.isEmpty() ? QCoreApplication::applicationDirPath() : gDefaultFolder;
}

void TCDDatabase::SetDefaultFolder(const QString& folder) { gDefaultFolder = folder; }

void TCDDatabase::Open(const QString& path)
{
    FConnection.reset();
    FIdList.clear();
    const bool isNew = !QFileInfo::exists(path);
    FFileName = path;
    FConnection = std::make_shared<TADOConnectionEx>(path, isNew);
    RegisterTitleCollation(FConnection->Handle());
    try {
        OpenTables(path, isNew);
    } catch (...) {
        FConnection.reset();
        throw;
    }
}

void TCDDatabase::OpenTables(const QString& path, bool isNew)
{
    // A file left empty by an interrupted first start gets its tables as well.
    if (isNew || HasNoTables()) {
        try {
            CreateTables();
        } catch (...) {
            // Another instance of the program may have made them at the same moment.
            bool madeElsewhere = false;
            try {
                madeElsewhere = !HasNoTables();
            } catch (...) {
            }
            if (!madeElsewhere) {
                FConnection.reset();
                if (isNew)
                    QFile::remove(path);
                throw;
            }
        }
    }
    CheckTables();
    LoadIds();
}

void TCDDatabase::CheckTables()
{
    // Another program's database is left as it is, not given our tables.
    auto hasColumns = [this](const QString& table, QStringList columns) {
        const TQueryResult info = Db().Query(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        const int name = info.ColumnIndex(QStringLiteral("name"));
        for (const QVariantList& row : info.Rows)
            columns.removeAll(row.value(name).toString().toLower());
        return columns.isEmpty();
    };
    if (!hasColumns(QStringLiteral("Recording"), {QStringLiteral("cdid"), QStringLiteral("cdtitle"), QStringLiteral("artisttitle")}) ||
        !hasColumns(QStringLiteral("Track"), {QStringLiteral("cdid"), QStringLiteral("tracknumber"), QStringLiteral("tracktitle")}))
        throw EDatabaseError::FileFault(TDatabaseFault::NotCatalogue, FFileName);
}

TADOConnectionEx& TCDDatabase::Db() const
{
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("The catalogue \"%1\" is not open").arg(FFileName));
    return *FConnection;
}

bool TCDDatabase::HasNoTables()
{
    const TQueryResult result = Db().Query(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
    return !result.Rows.empty() && result.Rows.front().value(0).toLongLong() == 0;
}

void TCDDatabase::CreateTables()
{
    TDBTransaction transaction(Db());
    Db().Execute(QStringLiteral(
        "CREATE TABLE Recording (CDID TEXT(8), CDTitle TEXT(100), ArtistTitle TEXT(100), "
        "CONSTRAINT PrimaryIndex PRIMARY KEY (CDID))"));
    Db().Execute(QStringLiteral(
        "CREATE TABLE Track (CDID TEXT(8), TrackNumber INT, TrackTitle TEXT(100), "
        "CONSTRAINT PrimaryIndex PRIMARY KEY (CDID, TrackNumber))"));
    transaction.Commit();
}

void TCDDatabase::LoadIds()
{
    const TQueryResult result = Db().Query(
        QStringLiteral("SELECT CDID, ArtistTitle, CDTitle FROM Recording "
                       "ORDER BY ArtistTitle COLLATE %1, CDTitle COLLATE %1").arg(kCollation));
    FIdList.clear();
    for (const QVariantList& row : result.Rows)
        FIdList.append(row.value(0).toString());
}

int TCDDatabase::Count()
{
    const TQueryResult result = Db().Query(QStringLiteral("SELECT COUNT(CDID) FROM Recording"));
    return result.Rows.empty() ? 0 : result.Rows.front().value(0).toInt();
}

bool TCDDatabase::Find(const QString& id, TAccessDBEntry& record)
{
    const TQueryResult result =
        Db().Query(QStringLiteral("SELECT * FROM Recording WHERE CDID = ?"), {id});
    if (result.Rows.size() != 1)
        return false;
    const QVariantList& row = result.Rows.front();
    record.DiscId = id;
    record.CDTitle = row.value(result.ColumnIndex(QStringLiteral("CDTitle"))).toString();
    record.ArtistTitle = row.value(result.ColumnIndex(QStringLiteral("ArtistTitle"))).toString();
    record.Connection = FConnection;
    return true;
}

bool TCDDatabase::GetEntry(int index, TAccessDBEntry& record)
{
    if (index < 0 || index >= FIdList.size())
        throw EDatabaseError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return Find(FIdList[index], record);
}

void TCDDatabase::InsertRows(const TCDDBEntry& record, const QStringList& tracks)
{
    Db().Execute(QStringLiteral("INSERT INTO Recording (CDID, CDTitle, ArtistTitle) VALUES (?, ?, ?)"),
                         {record.DiscId, record.CDTitle, record.ArtistTitle});
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        Db().Execute(QStringLiteral("INSERT INTO Track (CDID, TrackNumber, TrackTitle) VALUES (?, ?, ?)"),
                             {record.DiscId, static_cast<int>(i + 1), tracks[i]});
    }
}

void TCDDatabase::DeleteRows(const QString& id)
{
    Db().Execute(QStringLiteral("DELETE FROM Recording WHERE CDID = ?"), {id});
    Db().Execute(QStringLiteral("DELETE FROM Track WHERE CDID = ?"), {id});
}

void TCDDatabase::Add(TCDDBEntry& record)
{
    // Titles of a catalogue record are loaded before the transaction starts.
    const QStringList tracks = record.GetTracks();
    TDBTransaction transaction(Db());
    InsertRows(record, tracks);
    transaction.Commit();
    FIdList.append(record.DiscId);
}

void TCDDatabase::Delete(const QString& id)
{
    TDBTransaction transaction(Db());
    DeleteRows(id);
    transaction.Commit();
    FIdList.removeAll(id);
}

void TCDDatabase::Update(TCDDBEntry& record)
{
    // Read the titles before the old rows go, and replace the disc in one
    // transaction, so that a failure cannot lose it.
    const QStringList tracks = record.GetTracks();
    TDBTransaction transaction(Db());
    DeleteRows(record.DiscId);
    InsertRows(record, tracks);
    transaction.Commit();
    FIdList.removeAll(record.DiscId);
    FIdList.append(record.DiscId);
}
