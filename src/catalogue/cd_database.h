#pragma once
// The disc catalogue: the discs found so far, kept in "CDLibrary.mdb" (an SQLite
// database) with one table of discs and one of track titles.

#include "catalogue/db_connection.h"
#include "classlib/component.h"

#include <QString>
#include <QStringList>
#include <memory>

class TCDDBEntry;
class TAccessDBEntry;

class TCDDatabase : public TComponent {
public:
    TV_CLASS_NAME(TCDDatabase)
    // Opens folder + "CDLibrary.mdb", by default in the program's folder, creating
    // the file and its tables when it is missing. Raises EDatabaseError; a file
    // that is locked, damaged or of other tables raises it with its Fault.
    explicit TCDDatabase(TComponent* owner, const QString& folder = QString());

    // The folder used when none is given: the program's folder unless set
    // (tests keep their catalogues in folders of their own).
    static QString DefaultFolder();
    static void SetDefaultFolder(const QString& folder);

    void Open(const QString& path);
    int Count();
    // Add and Delete run in one transaction each: a disc is stored or removed whole
    // or not at all, and a failure raises after the rollback.
    void Add(TCDDBEntry& record);
    void Delete(const QString& id);
    // Replaces the stored disc by the record; the disc moves to the end of IdList.
    void Update(TCDDBEntry& record);
    bool Find(const QString& id, TAccessDBEntry& record);
    bool GetEntry(int index, TAccessDBEntry& record);

    const QString& FileName() const { return FFileName; }
    const std::shared_ptr<TADOConnectionEx>& Connection() const { return FConnection; }
    // Disc ids in catalogue order: by artist then title when opened, additions last.
    const QStringList& IdList() const { return FIdList; }

private:
    TADOConnectionEx& Db() const;
    void OpenTables(const QString& path, bool isNew);
    bool HasNoTables();
    void CheckTables();
    void CreateTables();
    void LoadIds();
    void InsertRows(const TCDDBEntry& record, const QStringList& tracks);
    void DeleteRows(const QString& id);

    QString FFileName;
    std::shared_ptr<TADOConnectionEx> FConnection;
    QStringList FIdList;
};
