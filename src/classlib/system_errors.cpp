#include "classlib/system_errors.h"

#include <QFileInfo>
#include <cerrno>
#include <sys/statvfs.h>
#include <unistd.h>

QString SystemErrorText(int err)
{
    switch (err) {
    case ENOSPC:
        return QStringLiteral("na disku není dost místa");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("byla překročena kvóta místa na disku");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("k tomuto místu nemáte oprávnění k zápisu");
    case EROFS:
        return QStringLiteral("disk nebo složka je jen pro čtení");
    case ENOENT:
        return QStringLiteral("soubor nebo složka neexistuje");
    case ENOTDIR:
        return QStringLiteral("část cesty není složka");
    case EISDIR:
        return QStringLiteral("pod tímto názvem je složka");
    case ENAMETOOLONG:
        return QStringLiteral("název souboru je příliš dlouhý");
    case EFBIG:
        return QStringLiteral("soubor je příliš velký");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("soubor právě používá jiný program");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("je otevřeno příliš mnoho souborů");
    case EIO:
        return QStringLiteral("chyba čtení nebo zápisu na zařízení");
    case ENOMEM:
        return QStringLiteral("nedostatek paměti");
    default:
        return QStringLiteral("chyba systému č. %1").arg(err);
    }
}

QString ReadErrorText(int err)
{
    switch (err) {
    case ENOENT:
        return QStringLiteral("soubor neexistuje");
    case EACCES:
    case EPERM:
        return QStringLiteral("nemáte oprávnění ke čtení tohoto souboru");
    case EISDIR:
        return QStringLiteral("je to složka, ne soubor");
    case ELOOP:
        return QStringLiteral("symbolické odkazy tvoří smyčku");
    case EIO:
        return QStringLiteral("chyba čtení na zařízení");
    default:
        return SystemErrorText(err);
    }
}

QString WriteFailureReason(const QString& path, int err, qint64 needed)
{
    if (err != 0)
        return SystemErrorText(err);
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    const QFileInfo dir(folder);
    if (!dir.exists())
        return SystemErrorText(ENOENT);
    if (!dir.isDir())
        return SystemErrorText(ENOTDIR);
    const QByteArray native = QFile::encodeName(folder);
    struct statvfs fs {};
    if (statvfs(native.constData(), &fs) == 0) {
        if (fs.f_flag & ST_RDONLY)
            return SystemErrorText(EROFS);
        if (needed > 0 && static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize) < needed)
            return SystemErrorText(ENOSPC);
    }
    if (access(native.constData(), W_OK) != 0)
        return SystemErrorText(EACCES);
    return QStringLiteral("neznámá chyba");
}
