// The template chooser: how it reads the template file and what it hands back.

#include "designer_fixture.h"

#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_new.h"
#include "test_support.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
class TemplateChooser : public ::testing::Test {
protected:
    TemplateChooser()
    {
        FDir = TestSupport::MakeTempDir();
        F.Main()->AppDir = FDir;
        FChooser = std::make_unique<TFrmNew>(nullptr);
    }

    void WriteTemplates(const QString& text)
    {
        QFile f(FDir + "/defcd.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QString t = text;
        t.replace("\n", "\r\n");
        f.write(t.toUtf8());
    }

    QStringList Items(TListBox* list) const
    {
        QStringList r;
        for (int i = 0; i < list->Items()->Count(); ++i)
            r << list->Items()->Strings(i);
        return r;
    }

    QStringList Fields() const
    {
        TFrmNew* c = FChooser.get();
        return {c->PRT->Text(), c->PRL->Text(), c->PRS->Text(), c->PRV->Text(),
                c->PRT2->Text(), c->PRL2->Text(), c->PRS2->Text(), c->PRV2->Text(), c->TYP->Text()};
    }

    static TRect Bounds(const TControl* c) { return c->BoundsRect(); }

    TMainWindowFixture F;
    QString FDir;
    std::unique_ptr<TFrmNew> FChooser;
};

const char* kFiveDiscsThreeCounted = R"([CD]
ComboSize=3
Combo1=Disk A
PRT1=21,8
PRL1=46
PRS1=117
PRV1=41
PRT2=10
PRL2=20
PRS2=40
PRV2=100
Combo3=Disk C
PRT3=1
PRL3=2
PRS3=3
PRV3=4
Combo4=Disk D
Combo5=Disk E
[KRAB]
ComboSize=3
Combo1=Obal 1
PRT1=29,5
PRL1=45
PRS1=119,5
PRV1=119,5
PR2T1=32,5
PR2L1=48
PR2S1=113,5
PR2V1=113,5
Sirka1=1
Typ1=2
Combo2=Obal 2
PRT2=160
PRL2=30
PRS2=151
PRV2=117,5
Sirka2=0
Typ2=abc
Combo3=Obal 3
PRT3=1
PRL3=1
PRS3=1
PRV3=1
)";
} // namespace

TEST_F(TemplateChooser, ListsOnlyTheCountedTemplatesWithAQuestionMarkForMissingNames)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    FChooser->FormShow(nullptr);
    EXPECT_EQ(Items(FChooser->ListBox1), QStringList({"Disk A", "?", "Disk C"}));
    EXPECT_EQ(Items(FChooser->ListBox2), QStringList({"Obal 1", "Obal 2", "Obal 3"}));
    // It opens on the first disc template, neither confirmed nor a box.
    EXPECT_EQ(FChooser->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(FChooser->ListBox2->ItemIndex(), -1);
    EXPECT_FALSE(FChooser->IsConfirmed());
    EXPECT_FALSE(FChooser->IsBoxTemplate());
    EXPECT_EQ(FChooser->NazevSablony->Text(), "Disk A");
}

TEST_F(TemplateChooser, ADiscTemplateCarriesZerosForTheBoxFieldsUnlessTheBoxSectionHoldsKeysNumberedZero)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    FChooser->FormShow(nullptr);
    // Numbers are handed back as the file writes them.
    EXPECT_EQ(Fields(), QStringList({"21,8", "46", "117", "41", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(FChooser->Sirka->Checked());

    // A box template first, then a disc: the disc must not keep the box's values.
    FChooser->ListBox2->SetItemIndex(0);
    FChooser->ListBox2Click(FChooser->ListBox2);
    ASSERT_TRUE(FChooser->Sirka->Checked());
    FChooser->ListBox1->SetItemIndex(2);
    FChooser->ListBox1Click(FChooser->ListBox1);
    EXPECT_EQ(Fields(), QStringList({"1", "2", "3", "4", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(FChooser->Sirka->Checked());
    EXPECT_FALSE(FChooser->IsBoxTemplate());
    EXPECT_EQ(FChooser->ListBox2->ItemIndex(), -1);

    WriteTemplates(QString(kFiveDiscsThreeCounted) + "PR2T0=5\nPR2L0=6\nPR2S0=7\nPR2V0=8\nSirka0=1\nTyp0=3\n");
    FChooser->FormShow(nullptr);
    EXPECT_EQ(Fields(), QStringList({"21,8", "46", "117", "41", "5", "6", "7", "8", "3"}));
    EXPECT_TRUE(FChooser->Sirka->Checked());
}

TEST_F(TemplateChooser, ABoxTemplateReadsItsFlagsAndTypeAndSwitchesTheKind)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    FChooser->FormShow(nullptr);
    FChooser->ListBox2->SetItemIndex(0);
    FChooser->ListBox2Click(FChooser->ListBox2);
    EXPECT_TRUE(FChooser->IsBoxTemplate());
    EXPECT_EQ(FChooser->ListBox1->ItemIndex(), -1);
    EXPECT_EQ(Fields(), QStringList({"29,5", "45", "119,5", "119,5", "32,5", "48", "113,5", "113,5", "2"}));
    EXPECT_TRUE(FChooser->Sirka->Checked());
    EXPECT_EQ(FChooser->NazevSablony->Text(), "Obal 1");

    // "Sirka" "0" is off; a "Typ" that is no integer reads as 0.
    FChooser->ListBox2->SetItemIndex(1);
    FChooser->ListBox2Click(FChooser->ListBox2);
    EXPECT_FALSE(FChooser->Sirka->Checked());
    EXPECT_EQ(FChooser->TYP->Text(), "0");
    // Absent keys: "Sirka" off, "Typ" 0, rectangle 2 zeros.
    FChooser->ListBox2->SetItemIndex(2);
    FChooser->ListBox2Click(FChooser->ListBox2);
    EXPECT_EQ(Fields(), QStringList({"1", "1", "1", "1", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(FChooser->Sirka->Checked());

    // Back to the disc list: a disc again.
    FChooser->ListBox1->SetItemIndex(0);
    FChooser->ListBox1Click(FChooser->ListBox1);
    EXPECT_FALSE(FChooser->IsBoxTemplate());
    EXPECT_EQ(FChooser->ListBox2->ItemIndex(), -1);
    EXPECT_EQ(FChooser->CV->Shape(), stCircle);
}

TEST_F(TemplateChooser, PreviewsAtHalfAPixelPerMillimetreWithTheHoleCentred)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    FChooser->FormShow(nullptr);
    // 117 mm disc at (46, 21.8), 41 mm hole.
    EXPECT_EQ(Bounds(FChooser->CV), TRect(23, 10, 81, 68));
    EXPECT_EQ(Bounds(FChooser->CL), TRect(42, 29, 62, 49));
    EXPECT_EQ(FChooser->CV->Shape(), stCircle);

    // A hole larger than the disc is still centred over it.
    FChooser->ListBox1->SetItemIndex(1);
    FChooser->ListBox1Click(FChooser->ListBox1);
    EXPECT_EQ(Bounds(FChooser->CV), TRect(10, 5, 30, 25));
    EXPECT_EQ(Bounds(FChooser->CL), TRect(-5, -10, 45, 40));

    FChooser->ListBox2->SetItemIndex(0);
    FChooser->ListBox2Click(FChooser->ListBox2);
    EXPECT_EQ(FChooser->CV->Shape(), stRectangle);
    EXPECT_EQ(Bounds(FChooser->CV), TRect(22, 14, 81, 73));
    EXPECT_EQ(Bounds(FChooser->CL), TRect(24, 16, 80, 72));
}

TEST_F(TemplateChooser, ATemplateWhoseNumbersDoNotParseIsLeftOutAndToldOnce)
{
    WriteTemplates("[CD]\nComboSize=3\nCombo1=Spatny\nPRT1=21.8\nPRL1=46\nPRS1=117\nPRV1=41\n"
                   "Combo2=Dobry\nPRT2=20\nPRL2=40\nPRS2=118\nPRV2=44\n"
                   "Combo3=Obri\nPRT3=20\nPRL3=40\nPRS3=1e9\nPRV3=44\n"
                   "[KRAB]\nComboSize=2\nCombo1=Krabice\nPRT1=1\nPRL1=1\nPRS1=100\nPRV1=100\nPR2S1=x\n"
                   "Combo2=Obal\nPRT2=2\nPRL2=3\nPRS2=100\nPRV2=90\n");
    QStringList messages;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        messages << text;
        return IDOK;
    });
    FChooser->FormShow(nullptr);
    ASSERT_EQ(messages.size(), 1);
    for (const char* bad : {"Spatny (PRT1 = „21.8“)", "Obri (PRS3 = „1e9“)", "Krabice (PR2S1 = „x“)"})
        EXPECT_TRUE(messages[0].contains(QString::fromUtf8(bad))) << messages[0].toStdString();
    EXPECT_EQ(Items(FChooser->ListBox1), QStringList({"Dobry"}));
    EXPECT_EQ(Items(FChooser->ListBox2), QStringList({"Obal"}));
    // Each line keeps the number of its template.
    EXPECT_EQ(FChooser->NazevSablony->Text(), "Dobry");
    EXPECT_EQ(FChooser->PRS->Text(), "118");
    EXPECT_EQ(Bounds(FChooser->CV), TRect(20, 10, 79, 69));
    FChooser->ListBox2->SetItemIndex(0);
    FChooser->ListBox2Click(FChooser->ListBox2);
    EXPECT_EQ(FChooser->PRL->Text(), "3");
    EXPECT_EQ(FChooser->TemplateNumberAt(true, 0), 2);

    // The same file again says nothing; once mended and damaged anew it does.
    FChooser->FormShow(nullptr);
    EXPECT_EQ(messages.size(), 1);
    WriteTemplates("[CD]\nComboSize=1\nCombo1=Dobry\nPRT1=20\nPRL1=40\nPRS1=118\nPRV1=44\n");
    FChooser->FormShow(nullptr);
    EXPECT_EQ(messages.size(), 1);
    WriteTemplates("[CD]\nComboSize=1\nCombo1=Dobry\nPRT1=20\nPRL1=40\nPRS1=118\nPRV1=4.4\n");
    FChooser->FormShow(nullptr);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(FChooser->ListBox1->Items()->Count(), 0);
    // Hundreds of damaged templates make a message of a few lines, not hundreds.
    WriteTemplates("[CD]\nComboSize=500\n[KRAB]\nPR2T0=x\n");
    FChooser->FormShow(nullptr);
    ASSERT_EQ(messages.size(), 3);
    EXPECT_LT(messages[2].count('\n'), 15);
    EXPECT_TRUE(messages[2].contains(QString::fromUtf8("… a dalších 490"))) << messages[2].toStdString();
}

TEST_F(TemplateChooser, ALabelOfNoSizeIsLeftOutOfNewWithTheSameMessage)
{
    WriteTemplates("[CD]\nComboSize=5\nCombo1=Nula\nPRT1=20\nPRL1=40\nPRS1=0\nPRV1=41\n"
                   "Combo2=Zaporny\nPRT2=20\nPRL2=40\nPRS2=117\nPRV2=-41\n"
                   "Combo3=Chybi\nPRT3=20\nPRL3=40\nPRV3=41\n"
                   "Combo4=Drobny\nPRT4=20\nPRL4=40\nPRS4=5e-324\nPRV4=41\n"
                   "Combo5=Dobry\nPRT5=20\nPRL5=40\nPRS5=118\nPRV5=44\n"
                   "[KRAB]\nComboSize=2\nCombo1=Plochy\nPRT1=1\nPRL1=1\nPRS1=100\nPRV1=0,0001\n"
                   "Combo2=Bez vysky\nPRT2=1\nPRL2=1\nPRS2=100\n");
    F.ShowWindow();
    F.Main()->AppDir = FDir; // the first show took the program's own folder
    TFrmMain* m = F.Main();
    QStringList messages;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        messages << text;
        return IDOK;
    });
    QStringList listed;
    QTimer::singleShot(20, [&] {
        listed = Items(FChooser->ListBox1) + Items(FChooser->ListBox2);
        TestSupport::MouseClick(FChooser->btnOK->Handle(), QPoint(5, 5));
    });
    QTimer giveUp; // a failure ends, not hangs
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [this] { FChooser->Close(); });
    giveUp.start(5000);
    m->mnNewClick(m);
    giveUp.stop();
    messages = messages.filter(QString::fromUtf8("nejsou v nabídce"));
    ASSERT_EQ(messages.size(), 1);
    for (const char* bad : {"Nula (PRS1 = „0“)", "Zaporny (PRV2 = „-41“)", "Chybi (PRS3 chybí)",
                            "Drobny (PRS4 = „5e-324“)", "Plochy (PRV1 = „0,0001“)", "Bez vysky (PRV2 chybí)",
                            "menší než 1 mm"})
        EXPECT_TRUE(messages[0].contains(QString::fromUtf8(bad))) << bad << "\n" << messages[0].toStdString();
    EXPECT_EQ(listed, QStringList({"Dobry"}));
    // New took the one sound template, not a disc of no size.
    EXPECT_EQ(m->GetTemplateParam("Okraj"), "118");
    EXPECT_EQ(m->GetTemplateParam("sNazevSablony"), "Dobry");
    EXPECT_EQ(m->PNLCD->Width(), m->MmToPixels(122));
    SetMessageBoxHook(nullptr);
}

TEST_F(TemplateChooser, WithoutAFileBothListsAreEmptyAndTheNameIsEmpty)
{
    FChooser->NazevSablony->SetText("stary");
    FChooser->FormShow(nullptr);
    EXPECT_EQ(FChooser->ListBox1->Items()->Count(), 0);
    EXPECT_EQ(FChooser->ListBox2->Items()->Count(), 0);
    EXPECT_EQ(FChooser->NazevSablony->Text(), "");
    EXPECT_EQ(Fields(), QStringList({"0", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(FChooser->IsBoxTemplate());
}

TEST_F(TemplateChooser, AnAbsurdCountDoesNotHangTheWindow)
{
    WriteTemplates("[CD]\nComboSize=2000000000\nCombo1=Jediny\nPRS1=117\nPRV1=41\n"
                   "PRS1000=117\nPRV1000=41\nPRS1001=117\nPRV1001=41\n[KRAB]\nComboSize=-4\n");
    FChooser->FormShow(nullptr);
    // A thousand templates are looked at, no more; those of no size are left out.
    EXPECT_EQ(FChooser->ListBox1->Items()->Count(), 2);
    EXPECT_EQ(FChooser->ListBox1->Items()->Strings(0), "Jediny");
    EXPECT_EQ(FChooser->ListBox2->Items()->Count(), 0);
}

TEST_F(TemplateChooser, ADoubleClickConfirmsLikeOkWhileStornoAndTheTitleBarDoNot)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    TFrmNew* c = FChooser.get();
    // Double click on the second box template.
    QTimer::singleShot(10, [c] {
        const TRect r = c->ListBox2->ItemRect(1);
        TestSupport::MouseDoubleClick(c->ListBox2->Handle(), QPoint(r.Left + 5, r.Top + 3));
    });
    c->ShowModal();
    EXPECT_TRUE(c->IsConfirmed());
    EXPECT_TRUE(c->IsBoxTemplate());
    EXPECT_EQ(c->NazevSablony->Text(), "Obal 2");
    EXPECT_EQ(c->PRT->Text(), "160");

    // Every showing starts afresh: Storno leaves it unconfirmed, on the first disc.
    QTimer::singleShot(10, [c] { TestSupport::MouseClick(c->btnStorno->Handle(), QPoint(5, 5)); });
    c->ShowModal();
    EXPECT_FALSE(c->IsConfirmed());
    EXPECT_FALSE(c->IsBoxTemplate());
    EXPECT_EQ(c->NazevSablony->Text(), "Disk A");

    QTimer::singleShot(10, [c] { c->Window()->close(); });
    c->ShowModal();
    EXPECT_FALSE(c->IsConfirmed());

    QTimer::singleShot(10, [c] { TestSupport::MouseClick(c->btnOK->Handle(), QPoint(5, 5)); });
    c->ShowModal();
    EXPECT_TRUE(c->IsConfirmed());
    EXPECT_FALSE(c->IsBoxTemplate());
    EXPECT_EQ(c->PRS->Text(), "117");
}

TEST(TemplateFile, TheSuppliedSheetsAreWellFormed)
{
    TMainWindowFixture f;
    f.Main()->AppDir = TestSupport::BinDir();
    TFrmNew chooser(nullptr);
    chooser.FormShow(nullptr);
    ASSERT_GE(chooser.ListBox1->Items()->Count(), 6);
    ASSERT_GE(chooser.ListBox2->Items()->Count(), 5);
    // Every template parses and lies on an A4 sheet; a box's inner rectangle lies within the label.
    for (int i = 0; i < chooser.ListBox1->Items()->Count(); ++i) {
        chooser.ListBox1->SetItemIndex(i);
        chooser.ListBox1Click(chooser.ListBox1);
        const double top = StrToFloat(chooser.PRT->Text()), left = StrToFloat(chooser.PRL->Text());
        const double d = StrToFloat(chooser.PRS->Text()), hole = StrToFloat(chooser.PRV->Text());
        EXPECT_NE(chooser.NazevSablony->Text(), "?");
        EXPECT_GT(hole, 0);
        EXPECT_LT(hole, d);
        EXPECT_LE(left + d, 210.0) << i;
        EXPECT_LE(top + d, 297.0) << i;
        EXPECT_EQ(chooser.TYP->Text(), "0");
    }
    for (int i = 0; i < chooser.ListBox2->Items()->Count(); ++i) {
        chooser.ListBox2->SetItemIndex(i);
        chooser.ListBox2Click(chooser.ListBox2);
        const double top = StrToFloat(chooser.PRT->Text()), left = StrToFloat(chooser.PRL->Text());
        const double w = StrToFloat(chooser.PRS->Text()), h = StrToFloat(chooser.PRV->Text());
        const double top2 = StrToFloat(chooser.PRT2->Text()), left2 = StrToFloat(chooser.PRL2->Text());
        const double w2 = StrToFloat(chooser.PRS2->Text()), h2 = StrToFloat(chooser.PRV2->Text());
        EXPECT_LE(left + w, 210.0) << i;
        EXPECT_LE(top + h, 297.0) << i;
        EXPECT_GE(left2, left) << i;
        EXPECT_GE(top2, top) << i;
        EXPECT_LE(left2 + w2, left + w) << i;
        EXPECT_LE(top2 + h2, top + h) << i;
        const int typ = StrToInt(chooser.TYP->Text());
        EXPECT_TRUE(typ >= 0 && typ <= 3) << i;
        // A DVD cover lies turned on the sheet.
        EXPECT_EQ(chooser.Sirka->Checked(), typ == 3) << i;
    }
}

// The window opens with the disc list focused: the arrow keys pick a template
// and Enter takes it, without a click.
TEST_F(TemplateChooser, OpensWithTheDiscListFocusedForTheKeyboard)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    TFrmNew* c = FChooser.get();
    F.ShowWindow();
    F.Main()->AppDir = FDir; // the first show took the program's own folder
    QApplication::setActiveWindow(F.Main()->Window()); // the command came from the main window
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        bool focused = false;
        // Acts once the chooser is up and has the keyboard, however long that takes.
        QTimer keys;
        QObject::connect(&keys, &QTimer::timeout, [&] {
            if (!c->IsModal() || QApplication::activeWindow() != c->Window())
                return;
            keys.stop();
            focused = QApplication::focusWidget() == c->ListBox1->Handle();
            if (showing == 0) { // the focus wanders off before the window closes
                c->btnStorno->SetFocus();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                return;
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        keys.start(5);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [c] { c->SetModalResult(mrCancel); });
        giveUp.start(10000);
        c->ShowModal();
        EXPECT_TRUE(focused);
        QTest::qWait(20); // back in the main window for a moment
    }
    EXPECT_TRUE(c->IsConfirmed());
    EXPECT_EQ(c->NazevSablony->Text(), "Disk C");
    EXPECT_EQ(c->PRS->Text(), "3");
}

TEST_F(TemplateChooser, ATemplateFileTooLargeOrNoPlainFileIsToldOnceWithEmptyLists)
{
    WriteTemplates(kFiveDiscsThreeCounted);
    const QString file = FDir + "/defcd.ini";
    ASSERT_TRUE(QFile::resize(file, MaxProfileFileBytes + 1));
    QStringList messages;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        messages << text;
        return IDOK;
    });
    FChooser->FormShow(nullptr);
    FChooser->FormShow(nullptr);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(file)) << messages[0].toStdString();
    EXPECT_EQ(FChooser->ListBox1->Items()->Count(), 0);
    // A device in its place neither hangs nor grows: it is told the same way.
    QFile::remove(file);
    ASSERT_TRUE(QFile::link("/dev/zero", file));
    FChooser->FormShow(nullptr);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(file)) << messages[1].toStdString();
    EXPECT_EQ(FChooser->ListBox2->Items()->Count(), 0);
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
}
