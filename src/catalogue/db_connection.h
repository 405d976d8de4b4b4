#pragma once
// The catalogue's database connection: one SQLite database file, statements with
// bound parameters, and transactions.

#include "classlib/sysutils.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

struct sqlite3;

// Why a database file cannot be used at all, as against one statement failing.
enum class TDatabaseFault {
    None,         // the statement itself failed (a second disc with one id, ...)
    Locked,       // another program holds a lock on the file
    Damaged,      // cut short, overwritten, or not a database file
    NotCatalogue, // a database, but not of the catalogue's tables
    Unusable,     // cannot be opened, read or written (rights, disk, folder)
};

class EDatabaseError : public Exception {
public:
    explicit EDatabaseError(QString message, TDatabaseFault fault = TDatabaseFault::None, QString fileName = {})
        : Exception(std::move(message)), FFault(fault), FFileName(std::move(fileName)) {}
    // A fault of the file raises with a message for the user that names the file
    // and the reason.
    static EDatabaseError FileFault(TDatabaseFault fault, const QString& fileName);
    TDatabaseFault Fault() const { return FFault; }
    const QString& FileName() const { return FFileName; }

private:
    TDatabaseFault FFault;
    QString FFileName;
};

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
