// The main window's disc command: looking the disc in the drive up (catalogue
// first, then online), the messages, and the catalogue window it opens.
#include "catalogue/cd_database.h"
#include "catalogue/cd_database_form.h"
#include "catalogue/cd_info.h"
#include "catalogue/cddb_connect.h"
#include "catalogue/cddb_multiple_matches_form.h"
#include "catalogue/db_connection.h"
#include "catalogue/cddb_test_server.h"
#include "catalogue/fake_dialogs.h"
#include "catalogue/modal_answer.h"
#include "catalogue/qt_print.h"
#include "classlib/forms/message_box.h"
#include "designer_fixture.h"
#include "disc_image.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

const QString kQuery = QStringLiteral("cddb+query+0200B401+1+150+180");
const QString kRead = QStringLiteral("cddb+read+rock+0200B401");
const QByteArray kReadReply = "210 rock 0200B401 CD database entry follows\r\n"
                              "DTITLE=Some Artist / Some Album\r\n"
                              "TTITLE0=Opening\r\n"
                              "TTITLE1=Middle\r\n"
                              "TTITLE2=Closing\r\n"
                              ".\r\n";
const QString kReadMessage = QStringLiteral("CD bylo načteno, pokračujete výběrem.");
const QString kNoDiscMessage = QStringLiteral("CD nebylo v mechanice nalezeno, zobrazí se uložená databáze.");

// A main window with its catalogue window, a disc image in the "drive" and a
// lookup server of the test's own.
class DiscCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        Fixture = std::make_unique<TMainWindowFixture>();
        Catalogue = std::make_unique<TCDDatabaseForm>(nullptr);
        Fixture->ShowWindow();
        SetMessageBoxHook([this](const QString& text, const QString&, unsigned) {
            Messages.append(text);
            return IDOK;
        });
        Cue = MakeCueImage(MakeTempDir(), QStringLiteral("disc"), {150}, 150 + 180 * 75);
        Main()->CDDBConnect1->SetServer(Server.BaseUrl());
        Main()->CDDBConnect1->SetDeviceName(Cue);
    }
    void TearDown() override
    {
        Catalogue.reset();
        Fixture.reset();
    }
    TFrmMain* Main() const { return Fixture->Main(); }
    // The message of a failed lookup with its cause.
    static QString Failure(const QString& cause)
    {
        return QStringLiteral("Vyhledání CD v databázi CDDB se nezdařilo, zobrazí se uložená databáze.\r") + cause;
    }
    void RunCommand() { Main()->VloitobsahCDzCDDB1Click(Main()); }
    void Store(const QString& id, const QString& artist, const QString& title)
    {
        TCDDBEntry entry;
        entry.DiscId = id;
        entry.ArtistTitle = artist;
        entry.CDTitle = title;
        entry.Tracks = {QStringLiteral("t")};
        Catalogue->Catalogue().Add(entry);
    }
    QStringList Rows() const
    {
        QStringList rows;
        QTreeWidget* tree = Catalogue->ListView1->Tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            rows.append(tree->topLevelItem(i)->text(1) + QStringLiteral(" / ") + tree->topLevelItem(i)->text(0));
        return rows;
    }

    TestCddbServer Server;
    std::unique_ptr<TMainWindowFixture> Fixture;
    std::unique_ptr<TCDDatabaseForm> Catalogue;
    QStringList Messages;
    QString Cue;
};

} // namespace

TEST_F(DiscCommand, WithNoDiscTheStoredCatalogueIsShown)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("Stored"));
    // The disc goes out of the drive.
    Main()->DiscReader();
    ASSERT_TRUE(QFile::remove(Cue));
    EXPECT_FALSE(Main()->Modified);
    RunCommand();
    EXPECT_EQ(Messages, QStringList({kNoDiscMessage}));
    EXPECT_TRUE(Server.Commands().isEmpty());
    EXPECT_TRUE(Catalogue->Visible());
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("A / Stored")}));
    // Opening the window marks the document, before anything is inserted.
    EXPECT_TRUE(Main()->Modified);
    // The window stays above the main window without blocking it.
    EXPECT_FALSE(Catalogue->IsModal());
    ASSERT_NE(Catalogue->Window()->windowHandle(), nullptr);
    EXPECT_EQ(Catalogue->Window()->windowHandle()->transientParent(), Main()->Window()->windowHandle());

    // A disc image that cannot be read at all counts as no disc.
    Main()->CDDBConnect1->SetDeviceName(MakeTempDir() + QStringLiteral("/none.cue"));
    Messages.clear();
    RunCommand();
    EXPECT_EQ(Messages, QStringList({kNoDiscMessage}));
}

TEST_F(DiscCommand, AnOnlineHitIsStoredAndTheSameDiscIsLookedUpOnce)
{
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    Server.Reply(kRead, kReadReply);
    RunCommand();
    EXPECT_EQ(Messages, QStringList({kReadMessage}));
    EXPECT_EQ(Server.Commands(), QStringList({kQuery, kRead}));
    EXPECT_EQ(Main()->LastEntry->DiscId, QStringLiteral("0200B401"));
    EXPECT_TRUE(Catalogue->Visible());
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Some Artist / Some Album")}));
    TAccessDBEntry stored;
    ASSERT_TRUE(Catalogue->Catalogue().Find(QStringLiteral("0200B401"), stored));
    EXPECT_EQ(stored.GetTracks(), QStringList({QStringLiteral("Opening"), QStringLiteral("Middle"), QStringLiteral("Closing")}));

    // Again with the same disc: no request, the message all the same.
    RunCommand();
    EXPECT_EQ(Server.Commands().size(), 2);
    EXPECT_EQ(Messages, QStringList({kReadMessage, kReadMessage}));
    EXPECT_EQ(Catalogue->Catalogue().Count(), 1);
}

TEST_F(DiscCommand, ADiscInTheCatalogueIsNotAskedOnline)
{
    Store(QStringLiteral("0200B401"), QStringLiteral("Known"), QStringLiteral("Disc"));
    RunCommand();
    EXPECT_TRUE(Server.Commands().isEmpty());
    EXPECT_EQ(Messages, QStringList({kReadMessage}));
    EXPECT_EQ(Main()->LastEntry->DiscId, QStringLiteral("0200B401"));
    EXPECT_EQ(Main()->LastEntry->ArtistTitle, QStringLiteral("Known"));
}

TEST_F(DiscCommand, AnUnknownDiscCancelledIsNotAskedForAgain)
{
    Server.Reply(kQuery, "202 No match for disc ID 0200B401.\r\n");
    FakeCDDBDialogs dialogs; // Storno
    RunCommand();
    EXPECT_EQ(dialogs.EditCalls, 1);
    EXPECT_EQ(Catalogue->Catalogue().Count(), 0);
    EXPECT_EQ(Main()->LastEntry->DiscId, QStringLiteral("0200B401"));
    RunCommand();
    EXPECT_EQ(dialogs.EditCalls, 1);
    EXPECT_EQ(Server.Commands(), QStringList({kQuery}));
    EXPECT_EQ(Messages, QStringList({kReadMessage, kReadMessage}));
}

TEST_F(DiscCommand, AnUnknownDiscEnteredByHandIsStoredAndListedLast)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("Zed"), QStringLiteral("Earlier"));
    Server.Reply(kQuery, "202 No match for disc ID 0200B401.\r\n");
    FakeCDDBDialogs dialogs;
    dialogs.Edit = [](QString& title, QString& artist, QStringList& tracks) {
        title = QStringLiteral("Typed");
        artist = QStringLiteral("Able");
        tracks[0] = QStringLiteral("Song");
        return true;
    };
    RunCommand();
    EXPECT_EQ(dialogs.ShownTracks, QStringList({QStringLiteral("Track 1")}));
    // Listed after the disc stored before, though "Able" sorts first.
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Zed / Earlier"), QStringLiteral("Able / Typed")}));
}

TEST_F(DiscCommand, LookupErrorsAreSwallowedAndTheNextCommandTriesAgain)
{
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    Server.Reply(kRead, kReadReply);
    Server.SetStatus(500);
    EXPECT_NO_THROW(RunCommand());
    // The failure is told, not passed off as a disc that was read.
    EXPECT_EQ(Messages, QStringList({Failure(QStringLiteral("Server CDDB ohlásil chybu HTTP 500."))}));
    EXPECT_TRUE(Main()->LastEntry->DiscId.isEmpty());
    EXPECT_TRUE(Catalogue->Visible());
    EXPECT_EQ(Catalogue->Catalogue().Count(), 0);

    // An answer the client does not understand.
    Server.SetStatus(200);
    Server.Reply(kQuery, "<html>busy</html>");
    EXPECT_NO_THROW(RunCommand());
    EXPECT_EQ(Messages.last(), Failure(QStringLiteral("Odpovědi serveru CDDB program nerozumí.")));
    EXPECT_TRUE(Main()->LastEntry->DiscId.isEmpty());

    // The window was open all along: the disc found now appears in it.
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    RunCommand();
    EXPECT_EQ(Server.Commands().size(), 4);
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Some Artist / Some Album")}));
}

// The whole road as a user takes it: the command, the choice among several
// discs on the screen, the disc in the catalogue window, its track list into
// the design, and the disc still there after the program starts again.
TEST_F(DiscCommand, FromTheDriveIntoTheDesignAndStillThereAfterARestart)
{
    Server.Reply(kQuery, "211 close matches found\r\n"
                         "misc 0200B4AA Other Artist / Other Album\r\n"
                         "rock 0200B401 Some Artist / Some Album\r\n"
                         ".\r\n");
    Server.Reply(kRead, kReadReply);
    WhenShownModal<TCDDBMultipleMatchesForm>([](TCDDBMultipleMatchesForm* form) {
        TListBox* list = form->MatchesList;
        MouseClick(list->Handle(), list->ItemRect(1).ToQRect().center());
        form->OKButton->Button()->click();
    });
    RunCommand();
    EXPECT_EQ(Server.Commands(), QStringList({kQuery, kRead}));
    ASSERT_TRUE(Catalogue->Visible());
    ASSERT_EQ(Rows(), QStringList({QStringLiteral("Some Artist / Some Album")}));

    QTreeWidget* tree = Catalogue->ListView1->Tree();
    MouseClick(tree->viewport(), tree->visualItemRect(tree->topLevelItem(0)).center());
    Main()->Modified = false; // as if saved meanwhile
    const int before = Main()->ObjectCount();
    Catalogue->Button5->Button()->click();
    EXPECT_FALSE(Catalogue->Visible());
    EXPECT_TRUE(Main()->Modified);
    // A new text object on top of the stack, selected.
    ASSERT_EQ(Main()->ObjectCount(), before + 1);
    auto* label = dynamic_cast<TLabel*>(Main()->SelectedObject);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("1. Opening\r\n2. Middle\r\n3. Closing\r\n"));
    EXPECT_EQ(label->Font()->Size(), 8);
    EXPECT_EQ(label->Tag(), 1);
    EXPECT_EQ(label->Parent(), Main()->PNLCD);
    EXPECT_EQ(label->Name(), QStringLiteral("C%1").arg(before));

    // The title of the same disc, at 14 points.
    Catalogue->Show();
    Catalogue->ListView1->SetItemIndex(0);
    Catalogue->Button6->Button()->click();
    label = dynamic_cast<TLabel*>(Main()->SelectedObject);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("Some Artist - Some Album"));
    EXPECT_EQ(label->Font()->Size(), 14);
    EXPECT_EQ(Main()->ObjectCount(), before + 2);

    // The program starts again on the same catalogue file.
    Catalogue.reset();
    Catalogue = std::make_unique<TCDDatabaseForm>(nullptr);
    Catalogue->Show();
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Some Artist / Some Album")}));
}

TEST_F(DiscCommand, AHangingServerGarbageAndACutReplyAreToldAsFailedLookups)
{
    // Taken and never answered: given up after seconds, not half a minute.
    Server.SetSilent(true);
    QElapsedTimer clock;
    clock.start();
    RunCommand();
    EXPECT_LT(clock.elapsed(), 9000);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages.last(), Failure(QStringLiteral("Server CDDB neodpověděl.")));
    EXPECT_TRUE(Catalogue->Visible());
    Server.SetSilent(false);

    // A found disc whose entry breaks off in the middle.
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    Server.Reply(kRead, kReadReply);
    Server.SetCutAfter(40);
    RunCommand();
    EXPECT_EQ(Messages.last(), Failure(QStringLiteral("Odpověď serveru CDDB nepřišla celá.")));
    Server.SetCutAfter(-1);

    // A listed disc whose entry the server then does not give.
    Server.Reply(kRead, "\x89PNG garbage\r\n");
    RunCommand();
    EXPECT_EQ(Messages.last(), Failure(QStringLiteral("Odpovědi serveru CDDB program nerozumí.")));
    EXPECT_EQ(Catalogue->Catalogue().Count(), 0);
    EXPECT_TRUE(Main()->LastEntry->DiscId.isEmpty());

    // The user cancelling the entry dialog of an unknown disc is no failure.
    Server.Reply(kQuery, "202 No match for disc ID 0200B401.\r\n");
    FakeCDDBDialogs dialogs; // Storno
    RunCommand();
    EXPECT_EQ(Messages.last(), kReadMessage);
    EXPECT_EQ(Messages.size(), 4);
}

TEST_F(DiscCommand, ATitleTooLongForATextObjectIsCutWithAnEllipsis)
{
    // A title of two million characters measures past what text measuring counts.
    const QString artist(2000000, QLatin1Char('W'));
    Server.Reply(kQuery, "200 rock 0200B401 x\r\n");
    Server.Reply(kRead, "210 rock 0200B401 CD database entry follows\r\nDTITLE=" + artist.toUtf8() +
                            " / Album\r\nTTITLE0=" + artist.toUtf8() + "\r\n.\r\n");
    RunCommand();
    ASSERT_EQ(Messages, QStringList({kReadMessage}));
    ASSERT_EQ(Rows().size(), 1);
    QTreeWidget* tree = Catalogue->ListView1->Tree();
    tree->setCurrentItem(tree->topLevelItem(0));
    // "Vložit název", pressed with the mouse.
    QWidget* button = Catalogue->Button6->Handle();
    MouseClick(button, button->rect().center());
    TControl* title = Main()->SelectedObject;
    ASSERT_NE(title, Main()->SizeLabel);
    const QString caption = static_cast<TLabel*>(title)->Caption();
    EXPECT_EQ(caption, QString(254, QLatin1Char('W')) + QChar(0x2026) + QStringLiteral(" - Album"));
    EXPECT_GT(title->Width(), 0);
}

// A catalogue file that cannot be used is the catalogue's fault, told as such:
// no server is asked, no lookup failure claimed, and no window opens on it.
TEST_F(DiscCommand, ALockedCatalogueIsToldAsLockedAndTheLookupWorksOnceTheLockIsGone)
{
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    Server.Reply(kRead, kReadReply);
    const QString path = Catalogue->Catalogue().FileName();
    {
        TDBConnection other(path, false);
        other.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
        RunCommand();
        other.Execute(QStringLiteral("COMMIT"));
    }
    EXPECT_EQ(Messages, QStringList({QStringLiteral("Katalog disků „%1“ nelze použít: soubor zamkl jiný program. "
                                                    "Zkuste to znovu, až ho uvolní.").arg(path)}));
    EXPECT_TRUE(Server.Commands().isEmpty());
    EXPECT_FALSE(Catalogue->Visible());
    EXPECT_FALSE(Main()->Modified);

    // Locked while the server answers: the disc found cannot be stored, and
    // the next command asks again rather than taking it as done.
    {
        TDBConnection other(path, false);
        Main()->CDDBConnect1->OnReceiveData = [&](TComponent*, const QString&) {
            if (!other.InTransaction())
                other.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
        };
        RunCommand();
        Main()->CDDBConnect1->OnReceiveData = nullptr;
        other.Execute(QStringLiteral("COMMIT"));
    }
    EXPECT_EQ(Messages.size(), 2);
    EXPECT_EQ(Messages.last(), Messages.first());
    EXPECT_EQ(Server.Commands(), QStringList({kQuery, kRead}));
    EXPECT_FALSE(Catalogue->Visible());

    RunCommand();
    EXPECT_EQ(Messages.last(), kReadMessage);
    EXPECT_EQ(Server.Commands(), QStringList({kQuery, kRead, kQuery, kRead}));
    EXPECT_TRUE(Catalogue->Visible());
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Some Artist / Some Album")}));
}

TEST_F(DiscCommand, ADamagedOrForeignCatalogueIsToldWithItsNameAndNoServerIsAsked)
{
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    Server.Reply(kRead, kReadReply);
    const QString path = Catalogue->Catalogue().FileName();
    const QString damaged = QStringLiteral("Katalog disků „%1“ nelze použít: soubor je poškozený.").arg(path);
    const QString foreign =
        QStringLiteral("Katalog disků „%1“ nelze použít: soubor obsahuje jinou databázi než katalog disků.").arg(path);
    // The program starts on the file as it is now.
    auto restart = [&] {
        Catalogue.reset();
        Catalogue = std::make_unique<TCDDatabaseForm>(nullptr);
    };

    Catalogue.reset();
    ASSERT_TRUE(QFile::remove(path));
    {
        QFile junk(path);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, 'j'));
    }
    restart();
    RunCommand();
    EXPECT_EQ(Messages, QStringList({damaged}));
    // With no disc in the drive: that, then the catalogue's fault.
    Main()->CDDBConnect1->SetDeviceName(MakeTempDir() + QStringLiteral("/none.cue"));
    RunCommand();
    EXPECT_EQ(Messages, QStringList({damaged, kNoDiscMessage, damaged}));
    EXPECT_FALSE(Catalogue->Visible());

    Catalogue.reset();
    ASSERT_TRUE(QFile::remove(path));
    {
        TDBConnection other(path, true);
        other.Execute(QStringLiteral("CREATE TABLE Invoices (Number INT, Total REAL)"));
    }
    restart();
    Messages.clear();
    Main()->CDDBConnect1->SetDeviceName(Cue);
    RunCommand();
    EXPECT_EQ(Messages, QStringList({foreign}));
    EXPECT_TRUE(Server.Commands().isEmpty());
    EXPECT_FALSE(Catalogue->Visible());
    EXPECT_FALSE(Main()->Modified);
}

TEST_F(DiscCommand, ATricklingServerIsGivenUpWithinSecondsAndAnOversizedReplyIsToldAsSuch)
{
    // Headers at once, then a byte every 4 s: never silent for long enough to
    // count as not answering, but the lookup keeps the window frozen.
    Server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    Server.SetTrickle(4000);
    QElapsedTimer clock;
    clock.start();
    RunCommand();
    EXPECT_LT(clock.elapsed(), 9500);
    EXPECT_EQ(Messages, QStringList({Failure(QStringLiteral("Server CDDB posílal odpověď příliš pomalu."))}));
    EXPECT_TRUE(Main()->LastEntry->DiscId.isEmpty());

    // A reply of megabytes is no lookup's answer. (Another server: the first
    // one is still trickling its reply to nobody.)
    TestCddbServer big;
    big.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n" + QByteArray(5 * 1024 * 1024, 'x'));
    Main()->CDDBConnect1->SetServer(big.BaseUrl());
    RunCommand();
    EXPECT_EQ(Messages.last(), Failure(QStringLiteral("Odpověď serveru CDDB je příliš velká.")));
    EXPECT_EQ(Catalogue->Catalogue().Count(), 0);
}
