#include "catalogue/insertion_text.h"

#include "catalogue/cddb_entry.h"
#include "qt_print.h"

#include <gtest/gtest.h>

TEST(InsertionText, TrackListIsNumberedFromOneWithALineBreakAfterEachLine)
{
    EXPECT_EQ(TrackListText({QStringLiteral("Intro"), QStringLiteral("Song"), QStringLiteral("Outro")}),
              QStringLiteral("1. Intro\r\n2. Song\r\n3. Outro\r\n"));
    EXPECT_EQ(TrackListText({}), QString());
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many.append(QStringLiteral("t"));
    EXPECT_TRUE(TrackListText(many).endsWith(QStringLiteral("\r\n12. t\r\n")));
}

TEST(InsertionText, TitleIsArtistDashTitle)
{
    TCDDBEntry entry;
    entry.ArtistTitle = QStringLiteral("A");
    entry.CDTitle = QStringLiteral("T");
    EXPECT_EQ(DiscTitleText(entry), QStringLiteral("A - T"));
}

TEST(InsertionText, TitlesLongerThanATextObjectShowsEndInAnEllipsis)
{
    const QString fits(MaxInsertedTitleLength, QLatin1Char('a'));
    const QString over = fits + QLatin1Char('b');
    const QString cut = fits.left(MaxInsertedTitleLength - 1) + QChar(0x2026);
    TCDDBEntry entry;
    entry.ArtistTitle = over;
    entry.CDTitle = fits;
    EXPECT_EQ(DiscTitleText(entry), cut + QStringLiteral(" - ") + fits);
    EXPECT_EQ(TrackListText({over, QStringLiteral("x")}), QStringLiteral("1. ") + cut + QStringLiteral("\r\n2. x\r\n"));
}
