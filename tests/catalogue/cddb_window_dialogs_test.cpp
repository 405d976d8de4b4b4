// The lookup's two dialog windows, answered on the screen as a user would.
#include "catalogue/cd_entry_edit_form.h"
#include "catalogue/cddb_connect.h"
#include "catalogue/cddb_entry.h"
#include "catalogue/cddb_multiple_matches_form.h"
#include "catalogue/cddb_window_dialogs.h"
#include "cddb_test_server.h"
#include "disc_image.h"
#include "modal_answer.h"
#include "qt_print.h"
#include "test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

const QString kQuery = QStringLiteral("cddb+query+0200B401+1+150+180");

// The window dialogs in use for the lifetime of the object.
struct WindowDialogs {
    WindowDialogs() { SetCDDBDialogs(CDDBWindowDialogs()); }
    ~WindowDialogs() { SetCDDBDialogs(nullptr); }
};

void Connect(TCDDBConnect& cddb, const TestCddbServer& server)
{
    static const QString cue = MakeCueImage(MakeTempDir(), QStringLiteral("dialogs"), {150}, 150 + 180 * 75);
    cddb.SetServer(server.BaseUrl());
    cddb.SetDeviceName(cue);
}

void ClickLine(TListBox* list, int index)
{
    MouseClick(list->Handle(), list->ItemRect(index).ToQRect().center());
}

const QByteArray kTwoMatches = "211 close matches found\r\n"
                               "rock 0200B401 First Artist / First Album\r\n"
                               "jazz 0200B4FF Second Artist / Second Album\r\n"
                               ".\r\n";

} // namespace

TEST(CDDBWindowDialogs, MultipleMatchesOffersTheDiscsAndOkWaitsForAChoice)
{
    TestCddbServer server;
    server.Reply(kQuery, kTwoMatches);
    server.Reply(QStringLiteral("cddb+read+jazz+0200B4FF"), "210 jazz 0200B4FF\r\nDTITLE=Second Artist / Second Album\r\n"
                                                            "TTITLE0=Blue\r\n.\r\n");
    WindowDialogs dialogs;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);

    bool shown = false;
    WhenShownModal<TCDDBMultipleMatchesForm>([&](TCDDBMultipleMatchesForm* form) {
        shown = true;
        EXPECT_EQ(form->Owner(), &cddb);
        EXPECT_EQ(form->Label1->Caption(), QStringLiteral("Select the correct CD (if any)"));
        EXPECT_EQ(form->MatchesList->Items()->ToQStringList(),
                  QStringList({QStringLiteral("First Artist / First Album"), QStringLiteral("Second Artist / Second Album")}));
        EXPECT_FALSE(form->OKButton->Enabled());
        // A click below the lines chooses nothing.
        MouseClick(form->MatchesList->Handle(), QPoint(20, form->MatchesList->Height() - 4));
        EXPECT_FALSE(form->OKButton->Enabled());
        ClickLine(form->MatchesList, 1);
        EXPECT_TRUE(form->OKButton->Enabled());
        form->OKButton->Button()->click();
    });
    TCDDBEntry entry;
    EXPECT_TRUE(cddb.Query(entry));
    EXPECT_TRUE(shown);
    EXPECT_EQ(server.Commands(), QStringList({kQuery, QStringLiteral("cddb+read+jazz+0200B4FF")}));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Second Artist"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("Blue")}));
    // The dialog is gone with the question.
    for (int i = 0; i < Screen->FormCount(); ++i)
        EXPECT_EQ(dynamic_cast<TCDDBMultipleMatchesForm*>(Screen->Forms(i)), nullptr);
}

TEST(CDDBWindowDialogs, CancellingTheMatchesLeavesTheRecordAsItWas)
{
    TestCddbServer server;
    server.Reply(kQuery, kTwoMatches);
    WindowDialogs dialogs;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    WhenShownModal<TCDDBMultipleMatchesForm>([&](TCDDBMultipleMatchesForm* form) {
        ClickLine(form->MatchesList, 0);
        form->Button2->Button()->click();
    });
    TCDDBEntry entry;
    entry.CDTitle = QStringLiteral("as it was");
    EXPECT_FALSE(cddb.Query(entry));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("as it was"));
    EXPECT_EQ(server.Commands(), QStringList({kQuery}));
    // Closing the window counts as Cancel too.
    WhenShownModal<TCDDBMultipleMatchesForm>([&](TCDDBMultipleMatchesForm* form) {
        ClickLine(form->MatchesList, 0);
        form->Close();
    });
    EXPECT_FALSE(cddb.Query(entry));
}

TEST(CDDBWindowDialogs, EntryDialogShowsTheTitlesAndHandsBackTheEdits)
{
    TestCddbServer server;
    server.Reply(kQuery, "202 No match for disc ID 0200B401.\r\n");
    WindowDialogs dialogs;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    WhenShownModal<TCDEntryEditForm>([&](TCDEntryEditForm* form) {
        EXPECT_EQ(form->CDTitleEdit->Text(), QStringLiteral("Unknown"));
        EXPECT_EQ(form->ArtistTitleEdit->Text(), QStringLiteral("Unknown"));
        TStringGrid* grid = form->TracksGrid;
        EXPECT_EQ(grid->RowCount(), 2);
        EXPECT_EQ(grid->Cells(0, 0), QStringLiteral("Stopa"));
        EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("Název"));
        EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("1"));
        EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Track 1"));
        form->CDTitleEdit->SetText(QStringLiteral("Typed album"));
        form->ArtistTitleEdit->SetText(QStringLiteral("Typed artist"));
        // The user types the title and presses OK with the cell editor still open.
        QTableWidget* table = grid->Table();
        table->setCurrentCell(0, 1);
        table->editItem(table->item(0, 1));
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(QStringLiteral("Typed track"));
        form->OKButton->Button()->click();
    });
    TCDDBEntry entry;
    EXPECT_TRUE(cddb.Query(entry));
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Typed album"));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Typed artist"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("Typed track")}));
}

TEST(CDDBWindowDialogs, StornoInTheEntryDialogChangesNothing)
{
    WindowDialogs dialogs;
    TCDDBEntry entry;
    entry.CDTitle = QStringLiteral("Album");
    entry.ArtistTitle = QStringLiteral("Artist");
    entry.Tracks = QStringList({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    WhenShownModal<TCDEntryEditForm>([&](TCDEntryEditForm* form) {
        EXPECT_EQ(form->TracksGrid->RowCount(), 4);
        EXPECT_EQ(form->TracksGrid->Cells(0, 3), QStringLiteral("3"));
        EXPECT_EQ(form->TracksGrid->Cells(1, 3), QStringLiteral("Three"));
        form->CDTitleEdit->SetText(QStringLiteral("changed"));
        form->TracksGrid->SetCells(1, 2, QStringLiteral("changed"));
        form->Button2->Button()->click();
    });
    EXPECT_FALSE(entry.EditCDEntry());
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Album"));
    EXPECT_EQ(entry.Tracks[1], QStringLiteral("Two"));

    // A disc without titles: the grid keeps its header, and no title appears.
    TCDDBEntry empty;
    WhenShownModal<TCDEntryEditForm>([&](TCDEntryEditForm* form) {
        EXPECT_EQ(form->TracksGrid->FixedRows(), 1);
        EXPECT_EQ(form->TracksGrid->Cells(1, 0), QStringLiteral("Název"));
        EXPECT_EQ(form->TracksGrid->Cells(1, 1), QString());
        form->CDTitleEdit->SetText(QStringLiteral("Named"));
        form->OKButton->Button()->click();
    });
    EXPECT_TRUE(empty.EditCDEntry());
    EXPECT_EQ(empty.CDTitle, QStringLiteral("Named"));
    EXPECT_TRUE(empty.Tracks.isEmpty());
}
