// Styles and templates: applying and replacing a style, New and the change of
// template through the chooser, and the style files that ship with the program.

#include "designer_fixture.h"

#include "classlib/forms/message_box.h"
#include "classlib/streaming/component_stream.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_new.h"
#include "style_designs.h"
#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {
class Styles : public ::testing::Test {
protected:
    Styles()
    {
        FDir = TestSupport::MakeTempDir();
        QDir(FDir).mkpath("Style");
        QDir(FDir).mkpath("Background");
        for (const TStyleFile& f : BuildStyleFiles())
            Write(FDir + "/Style/" + f.FileName, f.Data);
        F.Main()->AppDir = FDir;
        F.ShowWindow();
        F.Main()->AppDir = FDir;
        SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned) {
            Boxes.push_back(caption + ": " + text);
            return IDOK;
        });
    }
    ~Styles() override { SetMessageBoxHook(nullptr); }

    TFrmMain* Main() const { return F.Main(); }
    static void Write(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    TLabel* AddOwn(const QString& text)
    {
        Main()->AddTextObject(text, 0);
        return static_cast<TLabel*>(Main()->SelectedObject);
    }
    // Texts (captions or hints) of the objects, bottom first; "*" marks a style object.
    QStringList Objects() const
    {
        QStringList r;
        for (int i = 0; i < Main()->ObjectCount(); ++i) {
            auto* c = static_cast<TControl*>(Main()->Components(i));
            const QString text = dynamic_cast<TLabel*>(c) ? c->Caption() : c->Hint();
            r << (c->DragCursor() == crHandPoint ? "*" : "") + text;
        }
        return r;
    }
    QStringList StyleEntries() const
    {
        QStringList r;
        for (int i = 0; i < Main()->lComboStyly->Items()->Count(); ++i)
            r << Main()->lComboStyly->Items()->Strings(i);
        return r;
    }
    void Choose(int entry)
    {
        Main()->lComboStyly->SetItemIndex(entry);
        Main()->lComboStylyChange(Main()->lComboStyly);
    }

    TMainWindowFixture F;
    QString FDir;
    QStringList Boxes;
};
} // namespace

TEST_F(Styles, AStyleAppliedTwiceLeavesOneCopyAndTheUsersObjectsInPlace)
{
    EXPECT_EQ(StyleEntries(), QStringList({Main()->sZadnyStyl, "Klasik.cd", "Pruhy.cd"}));
    AddOwn("Mine");
    Choose(1);
    const QStringList once = Objects();
    EXPECT_EQ(once, QStringList({"Mine", "*Kruh", "*Kruh", QString::fromUtf8("*Název alba"), "*Interpret", "*2026"}));
    EXPECT_TRUE(Main()->Modified);
    EXPECT_EQ(Main()->NazevSablony->Caption(), "Klasik.cd");
    EXPECT_EQ(Main()->Vrstvy->Items()->Count(), 6);
    EXPECT_EQ(Main()->Components(5)->Name(), "C5");
    Choose(1);
    EXPECT_EQ(Objects(), once);
    // The other style replaces it; entry 0 leaves the user's own.
    Choose(2);
    EXPECT_EQ(Objects().first(), "Mine");
    EXPECT_EQ(Objects().size(), 5);
    Choose(0);
    EXPECT_EQ(Objects(), QStringList({"Mine"}));
    EXPECT_TRUE(Main()->NothingSelected());
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(Styles, NextAndPreviousStopAtTheEndsAndReapply)
{
    Main()->LbtnL2Click(nullptr); // at entry 0: stays, re-applies "no style"
    EXPECT_EQ(Main()->lComboStyly->ItemIndex(), 0);
    EXPECT_EQ(Main()->SbLblBack->HelpContext(), 100);
    Main()->LbtnR2Click(nullptr);
    Main()->LbtnR2Click(nullptr);
    EXPECT_EQ(Main()->lComboStyly->ItemIndex(), 2);
    EXPECT_EQ(Main()->SbLblNext->HelpContext(), 100);
    EXPECT_EQ(Main()->SbLblBack->HelpContext(), 0);
    Main()->Modified = false;
    Main()->LbtnR2Click(nullptr); // the last: stays and re-applies
    EXPECT_EQ(Main()->lComboStyly->ItemIndex(), 2);
    EXPECT_EQ(Objects().size(), 4);
    EXPECT_TRUE(Main()->Modified);
    // The side-panel links run the same commands.
    Main()->SbLblBack->OnClick(Main()->SbLblBack);
    EXPECT_EQ(Main()->lComboStyly->ItemIndex(), 1);
}

TEST_F(Styles, ARefilledListGivesTheNextLinkItsLiveLookBack)
{
    // The last style of a disc design leaves the next link dead; a new
    // document refills the list, and the link must look live again.
    Choose(2);
    ASSERT_EQ(Main()->SbLblNext->HelpContext(), 100);
    Main()->FillStyleList();
    EXPECT_TRUE(Main()->SbLblNext->Enabled());
    EXPECT_EQ(Main()->SbLblNext->HelpContext(), 0);
    EXPECT_EQ(Main()->SbLblNext->Font()->Color(), Main()->NormalFont->Font()->Color());
    EXPECT_EQ(Main()->SbLblBack->HelpContext(), 100);
    // The same for the background list.
    Write(FDir + "/Background/a.jpg", QByteArray());
    Main()->FillBackgroundList();
    Main()->lComboPozadi->SetItemIndex(1);
    Main()->MarkListEnds(Main()->lComboPozadi, Main()->SLblBack, Main()->SLblNext);
    ASSERT_EQ(Main()->SLblNext->HelpContext(), 100);
    Main()->FillBackgroundList();
    EXPECT_EQ(Main()->SLblNext->HelpContext(), 0);
    EXPECT_EQ(Main()->SLblNext->Font()->Color(), Main()->NormalFont->Font()->Color());
}

TEST_F(Styles, ADamagedStyleKeepsWhatWasReadMarked)
{
    const QByteArray good = BuildStyleFiles()[0].Data;
    const int third = good.indexOf("TPF0", good.indexOf("TPF0", 4) + 4);
    ASSERT_GT(third, 0);
    // A background and a template parameter in a style are skipped.
    QByteArray extra;
    {
        QBuffer b(&extra);
        b.open(QIODevice::WriteOnly);
        WriteComponentRecord(b, Main()->IMGBck);
        for (int i = 0; i < Main()->ComponentCount(); ++i)
            if (Main()->Components(i)->Tag() == 5) {
                WriteComponentRecord(b, Main()->Components(i));
                break;
            }
    }
    Write(FDir + "/Style/Zkazeny.cd", good.left(third) + extra + good.mid(third, 20));
    Main()->FillStyleList();
    const int params = [&] {
        int n = 0;
        for (int i = 0; i < Main()->ComponentCount(); ++i)
            n += Main()->Components(i)->Tag() == 5;
        return n;
    }();
    Choose(Main()->lComboStyly->Items()->IndexOf("Zkazeny.cd"));
    EXPECT_EQ(Boxes, QStringList({Main()->sChyba + ": " + Main()->sNelzePrecistObjekt}));
    EXPECT_EQ(Objects(), QStringList({"*Kruh", "*Kruh"}));
    EXPECT_EQ(Main()->Vrstvy->Items()->Count(), 2);
    int after = 0;
    for (int i = 0; i < Main()->ComponentCount(); ++i)
        after += Main()->Components(i)->Tag() == 5;
    EXPECT_EQ(after, params);
    // A style file that vanished from the folder reports the same.
    Boxes.clear();
    QFile::remove(FDir + "/Style/Zkazeny.cd");
    Choose(Main()->lComboStyly->Items()->IndexOf("Zkazeny.cd"));
    EXPECT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Objects().isEmpty());
}

// ---------------------------------------------------------------- New and the change of template

namespace {
class Templates : public Styles {
protected:
    Templates()
    {
        Write(FDir + "/defcd.ini", QString::fromUtf8("[CD]\r\nComboSize=1\r\nCombo1=Disk\r\nPRT1=20\r\nPRL1=45\r\n"
                                                      "PRS1=117\r\nPRV1=41\r\n[KRAB]\r\nComboSize=1\r\nCombo1=Booklet\r\n"
                                                      "PRT1=29,5\r\nPRL1=30\r\nPRS1=151\r\nPRV1=121\r\nPR2T1=32,5\r\n"
                                                      "PR2L1=33\r\nPR2S1=145\r\nPR2V1=115\r\nSirka1=0\r\nTyp1=2\r\n")
                                        .toUtf8());
        Write(FDir + "/Style/Obal.bok", BuildStyleFiles()[3].Data);
        FChooser = std::make_unique<TFrmNew>(nullptr);
    }
    // Runs a command that shows the chooser; pick acts on it while it is open.
    void WithChooser(const std::function<void(TFrmNew*)>& pick, const std::function<void()>& command)
    {
        TFrmNew* c = FChooser.get();
        QTimer::singleShot(10, [c, pick] { pick(c); });
        command();
        EXPECT_FALSE(c->Visible());
    }
    static void PickBox(TFrmNew* c)
    {
        c->ListBox2->SetItemIndex(0);
        c->ListBox2Click(c->ListBox2);
        c->btnOKClick(c->btnOK);
    }
    static void Cancel(TFrmNew* c) { c->btnStornoClick(c->btnStorno); }

    std::unique_ptr<TFrmNew> FChooser;
};
} // namespace

TEST_F(Templates, NewWithABoxTemplateStartsAnEmptyBoxDesign)
{
    ASSERT_EQ(FrmNew, FChooser.get());
    AddOwn("Old");
    Main()->SetDocumentFileName(FDir + "/old.tvk");
    Main()->ScrollBox->SetVertPosition(30);
    WithChooser(PickBox, [&] { Main()->mnNewClick(nullptr); });
    EXPECT_EQ(Main()->ObjectCount(), 0);
    EXPECT_FALSE(Main()->Modified);
    EXPECT_EQ(Main()->DocumentFileName, Main()->sUntitled);
    EXPECT_TRUE(Main()->GetTemplateFlag("isKrab"));
    EXPECT_EQ(Main()->GetTemplateParam("Okraj"), "151");
    EXPECT_EQ(Main()->GetTemplateParam("Top2"), "32,5");
    EXPECT_EQ(Main()->GetTemplateParam("Typ"), "2");
    EXPECT_EQ(Main()->StatusBar->PanelText(1), "Booklet");
    EXPECT_EQ(Main()->PNLCD->Width(), Main()->MmToPixels(155));
    EXPECT_TRUE(Main()->C1Min->Visible());
    EXPECT_EQ(Main()->C1Min->Color(), TColor(255));
    EXPECT_EQ(Main()->C1Max->Color(), TColor(16711680));
    // A booklet lists only the booklet styles.
    EXPECT_EQ(StyleEntries(), QStringList({Main()->sZadnyStyl, "Booklet.bok", "Obal.bok"}));
}

TEST_F(Templates, CancelledNewKeepsTheDesignAndClearsTheFlag)
{
    AddOwn("Kept");
    Main()->SetModified();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDNO; });
    WithChooser(Cancel, [&] { Main()->mnNewClick(nullptr); });
    EXPECT_EQ(Main()->ObjectCount(), 1);
    EXPECT_FALSE(Main()->Modified);
    EXPECT_FALSE(Main()->GetTemplateFlag("isKrab"));
}

TEST_F(Templates, ChangeOfTemplateKeepsTheObjectsWhereTheyAre)
{
    TLabel* l = AddOwn("Stays");
    l->SetBounds(33, 44, 50, 20);
    Main()->SetDocumentFileName(FDir + "/named.tvk");
    Main()->Modified = false;
    WithChooser(Cancel, [&] { Main()->sbr3Click(nullptr); });
    EXPECT_FALSE(Main()->Modified);
    WithChooser(PickBox, [&] { Main()->sbr3Click(nullptr); });
    EXPECT_TRUE(Main()->Modified);
    ASSERT_EQ(Main()->ObjectCount(), 1);
    EXPECT_EQ(Main()->Components(0), l);
    EXPECT_EQ(l->BoundsRect(), Bounds(33, 44, 50, 20));
    EXPECT_EQ(Main()->DocumentFileName, FDir + "/named.tvk");
    EXPECT_TRUE(Main()->GetTemplateFlag("isKrab"));
    EXPECT_EQ(StyleEntries().size(), 3);
}

TEST_F(Templates, ABadTemplateIsLeftOutWithOneMessageAndOkOnAnEmptyListDoesNothing)
{
    for (const char* number : {"1.5", "abc", "", "5000"}) {
        SCOPED_TRACE(number);
        Write(FDir + "/defcd.ini",
              QByteArray("[KRAB]\r\nComboSize=1\r\nCombo1=Bad\r\nPRT1=") + number + "\r\nPRL1=1\r\nPRS1=2\r\nPRV1=3\r\n");
        Main()->DeleteObjects(true);
        AddOwn("Kept");
        Boxes.clear();
        // New twice: the chooser tells about the template the first time only;
        // both lists are empty, and OK (a real click) leaves it open.
        for (int round = 0; round < 2; ++round) {
            bool openAfterOk = false;
            WithChooser(
                [&openAfterOk](TFrmNew* c) {
                    TestSupport::MouseClick(c->btnOK->Handle(), QPoint(5, 5));
                    openAfterOk = c->Visible() && !c->IsConfirmed();
                    TestSupport::MouseClick(c->btnStorno->Handle(), QPoint(5, 5));
                },
                [&] { Main()->mnNewClick(nullptr); });
            EXPECT_TRUE(openAfterOk);
            EXPECT_EQ(FChooser->ListBox2->Items()->Count(), 0);
        }
        ASSERT_EQ(Boxes.size(), 1);
        EXPECT_TRUE(Boxes[0].contains("Bad (PRT1 = „" + QString::fromLatin1(number) + "“)")) << Boxes[0].toStdString();
        EXPECT_EQ(Main()->ObjectCount(), 1);
        EXPECT_FALSE(Main()->GetTemplateFlag("isKrab"));
        EXPECT_EQ(Main()->GetTemplateParam("Okraj"), "118");
    }
    // No template file at all: OK makes no 0 mm disc either.
    QFile::remove(FDir + "/defcd.ini");
    bool openAfterOk = false;
    WithChooser(
        [&openAfterOk](TFrmNew* c) {
            TestSupport::MouseClick(c->btnOK->Handle(), QPoint(5, 5));
            openAfterOk = c->Visible() && !c->IsConfirmed();
            TestSupport::MouseClick(c->btnStorno->Handle(), QPoint(5, 5));
        },
        [&] { Main()->mnNewClick(nullptr); });
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(Main()->ObjectCount(), 1);
    EXPECT_EQ(Main()->GetTemplateParam("Okraj"), "118");
}

// ---------------------------------------------------------------- the shipped files

TEST(StyleFiles, ShippedFilesAreThoseTheToolWritesAndReadBackWhole)
{
    const QString folder = QStringLiteral(TV_SOURCE_DIR) + "/data/Style";
    QStringList names;
    for (const TStyleFile& f : BuildStyleFiles()) {
        SCOPED_TRACE(f.FileName.toStdString());
        names << f.FileName;
        EXPECT_EQ(TestSupport::ReadFile(folder + "/" + f.FileName), f.Data)
            << "data/Style is out of date: build the target style_files";
        QBuffer b;
        b.setData(f.Data);
        b.open(QIODevice::ReadOnly);
        const TRecordReadResult r = ReadComponentRecords(b);
        EXPECT_FALSE(r.Failed) << r.Error.toStdString();
        EXPECT_GE(r.Components.size(), 4u);
    }
    names.sort();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), names);
    // Every template type has a style.
    for (const char* mask : {"*.cd", "*.bck", "*.bok", "*.dvd"})
        EXPECT_FALSE(QDir(folder).entryList({mask}, QDir::Files).isEmpty()) << mask;
}
