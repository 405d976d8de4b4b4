#include "catalogue/insertion_text.h"

#include "catalogue/cddb_entry.h"

QString FitTitle(const QString& title)
{
    if (title.size() <= MaxInsertedTitleLength)
        return title;
    return title.left(MaxInsertedTitleLength - 1) + QChar(0x2026);
}

QString TrackListText(const QStringList& titles)
{
    QString text;
    for (qsizetype i = 0; i < titles.size(); ++i)
        text += QString::number(i + 1) + QStringLiteral(". ") + FitTitle(titles[i]) + QStringLiteral("\r\n");
    return text;
}

QString DiscTitleText(const TCDDBEntry& record)
{
    return FitTitle(record.ArtistTitle) + QStringLiteral(" - ") + FitTitle(record.CDTitle);
}
