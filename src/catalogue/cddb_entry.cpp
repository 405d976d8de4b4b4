#include "catalogue/cddb_entry.h"

#include "catalogue/cd_info.h"
#include "catalogue/cddb_dialogs.h"
#include "catalogue/db_connection.h"
#include "classlib/sysutils.h"

#include <QHash>

namespace {

// The values of "name=value" lines by upper-cased name; only the first line of a
// name counts.
QHash<QString, QString> ValuesByName(const QStringList& lines)
{
    QHash<QString, QString> values;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString name = line.left(eq).toUpper();
        if (!values.contains(name))
            values.insert(name, line.mid(eq + 1));
    }
    return values;
}

} // namespace

QStringList& TCDDBEntry::GetTracks() { return Tracks; }

QString TCDDBEntry::ExtractWord(const QString& text, int skip, bool keepRest)
{
    QString result = text;
    for (int i = 0; i < skip; ++i) {
        const qsizetype blank = result.indexOf(QLatin1Char(' '));
        if (blank >= 0)
            result.remove(0, blank + 1);
    }
    if (!keepRest) {
        const qsizetype blank = result.indexOf(QLatin1Char(' '));
        result = blank >= 0 ? result.left(blank) : QString();
    }
    return result;
}

void TCDDBEntry::ParseCDDBEntry(const QStringList& lines, const QString& id)
{
    Category = lines.isEmpty() ? QString() : ExtractWord(lines.first(), 1, false);
    DiscId = id;
    const QHash<QString, QString> values = ValuesByName(lines);
    const QString dtitle = values.value(QStringLiteral("DTITLE"));
    const qsizetype slash = dtitle.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        ArtistTitle = Trim(dtitle.left(slash));
        CDTitle = Trim(dtitle.mid(slash + 1));
    } else {
        ArtistTitle = dtitle;
        CDTitle = dtitle;
    }
    Tracks.clear();
    for (int n = 0;; ++n) {
        const QString title = values.value(QStringLiteral("TTITLE") + QString::number(n));
        if (title.isEmpty())
            break;
        Tracks.append(title);
    }
}

void TCDDBEntry::FillUnknownEntry(TCDInfo& reader)
{
    DiscId = reader.DiscIdString();
    CDTitle = QStringLiteral("Unknown");
    ArtistTitle = QStringLiteral("Unknown");
    GetTracks().clear();
    const int count = reader.TrackCount();
    for (int i = 1; i <= count; ++i)
        GetTracks().append(QStringLiteral("Track ") + QString::number(i));
}

bool TCDDBEntry::EditCDEntry()
{
    TCDDBDialogs* dialogs = CDDBDialogs();
    if (!dialogs)
        return false;
    QString cdTitle = CDTitle;
    QString artistTitle = ArtistTitle;
    QStringList& tracks = GetTracks();
    QStringList edited = tracks;
    if (!dialogs->EditCDEntry(cdTitle, artistTitle, edited))
        return false;
    CDTitle = cdTitle;
    ArtistTitle = artistTitle;
    // Titles are edited in place: their number never changes.
    for (qsizetype i = 0; i < tracks.size() && i < edited.size(); ++i)
        tracks[i] = edited[i];
    return true;
}

QStringList& TAccessDBEntry::GetTracks()
{
    LoadTracks();
    return Tracks;
}

void TAccessDBEntry::LoadTracks()
{
    if (!Tracks.isEmpty() || !Connection)
        return;
    const auto rows = Connection->Query(
        QStringLiteral("SELECT * FROM Track WHERE CDID = ? ORDER BY TrackNumber"), {DiscId});
    const int column = rows.ColumnIndex(QStringLiteral("TrackTitle"));
    for (const auto& row : rows.Rows)
        Tracks.append(row.value(column).toString());
}
