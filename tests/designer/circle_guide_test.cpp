// The main window's side of circular text: the guide ring and its handles,
// radius and rotation drags, and the warnings of a layout that fails.
#include "designer_fixture.h"

#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/param_string.h"
#include "designer/objects/text_image.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// A circular text as insertion leaves it: the panel's size, then redrawn.
TCFImage* AddCircText(TFrmMain* m, const QString& text, const QString& params, int pointSize = 20)
{
    auto* o = new TCFImage(m);
    o->SetTag(1);
    o->SetParent(m->PNLCD);
    o->SetBounds(80, 80, m->PNLCD->Width(), m->PNLCD->Height());
    o->SetTransparent(true);
    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(pointSize);
    o->Canvas()->SetFont(&f);
    o->SetHint(text);
    o->SetHelpKeyword(params);
    m->SelectedObject = o;
    m->RenderCircularText(o, GetParamField(params, 2), GetParamField(params, 3), text);
    return o;
}

QPoint Centre(TControl* c) { return QPoint(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2); }

} // namespace

TEST(CircleGuide, RingAndHandlesSurroundTheCircle)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    TCFImage* o = AddCircText(m, QStringLiteral("Tessavik"), QStringLiteral("230;230;150;0;"));
    m->PlaceCircleGuide(o);
    ASSERT_TRUE(m->Circl2->Visible());
    EXPECT_FALSE(m->Circl1->Visible());
    const int l = m->Circl1->Left(), t = m->Circl1->Top(), w = m->Circl1->Width(), h = m->Circl1->Height();
    // Centred on the circle, one margin (a text line) beyond the radius.
    m->SizeLabel->SetFont(o->Canvas()->Font());
    m->SizeLabel->SetCaption(o->Hint());
    const int margin = m->SizeLabel->Height();
    EXPECT_NEAR(l + w / 2.0, 230, 2);
    EXPECT_NEAR(t, 230 - 150 - margin, 2);
    EXPECT_NEAR(h, 2 * (150 + margin), 3);
    EXPECT_NEAR(w, h, 3);
    // The ring: one pixel along the ellipse (l, t, l + w, t + h), nothing inside.
    ASSERT_TRUE(m->Circl2->WindowRgn().has_value());
    const TRegion& ring = *m->Circl2->WindowRgn();
    EXPECT_EQ(ring, CreateEllipticRgn(l, t, l + w + 1, t + h + 1)
                        .Combined(CreateEllipticRgn(l - 1, t - 1, l + w + 2, t + h + 2), RGN_XOR));
    EXPECT_FALSE(ring.Contains(l + w / 2, t + h / 2));
    EXPECT_TRUE(ring.Contains(l + w / 2, t) || ring.Contains(l + w / 2, t - 1));
    // Handles outside the four ends of the circle, rotation icons inside its corners.
    EXPECT_EQ(m->CL->BoundsRect(), TRect(l - 8, t + h / 2 - 4, l, t + h / 2 + 4));
    EXPECT_EQ(m->CT->BoundsRect(), TRect(l + w / 2 - 4, t - 8, l + w / 2 + 4, t));
    EXPECT_EQ(m->CR->BoundsRect(), TRect(l + w, t + h / 2 - 4, l + w + 8, t + h / 2 + 4));
    EXPECT_EQ(m->CB->BoundsRect(), TRect(l + w / 2 - 4, t + h, l + w / 2 + 4, t + h + 8));
    EXPECT_EQ(TPoint(m->IR1->Left(), m->IR1->Top()), TPoint(l + w / 8, t + h / 8));
    EXPECT_EQ(TPoint(m->IR3->Left(), m->IR3->Top()), TPoint(l + w - w / 8 - 15, t + h - h / 8 - 17));
    for (TControl* c : {(TControl*)m->CT, (TControl*)m->CR, (TControl*)m->CB, (TControl*)m->CL, (TControl*)m->IR1,
                        (TControl*)m->IR2, (TControl*)m->IR3, (TControl*)m->IR4})
        EXPECT_TRUE(c->Visible()) << c->Name().toStdString();

    m->HideCircleGuide();
    EXPECT_FALSE(m->Circl2->Visible());
    EXPECT_FALSE(m->CT->Visible());
    EXPECT_FALSE(m->IR4->Visible());
}

TEST(CircleGuide, DraggingTheTopHandleUpTenPixelsAddsTwelveToTheRadius)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    TCFImage* o = AddCircText(m, QStringLiteral("Tessavik"), QStringLiteral("230;230;150;0;"));
    m->PlaceCircleGuide(o);
    const int oldTop = m->Circl1->Top();
    // Press on the handle's top row and move ten pixels up: Y = -10 inside it.
    QWidget* panel = m->PNLCD->Handle();
    const QPoint grab(m->CT->Left() + 4, m->CT->Top());
    TestSupport::MousePress(panel, grab);
    TestSupport::MouseMove(panel, grab - QPoint(0, 10), Qt::LeftButton);
    TestSupport::MouseRelease(panel, grab - QPoint(0, 10));
    EXPECT_EQ(o->HelpKeyword(), QStringLiteral("230;230;162;0;"));
    EXPECT_TRUE(m->Modified);
    EXPECT_FALSE(m->RadiusActive);
    // The text and its guide follow the new radius.
    EXPECT_NEAR(m->Circl1->Top(), oldTop - 12, 2);
    EXPECT_NEAR(o->Top(), oldTop - 12, 3);

    // The other three handles grow the radius by their own offsets.
    m->CTMouseDown(m->CR, mbLeft, 0, 0, 0);
    m->CRMouseMove(m->CR, 0, 13, 4);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 2), 172);
    m->CBMouseMove(m->CB, 0, 4, 8);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 2), 177);
    m->CLMouseMove(m->CL, 0, 12, 4);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 2), 167);
    m->CTMouseUp(m->CR, mbLeft, 0, 0, 0);
    // Released: moves change nothing.
    m->CTMouseMove(m->CT, 0, 4, -50);
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 2), 167);
}

TEST(CircleGuide, RotationFollowsThePointerAndKeepsTheLastAngleOnTheAxes)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    TCFImage* o = AddCircText(m, QStringLiteral("Tessavik"), QStringLiteral("230;230;150;45;"));
    m->PlaceCircleGuide(o);
    TImage* h = m->IR2;
    auto moveTo = [&](int px, int py) { m->IR2MouseMove(h, 0, px - h->Left(), py - h->Top()); };

    // A press and release without a move keeps the angle.
    m->IR2MouseDown(h, mbLeft, 0, 1, 1);
    m->IR2MouseUp(h, mbLeft, 0, 1, 1);
    EXPECT_EQ(o->HelpKeyword(), QStringLiteral("230;230;150;45;"));

    m->IR2MouseDown(h, mbLeft, 0, 1, 1);
    EXPECT_TRUE(m->RotateActive);
    moveTo(330, 231); // right of the centre: three o'clock
    EXPECT_EQ(m->RotateAngle, 90);
    // While dragging only the drawing turns; the parameter string waits.
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 3), 45);
    EXPECT_GT(o->Left(), 230);
    moveTo(229, 330); // below: six o'clock
    EXPECT_EQ(m->RotateAngle, 180);
    moveTo(130, 229); // left: nine o'clock
    EXPECT_EQ(m->RotateAngle, 270);
    moveTo(231, 100); // above: twelve o'clock
    EXPECT_EQ(m->RotateAngle, 0);
    moveTo(330, 130); // up and right
    EXPECT_EQ(m->RotateAngle, 45);
    // Exactly on a line through the centre: no new angle.
    moveTo(330, 230);
    EXPECT_EQ(m->RotateAngle, 45);
    moveTo(230, 400);
    EXPECT_EQ(m->RotateAngle, 45);
    m->IR2MouseUp(h, mbLeft, 0, 0, 0);
    EXPECT_FALSE(m->RotateActive);
    EXPECT_EQ(o->HelpKeyword(), QStringLiteral("230;230;150;45;"));
    EXPECT_TRUE(m->Modified);

    // Through the panel: the four icons share the handlers.
    QWidget* panel = m->PNLCD->Handle();
    const QPoint icon = Centre(m->IR4);
    TestSupport::MousePress(panel, icon);
    TestSupport::MouseMove(panel, QPoint(229, 400), Qt::LeftButton);
    TestSupport::MouseRelease(panel, QPoint(229, 400));
    EXPECT_EQ(GetParamField(o->HelpKeyword(), 3), 180);
}

TEST(CircleGuide, LayoutFailuresWarnWithTheLanguageTexts)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    m->sChybaVypocetRadius = QStringLiteral("Radius too small");
    m->sChybaVypocetRadiusZobrazeni = QStringLiteral("Cannot draw");
    QStringList texts;
    unsigned lastFlags = 0;
    SetMessageBoxHook([&](const QString& t, const QString&, unsigned fl) {
        texts << t;
        lastFlags = fl;
        return IDOK;
    });
    // 85 pt: no minimum radius, so a radius of 10 cannot hold a letter. The
    // drawing fails where the measuring did: one redraw warns once.
    TCFImage* o = AddCircText(m, QStringLiteral("Wide"), QStringLiteral("230;230;10;0;"), 85);
    EXPECT_EQ(texts, QStringList{"Radius too small"});
    EXPECT_EQ(lastFlags, unsigned(MB_OK | MB_ICONWARNING));
    texts.clear();
    m->PlaceCircleGuide(o);
    EXPECT_EQ(texts, QStringList{"Radius too small"});
    // The guide still shows, around the centre.
    EXPECT_TRUE(m->Circl2->Visible());
    EXPECT_NEAR(m->Circl1->Left() + m->Circl1->Width() / 2.0, 230, 1);
}

TEST(TextImageOnTheWindow, StyleComesFromTheSelectionWhichTakesTheFont)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    auto* o = new TFImage(m);
    o->SetTag(1);
    o->SetParent(m->PNLCD);
    o->SetBounds(10, 10, 200, 40);
    o->SetAliasing(false);
    o->SetFilling(true); // sharp outline
    m->SelectedObject = o;
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(20);
    font.SetColor(clBlue);
    m->RenderTextImage(o, &font, 0, QStringLiteral("Outline"));
    EXPECT_TRUE(o->MFFont()->Equals(font));
    // An outline leaves the inside of the letters grey; and sharp means
    // only the two colours.
    const QImage img = dynamic_cast<TBitmap*>(o->Picture()->Graphic())->Image();
    int blue = 0, other = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            if (c == 0x0000FF)
                ++blue;
            else if (c != 0xD8D8D8)
                ++other;
        }
    EXPECT_GT(blue, 50);
    EXPECT_EQ(other, 0);
    // The object's own font may be passed in: redrawing at a new size keeps it.
    o->SetWidth(400);
    m->RenderTextImage(o, o->MFFont(), 0, QStringLiteral("Outline"));
    EXPECT_EQ(dynamic_cast<TBitmap*>(o->Picture()->Graphic())->Image().width(), 400);
    EXPECT_TRUE(o->MFFont()->Equals(font));
}

// Pulling a radius handle far inward stops the radius where the text still
// fits: the text stays drawn, one drag warns once, and the saved design
// reopens without a warning.
TEST(CircleGuide, ARadiusDragStopsWhereTheTextStillFits)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    QStringList texts;
    SetMessageBoxHook([&](const QString& t, const QString&, unsigned) {
        texts << t;
        return IDOK;
    });
    m->sChybaVypocetRadius = QStringLiteral("Radius too small");
    m->sChybaVypocetRadiusZobrazeni = QStringLiteral("Cannot draw");
    m->sNelzePrecistObjekt = QStringLiteral("Unreadable");
    TCFImage* o = AddCircText(m, QStringLiteral("WWWWWW"), QStringLiteral("230;230;150;0;"), 85);
    ASSERT_TRUE(texts.isEmpty());
    m->RenumberObjects(); // objects first in the window's list, as the commands leave them
    m->PlaceCircleGuide(o);
    m->CTMouseDown(m->CT, mbLeft, 0, 4, 4);
    for (int step = 0; step < 40; ++step)
        m->CTMouseMove(m->CT, 0, 4, 12); // 10 px inward a step
    m->CTMouseUp(m->CT, mbLeft, 0, 4, 12);
    EXPECT_EQ(texts, QStringList{m->sChybaVypocetRadius});
    const int radius = GetParamField(o->HelpKeyword(), 2);
    EXPECT_LT(radius, 150);
    EXPECT_TRUE(m->CircularTextFits(o, radius));
    EXPECT_FALSE(m->CircularTextFits(o, radius - 10));
    EXPECT_GT(o->Width(), 20); // the text is still there

    // A second drag warns again, once.
    texts.clear();
    m->CTMouseDown(m->CT, mbLeft, 0, 4, 4);
    m->CTMouseMove(m->CT, 0, 4, 40);
    m->CTMouseMove(m->CT, 0, 4, 40);
    EXPECT_EQ(texts.size(), 1);
    m->CTMouseUp(m->CT, mbLeft, 0, 4, 40);

    texts.clear();
    const QString file = TestSupport::MakeTempDir() + "/kruh.tvk";
    m->UlozSoubor(file);
    m->Modified = false;
    m->OtevriSoubor(file);
    // (A missing style folder beside the test program may say so; nothing else.)
    for (const char* t : {"Radius too small", "Cannot draw", "Unreadable"})
        EXPECT_FALSE(texts.contains(t)) << t;
    ASSERT_EQ(m->ObjectCount(), 1);
    EXPECT_EQ(GetParamField(static_cast<TControl*>(m->Components(0))->HelpKeyword(), 2), radius);
}
