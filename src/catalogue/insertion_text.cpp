#include "catalogue/insertion_text.h"

#include "catalogue/cddb_entry.h"

QString TrackListText(const QStringList& titles)
{
    QString text;
    for (qsizetype i = 0; i < titles.size(); ++i)
        text += QString::number(i + 1) + QStringLiteral(". ") + titles[i] + QStringLiteral("\r\n");
    return text;
}

QString DiscTitleText(const TCDDBEntry& record)
{
    return record.ArtistTitle + QStringLiteral(" - ") + record.CDTitle;
}
