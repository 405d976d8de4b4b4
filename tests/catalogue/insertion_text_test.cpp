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
