// The bitmap export: what the options choose, the mask, the file and its
// failures. Exported files are read back with Qt's own BMP reader and compared
// with the design surface as the screen shows it.

#include "designer_fixture.h"
#include "print_test_support.h"
#include "../e2e/reference_design.h"
#include "test_support.h"

#include "classlib/sysutils.h"
#include "designer/forms/frm_export.h"
#include "designer/forms/frm_progress.h"
#include "platform/region.h"

#include <QFile>
#include <QPainter>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
const QRgb White = 0xFFFFFF;

class BitmapExport : public ::testing::Test {
protected:
    BitmapExport()
    {
        f.ShowWindow();
        SetTemplate(m, false, false, 118, 44, 10, 20);
        TCommonDialog::ExecuteHook = [this](TCommonDialog* d) {
            if (auto* save = dynamic_cast<TSavePictureDialog*>(d)) {
                ++SaveDialogs;
                save->FileName = Target;
                return ConfirmSave;
            }
            return false;
        };
    }

    // Runs the command; while the options window is open, choose sets its
    // boxes, then its button closes it. Returns the file read back as a BMP.
    QImage Export(const std::function<void(TFrmExport*)>& choose = {})
    {
        QTimer::singleShot(0, [this, choose] {
            OptionsShown = options.Visible();
            if (choose)
                choose(&options);
            TestSupport::MouseClick(options.Button1->Handle(), QPoint(5, 5));
        });
        m->Export1Click(nullptr);
        EXPECT_FALSE(options.Visible());
        EXPECT_FALSE(progress.Visible());
        return QImage(Target, "BMP");
    }

    // The surface as the screen paints the design: objects over the
    // background, without the mask, the guides and the selection frame.
    QImage DesignOnScreen()
    {
        m->HideSelectionFrame();
        for (int i = 0; i < m->PNLCD->ControlCount(); ++i) {
            TControl* c = m->PNLCD->Controls(i);
            if (c->Tag() != 1 && c->Tag() != 2 && c->Tag() != 3)
                c->SetVisible(false);
        }
        const QImage shot = m->Window()->grab().toImage();
        const QPoint o = m->PNLCD->Handle()->mapTo(m->Window(), QPoint(0, 0));
        return shot.copy(QRect(o, QSize(m->PNLCD->Width(), m->PNLCD->Height()))).convertToFormat(QImage::Format_RGB32);
    }

    // A design of every kind: a plain background, a stretched key-colour logo,
    // an unstretched picture cut to its bounds, a two-line text, three shapes
    // and a hidden picture.
    void BuildDesign()
    {
        SetSolidBackground(m, QColor(250, 240, 200));
        const QImage logo = KeyColourLogo(40, 5);
        AddPicture(m, logo, 300, 260, 100, 100, true, true);
        QImage quarters(200, 200, QImage::Format_RGB32);
        quarters.fill(Qt::blue);
        QPainter(&quarters).fillRect(0, 0, 30, 30, Qt::red);
        AddPicture(m, quarters, 60, 200, 50, 70, false, false);
        AddPicture(m, SolidImage(30, 30, Qt::black), 200, 200, 30, 30, true, false)->SetVisible(false);
        auto* text = new TLabel(m);
        text->SetTag(1);
        text->SetParent(m->PNLCD);
        text->Font()->SetName(QStringLiteral("Arial"));
        text->Font()->SetSize(14);
        text->Font()->SetColor(clNavy);
        text->SetTransparent(true);
        text->SetCaption(QStringLiteral("Tessavik\r\nlabel"));
        text->SetLeft(150);
        text->SetTop(70);
        int kind = 0;
        for (TShapeType type : {stRectangle, stRoundRect, stEllipse}) {
            auto* s = new TShape(m);
            s->SetTag(1);
            s->SetParent(m->PNLCD);
            s->SetShape(type);
            s->Pen()->SetColor(clRed);
            // The screen rounds a corner by the size inside the pen, the
            // export by the object's size: with a one-pixel pen they agree.
            s->Pen()->SetWidth(type == stRoundRect ? 1 : 3);
            s->Brush()->SetColor(clYellow);
            s->SetBounds(120 + 70 * kind++, 300, 60, 40);
        }
        m->RenumberObjects();
        m->RebuildLayerList();
    }

    // The export's mask computed from the template's numbers: outside the
    // 122 mm bleed disc and inside the 40 mm hole set 4,5 mm in.
    TRegion DiscMask(int width, int height) const
    {
        const int inset = (ScreenMm(118) - ScreenMm(44)) / 2 + ScreenMm(4.5);
        TRegion t, mask;
        CombineRgn(t, CreateRectRgn(0, 0, width, height), CreateEllipticRgn(0, 0, ScreenMm(122), ScreenMm(122)), RGN_XOR);
        CombineRgn(mask, t, CreateEllipticRgn(inset, inset, inset + ScreenMm(40), inset + ScreenMm(40)), RGN_XOR);
        return mask;
    }

    static int CountDifferent(const QImage& a, const QImage& b)
    {
        int wrong = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                wrong += Rgb(a, x, y) != Rgb(b, x, y);
        return wrong;
    }

    TMainWindowFixture f;
    TFrmExport options{nullptr};
    TFrmProgress progress{nullptr};
    TFrmMain* m = f.Main();
    QString Target = TestSupport::MakeTempDir() + QStringLiteral("/label.bmp");
    bool ConfirmSave = true;
    int SaveDialogs = 0;
    bool OptionsShown = false;
};
} // namespace

TEST_F(BitmapExport, DefaultsPaintTheDesignAsTheScreenShowsItAndWhitenNothing)
{
    BuildDesign();
    Target = TestSupport::MakeTempDir() + QStringLiteral("/label.png"); // the name says otherwise
    const QImage picture = Export();
    EXPECT_TRUE(OptionsShown);
    EXPECT_EQ(SaveDialogs, 1);
    EXPECT_EQ(m->SavePictureDialog1->Filter, QString::fromUtf8("Bitmapy (*.bmp)|*.bmp|Vše (*.*)|*.*"));
    // An uncompressed Windows bitmap whatever the extension.
    const QByteArray file = TestSupport::ReadFile(Target);
    ASSERT_GE(file.size(), 54);
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(file[30]), 0u); // BI_RGB
    ASSERT_FALSE(picture.isNull());
    const QImage screen = DesignOnScreen();
    ASSERT_EQ(picture.size(), QSize(m->VK1->Width(), m->VK1->Height()));
    ASSERT_EQ(picture.size(), screen.size());
    EXPECT_EQ(CountDifferent(picture, screen), 0);
    // The bleed ring and the hole keep the background.
    EXPECT_EQ(Rgb(picture, 2, 2), qRgb(250, 240, 200) & 0xFFFFFFu);
    EXPECT_EQ(Rgb(picture, picture.width() / 2, picture.height() / 2), qRgb(250, 240, 200) & 0xFFFFFFu);
    // The key colour of the logo let the background through.
    EXPECT_EQ(Rgb(picture, 302, 262), qRgb(250, 240, 200) & 0xFFFFFFu);
    EXPECT_EQ(Rgb(picture, 350, 310), qRgb(0, 90, 0) & 0xFFFFFFu);
}

TEST_F(BitmapExport, ATextAboveAPictureIsExportedAboveItAndUnderItWhenRestacked)
{
    TImage* picture = nullptr;
    TLabel* text = AddTextOverPicture(m, SolidImage(10, 10, Qt::green), picture);
    auto blueIn = [](const QImage& p) {
        int blue = 0;
        for (int y = 110; y < 200; ++y)
            for (int x = 110; x < 290; ++x)
                blue += Rgb(p, x, y) == 0x0000FFu;
        return blue;
    };
    const QImage above = Export();
    EXPECT_GT(blueIn(above), 200);
    EXPECT_EQ(CountDifferent(above, DesignOnScreen()), 0);
    text->SetVisible(true);
    picture->SetVisible(true);

    text->SetComponentIndex(0);
    m->RenumberObjects();
    m->RebuildLayerList();
    const QImage under = Export();
    EXPECT_EQ(blueIn(under), 0);
    EXPECT_EQ(CountDifferent(under, DesignOnScreen()), 0);
}

TEST_F(BitmapExport, CroppingWhitensOutsideTheLabelAndTheNextExportKeepsTheChoice)
{
    BuildDesign();
    const QImage first = Export([](TFrmExport* w) { w->orez->SetChecked(true); });
    QImage expected = DesignOnScreen();
    const TRegion mask = DiscMask(expected.width(), expected.height());
    int masked = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (PtInRegion(mask, x, y)) {
                expected.setPixel(x, y, qRgb(255, 255, 255));
                ++masked;
            }
    EXPECT_GT(masked, 1000);
    ASSERT_EQ(first.size(), expected.size());
    EXPECT_EQ(CountDifferent(first, expected), 0);
    // The hole's whitened circle sits off centre: 4,5 mm in, not 4.
    const int holeLeft = (ScreenMm(118) - ScreenMm(44)) / 2 + ScreenMm(4.5);
    const int mid = holeLeft + ScreenMm(40) / 2;
    EXPECT_EQ(Rgb(first, holeLeft + 1, mid), White);
    EXPECT_NE(Rgb(first, holeLeft - 2, mid), White);

    // The window keeps its boxes for the run: untouched, it crops again.
    bool shownChecked = false;
    const QImage second = Export([&](TFrmExport* w) { shownChecked = w->orez->Checked(); });
    EXPECT_TRUE(shownChecked);
    EXPECT_EQ(CountDifferent(second, first), 0);
}

TEST_F(BitmapExport, EveryKindLeftOutGivesAWhitePictureOfTheSurfaceSize)
{
    BuildDesign();
    const auto allOff = [](TFrmExport* w) {
        for (TCheckBox* c : {w->ExPozadi, w->ExObrazky, w->ExTexty, w->ExObjekty})
            c->SetChecked(false);
    };
    for (bool crop : {false, true}) {
        const QImage picture = Export([&](TFrmExport* w) {
            allOff(w);
            w->orez->SetChecked(crop);
        });
        ASSERT_EQ(picture.size(), QSize(m->VK1->Width(), m->VK1->Height()));
        EXPECT_EQ(CountDifferent(picture, SolidImage(picture.width(), picture.height(), Qt::white)), 0) << crop;
    }
}

TEST_F(BitmapExport, ABoxExportsWithoutCutFramesAndItsMaskSparesTheSurface)
{
    SetTemplate(m, true, false, 120, 100, 10, 20, 30, 40, 50, 20);
    m->TiskRam->SetChecked(true);
    m->C1Min->SetColor(clBlack);
    SetSolidBackground(m, Qt::red);
    const QImage picture = Export([](TFrmExport* w) { w->orez->SetChecked(true); });
    ASSERT_EQ(picture.size(), QSize(ScreenMm(124), ScreenMm(104)));
    // No frame at the label's edge nor at the inner rectangle: all background.
    EXPECT_EQ(CountDifferent(picture, SolidImage(picture.width(), picture.height(), Qt::red)), 0);
}

TEST_F(BitmapExport, CancelAndAFailedWriteLeaveFilesAsTheyWere)
{
    BuildDesign();
    // Storno in the save dialog writes nothing.
    ConfirmSave = false;
    Export();
    EXPECT_EQ(SaveDialogs, 1);
    EXPECT_FALSE(QFile::exists(Target));

    // A write that fails half way keeps the old file and ends the command with the error.
    ConfirmSave = true;
    {
        QFile old(Target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old picture");
    }
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    try {
        Export();
    } catch (const EFileError& e) {
        error = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(error.contains(Target)) << error.toStdString();
    EXPECT_EQ(TestSupport::ReadFile(Target), "old picture");
    EXPECT_FALSE(progress.Visible());

}

TEST_F(BitmapExport, ADesignWithoutTemplateExportsWholeAndSaysSoOnlyWhenCutIsAsked)
{
    BuildDesign();
    const QImage withTemplate = Export();
    m->DeleteTemplateParams();
    ASSERT_FALSE(m->HasTemplate());
    QStringList said;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        said << text;
        return IDOK;
    });
    // Without the cut nothing needs the template: the same picture, nothing said.
    const QImage plain = Export([](TFrmExport* w) { w->orez->SetChecked(false); });
    EXPECT_TRUE(said.isEmpty()) << said.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(SaveDialogs, 2);
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(CountDifferent(plain, withTemplate), 0);
    // With the cut asked for: saved whole, and the user is told so once.
    const QImage cut = Export([](TFrmExport* w) { w->orez->SetChecked(true); });
    EXPECT_EQ(said, QStringList{TFrmMain::sBezSablonyOrez()});
    EXPECT_EQ(SaveDialogs, 3);
    EXPECT_EQ(CountDifferent(cut, withTemplate), 0);
    SetMessageBoxHook({});
    // Printing still refuses it.
    QString printSaid;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        printSaid = text;
        return IDOK;
    });
    m->btnPrintClick(nullptr);
    EXPECT_EQ(printSaid, TFrmMain::sBezSablony());
    SetMessageBoxHook({});
}

TEST_F(BitmapExport, KeyColourIsTheTopLeftPixelAndClearsItEverywhereInThePicture)
{
    SetSolidBackground(m, Qt::green);
    // Cyan in the corner and in a patch in the middle; the rest red.
    QImage pic(20, 20, QImage::Format_RGB32);
    pic.fill(Qt::red);
    pic.setPixel(0, 0, qRgb(0, 255, 255));
    QPainter(&pic).fillRect(8, 8, 4, 4, Qt::cyan);
    AddPicture(m, pic, 100, 100, 40, 40, true, true);    // stretched twice over
    AddPicture(m, pic, 200, 100, 15, 15, false, true);   // unstretched, cut
    m->RenumberObjects();
    const QImage picture = Export();
    EXPECT_EQ(Rgb(picture, 100, 100), 0x00FF00u);
    EXPECT_EQ(Rgb(picture, 120, 120), 0x00FF00u); // the middle patch
    EXPECT_EQ(Rgb(picture, 110, 130), 0xFF0000u);
    EXPECT_EQ(Rgb(picture, 100, 139), 0xFF0000u); // the bottom-left pixel is no key here
    EXPECT_EQ(Rgb(picture, 209, 109), 0x00FF00u);
    EXPECT_EQ(Rgb(picture, 214, 114), 0xFF0000u);
    EXPECT_EQ(Rgb(picture, 216, 116), 0x00FF00u); // beyond the cut
}
