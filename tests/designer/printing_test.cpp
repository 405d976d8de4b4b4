#include "designer_fixture.h"
#include "print_test_support.h"
#include "test_support.h"

#include "classlib/forms/application.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_progress.h"
#include "platform/region.h"

#include <QEvent>
#include <functional>
#include <vector>
#include <QFile>
#include <gtest/gtest.h>

namespace {
const QRgb Red = 0xFF0000, Blue = 0x0000FF, Green = 0x00FF00, White = 0xFFFFFF, Yellow = 0xFFFF00;

// Every pixel of the rectangle has the colour, and the pixels just outside it do not.
void ExpectFilledExactly(const QImage& page, int l, int t, int r, int b, QRgb colour)
{
    int wrong = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            wrong += Rgb(page, x, y) != colour;
    EXPECT_EQ(wrong, 0) << "inside " << l << "," << t << "-" << r << "," << b;
    for (int y = t; y < b; ++y) {
        EXPECT_NE(Rgb(page, l - 1, y), colour) << "left of " << l << " at y " << y;
        EXPECT_NE(Rgb(page, r, y), colour) << "right edge " << r << " at y " << y;
    }
    for (int x = l; x < r; ++x) {
        EXPECT_NE(Rgb(page, x, t - 1), colour) << "above " << t << " at x " << x;
        EXPECT_NE(Rgb(page, x, b), colour) << "bottom edge " << b << " at x " << x;
    }
}

// Bounding box of the pixels darker than mid grey inside the area.
QRect InkBox(const QImage& page, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// A shown main window with a 120 x 120 mm box at (10, 20) mm, printed on the
// raster printer with its cut frames, the question already answered.
class PrintedBox : public ::testing::Test {
protected:
    PrintedBox()
    {
        f.ShowWindow();
        SetTemplate(m, true, false, 120, 120, 10, 20);
        m->TiskRam->SetChecked(true);
    }
    TMainWindowFixture f;
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
};
} // namespace

TEST(Printing, ScalesPerAxisByThePrintersResolutionTruncatingTowardZero)
{
    TMainWindowFixture f;
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    EXPECT_EQ(m->PrnScaleX(70), 437);  // 437,5
    EXPECT_EQ(m->PrnScaleY(70), 218);  // 218,75
    EXPECT_EQ(m->PrnScaleX(-3), -18);  // -18,75
    EXPECT_EQ(m->PrnScaleY(-3), -9);   // -9,375
    EXPECT_EQ(m->PrnScaleX(0), 0);
}

TEST(Printing, PicturePlacementUsesEachAxisOwnResolutionAndThePhysicalOffset)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, true, false, 120, 120, 10, 20);
    m->TiskRam->SetChecked(false);
    AddPicture(m, SolidImage(8, 8, Qt::red), 200, 40, 60, 20, true, false);
    m->btnPrintClick(nullptr);

    ASSERT_EQ(printer.Device->PagesPrinted(), 1);
    const QImage& page = printer.Device->Page();
    ASSERT_EQ(page.size(), QSize(4960, 3508));
    // Label place 10 mm, 20 mm less the bleed: 30 and 68 screen pixels.
    // x: (200 + 30) * 600 / 96 = 1437,5; y: (40 + 68) * 300 / 96 = 337,5;
    // size 60 * 6,25 = 375 by 20 * 3,125 = 62,5, each cut toward zero.
    ExpectFilledExactly(page, 1437, 337, 1437 + 375, 337 + 62, Red);
    EXPECT_EQ(printer.Device->Orientation(), poPortrait);
}

TEST(Printing, CorrectionMovesAPortraitPrintRightAndATurnedOneUp)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AddPicture(m, SolidImage(4, 4, Qt::red), 100, 100, 40, 40, true, false);
    m->PrintCorrX = 3;
    m->PrintCorrY = 0;
    m->TiskRam->SetChecked(true);

    {
        TRasterPrinterScope printer;
        SetTemplate(m, true, false, 100, 50, 10, 20);
        m->btnPrintClick(nullptr);
        EXPECT_EQ(m->CorrOffsetX, 11);
        EXPECT_EQ(m->CorrOffsetY, 0);
        EXPECT_EQ(m->LabelOffsetX, 30);
        EXPECT_EQ(m->LabelOffsetY, 68);
        EXPECT_EQ(m->PhysOffsetX, -60);
        EXPECT_EQ(m->PhysOffsetY, -45);
        ASSERT_EQ(printer.Device->PagesPrinted(), 1);
        // (100 + 11 + 30) * 6,25 = 881,25; (100 + 68) * 3,125 = 525.
        ExpectFilledExactly(printer.Device->Page(), 881, 525, 881 + 250, 525 + 125, Red);
    }
    {
        // Turned: landscape whatever the dialog said; place and correction change
        // axes and the correction its sign: 3 mm up the page.
        TRasterPrinterScope printer;
        printer.Device->SetOrientation(poPortrait);
        SetTemplate(m, true, true, 100, 50, 10, 20);
        m->btnPrintClick(nullptr);
        EXPECT_EQ(printer.Device->Orientation(), poLandscape);
        EXPECT_EQ(m->CorrOffsetX, 0);
        EXPECT_EQ(m->CorrOffsetY, -11);
        EXPECT_EQ(m->LabelOffsetX, 68);
        EXPECT_EQ(m->LabelOffsetY, 30);
        ASSERT_EQ(printer.Device->PagesPrinted(), 1);
        const QImage& page = printer.Device->Page();
        ASSERT_EQ(page.size(), QSize(3508, 4960));
        // Landscape turns the resolutions: 300 across, 600 down.
        // x: (100 + 68) * 3,125 = 525; y: (100 - 11 + 30) * 6,25 = 743,75.
        ExpectFilledExactly(page, 525, 743, 525 + 125, 743 + 250, Red);
    }
}

TEST(Printing, DiscMaskWhitensOutsideTheBleedDiscAndInsideTheOffCentreHole)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, false, false, 118, 44, 10, 20);
    m->TiskRam->SetChecked(true); // a disc never draws frames
    SetSolidBackground(m, Qt::blue);
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Questions, 0);
    ASSERT_EQ(printer.Device->PagesPrinted(), 1);
    const QImage& page = printer.Device->Page();

    // Sheet pixels: the surface corner at (30, 68) screen pixels is (187, 212);
    // the bleed disc mm(122) = 461 pixels is 2881 by 1440 printer pixels. The
    // hole starts (445 - 166) div 2 + mm(4,5) = 156 screen pixels in: at
    // (186 * 6,25, 224 * 3,125) = (1162, 700), mm(40) = 151 pixels wide.
    const TRegion outer = CreateEllipticRgn(187, 212, 187 + 2881, 212 + 1440);
    const TRegion hole = CreateEllipticRgn(1162, 700, 1162 + 943, 700 + 471);
    TRegion disc;
    CombineRgn(disc, outer, hole, RGN_XOR);
    int wrong = 0;
    for (int y = 150; y < 1750; ++y)
        for (int x = 100; x < 3200; ++x) {
            const QRgb expected = disc.Contains(x, y) ? Blue : White;
            if (Rgb(page, x, y) != expected && ++wrong < 5)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0);
    // 4,5 mm and not 4 mm in: the hole's centre lies right of the disc's.
    const TRect holeBox = hole.BoundingBox();
    const TRect discBox = outer.BoundingBox();
    EXPECT_GT(holeBox.Left + holeBox.Right, discBox.Left + discBox.Right);
    EXPECT_GT(holeBox.Top + holeBox.Bottom, discBox.Top + discBox.Bottom);
}

TEST(Printing, TurnedBoxGetsCutFramesInTheGuideColourAndIsWhiteOutsideItsSurface)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, true, true, 120, 80, 10, 15, 20, 25, 60, 40);
    SetSolidBackground(m, Qt::yellow);
    TCommonDialog::ExecuteHook = [&printer](TCommonDialog* d) {
        if (auto* c = dynamic_cast<TColorDialog*>(d)) {
            c->Color = clLime;
            return true;
        }
        if (auto* p = dynamic_cast<TPrintDialog*>(d)) {
            p->Copies = printer.Copies;
            return true;
        }
        return false;
    };
    m->Barvarmovn1Click(nullptr);
    m->TiskRam->SetChecked(true);
    m->btnPrintClick(nullptr);
    ASSERT_EQ(printer.Device->PagesPrinted(), 1);
    const QImage& page = printer.Device->Page();
    ASSERT_EQ(page.size(), QSize(3508, 4960));

    // Landscape: 300 dpi across, 600 down, margins 45 and 60. The label edge
    // starts at (mm(2) + mm(13)) * 3,125 = 175, (mm(2) + mm(8)) * 6,25 = 231
    // and is mm(80) = 302 by mm(120) = 453 pixels: 943 by 2831.
    auto column = [&](int x, int y0, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            n += Rgb(page, x, y) == Green;
        return n;
    };
    auto row = [&](int y, int x0, int x1) {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += Rgb(page, x, y) == Green;
        return n;
    };
    // The line lies just outside the rectangle (175, 231) - (1118, 3062).
    EXPECT_EQ(column(174, 230, 3062), 3062 - 230 + 1);
    EXPECT_EQ(column(1118, 230, 3062), 3062 - 230 + 1);
    EXPECT_EQ(row(230, 174, 1118), 1118 - 174 + 1);
    EXPECT_EQ(row(3062, 174, 1118), 1118 - 174 + 1);
    EXPECT_EQ(Rgb(page, 175, 500), Yellow);
    EXPECT_EQ(Rgb(page, 173, 500), Yellow); // bleed, still on the surface

    // The inner rectangle, sheet values turned (25, 20, 40 x 60 mm) and one
    // screen pixel up and left: (94 - 1) * 3,125 = 290, (75 - 1) * 6,25 = 462.5,
    // 151 * 3,125 = 471 wide, 226 * 6,25 = 1412 high.
    EXPECT_EQ(column(289, 461, 1874), 1874 - 461 + 1);
    EXPECT_EQ(column(761, 461, 1874), 1874 - 461 + 1);
    EXPECT_EQ(row(461, 289, 761), 761 - 289 + 1);
    EXPECT_EQ(row(1874, 289, 761), 761 - 289 + 1);
    EXPECT_EQ(Rgb(page, 290, 462), Yellow);

    // White outside the surface (label and bleed): from (153, 187), mm(84) = 317
    // by mm(124) = 468 screen pixels: 990 by 2925.
    for (int y = 187; y < 3112; y += 97) {
        EXPECT_EQ(Rgb(page, 152, y), White) << y;
        EXPECT_EQ(Rgb(page, 153, y), Yellow) << y;
        EXPECT_EQ(Rgb(page, 1142, y), Yellow) << y;
        EXPECT_EQ(Rgb(page, 1143, y), White) << y;
    }
    for (int x = 153; x < 1143; x += 31) {
        EXPECT_EQ(Rgb(page, x, 186), White) << x;
        EXPECT_EQ(Rgb(page, x, 187), Yellow) << x;
        EXPECT_EQ(Rgb(page, x, 3111), Yellow) << x;
        EXPECT_EQ(Rgb(page, x, 3112), White) << x;
    }
}

TEST(Printing, BoxQuestionIsAskedOnceAndItsAnswerKept)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    m->sTiskOramovani = QStringLiteral("Tisknout orámování?");
    m->sDotaz = QStringLiteral("Dotaz");
    SetTemplate(m, true, false, 120, 120, 10, 20);
    m->TiskRam->SetChecked(false);
    printer.Answer = IDYES;
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Questions, 1);
    EXPECT_EQ(printer.LastQuestion, QStringLiteral("Tisknout orámování?"));
    EXPECT_EQ(printer.LastCaption, QStringLiteral("Dotaz"));
    EXPECT_EQ(printer.LastFlags, unsigned(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(m->TiskRam->Checked());
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Questions, 1);
    EXPECT_EQ(printer.Device->PagesPrinted(), 2);

    // No: printed without frames, and asked again next time.
    m->TiskRam->SetChecked(false);
    printer.Answer = IDNO;
    m->btnPrintClick(nullptr);
    EXPECT_FALSE(m->TiskRam->Checked());
    EXPECT_EQ(printer.Questions, 2);
    EXPECT_EQ(printer.Device->PagesPrinted(), 3);
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Questions, 3);

    // A disc print never asks.
    SetTemplate(m, false, false, 118, 44, 10, 20);
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Questions, 3);
}

TEST(Printing, CancelledDialogPrintsNothingAndClearsThePageOffsets)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, false, false, 118, 44, 10, 20);
    m->btnPrintClick(nullptr);
    ASSERT_EQ(printer.Device->PagesPrinted(), 1);
    EXPECT_NE(m->LabelOffsetX, 0);
    printer.ConfirmDialog = false;
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.DialogsShown, 2);
    EXPECT_EQ(printer.Device->PagesPrinted(), 1);
    EXPECT_EQ(m->LabelOffsetX, 0);
    EXPECT_EQ(m->LabelOffsetY, 0);
    EXPECT_EQ(m->PhysOffsetX, 0);
    EXPECT_EQ(m->PhysOffsetY, 0);
}

TEST(Printing, AnEmptyProjectPrintsNothingAndSaysWhy)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    const QString empty = TestSupport::MakeTempDir() + "/empty.tvk";
    QFile(empty).open(QIODevice::WriteOnly);
    m->OtevriSoubor(empty);
    ASSERT_FALSE(m->HasTemplate());
    // The bare disc is laid out at 118/44 mm all the same.
    EXPECT_EQ(m->PNLCD->Width(), m->MmToPixels(122));
    EXPECT_EQ(m->PNLCD->Height(), m->MmToPixels(122));
    TRasterPrinterScope printer;
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.DialogsShown, 0);
    EXPECT_EQ(printer.Device->PagesPrinted(), 0);
    EXPECT_EQ(printer.Questions, 1);
    EXPECT_EQ(printer.LastQuestion, TFrmMain::sBezSablony());
    // With a template again the same design prints.
    SetTemplate(m, false, false, 118, 44, 10, 20);
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Device->PagesPrinted(), 1);
}

TEST(Printing, APlaceOnTheSheetThatIsNoNumberIsNamedAndNothingPrints)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    TRasterPrinterScope printer;
    auto damage = [&](const char* key, const char* text) {
        SetTemplate(m, false, false, 118, 44, 10, 20);
        auto* param = dynamic_cast<TCheckBox*>(m->FindComponent(key));
        ASSERT_NE(param, nullptr);
        param->SetCaption(text);
    };
    for (const char* key : {"Left", "Top"}) {
        SCOPED_TRACE(key);
        damage(key, "1.5");
        printer.Questions = 0;
        m->btnPrintClick(nullptr);
        EXPECT_EQ(printer.DialogsShown, 0);
        EXPECT_EQ(printer.Device->PagesPrinted(), 0);
        ASSERT_EQ(printer.Questions, 1);
        EXPECT_EQ(printer.LastCaption, "Chyba");
        EXPECT_TRUE(printer.LastQuestion.contains(QString::fromUtf8("„%1“ je „1.5“").arg(key)))
            << printer.LastQuestion.toStdString();
        EXPECT_TRUE(printer.LastQuestion.contains(QString::fromUtf8("Změna šablony")));
    }
    // A disc prints no inner rectangle: its damage does not stop the print.
    damage("Width2", "nic");
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Device->PagesPrinted(), 1);
}

TEST(Printing, JobTakesTheDialogsCopiesAndTheTitle)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    m->sPrintTitle = QStringLiteral("Tessavik - tisk");
    printer.Copies = 3;
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Device->Copies(), 3);
    EXPECT_EQ(printer.Device->Title(), QStringLiteral("Tessavik - tisk"));
    EXPECT_FALSE(Printer()->Printing());
}

TEST(Printing, AnErrorWhilePrintingDropsTheJobAndClosesTheProgressWindow)
{
    TMainWindowFixture f;
    TFrmProgress progress(nullptr);
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, false, false, 118, 44, 10, 20);
    // An absurd correction ends the print inside the job instead of overflowing.
    m->PrintCorrX = 2000000000;
    EXPECT_THROW(m->btnPrintClick(nullptr), EInvalidOperation);
    m->PrintCorrX = 0;
    EXPECT_EQ(printer.Device->PagesPrinted(), 0);
    EXPECT_EQ(printer.Device->JobsAborted(), 1);
    EXPECT_FALSE(Printer()->Printing());
    ASSERT_NE(FrmProgress, nullptr);
    EXPECT_FALSE(FrmProgress->Visible());

    // Sizes that are no label sheet are told before any job begins.
    for (double okraj : {1e7, 50000.0}) {
        SetTemplate(m, false, false, okraj, 44, 10, 20);
        printer.Questions = 0;
        m->btnPrintClick(nullptr);
        EXPECT_EQ(printer.Questions, 1);
        EXPECT_TRUE(printer.LastQuestion.contains(QString::fromUtf8("„Okraj“"))) << printer.LastQuestion.toStdString();
    }
    EXPECT_EQ(printer.Device->JobsAborted(), 1);
    EXPECT_EQ(printer.Device->PagesPrinted(), 0);

    // The next print works.
    SetTemplate(m, false, false, 118, 44, 10, 20);
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printer.Device->PagesPrinted(), 1);
}

TEST_F(PrintedBox, KeyColourPixelsAreLeftUntouchedEverywhereInThePicture)
{
    SetSolidBackground(m, Qt::blue);
    // 4 x 4: green in the top-left corner, inside and at the bottom-left.
    QImage logo = SolidImage(4, 4, Qt::red);
    logo.setPixelColor(0, 0, Qt::green);
    logo.setPixelColor(1, 1, Qt::green);
    logo.setPixelColor(2, 2, Qt::green);
    logo.setPixelColor(0, 3, Qt::green);
    logo.setPixelColor(3, 0, Qt::yellow);
    TImage* picture = AddPicture(m, logo, 96, 96, 64, 64, true, true);
    m->btnPrintClick(nullptr);
    ASSERT_EQ(printer.Device->PagesPrinted(), 1);
    const QImage& page = printer.Device->Page();
    // Object from ((96 + 30) * 6,25, (96 + 68) * 3,125) = (787, 512), 400 by 200:
    // one logo pixel is 100 by 50 printer pixels.
    auto cell = [&](int cx, int cy) { return Rgb(page, 787 + cx * 100 + 50, 512 + cy * 50 + 25); };
    EXPECT_EQ(cell(0, 0), Blue);
    EXPECT_EQ(cell(1, 1), Blue);
    EXPECT_EQ(cell(2, 2), Blue);
    EXPECT_EQ(cell(0, 3), Blue);
    EXPECT_EQ(cell(1, 0), Red);
    EXPECT_EQ(cell(3, 0), Yellow);
    EXPECT_EQ(cell(3, 3), Red);
    // The picture object itself is transparent again afterwards.
    EXPECT_TRUE(picture->Transparent());
}

TEST_F(PrintedBox, UnstretchedPicturePrintsTheTopLeftPartTheScreenShows)
{
    QImage quarters = SolidImage(40, 40, Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            quarters.setPixelColor(x, y, Qt::red);
    AddPicture(m, quarters, 96, 96, 16, 16, false, false);
    m->btnPrintClick(nullptr);
    // Only the red quarter shows, enlarged to the object's printed size.
    ExpectFilledExactly(printer.Device->Page(), 787, 512, 787 + 100, 512 + 50, Red);
}

TEST_F(PrintedBox, CircularTextPrintsTheVisiblePartOfItsPictureByKeyColour)
{
    // A picture object of the circular-text kind: its picture is larger than
    // its bounds, which show the top-left part.
    struct TCircularStandIn : TImage {
        using TImage::TImage;
        TV_CLASS_NAME(TCFImage)
    };
    SetSolidBackground(m, Qt::blue);
    QImage text = SolidImage(32, 32, Qt::white); // white ground, the key
    for (int y = 0; y < 32; ++y)
        for (int x = 8; x < 16; ++x)
            text.setPixelColor(x, y, Qt::red);
    auto* circular = new TCircularStandIn(m);
    circular->SetTag(1);
    circular->SetParent(m->PNLCD);
    circular->Picture()->Bitmap()->SetImage(text);
    circular->SetStretch(true); // not heeded: the part on screen is what prints
    circular->SetTransparent(true);
    circular->SetBounds(96, 96, 16, 16);
    m->btnPrintClick(nullptr);
    const QImage& page = printer.Device->Page();
    // Bounds 100 x 50 printer pixels from (787, 512): left half key, right half red.
    ExpectFilledExactly(page, 787 + 50, 512, 787 + 100, 512 + 50, Red);
    EXPECT_EQ(Rgb(page, 787 + 10, 512 + 10), Blue);
    EXPECT_EQ(Rgb(page, 787 + 49, 512 + 49), Blue);
    EXPECT_TRUE(circular->Transparent());
}

TEST_F(PrintedBox, TransparentJpegPrintsOpaque)
{
    SetSolidBackground(m, Qt::blue);
    TBitmap white;
    white.SetImage(SolidImage(16, 16, Qt::white));
    TJPEGImage jpeg;
    jpeg.Assign(&white);
    auto* img = new TImage(m);
    img->SetTag(1);
    img->SetParent(m->PNLCD);
    img->Picture()->SetGraphic(&jpeg);
    img->SetStretch(true);
    img->SetTransparent(true);
    img->SetBounds(96, 96, 16, 16);
    m->btnPrintClick(nullptr);
    // White, the key colour of a picture that did not take the key path.
    const QImage& page = printer.Device->Page();
    for (int y = 512; y < 562; y += 7)
        for (int x = 787; x < 887; x += 9)
            ASSERT_GT(qGray(page.pixel(x, y)), 240) << x << "," << y;
}

TEST(Printing, HiddenObjectsAreNotPrintedButAHiddenBackgroundIs)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, true, false, 120, 120, 10, 20);
    m->TiskRam->SetChecked(false);
    printer.Answer = IDNO;
    SetSolidBackground(m, Qt::yellow);
    m->IMGBck->SetVisible(false);
    TImage* pic = AddPicture(m, SolidImage(4, 4, Qt::red), 96, 96, 16, 16, true, false);
    pic->SetVisible(false);
    auto* label = new TLabel(m);
    label->SetTag(1);
    label->SetParent(m->PNLCD);
    label->SetCaption(QStringLiteral("XXXX"));
    label->SetVisible(false);
    label->SetBounds(96, 200, 100, 40);
    auto* shape = new TShape(m);
    shape->SetTag(2);
    shape->SetParent(m->PNLCD);
    shape->Brush()->SetColor(clRed);
    shape->SetBounds(200, 96, 40, 40);
    shape->SetVisible(false);
    m->btnPrintClick(nullptr);
    const QImage& page = printer.Device->Page();
    // Nothing but the background over the whole surface (the white mask cuts
    // off the half millimetre it reaches beyond).
    ASSERT_EQ(m->IMGBck->Width(), ScreenMm(124));
    const int w = m->PrnScaleX(ScreenMm(124));
    const int h = m->PrnScaleY(ScreenMm(124));
    ExpectFilledExactly(page, 187, 212, 187 + w, 212 + h, Yellow);
}

TEST_F(PrintedBox, TextPrintsLineByLineAtTheSamePointSize)
{
    auto* label = new TLabel(m);
    label->SetTag(1);
    label->SetParent(m->PNLCD);
    label->Font()->SetName(QStringLiteral("Arial"));
    label->Font()->SetSize(20);
    label->Font()->SetColor(clBlack);
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetCaption(QStringLiteral("H\r\nH"));
    label->SetBounds(96, 96, 200, 100);
    // One line's height at the screen.
    TLabel measure(nullptr);
    measure.Font()->Assign(label->Font());
    measure.SetCaption(QStringLiteral("H"));
    const int lineHeight = measure.Height();
    ASSERT_GT(lineHeight, 20);

    m->btnPrintClick(nullptr);
    const QImage& page = printer.Device->Page();
    const int x = 787;
    const int y1 = m->PrnScaleY(96 + 68);
    const int y2 = m->PrnScaleY(96 + lineHeight + 68);
    const int y3 = m->PrnScaleY(96 + 2 * lineHeight + 68);
    const QRect line1 = InkBox(page, QRect(x - 20, y1 - 20, 600, y2 - y1 + 20));
    const QRect line2 = InkBox(page, QRect(x - 20, y2, 600, y3 - y2 + 20));
    ASSERT_FALSE(line1.isEmpty());
    ASSERT_FALSE(line2.isEmpty());
    EXPECT_GE(line1.left(), x);
    EXPECT_GE(line1.top(), y1);
    EXPECT_LT(line1.bottom(), y2);
    EXPECT_GE(line2.top(), y2);
    EXPECT_LT(line2.bottom(), y3);
    EXPECT_EQ(line1.left(), line2.left());
    // 20 points at 300 dpi down: 83 pixels of font height, a capital about 0,72 of it.
    EXPECT_NEAR(line1.height(), 60, 4);

    // At 300 dpi both ways the letter is as high and half as many pixels wide:
    // on paper it has the same size.
    TRasterPrintDevice::TSheet even = UnevenA4();
    even.Width = 2480;
    even.DpiX = 300;
    even.MarginLeft = even.MarginRight = 30;
    TRasterPrinterScope evenPrinter(even);
    m->btnPrintClick(nullptr);
    const QImage& evenPage = evenPrinter.Device->Page();
    const QRect evenLine1 = InkBox(evenPage, QRect(393 - 20, y1 - 20, 300, y2 - y1 + 20));
    EXPECT_GE(evenLine1.left(), 393);
    EXPECT_EQ(evenLine1.height(), line1.height());
    EXPECT_NEAR(line1.width(), 2 * evenLine1.width(), 3);
}

TEST(Printing, ShapesKeepTheirPenInsideTheirBounds)
{
    TMainWindowFixture f;
    f.ShowWindow();
    // 600 dpi both ways: a round pen is as thick across as down.
    TRasterPrintDevice::TSheet even = UnevenA4();
    even.Height = 7016;
    even.DpiY = 600;
    even.MarginTop = even.MarginBottom = 60;
    TRasterPrinterScope printer(even);
    TFrmMain* m = f.Main();
    SetTemplate(m, true, false, 120, 120, 10, 20);
    m->TiskRam->SetChecked(true);
    auto* shape = new TShape(m);
    shape->SetTag(1);
    shape->SetParent(m->PNLCD);
    shape->Brush()->SetColor(clYellow);
    shape->Pen()->SetColor(clRed);
    shape->Pen()->SetWidth(4);
    shape->SetBounds(96, 96, 64, 64);
    m->btnPrintClick(nullptr);
    const QImage& page = printer.Device->Page();
    // Bounds (787, 1025) - (1187, 1425); the pen is 25 printer pixels wide.
    int outside = 0, red = 0;
    for (int y = 990; y < 1460; ++y)
        for (int x = 760; x < 1220; ++x) {
            const QRgb c = Rgb(page, x, y);
            const bool in = x >= 787 && x < 1187 && y >= 1025 && y < 1425;
            if (!in && c != White)
                ++outside;
            red += c == Red;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(red, 4 * 350 * 20);
    EXPECT_EQ(Rgb(page, 787 + 200, 1025 + 200), Yellow);
    EXPECT_EQ(Rgb(page, 787 + 2, 1025 + 200), Red);
    EXPECT_EQ(Rgb(page, 787 + 200, 1025 + 2), Red);
}

TEST(Printing, ProgressWindowAdvancesPerObjectAndPerPictureRow)
{
    TMainWindowFixture f;
    TFrmProgress progress(nullptr);
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, true, false, 120, 120, 10, 20);
    m->TiskRam->SetChecked(true);
    AddPicture(m, SolidImage(4, 4, Qt::red), 10, 10, 16, 16, true, true);  // 100 x 50 printer pixels
    AddPicture(m, SolidImage(4, 4, Qt::red), 40, 10, 16, 16, true, false); // opaque: no rows
    auto* hidden = new TLabel(m);
    hidden->SetTag(1);
    hidden->SetParent(m->PNLCD);
    hidden->SetVisible(false);

    // What the window shows each time it is painted.
    struct TSeen {
        int Objects, ObjectsMax, Row, RowMax;
    };
    std::vector<TSeen> seen;
    struct TPaintSpy : QObject {
        std::function<void()> OnPaint;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                OnPaint();
            return false;
        }
    } spy;
    spy.OnPaint = [&] {
        seen.push_back({progress.Progress->Progress(), progress.Progress->MaxValue(), progress.ProgressOBJ->Progress(),
                        progress.ProgressOBJ->MaxValue()});
    };
    progress.ClientWidget()->installEventFilter(&spy);
    m->btnPrintClick(nullptr);
    progress.ClientWidget()->removeEventFilter(&spy);

    ASSERT_FALSE(seen.empty());
    EXPECT_FALSE(progress.Visible());
    // Every visible step of the key-colour copy's rows was shown, in order,
    // against its height; a row that moves the bar by no pixel is not painted.
    std::vector<int> rows;
    for (const TSeen& s : seen) {
        EXPECT_EQ(s.ObjectsMax, 3);
        if (s.RowMax == 49)
            rows.push_back(s.Row);
    }
    std::vector<int> steps; // the rows at which the row bar looks different
    {
        TGauge g(nullptr);
        g.SetBounds(0, 0, progress.ProgressOBJ->Width(), progress.ProgressOBJ->Height());
        g.SetShowText(false);
        g.SetMaxValue(49);
        int last = g.FilledWidth(); // the empty bar the object starts with is showing

        for (int r = 0; r < 50; ++r) {
            g.SetProgress(r);
            if (g.FilledWidth() != last)
                steps.push_back(r);
            last = g.FilledWidth();
        }
    }
    ASSERT_GT(steps.size(), 5u);
    EXPECT_EQ(rows, steps);
    // The objects counted up one by one, hidden ones too; no rows pending once one is done.
    std::vector<int> done;
    for (const TSeen& s : seen)
        if (done.empty() || done.back() != s.Objects) {
            done.push_back(s.Objects);
            if (s.Objects > 0) {
                EXPECT_EQ(s.RowMax, 0);
            }
        }
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3}));
}

TEST(Printing, CutFrameSwitchAndColourCommands)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    EXPECT_FALSE(m->TiskRam->Checked());
    m->TiskRamClick(nullptr);
    EXPECT_TRUE(m->TiskRam->Checked());
    m->TiskRamClick(nullptr);
    EXPECT_FALSE(m->TiskRam->Checked());

    int shown = 0;
    TCommonDialog::ExecuteHook = [&shown](TCommonDialog* d) {
        auto* c = dynamic_cast<TColorDialog*>(d);
        ++shown;
        c->Color = shown == 1 ? TColor(0x123456) : clBlack;
        return shown == 1; // OK the first time, Cancel the second
    };
    m->Barvarmovn1Click(nullptr);
    for (TPanel* guide : {m->C1Min, m->C1Max, m->C2Min, m->C2Max})
        EXPECT_EQ(guide->Color(), TColor(0x123456)) << guide->Name().toStdString();
    m->Barvarmovn1Click(nullptr);
    for (TPanel* guide : {m->C1Min, m->C1Max, m->C2Min, m->C2Max})
        EXPECT_EQ(guide->Color(), TColor(0x123456)) << guide->Name().toStdString();
}

TEST(Printing, ATextAboveAPictureIsPrintedAboveItAndUnderItWhenRestacked)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TRasterPrinterScope printer;
    TFrmMain* m = f.Main();
    SetTemplate(m, true, false, 120, 120, 10, 20);
    m->TiskRam->SetChecked(false);
    TImage* picture = nullptr;
    TLabel* text = AddTextOverPicture(m, SolidImage(8, 8, Qt::green), picture);
    // Blue on the page where the text lies (screen x + 30, y + 68, at 600 by 300 dpi).
    auto blue = [&] {
        const QImage& page = printer.Device->Page();
        int n = 0;
        for (int y = (110 + 68) * 300 / 96; y < (200 + 68) * 300 / 96; ++y)
            for (int x = (110 + 30) * 600 / 96; x < (290 + 30) * 600 / 96; x += 2)
                n += (page.pixel(x, y) & 0xFFFFFFu) == 0x0000FFu;
        return n;
    };
    ASSERT_LT(picture->ComponentIndex(), text->ComponentIndex());
    m->btnPrintClick(nullptr);
    ASSERT_EQ(printer.Device->PagesPrinted(), 1);
    EXPECT_GT(blue(), 500);

    text->SetComponentIndex(0);
    m->RenumberObjects();
    m->RebuildLayerList();
    ASSERT_GT(picture->ComponentIndex(), text->ComponentIndex());
    m->btnPrintClick(nullptr);
    ASSERT_EQ(printer.Device->PagesPrinted(), 2);
    EXPECT_EQ(blue(), 0);
}
