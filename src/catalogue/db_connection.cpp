#include "catalogue/db_connection.h"

#include <QFile>
#include <sqlite3.h>
#include <memory>

namespace {

struct TStatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using TStatement = std::unique_ptr<sqlite3_stmt, TStatementDeleter>;

QVariant ColumnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return QVariant();
    }
}

// What an SQLite error says about the file as a whole.
TDatabaseFault FaultOf(int code, const char* message)
{
    if (code == SQLITE_IOERR_SHORT_READ)
        return TDatabaseFault::Damaged;
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return TDatabaseFault::Locked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return TDatabaseFault::Damaged;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_AUTH:
    case SQLITE_NOLFS:
        return TDatabaseFault::Unusable;
    case SQLITE_ERROR: {
        // The statements name only the catalogue's own tables and columns.
        const QByteArray text(message ? message : "");
        if (text.startsWith("no such table") || text.startsWith("no such column"))
            return TDatabaseFault::NotCatalogue;
        return TDatabaseFault::None;
    }
    default:
        return TDatabaseFault::None;
    }
}

} // namespace

EDatabaseError EDatabaseError::FileFault(TDatabaseFault fault, const QString& fileName)
{
    QString reason;
    switch (fault) {
    case TDatabaseFault::Locked:
        reason = QStringLiteral("soubor zamkl jiný program. Zkuste to znovu, až ho uvolní.");
        break;
    case TDatabaseFault::Damaged:
        reason = QStringLiteral("soubor je poškozený.");
        break;
    case TDatabaseFault::NotCatalogue:
        reason = QStringLiteral("soubor obsahuje jinou databázi než katalog disků.");
        break;
    case TDatabaseFault::Unusable:
    case TDatabaseFault::None:
        reason = QStringLiteral("soubor nelze otevřít, přečíst nebo do něj zapsat.");
        break;
    }
    return EDatabaseError(QStringLiteral("Katalog disků „%1“ nelze použít: %2").arg(fileName, reason), fault, fileName);
}

int TQueryResult::ColumnIndex(const QString& name) const
{
    for (qsizetype i = 0; i < Columns.size(); ++i) {
        if (Columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

TDBConnection::TDBConnection(const QString& fileName, bool create) : FFileName(fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.constData(), &FDb, flags, nullptr);
    if (rc != SQLITE_OK) {
        const int code = FDb ? sqlite3_extended_errcode(FDb) : rc;
        const QByteArray reason = FDb ? QByteArray(sqlite3_errmsg(FDb)) : QByteArray(sqlite3_errstr(rc));
        sqlite3_close(FDb);
        FDb = nullptr;
        const TDatabaseFault fault = FaultOf(code, reason.constData());
        throw EDatabaseError::FileFault(fault == TDatabaseFault::None ? TDatabaseFault::Unusable : fault, fileName);
    }
    sqlite3_extended_result_codes(FDb, 1);
    // The two catalogues of the program share the file; wait for each other briefly.
    sqlite3_busy_timeout(FDb, 2000);
}

TDBConnection::~TDBConnection() { sqlite3_close(FDb); }

void TDBConnection::Fail(const QString& sql) const
{
    // A file that cannot be used is told as such; a failing statement keeps its
    // own words and its text.
    const char* message = sqlite3_errmsg(FDb);
    const TDatabaseFault fault = FaultOf(sqlite3_extended_errcode(FDb), message);
    if (fault != TDatabaseFault::None)
        throw EDatabaseError::FileFault(fault, FFileName);
    throw EDatabaseError(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(message), sql));
}

TQueryResult TDBConnection::Query(const QString& sql, const QVariantList& params)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(FDb, text.constData(), static_cast<int>(text.size()), &raw, nullptr) != SQLITE_OK)
        Fail(sql);
    TStatement statement(raw);
    if (!raw) // only blanks or a comment
        return {};
    if (sqlite3_bind_parameter_count(raw) != params.size())
        throw EDatabaseError(QStringLiteral("Wrong number of parameters (%1)").arg(sql));
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& value = params[i];
        int rc = SQLITE_OK;
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(raw, i + 1, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(raw, i + 1, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(raw, i + 1, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default:
            if (value.isNull()) {
                rc = sqlite3_bind_null(raw, i + 1);
            } else {
                const QByteArray utf8 = value.toString().toUtf8();
                rc = sqlite3_bind_text64(raw, i + 1, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
            }
            break;
        }
        if (rc != SQLITE_OK)
            Fail(sql);
    }
    TQueryResult result;
    const int columns = sqlite3_column_count(raw);
    for (int c = 0; c < columns; ++c)
        result.Columns.append(QString::fromUtf8(sqlite3_column_name(raw, c)));
    for (;;) {
        const int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            Fail(sql);
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.append(ColumnValue(raw, c));
        result.Rows.push_back(std::move(row));
    }
    return result;
}

void TDBConnection::Execute(const QString& sql, const QVariantList& params) { Query(sql, params); }

void TDBConnection::BeginTrans() { Execute(QStringLiteral("BEGIN IMMEDIATE")); }

void TDBConnection::CommitTrans() { Execute(QStringLiteral("COMMIT")); }

void TDBConnection::RollbackTrans()
{
    // A failed statement may already have ended the transaction.
    if (InTransaction())
        Execute(QStringLiteral("ROLLBACK"));
}

bool TDBConnection::InTransaction() const { return sqlite3_get_autocommit(FDb) == 0; }

TDBTransaction::TDBTransaction(TDBConnection& connection) : FConnection(connection) { FConnection.BeginTrans(); }

TDBTransaction::~TDBTransaction()
{
    if (FDone)
        return;
    try {
        FConnection.RollbackTrans();
    } catch (...) {
        // The error that got us here is the one to report.
    }
}

void TDBTransaction::Commit()
{
    FConnection.CommitTrans();
    FDone = true;
}
