// The catalogue window: its list, and the actions on the selected disc.
#include "catalogue/cd_database.h"
#include "catalogue/cd_database_form.h"
#include "catalogue/cddb_entry.h"
#include "catalogue/db_connection.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"
#include "fake_dialogs.h"
#include "qt_print.h"
#include "test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace TestSupport;

namespace {

struct Inserted {
    QString Text;
    int Size = 0;
};

// A catalogue window on a catalogue of its own, with the design stood in by
// a record of what was inserted.
class CatalogueWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = MakeTempDir();
        TCDDatabase::SetDefaultFolder(FFolder);
        MakeWindow();
    }
    // The window as the next start of the program makes it, on the same catalogue.
    void MakeWindow()
    {
        Form.reset();
        Form = std::make_unique<TCDDatabaseForm>(nullptr);
        Form->OnInsertText = [this](const QString& text, int size) { Insertions.push_back({text, size}); };
        Form->OnModified = [this](TComponent*) { ++Modified; };
    }
    void TearDown() override
    {
        Form.reset();
        TCDDatabase::SetDefaultFolder(QString());
    }
    void Store(const QString& id, const QString& artist, const QString& title, const QStringList& tracks)
    {
        TCDDBEntry entry;
        entry.DiscId = id;
        entry.ArtistTitle = artist;
        entry.CDTitle = title;
        entry.Tracks = tracks;
        Form->Catalogue().Add(entry);
    }
    // The rows as shown: "title | artist".
    QStringList Rows() const
    {
        QStringList rows;
        QTreeWidget* tree = Form->ListView1->Tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            rows.append(tree->topLevelItem(i)->text(0) + QStringLiteral(" | ") + tree->topLevelItem(i)->text(1));
        return rows;
    }
    void ShowWindow()
    {
        Form->Show();
        QTest::qWait(1);
    }
    // Opens the catalogue file again, as the next start of the program does.
    std::unique_ptr<TCDDatabase> Reopened() const { return std::make_unique<TCDDatabase>(nullptr, FFolder); }

    std::unique_ptr<TCDDatabaseForm> Form;
    std::vector<Inserted> Insertions;
    int Modified = 0;
    QString FFolder;
};

} // namespace

TEST_F(CatalogueWindow, ShowingListsTheDiscsByArtistAndLaterAdditionsLast)
{
    Store(QStringLiteral("0000000B"), QStringLiteral("B"), QStringLiteral("Bee"), {QStringLiteral("b1")});
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("Ay"), {QStringLiteral("a1")});
    MakeWindow();
    ShowWindow();
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Ay | A"), QStringLiteral("Bee | B")}));
    Store(QStringLiteral("0000000C"), QStringLiteral("0 first by name"), QStringLiteral("Cee"), {});
    EXPECT_EQ(Rows().size(), 2); // until refreshed
    Form->Button2->Button()->click();
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Ay | A"), QStringLiteral("Bee | B"),
                                   QStringLiteral("Cee | 0 first by name")}));
    // Showing the window again refreshes it too.
    Form->Hide();
    Store(QStringLiteral("0000000D"), QStringLiteral("D"), QStringLiteral("Dee"), {});
    ShowWindow();
    EXPECT_EQ(Rows().size(), 4);
}

TEST_F(CatalogueWindow, InsertingATrackListNumbersTheTitlesAtEightPoints)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("First"),
          {QStringLiteral("Intro"), QStringLiteral("Song"), QStringLiteral("Outro")});
    Store(QStringLiteral("0000000B"), QStringLiteral("B"), QStringLiteral("Second"), {QStringLiteral("Only")});
    ShowWindow();
    Form->ListView1->SetItemIndex(0);
    Form->Button5->Button()->click();
    ASSERT_EQ(Insertions.size(), 1u);
    EXPECT_EQ(Insertions[0].Text, QStringLiteral("1. Intro\r\n2. Song\r\n3. Outro\r\n"));
    EXPECT_EQ(Insertions[0].Size, 8);
    EXPECT_EQ(Modified, 1);
    EXPECT_FALSE(Form->Visible());

    // A second disc, by a double click on its row: only its own lines.
    ShowWindow();
    QTreeWidget* tree = Form->ListView1->Tree();
    MouseDoubleClick(tree->viewport(), tree->visualItemRect(tree->topLevelItem(1)).center());
    ASSERT_EQ(Insertions.size(), 2u);
    EXPECT_EQ(Insertions[1].Text, QStringLiteral("1. Only\r\n"));
    EXPECT_FALSE(Form->Visible());
}

TEST_F(CatalogueWindow, InsertingTheTitleJoinsArtistAndTitleAtFourteenPoints)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("T"), {QStringLiteral("x")});
    ShowWindow();
    Form->ListView1->SetItemIndex(0);
    Form->Button6->Button()->click();
    ASSERT_EQ(Insertions.size(), 1u);
    EXPECT_EQ(Insertions[0].Text, QStringLiteral("A - T"));
    EXPECT_EQ(Insertions[0].Size, 14);
    EXPECT_EQ(Modified, 1);
    EXPECT_FALSE(Form->Visible());
}

TEST_F(CatalogueWindow, WithNothingSelectedTheActionsDoNothing)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("T"), {QStringLiteral("x")});
    ShowWindow();
    FakeCDDBDialogs dialogs;
    for (TButton* b : {Form->Button5, Form->Button6, Form->Button3, Form->Button4})
        b->Button()->click();
    EXPECT_TRUE(Insertions.empty());
    EXPECT_EQ(Modified, 0);
    EXPECT_EQ(dialogs.EditCalls, 0);
    EXPECT_EQ(Form->Catalogue().Count(), 1);
    EXPECT_TRUE(Form->Visible());
}

TEST_F(CatalogueWindow, DeletingRemovesTheDiscWithItsTitles)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("Ay"), {QStringLiteral("a1")});
    Store(QStringLiteral("0000000B"), QStringLiteral("B"), QStringLiteral("Bee"), {QStringLiteral("b1"), QStringLiteral("b2")});
    ShowWindow();
    Form->ListView1->SetItemIndex(1);
    Form->Button3->Button()->click();
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Ay | A")}));
    EXPECT_EQ(Form->ListView1->ItemIndex(), -1);
    auto catalogue = Reopened();
    EXPECT_EQ(catalogue->Count(), 1);
    const TQueryResult tracks = catalogue->Connection()->Query(QStringLiteral("SELECT * FROM Track WHERE CDID = '0000000B'"));
    EXPECT_TRUE(tracks.Rows.empty());
}

TEST_F(CatalogueWindow, EditingStoresTheDiscAndTheRowsFollowItsNewPlace)
{
    Store(QStringLiteral("0000000A"), QStringLiteral("A"), QStringLiteral("Ay"), {QStringLiteral("a1"), QStringLiteral("a2")});
    Store(QStringLiteral("0000000B"), QStringLiteral("B"), QStringLiteral("Bee"), {QStringLiteral("b1")});
    ShowWindow();
    FakeCDDBDialogs dialogs;
    dialogs.Edit = [](QString& title, QString&, QStringList& tracks) {
        title = QStringLiteral("Ay edited");
        tracks[1] = QStringLiteral("a2 edited");
        return true;
    };
    Form->ListView1->SetItemIndex(0);
    Form->Button4->Button()->click();
    EXPECT_EQ(dialogs.ShownCDTitle, QStringLiteral("Ay"));
    EXPECT_EQ(dialogs.ShownTracks, QStringList({QStringLiteral("a1"), QStringLiteral("a2")}));
    // The edited disc is stored at the end of the list and stays selected there.
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Bee | B"), QStringLiteral("Ay edited | A")}));
    EXPECT_EQ(Form->ListView1->ItemIndex(), 1);
    EXPECT_TRUE(Form->Visible());
    {
        auto catalogue = Reopened();
        TAccessDBEntry stored;
        ASSERT_TRUE(catalogue->Find(QStringLiteral("0000000A"), stored));
        EXPECT_EQ(stored.CDTitle, QStringLiteral("Ay edited"));
        EXPECT_EQ(stored.GetTracks(), QStringList({QStringLiteral("a1"), QStringLiteral("a2 edited")}));
    }
    // The first row is now the other disc: deleting it leaves the edited one.
    Form->ListView1->SetItemIndex(0);
    Form->Button3->Button()->click();
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Ay edited | A")}));

    // Storno stores nothing.
    dialogs.Edit = [](QString& title, QString&, QStringList&) {
        title = QStringLiteral("not stored");
        return false;
    };
    Form->ListView1->SetItemIndex(0);
    Form->Button4->Button()->click();
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("Ay edited | A")}));
}

TEST(CatalogueWindowWithoutFile, ACatalogueThatCannotBeOpenedIsReportedWhenUsed)
{
    TCDDatabase::SetDefaultFolder(MakeTempDir() + QStringLiteral("/missing/folder"));
    std::unique_ptr<TCDDatabaseForm> form;
    ASSERT_NO_THROW(form = std::make_unique<TCDDatabaseForm>(nullptr));
    TCDDatabase::SetDefaultFolder(QString());
    EXPECT_EQ(form->CDDatabase1, nullptr);
    try {
        form->Show();
        FAIL() << "showing the window must report the catalogue";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("CDLibrary.mdb"))) << e.Message().toStdString();
    }
    EXPECT_FALSE(form->Visible());
    // A later attempt asks again.
    EXPECT_THROW(form->Show(), EDatabaseError);
}

// The catalogue window is not modal: closed with Alt+F4 (the design's
// caption button or key does the same), the window that had the keyboard
// before, the main window, takes it back, with the control it had.
TEST_F(CatalogueWindow, ClosingGivesTheKeyboardBackToTheWindowThatHadIt)
{
    TForm main(nullptr);
    main.SetBounds(20, 20, 400, 300);
    auto* edit = new TEdit(&main);
    edit->SetParent(&main);
    main.SetActiveControl(edit);
    main.Show();
    auto hasTheKeyboard = [](TForm& form, QWidget* focus) {
        return QTest::qWaitFor(
            [&] { return QApplication::activeWindow() == form.Window() && QApplication::focusWidget() == focus; }, 1000);
    };
    ASSERT_TRUE(hasTheKeyboard(main, edit->Handle()));
    for (int round = 0; round < 2; ++round) {
        Form->Show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == Form->Window(); }, 1000));
        QTest::keyClick(Form->Window()->windowHandle(), Qt::Key_F4, Qt::AltModifier);
        EXPECT_FALSE(Form->Visible());
        EXPECT_TRUE(hasTheKeyboard(main, edit->Handle())) << round;
    }
}
