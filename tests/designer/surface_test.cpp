#include "designer_fixture.h"
#include "surface_input.h"

#include "classlib/pictures/bitmap.h"
#include "skin/form/skin_manager.h"
#include "test_support.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {
TRegion Ellipse(int l, int t, int r, int b) { return CreateEllipticRgn(l, t, r, b); }

TRegion Xor(TRegion a, const TRegion& b)
{
    CombineRgn(a, a, b, RGN_XOR);
    return a;
}

TRegion RegionOf(TWinControl* c)
{
    EXPECT_TRUE(c->WindowRgn().has_value()) << qPrintable(c->Name());
    return c->WindowRgn().value_or(TRegion());
}

// What the screen shows of w now (not a fresh rendering).
QImage ShownOnScreen(QWidget* w)
{
    QWidget* top = w->window();
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    return top->screen()->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height()).toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST(Surface, MillimetresTruncateAtTheScreenResolution)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    EXPECT_EQ(m->MmToPixels(0), 0);
    EXPECT_EQ(m->MmToPixels(2), 7);      // 7,56
    EXPECT_EQ(m->MmToPixels(25.4), 96);
    EXPECT_EQ(m->MmToPixels(50.8), 192);
    EXPECT_EQ(m->MmToPixels(122), 461);  // 461,1
    EXPECT_EQ(m->MmToPixels(118), 445);  // 445,98: cut, not rounded
    EXPECT_EQ(m->MmToPixels(-1), -3);    // toward zero
}

TEST(Surface, DefaultDiscHasTheStatedMaskAndBleedHoles)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    ASSERT_EQ(m->PNLCD->Width(), 461);
    ASSERT_EQ(m->PNLCD->Height(), 461);
    const TRegion full = CreateRectRgn(0, 0, 461, 461);
    const TRegion normal = Xor(Xor(full, Ellipse(7, 7, 452, 452)), Ellipse(147, 147, 313, 313));
    EXPECT_TRUE(RegionOf(m->VK1) == normal);
    EXPECT_TRUE(m->VK1->Visible());
    // Corners and the hole are masked, the printable ring is not.
    EXPECT_TRUE(PtInRegion(normal, 0, 0));
    EXPECT_TRUE(PtInRegion(normal, 230, 230));
    EXPECT_FALSE(PtInRegion(normal, 230, 60));

    m->btnKriz->SetDown(true);
    m->btnKrizClick(m->btnKriz);
    const TRegion bleed = Xor(Xor(full, Ellipse(0, 0, 461, 461)), Ellipse(155, 155, 305, 305));
    EXPECT_TRUE(RegionOf(m->VK1) == bleed);
    for (TPanel* p : {m->C1Min, m->C1Max, m->C2Min, m->C2Max, m->K1, m->K2})
        EXPECT_TRUE(p->Visible()) << qPrintable(p->Name());
    EXPECT_EQ(m->K1->BoundsRect(), Bounds(230, 0, 1, 461));
    EXPECT_EQ(m->K2->BoundsRect(), Bounds(0, 230, 461, 1));

    m->btnKriz->SetDown(false);
    m->btnKrizClick(m->btnKriz);
    EXPECT_TRUE(RegionOf(m->VK1) == normal);
    EXPECT_FALSE(m->K1->Visible());
    EXPECT_FALSE(m->C1Min->Visible());
}

TEST(Surface, GuidesAreOnePixelOutlines)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // Disc edge guide (8,8)-(450,450): the ring between the ellipses (8,8,451,451) and (7,7,452,452).
    EXPECT_TRUE(RegionOf(m->C1Min) == Xor(Ellipse(8, 8, 451, 451), Ellipse(7, 7, 452, 452)));
    EXPECT_FALSE(PtInRegion(RegionOf(m->C1Min), 230, 230));
    EXPECT_TRUE(PtInRegion(RegionOf(m->C1Min), 7, 229));

    // A rectangle outline from (1,1) to (10,10): the frame of (0,0)-(12,12) less (1,1)-(11,11).
    m->SetRectGuideRegion(m->C2Max, 1, 1, 10, 10);
    const TRegion ring = RegionOf(m->C2Max);
    EXPECT_EQ(ring.PixelCount(), 144 - 100);
    EXPECT_TRUE(PtInRegion(ring, 0, 0));
    EXPECT_TRUE(PtInRegion(ring, 11, 11));
    EXPECT_FALSE(PtInRegion(ring, 1, 1));
    EXPECT_FALSE(PtInRegion(ring, 12, 12));
    EXPECT_EQ(m->C2Max->Align(), alClient);
}

TEST(Surface, TurnedBoxSwapsSizeAndInnerRectangle)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->DeleteTemplateParams();
    m->CreateTemplateParams(true, true, 100, 50, 10, 20, 15, 30, 40, 20, 1, QStringLiteral("Box"));
    // Sheet values: label at (10, 20) mm, 100 x 50; inner rectangle at (15, 30), 40 x 20.
    m->SetupBoxSurface(true, 10, 20, 100, 50, 15, 30, 40, 20);
    EXPECT_EQ(m->PNLCD->Width(), m->MmToPixels(54));
    EXPECT_EQ(m->PNLCD->Height(), m->MmToPixels(104));
    // Turned: the inner guide's vertical offset is the unswapped horizontal one (5 mm).
    const int dx = m->MmToPixels(10), dy = m->MmToPixels(15) - m->MmToPixels(10);
    ASSERT_EQ(dx, 37);
    ASSERT_EQ(dy, 19);
    const int x1 = dx + 8, y1 = dy + 8, x2 = dx + m->MmToPixels(22) - 3, y2 = dy + m->MmToPixels(42) - 3;
    EXPECT_EQ(GetRgnBox(RegionOf(m->C2Min)), TRect(x1 - 1, y1 - 1, x2 + 2, y2 + 2));
    EXPECT_EQ(GetRgnBox(RegionOf(m->C2Min)), TRect(44, 26, 119, 176));
    const int W = m->PNLCD->Width(), H = m->PNLCD->Height();
    EXPECT_TRUE(RegionOf(m->VK1) ==
                Xor(CreateRectRgn(0, 0, W, H), CreateRectRgn(7, 7, 7 + m->MmToPixels(50), 7 + m->MmToPixels(100))));
    // Box guides: bleed edge at -4; leaving the outline view keeps the label and inner guides.
    EXPECT_EQ(GetRgnBox(RegionOf(m->C1Max)), TRect(0, 0, W - 2, H - 2));
    m->vis1Click(m);
    m->vis1Click(m);
    EXPECT_TRUE(m->VK1->Visible());
    EXPECT_TRUE(m->C1Min->Visible());
    EXPECT_TRUE(m->C2Min->Visible());
    EXPECT_FALSE(m->C1Max->Visible());
    // The cross alone follows the bleed button on a box.
    m->btnKriz->SetDown(true);
    m->btnKrizClick(m->btnKriz);
    EXPECT_TRUE(m->K1->Visible());
    EXPECT_FALSE(m->C1Max->Visible());
}

TEST(Surface, LargeSurfaceStaysAtTheCorner)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->SetupCDSurface(300, 44);
    EXPECT_EQ(m->PNLCD->Left(), 0);
    EXPECT_EQ(m->PNLCD->Top(), 0);
    // A tiny hole inverts the bleed outline without failing.
    EXPECT_NO_THROW(m->SetupCDSurface(118, 3));
    m->btnKriz->SetDown(true);
    EXPECT_NO_THROW(m->btnKrizClick(m->btnKriz));
}

TEST(Surface, ViewSwitchesAreExclusive)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    m->vis1Click(m);
    EXPECT_TRUE(m->btnLayer01->Down());
    EXPECT_FALSE(m->VK1->Visible());
    EXPECT_TRUE(m->C1Max->Visible() && m->C2Max->Visible() && m->C1Min->Visible() && m->C2Min->Visible());

    // Bleed on while the outline view is on: outline released first, then bleed.
    m->bck2Click(m);
    EXPECT_TRUE(m->btnKriz->Down());
    EXPECT_FALSE(m->btnLayer01->Down());
    EXPECT_TRUE(m->VK1->Visible());
    EXPECT_TRUE(m->C1Max->Visible());
    EXPECT_TRUE(PtInRegion(RegionOf(m->VK1), 230, 230));
    EXPECT_FALSE(PtInRegion(RegionOf(m->VK1), 150, 230)); // the bleed inside the hole is open
    EXPECT_TRUE(PtInRegion(RegionOf(m->VK1), 156, 230));

    // Outline on again releases the bleed view and restores the normal mask.
    m->bck3Click(m);
    EXPECT_TRUE(m->btnLayer01->Down());
    EXPECT_FALSE(m->btnKriz->Down());
    EXPECT_TRUE(PtInRegion(RegionOf(m->VK1), 150, 230));
    // A new set-up releases the outline view.
    m->SetupCDSurface(120, 15);
    EXPECT_FALSE(m->btnLayer01->Down());
    EXPECT_TRUE(m->VK1->Visible());
}

TEST(Surface, RulersHaveTicksEveryFiveMillimetres)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    EXPECT_EQ(m->BckPnl->Width(), 461 + 23);
    EXPECT_FALSE(m->BckPnl->Visible());
    TCanvas* c = m->VRull->Canvas();
    EXPECT_EQ(c->Pixel(24, 8), clBlack);
    EXPECT_EQ(c->Pixel(m->MmToPixels(5) + 24, 12), clBlack);
    EXPECT_EQ(c->Pixel(m->MmToPixels(5) + 24, 9), ColorToRGB(clBtnFace));
    EXPECT_EQ(c->Pixel(12, m->MmToPixels(100) + 26), clBlack);
    EXPECT_EQ(c->Pixel(23, 10), ColorToRGB(clBtnShadow));
}

TEST(Surface, MaskedAreaTakesTheMouseAndTheLabelPassesIt)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TSurfaceMouse mouse(m->PNLCD->Handle());
    EXPECT_EQ(mouse.WindowAt(QPoint(2, 2)), m->VK1->Handle());
    EXPECT_EQ(mouse.WindowAt(QPoint(230, 230)), m->VK1->Handle());
    EXPECT_EQ(mouse.WindowAt(QPoint(230, 60)), m->PNLCD->Handle());

    auto* shape = new TShape(m);
    shape->SetTag(1);
    shape->SetParent(m->PNLCD);
    shape->SetBounds(200, 40, 60, 40);
    m->SetObjectHandlers(shape);
    m->RenumberObjects();
    m->RebuildLayerList();
    mouse.Click(QPoint(230, 60));
    EXPECT_EQ(m->SelectedObject, shape);
    EXPECT_TRUE(m->RT->Visible());
    // A click on the masked corner reaches the mask picture: the selection is cleared.
    mouse.Click(QPoint(3, 3));
    EXPECT_TRUE(m->NothingSelected());
    EXPECT_FALSE(m->RT->Visible());
    EXPECT_EQ(m->Vrstvy->ItemIndex(), -1);
}

TEST(Surface, AbsurdTemplateSizesFromAFileAreCutToASaneSurface)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    m->SetupCDSurface(1e12, -5);
    EXPECT_LE(m->PNLCD->Width(), m->MmToPixels(1004.0));
    EXPECT_GT(m->PNLCD->Width(), 0);
    m->SetupBoxSurface(false, 0, 0, std::nan(""), 1e300, -1e200, 1e200, 1e200, 1e200);
    EXPECT_LE(m->PNLCD->Height(), m->MmToPixels(1004.0));
    EXPECT_EQ(m->MmToPixels(-1e300), -1000000000); // saturated, never undefined
    EXPECT_EQ(m->MmToPixels(std::nan("")), 0);
}

TEST(Surface, GuidesKeepTheirRedAndBlueUnderTheSkinFromTheFirstToggle)
{
    for (const char* skin : {"mxskin20.skn", "zelena.skn", "grafit.skn"}) {
        TMainWindowFixture f;
        f.ShowWindow();
        TFrmMain* m = f.Main();
        // The skin switched on as the skin chooser does it; the manager
        // skins the shown windows on its timer.
        m->SkinData1->SetSkinFile(TestSupport::BinDir() + "/skiny/" + skin);
        ASSERT_TRUE(m->SkinData1->SkinRead()) << skin;
        m->SkinData1->SetActive(false);
        QTest::qWait(300);
        m->SkinData1->SetActive(true);
        QTest::qWait(400);
        ASSERT_NE(SkinManager()->FindForm(m->Window()), nullptr) << skin;
        auto shot = [m] {
            const QImage s = m->Window()->grab().toImage();
            const QPoint o = m->PNLCD->Handle()->mapTo(m->Window(), QPoint(0, 0));
            return s.copy(QRect(o, QSize(m->PNLCD->Width(), m->PNLCD->Height())));
        };
        auto press = [m](TToolButton* b) {
            TestSupport::MouseClick(m->ToolBar1->Handle(), QPoint(b->Left() + 5, b->Top() + 5));
        };
        // "Ořez CD" pressed once: the disc edge red, the bleed edge blue.
        press(m->btnLayer01);
        ASSERT_TRUE(m->btnLayer01->Down()) << skin;
        QImage s = shot();
        EXPECT_EQ(s.pixelColor(7, 229), QColor(Qt::red)) << skin;
        EXPECT_EQ(s.pixelColor(0, 229), QColor(Qt::blue)) << skin;
        // "Pomocná mřížka": the same guides and the red centre cross.
        press(m->btnKriz);
        ASSERT_TRUE(m->btnKriz->Down()) << skin;
        s = shot();
        EXPECT_EQ(s.pixelColor(7, 229), QColor(Qt::red)) << skin;
        EXPECT_EQ(s.pixelColor(0, 229), QColor(Qt::blue)) << skin;
        EXPECT_EQ(s.pixelColor(m->PNLCD->Width() / 2, 40), QColor(Qt::red)) << skin;
        m->SkinData1->SetActive(false);
        QTest::qWait(400);
    }
}

TEST(Surface, TheScrollBoxScrollsExactlyOverTheSurface)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    QScrollArea* area = m->ScrollBox->Area();
    QScrollBar* vbar = area->verticalScrollBar();
    QScrollBar* hbar = area->horizontalScrollBar();
    // A bar shows exactly when the surface passes the view, and scrolls to its
    // far edge, as soon as the surface is laid out (on some platforms nothing
    // comes later to set the bars right).
    auto check = [&](const char* when) {
        const int right = m->PNLCD->Left() + m->PNLCD->Width();
        const int bottom = m->PNLCD->Top() + m->PNLCD->Height();
        EXPECT_EQ(hbar->maximum(), std::max(0, right - area->viewport()->width())) << when;
        EXPECT_EQ(vbar->maximum(), std::max(0, bottom - area->viewport()->height())) << when;
        QCoreApplication::processEvents();
        EXPECT_EQ(hbar->isVisible(), right > area->viewport()->width()) << when;
        EXPECT_EQ(vbar->isVisible(), bottom > area->viewport()->height()) << when;
    };
    m->SetBounds(0, 0, 1000, 700);
    check("disc");
    // A DVD box is larger than the view: both bars, each reaching the surface's edge.
    m->SetupBoxSurface(false, 10, 10, 275, 184, 10, 10, 130, 184);
    check("box");
    ASSERT_TRUE(vbar->isVisible());
    TestSupport::MouseClick(vbar, QPoint(vbar->width() / 2, vbar->height() - 5));
    TestSupport::MouseClick(hbar, QPoint(hbar->width() - 40, hbar->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_GT(vbar->value(), 0);
    EXPECT_GT(hbar->value(), 0);
    // The surface moved by as much as the bars say.
    EXPECT_EQ(area->widget()->pos(), QPoint(-hbar->value(), -vbar->value()));
    // The bars on screen show the thumbs where the values put them.
    for (QScrollBar* bar : {hbar, vbar}) {
        QTest::qWait(100);
        EXPECT_EQ(ShownOnScreen(bar), bar->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    // A larger window holds it whole: no bar left behind.
    m->SetBounds(0, 0, 1600, 1000);
    check("box in a large window");
    m->SetupCDSurface(118, 44);
    check("disc in a large window");
}

