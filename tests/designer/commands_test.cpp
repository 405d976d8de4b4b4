// The command table: menus and tool bars in their order, shortcuts reaching
// their commands, the View and Help menus, and the start window's choices.

#include "designer_fixture.h"

#include "classlib/forms/message_box.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_start.h"
#include "platform/shell.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
class Commands : public ::testing::Test {
protected:
    Commands()
    {
        FDir = TestSupport::MakeTempDir();
        QDir(FDir).mkpath("Style");
        QDir(FDir).mkpath("Background");
        F.Main()->AppDir = FDir;
        F.ShowWindow();
        F.Main()->AppDir = FDir;
        SetMessageBoxHook([this](const QString& text, const QString&, unsigned) {
            Boxes << text;
            return IDOK;
        });
    }
    ~Commands() override
    {
        SetMessageBoxHook(nullptr);
        ShellOpenHook = nullptr;
    }
    TFrmMain* Main() const { return F.Main(); }

    // Keys go to the focus widget, or to the window when nothing has focus.
    void Key(int qtKey, Qt::KeyboardModifiers mods)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Main()->Window();
        QKeyEvent press(QEvent::KeyPress, qtKey, mods);
        QCoreApplication::sendEvent(target, &press);
    }
    static QStringList Names(const TMenuItem* parent)
    {
        QStringList r;
        for (int i = 0; i < parent->Count(); ++i)
            r << parent->Items(i)->Name();
        return r;
    }
    static QStringList Buttons(const TToolBar* bar)
    {
        QStringList r;
        for (int i = 0; i < bar->ButtonCount(); ++i) {
            TToolButton* b = bar->Buttons(i);
            r << (b->Style() == tbsSeparator ? QStringLiteral("|") : b->Name());
        }
        return r;
    }
    TMenuItem* Item(const char* name) const
    {
        return dynamic_cast<TMenuItem*>(Main()->FindComponent(QString::fromLatin1(name)));
    }

    TMainWindowFixture F;
    QString FDir;
    QStringList Boxes;
};
} // namespace

TEST_F(Commands, MenusAndToolBarsStandInTheirOrder)
{
    TFrmMain* m = Main();
    EXPECT_EQ(m->Menu(), m->MainMenu1);
    EXPECT_EQ(Names(m->MainMenu1->Items()), QStringList({"mnFile", "mnEdit", "mnSet", "mnVis", "mnIns", "mnHelp"}));
    EXPECT_EQ(Names(m->mnFile), QStringList({"mnNew", "sbr1", "sbr2", "mnuSaveAs", "N8", "sbr3", "N1", "sbr4", "Export1",
                                             "N2", "mnExit"}));
    EXPECT_EQ(Names(m->mnEdit),
              QStringList({"mnuSmazat", "Klonovatobjekt1", "N12", "upr1", "upr2", "VloitobsahCDzCDDB1"}));
    EXPECT_EQ(Names(m->mnSet), QStringList({"mnKorTisk", "N13", "Skinprogramu1"}));
    EXPECT_EQ(Names(m->mnVis), QStringList({"vis1", "N11", "TiskRam", "Barvarmovn1"}));
    EXPECT_EQ(Names(m->mnIns), QStringList({"vl1", "vl2", "ComObal", "Logo1", "N10", "vl3", "vl4", "vl5", "N9", "vl6",
                                            "vl7", "vl8"}));
    EXPECT_EQ(Names(m->mnHelp), QStringList({"hl1", "N3", "hl2", "Zjistitnovouverzi1"}));
    EXPECT_TRUE(m->N8->IsLine());
    EXPECT_EQ(m->hl2->Caption(), "O programu...");
    // Every command stands enabled with its handler.
    for (TMenuItem* i : {m->VloitobsahCDzCDDB1, m->sbr4, m->vl3, m->vl5, m->TiskRam, m->Barvarmovn1,
                         m->Klonovatobjekt1, m->upr1, m->upr2, m->img1, m->img2, m->Skinprogramu1, m->Export1,
                         m->Zjistitnovouverzi1})
        EXPECT_TRUE(i->Enabled() && i->OnClick) << i->Name().toStdString();
    EXPECT_TRUE(m->btnPrint->Enabled() && m->btnPrint->OnClick);
    EXPECT_TRUE(m->ToolButton8->Enabled() && m->ToolButton8->OnClick);

    const struct {
        const char* Item;
        const char* Keys;
    } shortcuts[] = {{"mnNew", "Ctrl+N"}, {"sbr1", "Ctrl+O"}, {"sbr2", "Ctrl+S"}, {"sbr4", "Ctrl+P"},
                     {"mnuSmazat", "Del"}, {"Klonovatobjekt1", "Ctrl+I"}, {"vis1", "Alt+H"}, {"vl1", "Alt+B"},
                     {"vl2", "Alt+I"}, {"vl3", "Alt+T"}, {"vl4", "Alt+P"}, {"vl5", "Alt+K"}, {"vl6", "Alt+Z"},
                     {"vl7", "Alt+R"}, {"vl8", "Alt+E"}, {"hl1", "F1"}, {"mnuSaveAs", ""}};
    for (const auto& s : shortcuts)
        EXPECT_EQ(ShortCutToText(Item(s.Item)->ShortCut()), QString::fromLatin1(s.Keys)) << s.Item;

    EXPECT_EQ(Buttons(m->ToolBar1), QStringList({"btnNew", "btnOpen", "btnSave", "|", "btnLayer01", "btnKriz", "|",
                                                 "btnTextMode", "btnPrint", "|", "ToolButton8", "ToolButton7", "|",
                                                 "ToolButton10"}));
    EXPECT_EQ(Buttons(m->ToolBar2), QStringList({"BtnPozadi", "btnImg", "|", "btnTextImg", "btnText", "btnKruhText", "|",
                                                 "btnRound", "btnRect", "btnCircl"}));
    EXPECT_FALSE(m->btnTextMode->Visible());
    EXPECT_EQ(m->btnTextMode->Style(), tbsCheck);
    // Every button shows a glyph of its own.
    QSet<int> glyphs;
    for (TToolBar* bar : {m->ToolBar1, m->ToolBar2})
        for (int i = 0; i < bar->ButtonCount(); ++i)
            if (bar->Buttons(i)->Style() != tbsSeparator) {
                EXPECT_GE(bar->Buttons(i)->ImageIndex(), 0) << bar->Buttons(i)->Name().toStdString();
                glyphs << bar->Buttons(i)->ImageIndex();
            }
    EXPECT_EQ(glyphs.size(), 18);
}

TEST_F(Commands, ShortcutsReachTheirCommands)
{
    TFrmMain* m = Main();
    // The shape tools armed by their keys, as by the left tool bar's toggles.
    Key(Qt::Key_Z, Qt::AltModifier);
    EXPECT_TRUE(m->btnRound->Down());
    EXPECT_TRUE(m->TopVSA->Visible());
    Key(Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(m->btnRect->Down());
    EXPECT_FALSE(m->btnRound->Down());
    Key(Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(m->btnCircl->Down());
    EXPECT_FALSE(m->btnRect->Down());

    // A text object, then Del deletes it.
    Key(Qt::Key_P, Qt::AltModifier);
    ASSERT_EQ(m->ObjectCount(), 1);
    EXPECT_TRUE(m->Modified);
    m->Vrstvy->SetItemIndex(0);
    m->VrstvyClick(m->Vrstvy);
    Key(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(m->ObjectCount(), 0);

    // Help: the page beside the program; a desktop that cannot open it is told of.
    QStringList opened;
    bool desktopOpens = true;
    ShellOpenHook = [&](const QString& target) {
        opened << target;
        return desktopOpens;
    };
    QDir(FDir).mkpath("Help");
    QFile page(FDir + "/Help/index.html");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    Key(Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(opened, QStringList({FDir + "/Help/index.html"}));
    EXPECT_TRUE(Boxes.isEmpty());
    desktopOpens = false;
    Key(Qt::Key_F1, Qt::NoModifier);
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].contains("index.html"));
    Boxes.clear();

    // Ctrl+I clones the selection; with nothing selected it does nothing.
    Key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(m->ObjectCount(), 0);
    m->btnText2Click(m);
    Key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(m->ObjectCount(), 2);
}

TEST_F(Commands, CtrlSSavesAndCtrlNShowsTheChooser)
{
    TFrmMain* m = Main();
    m->AddTextObject("Text", 0);
    m->SetDocumentFileName(FDir + "/d.tvk");
    m->SetModified();
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m->Modified);
    EXPECT_TRUE(QFile::exists(FDir + "/d.tvk"));

    TFrmNew chooser(nullptr);
    bool shown = false;
    QTimer::singleShot(10, [&] {
        shown = chooser.Visible();
        chooser.btnStornoClick(nullptr);
    });
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_EQ(m->ObjectCount(), 1);
}

TEST_F(Commands, ViewMenuOffersFramePrintingOnlyForBoxes)
{
    TFrmMain* m = Main();
    TMenuItem* tiskRam = Item("TiskRam");
    ASSERT_TRUE(tiskRam);
    tiskRam->SetChecked(true);
    m->mnVis->Click();
    EXPECT_FALSE(tiskRam->Enabled());
    EXPECT_FALSE(tiskRam->Checked());

    m->DeleteTemplateParams();
    m->CreateTemplateParams(true, false, 151, 121, 30, 29.5, 33, 32.5, 145, 115, 2, "Booklet");
    m->mnVis->Click();
    EXPECT_TRUE(tiskRam->Enabled());
    tiskRam->SetChecked(true);
    m->mnVis->Click();
    EXPECT_TRUE(tiskRam->Checked()); // kept while the template is a box

    m->DeleteTemplateParams();
    m->CreateTemplateParams(false, false, 118, 44, 0, 0, 0, 0, 0, 0, 0, "None");
    m->mnVis->Click();
    EXPECT_FALSE(tiskRam->Checked());
    EXPECT_FALSE(tiskRam->Enabled());
}

// ---------------------------------------------------------------- start window

namespace {
class StartChoices : public Commands {
protected:
    StartChoices() : FStart(std::make_unique<TFrmStart>(nullptr)), FChooser(std::make_unique<TFrmNew>(nullptr))
    {
        QFile f(FDir + "/defcd.ini");
        f.open(QIODevice::WriteOnly);
        f.write("[CD]\r\nComboSize=1\r\nCombo1=Disk\r\nPRT1=20\r\nPRL1=45\r\nPRS1=117\r\nPRV1=41\r\n");
    }
    ~StartChoices() override { TCommonDialog::ExecuteHook = nullptr; }
    // Answers the chooser once per showing: OK or Storno in turn.
    void AnswerChooser(QList<bool> answers)
    {
        auto* c = FChooser.get();
        auto queue = std::make_shared<QList<bool>>(answers);
        std::function<void()> next = [c, queue, this] {
            if (!c->Visible()) {
                QTimer::singleShot(5, FNext);
                return;
            }
            const bool ok = queue->takeFirst();
            ok ? c->btnOKClick(nullptr) : c->btnStornoClick(nullptr);
            if (!queue->isEmpty())
                QTimer::singleShot(5, FNext);
        };
        FNext = next;
        QTimer::singleShot(5, FNext);
    }

    std::unique_ptr<TFrmStart> FStart;
    std::unique_ptr<TFrmNew> FChooser;
    std::function<void()> FNext;
};
} // namespace

TEST_F(StartChoices, NewCancelledOnceWarnsOnceAndGoesOnWithTheTemplate)
{
    AnswerChooser({false, true});
    FStart->btnNewClick(nullptr);
    EXPECT_EQ(Boxes, QStringList({QString::fromUtf8("Nebyla zvolena šablona ! Pro pokračování zvolte šablonu.")}));
    EXPECT_TRUE(Main()->Visible());
    EXPECT_EQ(Main()->GetTemplateParam("sNazevSablony"), "Disk");
    EXPECT_FALSE(FStart->StartWindowOpen);
}

TEST_F(StartChoices, NewCancelledTwiceEndsTheProgram)
{
    AnswerChooser({false, false});
    FStart->btnNewClick(nullptr);
    EXPECT_EQ(Boxes.size(), 1);
    EXPECT_FALSE(Main()->Visible());
}

TEST_F(StartChoices, OpenCancelledTwiceWarnsOnceAndEndsTheProgram)
{
    int dialogs = 0;
    TCommonDialog::ExecuteHook = [&](TCommonDialog*) {
        ++dialogs;
        return false;
    };
    FStart->btnOpenClick(nullptr);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(Boxes, QStringList({QString::fromUtf8("Nebyl zvolen žádný soubor ! Pro pokračování zvolte soubor.")}));
    EXPECT_FALSE(Main()->Visible());
}

TEST_F(StartChoices, AChosenFileEndsTheStartEvenWhenItCannotBeRead)
{
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        static_cast<TOpenDialog*>(d)->FileName = FDir + "/missing.tvk";
        return true;
    };
    FStart->lblOpen->OnClick(FStart->lblOpen);
    EXPECT_EQ(Boxes, QStringList({QStringLiteral("Soubor \"%1/missing.tvk\" nelze otevřít: soubor neexistuje.").arg(FDir)}));
    EXPECT_TRUE(Main()->Visible());
}
