// The template editors: which keys of the template file they write, and when.

#include "designer_fixture.h"

#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_edit_sablona.h"
#include "designer/forms/frm_edit_sablona_box.h"
#include "designer/forms/frm_new.h"
#include "test_support.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {
const char* kFiveDiscs = "; label sheets\r\n"
                         "[CD]\r\n"
                         "ComboSize=5\r\n"
                         "Combo1=Disk 1\r\nPRT1=1\r\nPRL1=1\r\nPRS1=117\r\nPRV1=41\r\n"
                         "Combo2=Disk 2\r\nPRT2=2\r\nPRL2=2\r\nPRS2=117\r\nPRV2=41\r\n"
                         "Combo3=Disk 3\r\nPRT3=21,8\r\nPRL3=46\r\nPRS3=117\r\nPRV3=17\r\n"
                         "Combo4=Disk 4\r\nPRT4=4\r\nPRL4=4\r\nPRS4=117\r\nPRV4=41\r\n"
                         "Combo5=Disk 5\r\nPRT5=5\r\nPRL5=5\r\nPRS5=117\r\nPRV5=41\r\n"
                         "\r\n"
                         "[KRAB]\r\n"
                         "ComboSize=2\r\n"
                         "Combo1=Obal\r\nPRT1=10\r\nPRL1=11\r\nPRS1=120\r\nPRV1=118\r\n"
                         "PR2T1=12\r\nPR2L1=13\r\nPR2S1=100\r\nPR2V1=90\r\nSirka1=1\r\nTyp1=2\r\n"
                         "Combo2=Divny\r\nPRS2=50\r\nPRV2=40\r\nTyp2=7\r\n";

// Ends a modal showing that a failure left open; stopped when the scope ends,
// so it never reaches a window of a later test.
class TGiveUp {
public:
    explicit TGiveUp(const std::function<void()>& act)
    {
        FTimer.setSingleShot(true);
        QObject::connect(&FTimer, &QTimer::timeout, act);
        FTimer.start(5000);
    }

private:
    QTimer FTimer;
};

class TemplateEditors : public ::testing::Test {
protected:
    TemplateEditors()
        : FChooser((F.Main()->AppDir = FDir, std::make_unique<TFrmNew>(nullptr))),
          FDisc(std::make_unique<TFrmEditSablona>(nullptr)), FBox(std::make_unique<TFrmEditSablonaBox>(nullptr))
    {
    }
    ~TemplateEditors() override { SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; }); }

    QString File() const { return FDir + "/defcd.ini"; }
    void Write(const QByteArray& bytes)
    {
        QFile f(File());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Bytes() const { return TestSupport::ReadFile(File()); }
    QString Key(const char* section, const QString& key) const
    {
        return TIniFile(File()).ReadString(section, key, "(none)");
    }
    // The chooser as the user leaves it (line `index` of a list clicked), then
    // the editor showing on it.
    void Open(TTemplateEditor* editor, int index)
    {
        FChooser->FormShow(nullptr);
        const bool box = editor == FBox.get();
        TListBox* list = box ? FChooser->ListBox2 : FChooser->ListBox1;
        list->SetItemIndex(index);
        box ? FChooser->ListBox2Click(list) : FChooser->ListBox1Click(list);
        editor->FormShow(nullptr);
    }

    // Lengths the editor accepts in every number field of a template.
    static void FillSound(TTemplateEditor* editor)
    {
        for (const char* name : {"PRT", "PRL", "PRS", "PRV", "PRT2", "PRL2", "PRS2", "PRV2"})
            if (auto* e = dynamic_cast<TEdit*>(editor->FindComponent(name)))
                e->SetText("10");
    }

    TMainWindowFixture F;
    QString FDir = TestSupport::MakeTempDir();
    std::unique_ptr<TFrmNew> FChooser;
    std::unique_ptr<TFrmEditSablona> FDisc;
    std::unique_ptr<TFrmEditSablonaBox> FBox;
};
} // namespace

TEST_F(TemplateEditors, WithoutACountAnAddedTemplateGetsTheNumberAfterTheEditorsDefault)
{
    // No file at all: the chooser lists nothing, the editors count 21 and 12.
    Open(FDisc.get(), 0);
    EXPECT_FALSE(FDisc->btnSmazat->Visible());
    FDisc->btnPridatClick(nullptr);
    EXPECT_FALSE(FDisc->btnPridat->Enabled());
    FDisc->Nazev->SetText("Muj disk");
    FillSound(FDisc.get());
    FDisc->PRV->SetText("4,10"); // written as typed
    FDisc->BtnOkClick(nullptr);
    EXPECT_EQ(Key("CD", "ComboSize"), "22");
    EXPECT_EQ(Key("CD", "Combo22"), "Muj disk");
    EXPECT_EQ(Key("CD", "PRV22"), "4,10");
    // The chooser has read the file again: of the 22 templates counted, the
    // 21 the file does not hold have no size and are left out.
    ASSERT_EQ(FChooser->ListBox1->Items()->Count(), 1);
    EXPECT_EQ(FChooser->ListBox1->Items()->Strings(0), "Muj disk");
    EXPECT_EQ(FChooser->TemplateNumberAt(false, 0), 22);

    Open(FBox.get(), 0);
    FBox->btnPridatClick(nullptr);
    EXPECT_TRUE(FBox->typ0->Checked());
    FillSound(FBox.get());
    FBox->PRT2->SetText("12");
    FBox->SirkaBool->SetChecked(true);
    FBox->typ3->SetChecked(true);
    FBox->BtnOkClick(nullptr);
    EXPECT_EQ(Key("KRAB", "ComboSize"), "13");
    EXPECT_EQ(Key("KRAB", "PR2T13"), "12");
    EXPECT_EQ(Key("KRAB", "Sirka13"), "1");
    EXPECT_EQ(Key("KRAB", "Typ13"), "3");
    EXPECT_EQ(FChooser->ListBox2->Items()->Count(), 1);
    EXPECT_EQ(FChooser->TemplateNumberAt(true, 0), 13);
}

TEST_F(TemplateEditors, EditingATemplateRewritesOnlyItsOwnKeys)
{
    // Files made on either platform keep their line breaks.
    for (const char* lineBreak : {"\r\n", "\n"}) {
        QByteArray original(kFiveDiscs);
        original.replace("\r\n", lineBreak);
        Write(original);
        Open(FDisc.get(), 2);
        EXPECT_EQ(FDisc->Nazev->Text(), "Disk 3");
        EXPECT_EQ(FDisc->PRT->Text(), "21,8");
        EXPECT_FALSE(FDisc->btnSmazat->Visible());
        FDisc->Nazev->SetText("Disk tři");
        FDisc->PRS->SetText("118");
        FDisc->BtnOkClick(nullptr);

        QByteArray expected = original;
        expected.replace("Combo3=Disk 3", QString::fromUtf8("Combo3=Disk tři").toUtf8());
        expected.replace("PRS3=117", "PRS3=118");
        EXPECT_EQ(Bytes(), expected);
        // The chooser is back on the first disc template.
        EXPECT_EQ(FChooser->ListBox1->ItemIndex(), 0);
    }
}

TEST_F(TemplateEditors, OnlyTheLastTemplateCanBeDeletedAndItsKeysStayForTheNextAdd)
{
    Write(kFiveDiscs);
    Open(FDisc.get(), 3);
    EXPECT_FALSE(FDisc->btnSmazat->Visible());
    Open(FDisc.get(), 4);
    EXPECT_TRUE(FDisc->btnSmazat->Visible());
    QStringList asked;
    int answer = IDNO;
    SetMessageBoxHook([&](const QString& text, const QString& caption, unsigned flags) {
        asked << text + "|" + caption + "|" + QString::number(flags);
        return answer;
    });
    FDisc->btnSmazatClick(nullptr);
    EXPECT_EQ(Bytes(), QByteArray(kFiveDiscs));
    answer = IDYES;
    FDisc->btnSmazatClick(nullptr);
    EXPECT_EQ(asked, QStringList(2, QString::fromUtf8("Opravdu smazat tuto šablonu ?|Dotaz|%1")
                                        .arg(MB_YESNO | MB_ICONQUESTION)));
    EXPECT_EQ(Key("CD", "ComboSize"), "4");
    EXPECT_EQ(Key("CD", "Combo5"), "Disk 5");
    EXPECT_EQ(FChooser->ListBox1->Items()->Count(), 4);

    // The next add takes number 5 again and overwrites the old keys.
    Open(FDisc.get(), 0);
    FDisc->btnPridatClick(nullptr);
    FDisc->Nazev->SetText("Novy");
    FillSound(FDisc.get());
    FDisc->PRT->SetText("7");
    FDisc->BtnOkClick(nullptr);
    EXPECT_EQ(Key("CD", "ComboSize"), "5");
    EXPECT_EQ(Key("CD", "Combo5"), "Novy");
    EXPECT_EQ(Key("CD", "PRT5"), "7");
}

TEST_F(TemplateEditors, AKindBeyondTheFourKeepsTheButtonOfTheLastShowing)
{
    Write(kFiveDiscs);
    // First showing on the odd template: no kind checked, so none is written.
    Open(FBox.get(), 1);
    for (TRadioButton* r : {FBox->typ0, FBox->typ1, FBox->typ2, FBox->typ3})
        EXPECT_FALSE(r->Checked());
    FillSound(FBox.get()); // its sizes are 0: the editor would refuse them
    FBox->BtnOkClick(nullptr);
    EXPECT_EQ(Key("KRAB", "Typ2"), "7");
    EXPECT_EQ(Key("KRAB", "Sirka2"), "0");

    Open(FBox.get(), 0);
    EXPECT_TRUE(FBox->SirkaBool->Checked());
    EXPECT_EQ(FBox->PRV2->Text(), "90");
    Open(FBox.get(), 1);
    EXPECT_FALSE(FBox->SirkaBool->Checked());
    EXPECT_TRUE(FBox->typ2->Checked());
    FillSound(FBox.get());
    FBox->BtnOkClick(nullptr);
    EXPECT_EQ(Key("KRAB", "Typ2"), "2");
}

TEST_F(TemplateEditors, StornoAndFailedWritesLeaveTheFileAsItWas)
{
    Write(kFiveDiscs);
    Open(FDisc.get(), 0);
    FDisc->btnPridatClick(nullptr);
    FDisc->Nazev->SetText("Zahozeny");
    FDisc->BtnStornoClick(nullptr);
    EXPECT_EQ(Bytes(), QByteArray(kFiveDiscs));
    FDisc->FormShow(nullptr);
    EXPECT_FALSE(FDisc->AddMode());
    EXPECT_EQ(FDisc->Nazev->Text(), "Disk 1");

    // A read-only file: the error ends the command, nothing is written and
    // the chooser keeps its selection.
    ASSERT_TRUE(QFile::setPermissions(File(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    Open(FDisc.get(), 1);
    FDisc->PRT->SetText("9");
    EXPECT_THROW(FDisc->BtnOkClick(nullptr), EFileError);
    FDisc->btnPridatClick(nullptr);
    FillSound(FDisc.get());
    EXPECT_THROW(FDisc->BtnOkClick(nullptr), EFileError);
    EXPECT_EQ(FChooser->ListBox1->ItemIndex(), 1);
    QFile::setPermissions(File(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(Bytes(), QByteArray(kFiveDiscs));

    // A count that is no integer stops the editor before any write.
    Write("[CD]\r\nComboSize=pet\r\nCombo1=A\r\n");
    EXPECT_THROW(FDisc->FormShow(nullptr), EConvertError);
    EXPECT_THROW(FDisc->btnPridatClick(nullptr), EConvertError);
}

TEST_F(TemplateEditors, UpravitOpensTheEditorOfTheListLastClickedAndTheChooserStaysOpen)
{
    Write(kFiveDiscs);
    TFrmNew* c = FChooser.get();
    TFrmEditSablonaBox* box = FBox.get();
    QString shownName;
    bool chooserOpenAfter = false;
    QTimer::singleShot(10, [&, c, box] {
        c->ListBox2->SetItemIndex(0);
        c->ListBox2Click(c->ListBox2);
        QTimer::singleShot(10, [&, box] {
            shownName = box->Nazev->Text();
            box->PRL->SetText("15");
            TestSupport::MouseClick(box->BtnOk->Handle(), QPoint(5, 5));
        });
        TestSupport::MouseClick(c->btnUpravit->Handle(), QPoint(5, 5));
        chooserOpenAfter = c->Visible() && !box->Visible();
        c->btnStornoClick(nullptr);
    });
    TGiveUp giveUp([c, box] { box->Close(), c->Close(); }); // a failure ends, not hangs
    c->ShowModal();
    EXPECT_EQ(shownName, "Obal");
    EXPECT_TRUE(chooserOpenAfter);
    EXPECT_EQ(Key("KRAB", "PRL1"), "15");
}

TEST_F(TemplateEditors, ZeroNegativeAndNonNumbersAreRefusedNamingTheField)
{
    Write(kFiveDiscs);
    QStringList messages;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        messages << text;
        return IDOK;
    });
    const struct {
        bool Box;
        const char* Field;
        const char* Typed;
        const char* Named;
    } cases[] = {
        {false, "PRS", "0", "„Velký průměr“"},       {false, "PRV", "-5", "„Průměr středu“"},
        {false, "PRT", "abc", "„Zhora“"},            {false, "PRL", "4.5", "„Zleva“"},
        {true, "PRV2", "-5", "„Čtverec 2 – Výška“"}, {true, "PRS", "0", "„Čtverec 1 – Šířka“"},
        {true, "PRL2", "abc", "„Čtverec 2 – Zleva“"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Field) + " " + c.Typed);
        TTemplateEditor* editor = c.Box ? static_cast<TTemplateEditor*>(FBox.get()) : FDisc.get();
        Open(editor, 0);
        messages.clear();
        bool stillOpen = false;
        QWidget* focused = nullptr;
        auto* edit = static_cast<TEdit*>(editor->FindComponent(c.Field));
        ASSERT_NE(edit, nullptr);
        QTimer::singleShot(10, [&] {
            // The user selects the field's text, types over it and presses Ok.
            auto* line = static_cast<QLineEdit*>(edit->Handle());
            line->setFocus();
            QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(line, QString::fromUtf8(c.Typed));
            editor->Nazev->Handle()->setFocus(); // the user went on to the name
            TestSupport::MouseClick(editor->BtnOk->Handle(), QPoint(5, 5));
            stillOpen = editor->Visible();
            focused = editor->Window()->focusWidget();
            editor->Close();
        });
        TGiveUp giveUp([editor] { editor->Close(); }); // a failure ends, not hangs
        editor->ShowModal();
        EXPECT_EQ(edit->Text(), QString::fromUtf8(c.Typed));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QString::fromUtf8(c.Named))) << messages[0].toStdString();
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(focused, edit->Handle());
        EXPECT_EQ(Bytes(), QByteArray(kFiveDiscs));
    }
}

TEST_F(TemplateEditors, TabWalksTheFieldsAsTheyStandOnTheWindow)
{
    Write(kFiveDiscs);
    QApplication::setActiveWindow(F.Main()->Window());
    const struct {
        bool Box;
        QStringList Expected;
    } cases[] = {
        {false, {"Nazev", "PRT", "PRL", "PRS", "PRV", "btnPridat", "BtnOk", "BtnStorno", "Nazev"}},
        {true,
         {"Nazev", "PRT", "PRL", "PRS", "PRV", "PRT2", "PRL2", "PRS2", "PRV2", "SirkaBool", "typ0", "btnPridat",
          "BtnOk", "BtnStorno", "Nazev"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Box ? "box" : "disc");
        TTemplateEditor* editor = c.Box ? static_cast<TTemplateEditor*>(FBox.get()) : FDisc.get();
        Open(editor, 0);
        // The name of the control that holds the keyboard.
        auto focused = [editor]() -> QString {
            QWidget* w = editor->Window()->focusWidget();
            for (int i = 0; i < editor->ComponentCount(); ++i)
                if (auto* wc = dynamic_cast<TWinControl*>(editor->Components(i)); wc && wc->HandleAllocated() && wc->Handle() == w)
                    return wc->Name();
            return QStringLiteral("?");
        };
        QStringList walked;
        QTimer::singleShot(20, [&] {
            // Tab passes over the unchosen kinds only once the window has the keyboard.
            EXPECT_TRUE(QTest::qWaitFor([editor] { return editor->Window()->isActiveWindow(); }, 5000));
            editor->Nazev->Handle()->setFocus();
            walked << focused();
            for (int i = 1; i < c.Expected.size(); ++i) {
                QTest::keyClick(editor->Window()->focusWidget(), Qt::Key_Tab);
                walked << focused();
            }
            editor->Close();
        });
        TGiveUp giveUp([editor] { editor->Close(); });
        editor->ShowModal();
        EXPECT_EQ(walked, c.Expected);
    }
}

TEST_F(TemplateEditors, ARefusedValueKeepsTheFocusAndSaysTheSmallestSize)
{
    Write(kFiveDiscs);
    QApplication::setActiveWindow(F.Main()->Window());
    // The real message box: the user answers it with Enter.
    SetMessageBoxHook(nullptr);
    const struct {
        bool Box;
        const char* Field;
        int Tabs; // from the name to the field
        const char* Typed;
        const char* Message;
    } cases[] = {
        {false, "PRS", 3, "0,0001", "Pole „Velký průměr“ je rozměr: musí být nejméně 1 mm."},
        {false, "PRV", 4, "5e-324", "Pole „Průměr středu“ je rozměr: musí být nejméně 1 mm."},
        {true, "PRS2", 7, "0,99", "Pole „Čtverec 2 – Šířka“ je rozměr: musí být nejméně 1 mm."},
        {false, "PRT", 1, "",
         "Pole „Zhora“ je prázdné. Zapište do něj délku v milimetrech: číslo s desetinnou čárkou, nejvýše 1000."},
        {true, "PRL", 2, "",
         "Pole „Čtverec 1 – Zleva“ je prázdné. Zapište do něj délku v milimetrech: číslo s desetinnou čárkou, "
         "nejvýše 1000."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Field) + " " + c.Typed);
        TTemplateEditor* editor = c.Box ? static_cast<TTemplateEditor*>(FBox.get()) : FDisc.get();
        Open(editor, 0);
        auto* edit = static_cast<TEdit*>(editor->FindComponent(c.Field));
        ASSERT_NE(edit, nullptr);
        QString shown;
        QWidget* focused = nullptr;
        bool stillOpen = false;
        QTimer::singleShot(20, [&] {
            editor->Nazev->Handle()->setFocus();
            for (int i = 0; i < c.Tabs; ++i)
                QTest::keyClick(editor->Window()->focusWidget(), Qt::Key_Tab);
            QWidget* line = editor->Window()->focusWidget();
            QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(line, Qt::Key_Delete);
            QTest::keyClicks(line, QString::fromUtf8(c.Typed));
            // Tab on to Ok and press it: the box comes, Enter answers it.
            QTimer::singleShot(50, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown = box->text();
                    QTest::keyClick(box, Qt::Key_Return);
                }
            });
            TestSupport::MouseClick(editor->BtnOk->Handle(), QPoint(5, 5));
            QTest::qWait(50);
            stillOpen = editor->Visible();
            focused = editor->Window()->focusWidget();
            editor->Close();
        });
        TGiveUp giveUp([editor] { editor->Close(); });
        editor->ShowModal();
        EXPECT_EQ(shown, QString::fromUtf8(c.Message));
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(focused, edit->Handle());
        EXPECT_EQ(Bytes(), QByteArray(kFiveDiscs));
    }
    // One millimetre is a label.
    Open(FDisc.get(), 0);
    FDisc->PRV->SetText("1");
    FDisc->BtnOkClick(nullptr);
    EXPECT_EQ(Key("CD", "PRV1"), "1");
}

TEST_F(TemplateEditors, AfterALeftOutTemplateTheEditorWorksOnTheTemplateOfTheChosenLine)
{
    QByteArray file(kFiveDiscs);
    file.replace("PRS1=117", "PRS1=velky");
    Write(file);
    Open(FDisc.get(), 0);
    EXPECT_EQ(FDisc->Nazev->Text(), "Disk 2");
    FDisc->PRS->SetText("118");
    FDisc->BtnOkClick(nullptr);
    EXPECT_EQ(Key("CD", "PRS2"), "118");
    EXPECT_EQ(Key("CD", "PRS1"), "velky");
    // The last line is template 5, the one "Smazat" may delete.
    Open(FDisc.get(), 3);
    EXPECT_EQ(FDisc->Nazev->Text(), "Disk 5");
    EXPECT_TRUE(FDisc->btnSmazat->Visible());
}

TEST_F(TemplateEditors, OkOntoAFullDiskSaysWhyKeepsEveryTemplateAndTheEditorOpen)
{
    const QString dir = FDir + "/plny";
    TestSupport::TFullDisk disk(dir);
    FDir = dir;
    F.Main()->AppDir = dir;
    Write(kFiveDiscs);
    QStringList said;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        said << text;
        return IDOK;
    });
    Open(FDisc.get(), 2);
    disk.Fill();
    TFrmEditSablona* editor = FDisc.get();
    bool openAfterOk = false;
    QString typed;
    QTimer::singleShot(10, [&, editor] {
        editor->PRT->SetText("9");
        TestSupport::MouseClick(editor->BtnOk->Handle(), QPoint(5, 5));
        openAfterOk = editor->Visible();
        typed = editor->PRT->Text();
        TestSupport::MouseClick(editor->BtnStorno->Handle(), QPoint(5, 5));
    });
    TGiveUp giveUp([editor] { editor->Close(); }); // a failure ends, not hangs
    editor->ShowModal();
    disk.Release();
    EXPECT_EQ(said, QStringList({QStringLiteral("Soubor \"%1\" nelze uložit: %2. Původní soubor zůstal beze změny.")
                                     .arg(File(), disk.Reason())}));
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(typed, "9");
    EXPECT_EQ(Bytes(), QByteArray(kFiveDiscs));
}
