#pragma once
// The catalogue's database connection: one SQLite database file, statements with
// bound parameters, and transactions.

#include "classlib/sysutils.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

struct sqlite3;

class EDatabaseError : public Exception { using Exception::Exception; };

struct TQueryResult {
    QStringList Columns;
    std::vector<QVariantList> Rows;
    // Position of a column by name, ignoring case; -1 when there is none.
    int ColumnIndex(const QString& name) const;
};

class TDBConnection {
public:
    // Opens the database file, creating an empty one when create is set and the file
    // is missing. Raises EDatabaseError.
    TDBConnection(const QString& fileName, bool create);
    ~TDBConnection();
    TDBConnection(const TDBConnection&) = delete;
    TDBConnection& operator=(const TDBConnection&) = delete;

    const QString& FileName() const { return FFileName; }
    sqlite3* Handle() const { return FDb; }

    // One statement; values go in as bound parameters ("?" in the text).
    void Execute(const QString& sql, const QVariantList& params = {});
    TQueryResult Query(const QString& sql, const QVariantList& params = {});

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

private:
    [[noreturn]] void Fail(const QString& sql) const;

    QString FFileName;
    sqlite3* FDb = nullptr;
};

// The connection class of the catalogue.
using TADOConnectionEx = TDBConnection;

// Rolls back unless committed: a failure leaves the database as it was.
class TDBTransaction {
public:
    explicit TDBTransaction(TDBConnection& connection);
    ~TDBTransaction();
    TDBTransaction(const TDBTransaction&) = delete;
    TDBTransaction& operator=(const TDBTransaction&) = delete;
    void Commit();

private:
    TDBConnection& FConnection;
    bool FDone = false;
};
