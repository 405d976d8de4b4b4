#include "designer_fixture.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {
// The surface as it stands on the screen, in PNLCD client pixels.
QImage SurfaceShot(TFrmMain* m)
{
    const QImage shot = m->Window()->grab().toImage();
    const QPoint o = m->PNLCD->Handle()->mapTo(m->Window(), QPoint(0, 0));
    return shot.copy(QRect(o, QSize(m->PNLCD->Width(), m->PNLCD->Height())));
}

TShape* PlaceShape(TFrmMain* m, const TRect& r)
{
    auto* s = new TShape(m);
    s->SetTag(1);
    s->SetParent(m->PNLCD);
    s->SetBoundsRect(r);
    m->SetObjectHandlers(s);
    m->RenumberObjects();
    m->RebuildLayerList();
    return s;
}
} // namespace

TEST(Painting, ShapesWithPenBrushHatchAndMaskMode)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* solid = PlaceShape(m, Bounds(120, 40, 100, 60));
    solid->Brush()->SetColor(clBlue);
    solid->Pen()->SetColor(clRed);
    solid->Pen()->SetWidth(3);
    TShape* hatch = PlaceShape(m, Bounds(240, 40, 100, 60));
    hatch->Brush()->SetStyle(bsHorizontal);
    hatch->Brush()->SetColor(clGreen);
    // A red pen in mask mode over the blue rectangle: red AND blue is black.
    TShape* masked = PlaceShape(m, Bounds(150, 60, 40, 20));
    masked->Brush()->SetStyle(bsClear);
    masked->Pen()->SetColor(clRed);
    masked->Pen()->SetMode(pmMask);
    QImage s = SurfaceShot(m);
    EXPECT_EQ(s.pixelColor(121, 70), QColor(Qt::red));
    EXPECT_EQ(s.pixelColor(170, 50), QColor(Qt::blue));
    EXPECT_EQ(s.pixelColor(150, 70), QColor(Qt::black));
    // The hatch: green lines with white between them.
    int green = 0, white = 0;
    for (int y = 45; y < 95; ++y) {
        const QColor c = s.pixelColor(290, y);
        green += c == QColor(0, 128, 0);
        white += c == QColor(Qt::white);
    }
    EXPECT_GT(green, 3);
    EXPECT_GT(white, 20);
}

TEST(Painting, TransparentTextAndKeyColourPictures)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* back = PlaceShape(m, Bounds(100, 60, 200, 80));
    back->Brush()->SetColor(clYellow);
    back->Pen()->SetStyle(psClear);
    m->AddTextObject(QStringLiteral("Ab\nCd"), 14);
    auto* text = dynamic_cast<TLabel*>(m->SelectedObject);
    ASSERT_NE(text, nullptr);
    text->SetBounds(110, 70, 120, 60);
    text->Font()->SetColor(clBlue);
    m->HideSelectionFrame();
    m->ShowCentreLines(false);

    // A picture whose bottom-left pixel is the key: key pixels let the yellow through.
    TBitmap bmp;
    bmp.SetSize(20, 20);
    bmp.Canvas()->Brush()->SetColor(clFuchsia);
    bmp.Canvas()->FillRect(TRect(0, 0, 20, 20));
    bmp.Canvas()->Brush()->SetColor(clGreen);
    bmp.Canvas()->FillRect(TRect(5, 5, 15, 15));
    auto* img = new TImage(m);
    img->SetTag(1);
    img->SetParent(m->PNLCD);
    img->Picture()->Assign(&bmp);
    img->SetBounds(250, 80, 40, 40);
    img->SetStretch(true);
    img->SetTransparent(true);
    m->RenumberObjects();
    m->RebuildLayerList();

    const QImage s = SurfaceShot(m);
    // Two lines of blue text on the yellow, with the yellow between the glyphs.
    int blueTop = 0, blueBottom = 0, yellow = 0;
    for (int y = 70; y < 130; ++y)
        for (int x = 110; x < 160; ++x) {
            const QColor c = s.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100)
                (y < 95 ? blueTop : blueBottom) += 1;
            yellow += c == QColor(Qt::yellow);
        }
    EXPECT_GT(blueTop, 10);
    EXPECT_GT(blueBottom, 10);
    EXPECT_GT(yellow, 500);
    EXPECT_EQ(s.pixelColor(252, 82), QColor(Qt::yellow)); // key colour, stretched
    EXPECT_EQ(s.pixelColor(270, 100), QColor(0, 128, 0));
}

TEST(Painting, ObjectsLieUnderTheMaskAndGuides)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TShape* corner = PlaceShape(m, Bounds(0, 0, 120, 120));
    corner->Brush()->SetColor(clRed);
    corner->Pen()->SetColor(clRed);
    QImage s = SurfaceShot(m);
    // The masked corner shows the mask, the part on the disc the object.
    const QColor c = s.pixelColor(2, 2);
    EXPECT_TRUE(c == QColor(0xF5, 0xF5, 0xF5) || c == QColor(0xCA, 0xCA, 0xCA)) << qPrintable(c.name());
    EXPECT_EQ(s.pixelColor(110, 110), QColor(Qt::red));
    // The outline view shows the guides over the object instead.
    m->vis1Click(m);
    ASSERT_FALSE(m->VK1->Visible());
    ASSERT_FALSE(m->VK1->Handle()->isVisible());
    s = SurfaceShot(m);
    EXPECT_EQ(s.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(s.pixelColor(230, 0), QColor(Qt::blue)); // bleed edge guide at the top
}

namespace {
// Dark pixels of a rectangle of an image (text drawn in black on white).
int InkIn(const QImage& img, const QRect& r)
{
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ink += qGray(img.pixel(x, y)) < 128;
    return ink;
}

// The text drawn in black on white in a font, with or without "&" prefixes.
QImage DrawnText(const TFont* font, const QString& text, QSize size, bool prefix)
{
    TBitmap b;
    b.SetSize(size.width(), size.height());
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, size.width(), size.height()));
    c->Font()->Assign(font);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    TRect r(0, 0, size.width(), size.height());
    c->DrawText(text, r, prefix ? 0u : unsigned(DT_NOPREFIX));
    return b.Image();
}
} // namespace

TEST(Painting, TextKeepsItsAmpersandOnTheSurfaceAndInExport)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // "&&" would be one ampersand and "&R" an underlined R if the text were
    // taken for a caption with an accelerator.
    const QString text = QStringLiteral("Rock && Roll &R");
    m->AddTextObject(text, 20);
    auto* l = dynamic_cast<TLabel*>(m->SelectedObject);
    ASSERT_NE(l, nullptr);
    l->Font()->SetColor(clBlack);
    m->HideSelectionFrame();
    m->ShowCentreLines(false);
    // Sized to the whole text, both ampersands counted.
    TCanvas measure;
    measure.SetFont(l->Font());
    EXPECT_EQ(l->Width(), measure.TextWidth(text));
    // The stored record does not change: the property keeps its default.
    EXPECT_TRUE(l->ShowAccelChar());

    const QSize size(measure.TextWidth(text), l->Height());
    const QRect place(QPoint(l->Left(), l->Top()), size);
    const QImage plain = DrawnText(l->Font(), text, size, false);
    const QImage accel = DrawnText(l->Font(), text, size, true);
    const int plainInk = InkIn(plain, plain.rect());
    const int accelInk = InkIn(accel, accel.rect());
    ASSERT_GT(std::abs(plainInk - accelInk), 20);

    const QImage s = SurfaceShot(m);
    EXPECT_EQ(InkIn(s, place), plainInk) << "with accelerators: " << accelInk;

    // The exported bitmap draws the same text.
    TBitmap out;
    out.SetSize(m->PNLCD->Width(), m->PNLCD->Height());
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect(TRect(0, 0, out.Width(), out.Height()));
    m->ExportPaintText(out.Canvas(), l);
    EXPECT_EQ(InkIn(out.Image(), place), plainInk);
}

TEST(Painting, TextAbovePictureIsDrawnAboveItAndBelowWhenRestacked)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    // An opaque green picture, then a text over it: the text is on top.
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Brush()->SetColor(clLime);
    bmp.Canvas()->FillRect(TRect(0, 0, 10, 10));
    auto* img = new TImage(m);
    img->SetTag(1);
    img->SetParent(m->PNLCD);
    img->Picture()->Assign(&bmp);
    img->SetStretch(true);
    img->SetBounds(100, 100, 200, 120);
    m->SetObjectHandlers(img);
    m->RenumberObjects();
    m->RebuildLayerList();
    m->AddTextObject(QStringLiteral("MMMM"), 40);
    auto* text = dynamic_cast<TLabel*>(m->SelectedObject);
    ASSERT_NE(text, nullptr);
    text->SetBounds(110, 110, 180, 90);
    text->Font()->SetColor(clBlue);
    m->HideSelectionFrame();
    m->ShowCentreLines(false);
    auto blueIn = [](const QImage& s) {
        int blue = 0;
        for (int y = 110; y < 200; ++y)
            for (int x = 110; x < 290; ++x) {
                const QColor c = s.pixelColor(x, y);
                blue += c.blue() > 150 && c.green() < 100;
            }
        return blue;
    };
    ASSERT_EQ(text->ComponentIndex(), img->ComponentIndex() + 1);
    EXPECT_GT(blueIn(SurfaceShot(m)), 200);

    // The text moved under the picture disappears behind it.
    text->SetComponentIndex(0);
    m->RenumberObjects();
    m->RebuildLayerList();
    ASSERT_LT(text->ComponentIndex(), img->ComponentIndex());
    EXPECT_EQ(blueIn(SurfaceShot(m)), 0);
}
