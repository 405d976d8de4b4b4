// The small windows: file-list options, export options, progress, about box
// and the start window's shape, highlights and link; Enter and Escape in the dialogs.

#include "designer_fixture.h"

#include "classlib/pictures/picture.h"
#include "designer/forms/frm_edit_sablona.h"
#include "designer/forms/frm_edit_sablona_box.h"
#include "designer/forms/frm_export.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/forms/frm_invisible.h"
#include "designer/forms/frm_korekce.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_srafovani.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "designer/forms/frm_ins_files.h"
#include "designer/forms/frm_o_programu.h"
#include "designer/forms/frm_progress.h"
#include "designer/forms/frm_start.h"
#include "platform/shell.h"
#include "test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
QImage Render(TForm* form)
{
    form->Show();
    const QImage img = form->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    form->Hide();
    return img;
}

QPoint Centre(const TControl* c) { return QPoint(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2); }
} // namespace

TEST(InsFilesWindow, MaskButtonsFillTheMaskAndAnyCloseKeepsTheChoiceForNextTime)
{
    TFrmInsFiles w(nullptr);
    EXPECT_TRUE(w.delext->Checked());
    EXPECT_EQ(w.maska->Text(), "*.*");
    QTimer::singleShot(10, [&w] {
        TestSupport::MouseClick(w.Button3->Handle(), QPoint(5, 5));
        w.delext->SetChecked(false);
        w.Window()->close(); // the title bar's close button
    });
    w.ShowModal();
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(w.maska->Text(), "*.wav");
    EXPECT_FALSE(w.delext->Checked());

    QString atStart;
    QTimer::singleShot(10, [&] {
        atStart = w.maska->Text();
        TestSupport::MouseClick(w.Button2->Handle(), QPoint(5, 5));
        TestSupport::MouseClick(w.Button1->Handle(), QPoint(5, 5));
    });
    w.ShowModal();
    EXPECT_EQ(atStart, "*.wav");
    EXPECT_EQ(w.maska->Text(), "*.mp3");
    w.Button4Click(nullptr);
    EXPECT_EQ(w.maska->Text(), "*.*");
}

TEST(ExportWindow, StartsWithEverythingButCroppingAndKeepsTheOptionsShown)
{
    TFrmExport w(nullptr);
    EXPECT_FALSE(w.orez->Checked());
    for (TCheckBox* c : {w.ExPozadi, w.ExObrazky, w.ExTexty, w.ExObjekty})
        EXPECT_TRUE(c->Checked()) << c->Name().toStdString();
    QTimer::singleShot(10, [&w] {
        w.orez->SetChecked(true);
        w.ExTexty->SetChecked(false);
        w.Window()->close();
    });
    w.ShowModal();
    EXPECT_TRUE(w.orez->Checked());
    EXPECT_FALSE(w.ExTexty->Checked());
    QTimer::singleShot(10, [&w] { TestSupport::MouseClick(w.Button1->Handle(), QPoint(5, 5)); });
    w.ShowModal();
    EXPECT_FALSE(w.Visible());
    EXPECT_TRUE(w.orez->Checked());
    EXPECT_FALSE(w.Image1->Picture()->Graphic() == nullptr);
}

TEST(ProgressWindow, TheObjectGaugeShowsItsPercentageTheRowGaugeNone)
{
    TFrmProgress w(nullptr);
    EXPECT_EQ(w.Progress->BoundsRect(), TRect(8, 32, 281, 51));
    EXPECT_EQ(w.ProgressOBJ->BoundsRect(), TRect(8, 58, 281, 67));
    EXPECT_EQ(w.Progress->ForeColor(), clBlue);
    w.Progress->SetMaxValue(4);
    w.Progress->SetProgress(1);
    EXPECT_EQ(w.Progress->DisplayText(), "25%");
    // A copy of a picture one row high sets the maximum to 0: nothing breaks.
    w.ProgressOBJ->SetMaxValue(0);
    w.ProgressOBJ->SetProgress(0);
    EXPECT_EQ(w.ProgressOBJ->DisplayText(), "");
    EXPECT_EQ(w.ProgressOBJ->PercentDone(), 0);
}

TEST(AboutBox, TheNameHasAShadowAndTheMemoLetsTheBackgroundThrough)
{
    TFrmOProgramu w(nullptr);
    EXPECT_EQ(w.lblNazevProg2->Left(), w.lblNazevProg->Left() - 1);
    EXPECT_EQ(w.lblNazevProg2->Top(), w.lblNazevProg->Top() - 1);
    EXPECT_EQ(w.lblNazevProg2->Caption(), w.lblNazevProg->Caption());
    ASSERT_NE(w.Image1->Picture()->Graphic(), nullptr);
    ASSERT_NE(w.Image2->Picture()->Graphic(), nullptr);
    w.Image2->SetVisible(false);
    w.TransMemo1->SetVisible(false);
    const QImage plain = Render(&w);
    w.Image2->SetVisible(true);
    w.TransMemo1->SetVisible(true);
    const QImage img = Render(&w);

    // The white name lies over its black copy, which shows below and right of it.
    int whiteIndex = -1, blackIndex = -1;
    for (int i = 0; i < w.ControlCount(); ++i) {
        whiteIndex = w.Controls(i) == w.lblNazevProg2 ? i : whiteIndex;
        blackIndex = w.Controls(i) == w.lblNazevProg ? i : blackIndex;
    }
    EXPECT_GT(whiteIndex, blackIndex);
    int white = 0, black = 0;
    for (int y = 20; y < 50; ++y)
        for (int x = 170; x < 330; ++x) {
            const QRgb p = img.pixel(x, y);
            white += qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245;
            black += qRed(p) < 10 && qGreen(p) < 10 && qBlue(p) < 10;
        }
    EXPECT_GT(white, 50);
    EXPECT_GT(black, 20);

    // Where the right-aligned memo has no text, the background shows unchanged.
    const TRect m = w.TransMemo1->BoundsRect();
    int same = 0, total = 0;
    for (int y = m.Top + 4; y < m.Bottom - 4; y += 7)
        for (int x = m.Left + 2; x < m.Left + 30; x += 3) {
            ++total;
            same += img.pixel(x, y) == plain.pixel(x, y);
        }
    EXPECT_EQ(same, total);
    // Some text is there, white.
    int text = 0;
    for (int y = m.Top; y < m.Bottom; ++y)
        for (int x = m.Left; x < m.Right; ++x)
            text += qGray(img.pixel(x, y)) > 200;
    EXPECT_GT(text, 100);
    // The emblem's outside is left out: its corner shows the background.
    EXPECT_EQ(img.pixel(25, 15), plain.pixel(25, 15));
    EXPECT_NE(img.pixel(24 + 76, 14 + 30), plain.pixel(24 + 76, 14 + 30));
}

TEST(AboutBox, TheCloseButtonClosesIt)
{
    TFrmOProgramu w(nullptr);
    QTimer::singleShot(10, [&w] {
        const QPoint p = Centre(w.btnClose);
        TestSupport::MouseMove(w.Handle(), p);
        TestSupport::MouseClick(w.Handle(), p);
    });
    QTimer fallback; // only if the click failed; goes with the test
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [&w] { w.Close(); });
    fallback.start(2000);
    QElapsedTimer t;
    t.start();
    w.ShowModal();
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_FALSE(w.Visible());
}

TEST(StartWindow, OnlyTheRingBelongsToTheWindow)
{
    TFrmStart w(nullptr);
    w.FormShow(nullptr);
    EXPECT_TRUE(w.StartWindowOpen);
    ASSERT_TRUE(w.WindowRgn().has_value());
    const TRegion& r = *w.WindowRgn();
    EXPECT_TRUE(r.Contains(200, 40));   // on the ring
    EXPECT_TRUE(r.Contains(100, 228));  // under "New"
    EXPECT_FALSE(r.Contains(200, 200)); // the hole
    EXPECT_FALSE(r.Contains(5, 5));     // a corner
    EXPECT_FALSE(r.Contains(372, 200)); // just outside the disc
    EXPECT_EQ(r.BoundingBox(), TRect(28, 28, 372, 372));
    w.StartWindowOpen = false;
}

TEST(StartWindow, ChoicesLightUpUnderTheMouseAndTheLinkOpensTheSite)
{
    TFrmStart w(nullptr);
    ASSERT_NE(w.Image1->Picture()->Graphic(), nullptr);
    EXPECT_EQ(w.Image1->Picture()->Width(), 400);
    w.Show();
    QWidget* client = w.Handle();
    TestSupport::MouseMove(client, Centre(w.lblOpen));
    EXPECT_TRUE(w.shpOpen->Visible());
    EXPECT_FALSE(w.shpNew->Visible());
    TestSupport::MouseMove(client, Centre(w.lblNew));
    EXPECT_TRUE(w.shpNew->Visible());
    EXPECT_FALSE(w.shpOpen->Visible());
    TestSupport::MouseMove(client, QPoint(200, 100));
    EXPECT_FALSE(w.shpNew->Visible());

    QStringList opened;
    ShellOpenHook = [&](const QString& target) {
        opened << target;
        return true;
    };
    TestSupport::MouseClick(client, Centre(w.Image2));
    ShellOpenHook = nullptr;
    EXPECT_EQ(opened, QStringList({MakerWebAddress}));
    w.StartWindowOpen = false;
    w.Hide();
}

namespace {
// Shows a dialog modally and sends it one key press, as the keyboard does, to
// the control that has the focus; true when that key closed the dialog (a
// dialog the key leaves open is closed after a second, so the test goes on).
bool KeyClosesDialog(TForm* dialog, Qt::Key key, QWidget* focus = nullptr)
{
    bool closedByKey = true;
    QTimer press, giveUp; // stopped with this call, whenever the dialog closes
    press.setSingleShot(true);
    giveUp.setSingleShot(true);
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (focus)
            focus->setFocus();
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != dialog->Window())
            target = dialog->Window();
        QTest::keyClick(target, key);
    });
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        closedByKey = false;
        dialog->SetModalResult(mrCancel);
    });
    press.start(30);
    giveUp.start(1000);
    dialog->ShowModal();
    return closedByKey;
}
} // namespace

TEST(DialogKeys, EscapeClosesEveryDialogWithAStornoOrZavritButtonAsThatButtonDoes)
{
    TMainWindowFixture f;
    f.ShowWindow();
    {
        TFrmNew w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "template chooser";
        EXPECT_FALSE(w.IsConfirmed());
    }
    {
        TFrmKorekce w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "print correction";
        EXPECT_FALSE(w.IsConfirmed());
    }
    {
        TFrmRozObr w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "blur";
        EXPECT_FALSE(TFrmRozObr::IsConfirmed());
    }
    {
        TFrmVlastnostiIMG w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "picture properties";
        EXPECT_FALSE(TFrmVlastnostiIMG::IsConfirmed());
    }
    {
        TFrmEditSablona w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "disc template editor";
    }
    {
        TFrmEditSablonaBox w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "box template editor";
    }
    {
        TFrmInvisible w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "version check";
    }
    {
        TFrmOProgramu w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "about box";
    }
    {
        TFrmInsText w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "text dialog";
        EXPECT_FALSE(w.IsConfirmed());
    }
    {
        TFrmInsDir w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "folder list";
        EXPECT_FALSE(TFrmInsDir::IsConfirmed());
    }
    {
        TFrmSrafovani w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Escape)) << "hatching";
    }
}

TEST(DialogKeys, EnterPressesTheDefaultButtonWhileACheckBoxOrRadioButtonHasTheFocus)
{
    TMainWindowFixture f;
    f.ShowWindow();
    {
        TFrmExport w(nullptr);
        TCheckBox* box = w.ExTexty;
        const bool checked = box->Checked();
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Return, box->Handle())) << "export options";
        EXPECT_EQ(box->Checked(), checked);
    }
    {
        TFrmInsText w(nullptr);
        w.Memo->SetText(QStringLiteral("Ahoj"));
        w.PageControl1->SetActivePage(w.TabRotace1);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Return, w.Rot90->Handle())) << "text properties";
        EXPECT_TRUE(w.IsConfirmed());
        w.PageControl1->SetActivePage(w.TabRotace1);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Return, w.Aliasing->Handle())) << "text properties";
    }
    {
        TFrmKorekce w(nullptr);
        EXPECT_TRUE(KeyClosesDialog(&w, Qt::Key_Return)) << "print correction";
        EXPECT_TRUE(w.IsConfirmed());
    }
}
