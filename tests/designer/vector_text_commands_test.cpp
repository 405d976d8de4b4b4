// Inserting, editing, moving and rebuilding the two picture-text kinds on the
// main window.
#include "designer_fixture.h"

#include "classlib/forms/dialogs.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/component_stream.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/param_string.h"
#include "designer/objects/text_image.h"
#include "platform/messages.h"
#include "test_support.h"

#include <QBuffer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Answers the next showing of the text dialog: types text, lets setup set
// the other controls, then presses OK (or Storno when text is empty).
void AnswerTextDialog(const QString& text, std::function<void(TFrmInsText&)> setup = {})
{
    QTimer::singleShot(10, [text, setup] {
        TFrmInsText& d = *FrmInsText;
        d.text->SetText(text);
        if (setup)
            setup(d);
        if (text.isEmpty())
            d.btnStorno->Click();
        else
            d.BtnOK->Click();
    });
}

template <class T>
T* OnlyObject(TFrmMain* m)
{
    if (m->ObjectCount() != 1)
        return nullptr;
    return dynamic_cast<T*>(m->Components(0));
}

const QImage& PictureImage(TImage* o) { return dynamic_cast<TBitmap*>(o->Picture()->Graphic())->Image(); }

int InkCount(const QImage& img, QRgb background)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) != background;
    return n;
}

template <class T>
std::unique_ptr<T> ThroughRecord(T* o)
{
    QByteArray bytes = ComponentRecordBytes(o);
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    std::unique_ptr<TComponent> c = ReadComponentRecord(buf);
    auto* t = dynamic_cast<T*>(c.get());
    if (t)
        c.release();
    return std::unique_ptr<T>(t);
}

} // namespace

TEST(InsertCircularText, NewTextIsCentredOnThePanelWithRadius150)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->PNLCD->SetBounds(m->PNLCD->Left(), m->PNLCD->Top(), 530, 530);
    m->btnRect->SetDown(true);
    AnswerTextDialog(QStringLiteral("Kulatý text"));
    m->btnKruhText->Click();
    EXPECT_FALSE(m->btnRect->Down());
    EXPECT_FALSE(dialog.TabRotace1->TabVisible());
    auto* o = OnlyObject<TCFImage>(m);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->HelpKeyword(), QStringLiteral("265;265;150;0;"));
    EXPECT_EQ(o->Hint(), QStringLiteral("Kulatý text"));
    EXPECT_EQ(o->Tag(), 1);
    EXPECT_EQ(o->Name(), QStringLiteral("C0"));
    EXPECT_TRUE(o->Transparent());
    EXPECT_EQ(o->PopupMenu(), m->PopupMenuCircl);
    EXPECT_EQ(m->SelectedObject, o);
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(m->Vrstvy->ItemIndex(), 0);
    // Its bitmap keeps the first size; the bounds fit the text at the top of the circle.
    EXPECT_EQ(PictureImage(o).size(), QSize(530, 530));
    EXPECT_LT(o->Top(), 265 - 150);
    EXPECT_NEAR(o->Left() + o->Width() / 2.0, 265, 8);
    EXPECT_TRUE(o->MFFont()->Equals(*dialog.Memo->Font()));
    // The circle guide instead of the frame.
    EXPECT_TRUE(m->Circl2->Visible());
    EXPECT_TRUE(m->CT->Visible());
    EXPECT_FALSE(m->RB->Visible());

    // Storno adds nothing.
    AnswerTextDialog(QString());
    m->btnKruhText2Click(m);
    EXPECT_EQ(m->ObjectCount(), 1);
}

TEST(InsertCircularText, TheCentreCrossOfThePreviousSelectionGoes)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->AddTextObject(QStringLiteral("Nahoře"), 12);
    ASSERT_TRUE(m->HK->Visible());
    ASSERT_TRUE(m->VK->Visible());
    AnswerTextDialog(QStringLiteral("Kulatý text"));
    m->btnKruhText->Click();
    ASSERT_EQ(m->ObjectCount(), 2);
    EXPECT_TRUE(m->Circl2->Visible());
    for (TShape* line : {m->HK, m->VK, m->H2K, m->V2K})
        EXPECT_FALSE(line->Visible()) << line->Name().toStdString();
}

TEST(InsertTextImage, NinetyDegreesSwapsTheMeasuredSize)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Tessavik"), [](TFrmInsText& d) {
        d.Rot90->SetChecked(true);
        d.Aliasing->SetChecked(false);
        d.Filling->SetChecked(true);
    });
    m->btnTextImg->Click();
    EXPECT_TRUE(dialog.TabRotace1->TabVisible());
    auto* o = OnlyObject<TFImage>(m);
    ASSERT_NE(o, nullptr);
    m->SizeLabel->SetFont(dialog.Memo->Font());
    m->SizeLabel->SetCaption(QStringLiteral("Tessavik"));
    const int w = m->SizeLabel->Width(), h = m->SizeLabel->Height();
    EXPECT_EQ(o->Width(), h);
    EXPECT_EQ(o->Height(), w);
    EXPECT_EQ(o->Top(), 80);
    EXPECT_EQ(o->Left(), m->PNLCD->Width() / 2 - w / 2);
    EXPECT_EQ(o->HelpContext(), 90);
    EXPECT_EQ(o->HelpKeyword(), QStringLiteral("1"));
    EXPECT_FALSE(o->Aliasing());
    EXPECT_TRUE(o->Filling());
    EXPECT_TRUE(o->Stretch());
    EXPECT_TRUE(o->Transparent());
    EXPECT_EQ(o->Hint(), QStringLiteral("Tessavik"));
    EXPECT_EQ(o->PopupMenu(), m->PopupMenuTxtImg);
    EXPECT_TRUE(o->MFFont()->Equals(*dialog.Memo->Font()));
    EXPECT_EQ(PictureImage(o).size(), QSize(h, w));
    EXPECT_GT(InkCount(PictureImage(o), 0xD8D8D8), 50);
    // The selection frame shows around it.
    EXPECT_TRUE(m->RB->Visible());
    EXPECT_EQ(m->RB->BoundsRect(), Bounds(o->Left(), o->Top() + o->Height(), o->Width(), 1));
}

TEST(TextImageProperties, RotationAndAutomaticSizeFromTheDialog)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Tessavik"));
    m->btnTextImgClick(m);
    auto* o = OnlyObject<TFImage>(m);
    ASSERT_NE(o, nullptr);
    const int w = o->Width(), h = o->Height();
    m->Modified = false;

    // Page "Vlastnosti textu": automatic size off, turned by 180: the size stays.
    int shownPage = -1;
    AnswerTextDialog(QStringLiteral("Tessavik"), [&](TFrmInsText& d) {
        shownPage = d.PageControl1->ActivePageIndex();
        d.AutoSize->SetChecked(false);
        d.Rot180->SetChecked(true);
    });
    o->SetBounds(o->Left(), o->Top(), w * 2, h);
    m->tim2Click(m);
    EXPECT_EQ(shownPage, 1);
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(o->HelpContext(), 180);
    EXPECT_EQ(o->HelpKeyword(), QStringLiteral("0"));
    EXPECT_EQ(o->Width(), w * 2);
    EXPECT_EQ(PictureImage(o).size(), QSize(w * 2, h));

    // The first page shows the object's own state; automatic size on at 270
    // gives the measured size turned.
    bool sawState = false;
    AnswerTextDialog(QStringLiteral("Tessavik"), [&](TFrmInsText& d) {
        sawState = d.PageControl1->ActivePageIndex() == 0 && d.Rot180->Checked() && !d.AutoSize->Checked() &&
                   d.text->Text() == QStringLiteral("Tessavik");
        d.AutoSize->SetChecked(true);
        d.Rot270->SetChecked(true);
    });
    m->tim1Click(m);
    EXPECT_TRUE(sawState);
    EXPECT_EQ(o->HelpContext(), 270);
    EXPECT_EQ(o->Width(), h);
    EXPECT_EQ(o->Height(), w);
}

TEST(CircularTextCommands, ColourAndPropertiesRedrawTheText)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Barva"));
    m->btnKruhText2Click(m);
    auto* o = OnlyObject<TCFImage>(m);
    ASSERT_NE(o, nullptr);
    m->Modified = false;
    TColor started = clNone;
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        auto* c = dynamic_cast<TColorDialog*>(d);
        if (!c)
            return false;
        started = c->Color;
        c->Color = clRed;
        return true;
    };
    m->crc2Click(m);
    EXPECT_EQ(started, dialog.Memo->Font()->Color());
    EXPECT_EQ(o->MFFont()->Color(), clRed);
    EXPECT_EQ(o->Canvas()->Font()->Color(), clRed);
    EXPECT_GT(InkCount(PictureImage(o).copy(0, 0, o->Width(), o->Height()), 0xFFFFFF), 20);
    const QImage img = PictureImage(o);
    bool red = false;
    for (int y = 0; y < o->Height() && !red; ++y)
        for (int x = 0; x < o->Width() && !red; ++x)
            red = (img.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_TRUE(red);
    EXPECT_TRUE(m->Modified);

    // Properties: a new text, a bigger font.
    const int oldWidth = o->Width();
    AnswerTextDialog(QStringLiteral("Barva a písmo"), [](TFrmInsText& d) { d.Memo->Font()->SetSize(28); });
    m->crc1Click(m);
    EXPECT_EQ(o->Hint(), QStringLiteral("Barva a písmo"));
    EXPECT_EQ(o->MFFont()->Size(), 28);
    EXPECT_GT(o->Width(), oldWidth);
    EXPECT_TRUE(m->Circl2->Visible());
}

TEST(CircularTextMouse, DraggingMovesTheCentreByTheSameDistance)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Tažení"));
    m->btnKruhText2Click(m);
    auto* o = OnlyObject<TCFImage>(m);
    ASSERT_NE(o, nullptr);
    const QString before = o->HelpKeyword();
    const TRect bounds = o->BoundsRect();
    const int guideTop = m->Circl1->Top();
    // Press inside the object on a pixel of the panel it covers, drag by (10, 5).
    QWidget* panel = m->PNLCD->Handle();
    m->Circl2->SetVisible(false); // offscreen ignores window regions: the ring would take the press
    const QPoint grab(o->Left() + o->Width() / 2, o->Top() + o->Height() / 2);
    m->Modified = false;
    TestSupport::MousePress(panel, grab);
    TestSupport::MouseMove(panel, grab + QPoint(10, 5), Qt::LeftButton);
    EXPECT_EQ(m->Circl1->Top(), guideTop + 5);
    EXPECT_TRUE(m->HK->Visible());
    TestSupport::MouseRelease(panel, grab + QPoint(10, 5));
    EXPECT_EQ(o->BoundsRect(), Bounds(bounds.Left + 10, bounds.Top + 5, bounds.Width(), bounds.Height()));
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 0), GetParamField(before, 0) + 10);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 1), GetParamField(before, 1) + 5);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 2), 150);
    EXPECT_TRUE(m->Modified);
    EXPECT_FALSE(m->HK->Visible());
    EXPECT_TRUE(m->Circl2->Visible());

    // The arrow keys move the centre by one pixel; Shift changes only the size.
    bool handled = false;
    m->FormShortCut(VK_LEFT, 0, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 0), GetParamField(before, 0) + 9);
    handled = false;
    m->FormShortCut(VK_DOWN, ssShift, handled);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 1), GetParamField(before, 1) + 5);

    // A locked circular text is selected but never moves.
    o->SetTag(2);
    const QString locked = o->HelpKeyword();
    const TRect lockedBounds = o->BoundsRect();
    const QPoint grab2(o->Left() + o->Width() / 2, o->Top() + o->Height() / 2);
    TestSupport::MousePress(panel, grab2);
    TestSupport::MouseMove(panel, grab2 + QPoint(20, 20), Qt::LeftButton);
    TestSupport::MouseRelease(panel, grab2 + QPoint(20, 20));
    EXPECT_EQ(o->HelpKeyword(), locked);
    EXPECT_EQ(o->BoundsRect(), lockedBounds);
    EXPECT_EQ(m->SelectedObject, o);
}

TEST(TextImageEditing, ResizingAndNudgingDrawTheTextAgain)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Tessavik"));
    m->btnTextImgClick(m);
    auto* o = OnlyObject<TFImage>(m);
    ASSERT_NE(o, nullptr);
    const int w = o->Width();
    bool handled = false;
    m->FormShortCut(VK_RIGHT, ssShift, handled);
    EXPECT_EQ(PictureImage(o).width(), w + 1);
    // A handle drag of the right side: the picture follows the new width.
    m->PR1MouseDown(m->PR1, mbLeft, 0, 2, 2);
    m->PR1MouseMove(m->PR1, 0, 2 + 100, 2);
    m->PR1MouseUp(m->PR1, mbLeft, 0, 2 + 100, 2);
    EXPECT_GT(o->Width(), w + 50);
    EXPECT_EQ(PictureImage(o).width(), o->Width());
}

TEST(VectorTextRebuilders, TextPictureKeepsItsPictureCircularTextIsDrawnAgain)
{
    TMainWindowFixture f;
    TFrmInsText dialog(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerTextDialog(QStringLiteral("Obraz"));
    m->btnTextImgClick(m);
    AnswerTextDialog(QStringLiteral("Kruh"));
    m->btnKruhText2Click(m);
    ASSERT_EQ(m->ObjectCount(), 2);
    auto* ti = dynamic_cast<TFImage*>(m->Components(0));
    auto* ct = dynamic_cast<TCFImage*>(m->Components(1));
    ASSERT_TRUE(ti && ct);
    // A mark in the stored picture shows whether it is taken or drawn again.
    dynamic_cast<TBitmap*>(ti->Picture()->Graphic())->Image().setPixel(0, 0, qRgb(1, 2, 3));
    auto readTi = ThroughRecord(ti);
    auto readCt = ThroughRecord(ct);
    ASSERT_TRUE(readTi && readCt);
    TFont tiFont;
    tiFont.Assign(ti->MFFont());
    const TRect ctBounds = ct->BoundsRect();
    const QString ctParams = ct->HelpKeyword();
    // The stored circular picture is blanked: the rebuilder must draw it again.
    dynamic_cast<TBitmap*>(readCt->Picture()->Graphic())->Image().fill(Qt::white);
    m->DeleteObjects(true);
    ASSERT_EQ(m->ObjectCount(), 0);

    m->CreateTextImgFrom(readTi.get());
    m->CreateCircTextFrom(readCt.get());
    m->RenumberObjects();
    ASSERT_EQ(m->ObjectCount(), 2);
    auto* ti2 = dynamic_cast<TFImage*>(m->Components(0));
    auto* ct2 = dynamic_cast<TCFImage*>(m->Components(1));
    ASSERT_TRUE(ti2 && ct2);
    EXPECT_EQ(PictureImage(ti2).pixel(0, 0) & 0xFFFFFF, 0x010203u);
    EXPECT_EQ(ti2->Hint(), QStringLiteral("Obraz"));
    EXPECT_TRUE(ti2->Stretch());
    EXPECT_TRUE(ti2->Transparent());
    EXPECT_EQ(ti2->PopupMenu(), m->PopupMenuTxtImg);
    EXPECT_TRUE(ti2->MFFont()->Equals(tiFont));
    EXPECT_EQ(ti2->Aliasing(), dialog.Aliasing->Checked());

    EXPECT_EQ(ct2->HelpKeyword(), ctParams);
    EXPECT_EQ(ct2->BoundsRect(), ctBounds);
    EXPECT_EQ(ct2->PopupMenu(), m->PopupMenuCircl);
    EXPECT_GT(InkCount(PictureImage(ct2).copy(0, 0, ct2->Width(), ct2->Height()), 0xFFFFFF), 20);
    EXPECT_EQ(m->SelectedObject, ct2);
}
