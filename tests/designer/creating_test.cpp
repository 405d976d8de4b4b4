#include "designer_fixture.h"
#include "surface_input.h"

#include "classlib/forms/dialogs.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/forms/frm_ins_text.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {
// A BMP picture of the given size in a fresh folder.
QString MakePicture(int w, int h, const QString& name = QStringLiteral("obr.bmp"))
{
    TBitmap bmp;
    bmp.SetSize(w, h);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect(0, 0, w, h));
    const QString path = TestSupport::MakeTempDir() + QLatin1Char('/') + name;
    bmp.SaveToFile(path);
    return path;
}

// Answers the next file dialogs with this file (empty: cancel); remembers the dialog.
TOpenDialog* gLastDialog = nullptr;
void AnswerDialogs(const QString& fileName)
{
    TCommonDialog::ExecuteHook = [fileName](TCommonDialog* d) {
        auto* od = dynamic_cast<TOpenDialog*>(d);
        gLastDialog = od;
        if (!od || fileName.isEmpty())
            return false;
        od->FileName = fileName;
        return true;
    };
}

int CountOf(TFrmMain* m, const char* cls)
{
    int n = 0;
    for (int i = 0; i < m->ComponentCount(); ++i)
        if (m->Components(i)->ClassName() == QLatin1String(cls))
            ++n;
    return n;
}
} // namespace

TEST(Creating, TextObjectIsCentredAt85InTheDialogFont)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->btnText2Click(m);
    ASSERT_EQ(m->ObjectCount(), 1);
    auto* l = dynamic_cast<TLabel*>(m->Components(0));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Caption(), QStringLiteral("Text"));
    EXPECT_EQ(l->Name(), QStringLiteral("C0"));
    EXPECT_EQ(l->Tag(), 1);
    EXPECT_FALSE(l->AutoSize());
    EXPECT_TRUE(l->Transparent());
    EXPECT_EQ(l->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(l->Font()->Size(), 20);
    EXPECT_TRUE(l->Font()->Style() & FontStyleBit(fsBold));
    EXPECT_EQ(l->Top(), 85);
    EXPECT_GT(l->Width(), 20);
    EXPECT_EQ(l->Width(), m->SizeLabel->Width());
    EXPECT_EQ(l->Left(), m->PNLCD->Width() / 2 - l->Width() / 2);
    EXPECT_EQ(l->PopupMenu(), m->PopupMenuTxt);
    EXPECT_EQ(m->SelectedObject, l);
    EXPECT_EQ(m->Vrstvy->Items()->Strings(0), QString(20, QLatin1Char(' ')) + QStringLiteral("Text"));
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 0);
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(l->Left(), l->Top() + l->Height(), l->Width(), 1));
    EXPECT_TRUE(m->Modified);

    // A size of 8 keeps the face and style; a colour chosen in the dialog carries on.
    dialog.Memo->Font()->SetColor(clBlue);
    m->AddTextObject(QStringLiteral("Stopa 1\nStopa 2"), 8);
    auto* small = dynamic_cast<TLabel*>(m->Components(1));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->Font()->Size(), 8);
    EXPECT_EQ(small->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(small->Font()->Color(), clBlue);
    EXPECT_GT(small->Height(), l->Height() / 2); // two lines of 8 pt
    EXPECT_EQ(small->Name(), QStringLiteral("C1"));
}

TEST(Creating, TextDialogConfirmsOnlyATypedText)
{
    TFrmInsText dialog(nullptr);
    dialog.Memo->SetText(QStringLiteral("staré"));
    dialog.FormShow(&dialog);
    EXPECT_EQ(dialog.text->Text(), QStringLiteral("staré"));
    EXPECT_FALSE(dialog.IsConfirmed());
    dialog.text->SetText(QStringLiteral("Nové"));
    dialog.BtnOKClick(&dialog);
    EXPECT_TRUE(dialog.IsConfirmed());
    EXPECT_EQ(dialog.Memo->Text(), QStringLiteral("Nové"));
    dialog.FormShow(&dialog);
    dialog.text->SetText(QString());
    dialog.btnOK2->Click();
    EXPECT_FALSE(dialog.IsConfirmed());
    dialog.FormShow(&dialog);
    dialog.text->SetText(QStringLiteral("x"));
    dialog.btnStornoClick(&dialog);
    EXPECT_FALSE(dialog.IsConfirmed());
    dialog.ShowPropertiesTab(false);
    EXPECT_FALSE(dialog.TabRotace1->TabVisible());
    EXPECT_EQ(dialog.Memo->Font()->Height(), -27);
    // The colour dialog starts from the font colour and sets it.
    TCommonDialog::ExecuteHook = [](TCommonDialog* d) {
        auto* cd = dynamic_cast<TColorDialog*>(d);
        EXPECT_EQ(cd->Color, clBlack);
        cd->Color = clGreen;
        return true;
    };
    dialog.btnColorClick(&dialog);
    TCommonDialog::ExecuteHook = nullptr;
    EXPECT_EQ(dialog.Memo->Font()->Color(), clGreen);
}

TEST(Creating, PicturesKeepTheirSizeOrFitNinetyPixelsSmaller)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerDialogs(MakePicture(100, 80));
    m->btnImg2Click(m);
    ASSERT_EQ(m->ObjectCount(), 1);
    auto* small = dynamic_cast<TImage*>(m->Components(0));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->BoundsRect(), Bounds(80, 80, 100, 80));
    EXPECT_EQ(small->Hint(), QStringLiteral("obr.bmp"));
    EXPECT_TRUE(small->Stretch());
    EXPECT_FALSE(small->Transparent());
    EXPECT_EQ(small->PopupMenu(), m->PopupMenuIMG);
    EXPECT_TRUE(m->RT->Visible());

    // 1000 x 500 on 461 x 461: the fit is 461 x 231, then 90 px off both.
    AnswerDialogs(MakePicture(1000, 500));
    m->btnImg2Click(m);
    auto* big = dynamic_cast<TImage*>(m->Components(1));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->BoundsRect(), Bounds(80, 80, 371, 141));
    // Taller than the panel only: the fit is 77 x 461; 90 off leaves at least a pixel.
    AnswerDialogs(MakePicture(100, 600));
    m->btnImg2Click(m);
    EXPECT_EQ(dynamic_cast<TImage*>(m->Components(2))->BoundsRect(), Bounds(80, 80, 1, 371));

    // Cancelled: nothing happens.
    m->Modified = false;
    AnswerDialogs(QString());
    m->btnImg2Click(m);
    EXPECT_EQ(m->ObjectCount(), 3);
    EXPECT_FALSE(m->Modified);
}

TEST(Creating, UnreadablePictureLeavesNothingOnTheLabel)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    const QString path = TestSupport::MakeTempDir() + QStringLiteral("/broken.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    const int components = m->ComponentCount();
    const int images = CountOf(m, "TImage");
    AnswerDialogs(path);
    EXPECT_ANY_THROW(m->btnImg2Click(m));
    EXPECT_EQ(m->ComponentCount(), components);
    EXPECT_EQ(CountOf(m, "TImage"), images);
    EXPECT_EQ(m->ObjectCount(), 0);
    EXPECT_EQ(m->Vrstvy->Items()->Count(), 0);
    EXPECT_TRUE(m->Modified);
}

TEST(Creating, LogoCoverAndBackground)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // The shipped logos: transparent GIFs in the logo folder.
    const QStringList logos = QDir(TestSupport::BinDir() + QStringLiteral("/Loga")).entryList({QStringLiteral("*.gif")});
    ASSERT_GE(logos.size(), 3);
    AnswerDialogs(TestSupport::BinDir() + QStringLiteral("/Loga/") + logos.first());
    m->Logo1Click(m);
    ASSERT_NE(gLastDialog, nullptr);
    EXPECT_TRUE(gLastDialog->InitialDir.endsWith(QStringLiteral("/Loga/")));
    auto* logo = dynamic_cast<TImage*>(m->Components(0));
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->Transparent());
    EXPECT_EQ(logo->Hint(), logos.first());
    EXPECT_LE(logo->Width(), 461);
    EXPECT_TRUE(m->HK->Visible());

    AnswerDialogs(MakePicture(50, 50));
    m->ComObalClick(m);
    auto* cover = dynamic_cast<TImage*>(m->Components(1));
    ASSERT_NE(cover, nullptr);
    EXPECT_EQ(cover->Tag(), 2);
    EXPECT_EQ(cover->BoundsRect(), Bounds(7, 7, 461 - 15, 461 - 15));
    EXPECT_FALSE(m->RT->Visible());
    // The cover shows no frame, and the logo's centre cross went with its frame.
    EXPECT_FALSE(m->HK->Visible());
    EXPECT_FALSE(m->VK->Visible());
    EXPECT_FALSE(m->H2K->Visible());

    // A background from a file: no object, the list back at "no background".
    m->Modified = false;
    AnswerDialogs(MakePicture(30, 20));
    m->BtnPozadi2Click(m);
    EXPECT_EQ(m->ObjectCount(), 2);
    EXPECT_EQ(m->IMGBck->Picture()->Width(), 30);
    EXPECT_EQ(m->lComboPozadi->ItemIndex(), 0);
    EXPECT_TRUE(m->Modified);
}

TEST(Creating, ShapeToolsByClickAndByDrag)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TSurfaceMouse mouse(m->PNLCD->Handle());
    m->btnRect->Click();
    EXPECT_TRUE(m->btnRect->Down());
    EXPECT_TRUE(m->TopVSA->Visible());
    // A click without drag: 25 x 25 at the click.
    mouse.Click(QPoint(120, 60));
    ASSERT_EQ(m->ObjectCount(), 1);
    auto* rect = dynamic_cast<TShape*>(m->Components(0));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->BoundsRect(), Bounds(120, 60, 25, 25));
    EXPECT_EQ(rect->Shape(), stRectangle);
    EXPECT_EQ(rect->Hint(), m->sObdelnik);
    EXPECT_FALSE(m->btnRect->Down());
    EXPECT_FALSE(m->TopVSA->Visible());
    EXPECT_EQ(m->SelectedObject, rect);
    EXPECT_TRUE(m->Modified);

    // A drag shows the rubber band, and the shape takes the dragged rectangle.
    m->vl8Click(m);
    EXPECT_TRUE(m->btnCircl->Down());
    mouse.Press(QPoint(150, 100));
    mouse.Move(QPoint(250, 140));
    const QImage& band = m->RubberBandImage();
    EXPECT_NE(band.pixel(150, 100), 0u);
    EXPECT_EQ(band.pixel(200, 120), 0u);
    // On screen the band inverts the white label: its dots are black.
    {
        const QImage shot = m->Window()->grab().toImage();
        const QPoint o = m->PNLCD->Handle()->mapTo(m->Window(), QPoint(0, 0));
        EXPECT_EQ(shot.pixelColor(o + QPoint(150, 100)), QColor(Qt::black));
        EXPECT_EQ(shot.pixelColor(o + QPoint(200, 120)), QColor(Qt::white));
    }
    mouse.Release(QPoint(250, 140));
    auto* circle = dynamic_cast<TShape*>(m->Components(1));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->Shape(), stEllipse);
    EXPECT_EQ(circle->BoundsRect(), Bounds(150, 100, 100, 40));
    // The band is gone once the shape stands.
    bool clean = true;
    for (int y = 0; y < band.height() && clean; ++y)
        for (int x = 0; x < band.width() && clean; ++x)
            clean = m->RubberBandImage().pixel(x, y) == 0u;
    EXPECT_TRUE(clean);

    // Up and to the left: sides of 25 anchored at the press point.
    m->vl6Click(m);
    mouse.Drag(QPoint(300, 300), QPoint(260, 250));
    auto* round = dynamic_cast<TShape*>(m->Components(2));
    ASSERT_NE(round, nullptr);
    EXPECT_EQ(round->Shape(), stRoundRect);
    EXPECT_EQ(round->BoundsRect(), Bounds(300, 300, 25, 25));
    EXPECT_EQ(round->Hint(), m->sZaoblenyObdelnik);
    // Over the masked corner the mask picture takes the band as well.
    m->btnRect->Click();
    mouse.Drag(QPoint(5, 5), QPoint(45, 35));
    EXPECT_EQ(dynamic_cast<TShape*>(m->Components(3))->BoundsRect(), Bounds(5, 5, 40, 30));
    // Unarmed, a press on the background makes nothing.
    mouse.Click(QPoint(200, 60));
    EXPECT_EQ(m->ObjectCount(), 4);
    // Arming one tool releases the others.
    m->btnRect->Click();
    m->btnRound->Click();
    EXPECT_FALSE(m->btnRect->Down());
    EXPECT_TRUE(m->btnRound->Down());
}

// "Vložit text" takes the typing at once: the caret waits in its text field
// at every showing, wherever the focus was when it last closed.
TEST(Creating, TheTextDialogOpensWithTheCaretInItsTextField)
{
    TMainWindowFixture f;
    f.ShowWindow();
    QApplication::setActiveWindow(f.Main()->Window()); // the command came from the main window
    TFrmInsText dialog(nullptr);
    dialog.Memo->SetText(QString());
    int showing = 0;
    for (const char* typed : {"Ahoj", " svete", ""}) {
        SCOPED_TRACE(typed);
        bool focused = false;
        QTimer keys, giveUp;
        keys.setSingleShot(true);
        giveUp.setSingleShot(true);
        QObject::connect(&keys, &QTimer::timeout, [&] {
            focused = QApplication::focusWidget() == dialog.text->Handle();
            QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(typed));
            if (showing == 1)
                dialog.BtnOK->SetFocus(); // the user moves to OK before confirming
            QTest::keyClick(QApplication::focusWidget(), showing == 2 ? Qt::Key_Escape : Qt::Key_Return);
        });
        QObject::connect(&giveUp, &QTimer::timeout, [&] { dialog.SetModalResult(mrCancel); });
        keys.start(30);
        giveUp.start(1000);
        dialog.ShowModal();
        EXPECT_TRUE(focused);
        EXPECT_EQ(dialog.IsConfirmed(), showing < 2);
        ++showing;
        QTest::qWait(20); // back in the main window for a moment
    }
    EXPECT_EQ(dialog.Memo->Text(), QStringLiteral("Ahoj svete"));
}
