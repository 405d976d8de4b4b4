#pragma once
// The system's reasons for failed file operations, in the program's Czech.

#include <QString>

// The text of a system error number ("na disku není dost místa" for ENOSPC).
QString SystemErrorText(int err);

// The reason a file could not be opened or read, in the words of reading:
// "nemáte oprávnění ke čtení" where writing says it has no write permission.
QString ReadErrorText(int err);

// Why a file could not be written: the error number the system gave (0 when
// it gave none) or, failing that, what the file's folder tells: missing, not
// writable, on a read-only file system, or without room for `needed` bytes.
QString WriteFailureReason(const QString& path, int err, qint64 needed = 0);
