// Cloning each kind of object from the Edit menu and the tool bar.
#include "designer_fixture.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/param_string.h"
#include "designer/objects/text_image.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {
void AnswerTextDialog(const QString& text, std::function<void(TFrmInsText&)> setup = {})
{
    QTimer::singleShot(10, [text, setup] {
        TFrmInsText& d = *FrmInsText;
        d.text->SetText(text);
        if (setup)
            setup(d);
        d.BtnOK->Click();
    });
}

TControl* Top(TFrmMain* m) { return static_cast<TControl*>(m->Components(m->ObjectCount() - 1)); }

const QImage& PictureImage(TImage* o) { return dynamic_cast<TBitmap*>(o->Picture()->Graphic())->Image(); }

TShape* AddShape(TFrmMain* m, int l, int t, int w, int h)
{
    auto* s = new TShape(m);
    s->SetTag(1);
    s->SetParent(m->PNLCD);
    s->SetBounds(l, t, w, h);
    m->SetObjectHandlers(s);
    m->RenumberObjects();
    m->RebuildLayerList();
    return s;
}
} // namespace

TEST(Cloning, PicturesAndNothingSelectedAreNotClonedTheCommandsAreOffered)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    EXPECT_TRUE(m->Klonovatobjekt1->Enabled());
    EXPECT_TRUE(m->ToolButton8->Enabled());
    EXPECT_EQ(m->Klonovatobjekt1->ShortCut(), ShortCut('I', ssCtrl));

    // Nothing selected: the measuring label stands for the selection and is no object.
    ASSERT_TRUE(m->NothingSelected());
    m->Klonovatobjekt1->Click();
    EXPECT_EQ(m->ObjectCount(), 0);
    EXPECT_FALSE(m->Modified);

    auto* picture = new TImage(m);
    picture->SetTag(1);
    picture->SetParent(m->PNLCD);
    picture->SetBounds(20, 20, 40, 30);
    m->SetObjectHandlers(picture);
    m->FinishNewObject(picture);
    m->Modified = false;
    m->Klonovatobjekt1->Click();
    m->ToolButton8->Click();
    EXPECT_EQ(m->ObjectCount(), 1);
    EXPECT_EQ(m->SelectedObject, picture);
    EXPECT_FALSE(m->Modified);
}

TEST(Cloning, CircularTextStartsAgainAtRadius150AndAngle0OnThePanelCentre)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Kolem dokola"), [](TFrmInsText& d) { d.Memo->Font()->SetSize(16); });
    m->btnKruhText->Click();
    auto* source = dynamic_cast<TCFImage*>(m->SelectedObject);
    ASSERT_NE(source, nullptr);
    source->SetHelpKeyword(QStringLiteral("120;140;80;90;"));
    m->RedrawCircularText(source);
    m->Modified = false;

    m->btnRect->SetDown(true);
    m->Klonovatobjekt1->Click();
    ASSERT_EQ(m->ObjectCount(), 2);
    auto* clone = dynamic_cast<TCFImage*>(Top(m));
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, source);
    EXPECT_EQ(m->SelectedObject, clone);
    const int cx = m->PNLCD->Width() / 2, cy = m->PNLCD->Height() / 2;
    EXPECT_EQ(clone->HelpKeyword(), QStringLiteral("%1;%2;150;0;").arg(cx).arg(cy));
    EXPECT_EQ(source->HelpKeyword(), QStringLiteral("120;140;80;90;"));
    EXPECT_EQ(clone->Hint(), QStringLiteral("Kolem dokola"));
    EXPECT_TRUE(clone->Canvas()->Font()->Equals(*source->Canvas()->Font()));
    EXPECT_EQ(clone->Canvas()->Font()->Size(), 16);
    EXPECT_TRUE(clone->MFFont()->Equals(*source->MFFont())); // the font that is saved
    EXPECT_EQ(clone->Tag(), 1);
    EXPECT_EQ(clone->PopupMenu(), m->PopupMenuCircl);
    // Drawn like a fresh insertion: the text at the top of a 150 circle around the centre.
    EXPECT_EQ(PictureImage(clone).size(), QSize(m->PNLCD->Width(), m->PNLCD->Height()));
    EXPECT_LT(clone->Top(), cy - 150);
    EXPECT_NEAR(clone->Left() + clone->Width() / 2.0, cx, 8);
    EXPECT_TRUE(m->Circl2->Visible());
    EXPECT_FALSE(m->btnRect->Down());
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 0);
}

TEST(Cloning, TextPictureKeepsRotationSizeTextAndLooksTheSame)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Otočený"), [](TFrmInsText& d) {
        d.Rot90->SetChecked(true);
        d.Filling->SetChecked(true);
        d.Memo->Font()->SetColor(clRed);
    });
    m->btnTextImg->Click();
    auto* source = dynamic_cast<TFImage*>(m->SelectedObject);
    ASSERT_NE(source, nullptr);
    // The dialog moves on; the clone draws with the source's own font.
    dialog.Memo->Font()->SetSize(40);
    dialog.Memo->Font()->SetColor(clBlue);
    m->Modified = false;

    m->ToolButton8->Click();
    ASSERT_EQ(m->ObjectCount(), 2);
    auto* clone = dynamic_cast<TFImage*>(Top(m));
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(m->SelectedObject, clone);
    EXPECT_EQ(clone->BoundsRect(), Bounds(source->Left() + 10, source->Top() + 10, source->Width(), source->Height()));
    EXPECT_EQ(clone->HelpContext(), 90);
    EXPECT_EQ(clone->HelpKeyword(), source->HelpKeyword());
    EXPECT_EQ(clone->Hint(), QStringLiteral("Otočený"));
    EXPECT_TRUE(clone->Filling());
    EXPECT_EQ(clone->Aliasing(), source->Aliasing());
    EXPECT_TRUE(clone->MFFont()->Equals(*source->MFFont()));
    EXPECT_TRUE(clone->Transparent());
    EXPECT_EQ(clone->PopupMenu(), m->PopupMenuTxtImg);
    EXPECT_EQ(PictureImage(clone), PictureImage(source));
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(clone->Left(), clone->Top() + clone->Height(), clone->Width(), 1));
}

TEST(Cloning, TextAndShapeMoveByTenAndCopyTheirFields)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->AddTextObject(QStringLiteral("Řádek 1\r\nŘádek 2"), 12);
    auto* text = dynamic_cast<TLabel*>(m->SelectedObject);
    ASSERT_NE(text, nullptr);
    text->Font()->SetColor(clGreen);
    text->SetBounds(30, 40, 300, 200); // wider than its text
    m->Modified = false;
    m->Klonovatobjekt1->Click();
    ASSERT_EQ(m->ObjectCount(), 2);
    auto* textClone = dynamic_cast<TLabel*>(Top(m));
    ASSERT_NE(textClone, nullptr);
    EXPECT_EQ(m->SelectedObject, textClone);
    m->SizeLabel->Font()->Assign(text->Font());
    m->SizeLabel->SetCaption(text->Caption());
    EXPECT_EQ(textClone->BoundsRect(), Bounds(40, 50, m->SizeLabel->Width(), m->SizeLabel->Height()));
    EXPECT_EQ(textClone->Caption(), text->Caption());
    EXPECT_TRUE(textClone->Font()->Equals(*text->Font()));
    EXPECT_EQ(textClone->Font()->Size(), 12);
    EXPECT_FALSE(textClone->AutoSize());
    EXPECT_TRUE(textClone->Transparent());
    EXPECT_EQ(textClone->Tag(), 1);
    EXPECT_EQ(textClone->PopupMenu(), m->PopupMenuTxt);
    EXPECT_TRUE(m->Modified);

    TShape* shape = AddShape(m, 100, 60, 50, 30);
    shape->SetShape(stEllipse);
    shape->SetHint(QStringLiteral("Kruh"));
    shape->Pen()->SetWidth(3);
    shape->Pen()->SetColor(clRed);
    shape->Pen()->SetMode(pmMask);
    shape->Brush()->SetColor(clBlue);
    shape->Brush()->SetStyle(bsCross);
    m->SelectedObject = shape;
    m->btnCircl->SetDown(true);
    m->TopVSA->SetVisible(true);
    m->Modified = false;
    m->Klonovatobjekt1->Click();
    ASSERT_EQ(m->ObjectCount(), 4);
    auto* shapeClone = dynamic_cast<TShape*>(Top(m));
    ASSERT_NE(shapeClone, nullptr);
    EXPECT_NE(shapeClone, shape);
    EXPECT_EQ(m->SelectedObject, shapeClone);
    EXPECT_EQ(shapeClone->BoundsRect(), Bounds(110, 70, 50, 30));
    EXPECT_EQ(shapeClone->Shape(), stEllipse);
    EXPECT_EQ(shapeClone->Hint(), QStringLiteral("Kruh"));
    EXPECT_EQ(shapeClone->Pen()->Width(), 3);
    EXPECT_EQ(shapeClone->Pen()->Color(), clRed);
    EXPECT_EQ(shapeClone->Pen()->Mode(), pmMask);
    EXPECT_EQ(shapeClone->Brush()->Color(), clBlue);
    EXPECT_EQ(shapeClone->Brush()->Style(), bsCross);
    EXPECT_TRUE(static_cast<bool>(shapeClone->OnContextPopup));
    EXPECT_FALSE(m->btnCircl->Down());
    EXPECT_FALSE(m->TopVSA->Visible());
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(110, 100, 50, 1));
}
