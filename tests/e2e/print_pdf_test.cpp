// A prepared design printed to a PDF file through the print command, the page
// rendered back to pixels, and the disc, its hole mask and the text found
// where the template and the correction put them.

#include "reference_design.h"
#include "test_support.h"

#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/printers.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_progress.h"
#include "platform/region.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
// A printed page back as pixels at the printer's resolution, without smoothing.
QImage RenderPdf(const QString& pdf, int dpi, QString& error)
{
    const QString prefix = QFileInfo(pdf).absolutePath() + QStringLiteral("/page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"),
                                         QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                         QStringLiteral("-singlefile"), pdf, prefix});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        error = QString::fromLocal8Bit(p.readAllStandardError()) + p.errorString();
        return {};
    }
    // An A4 page at 600 dpi is larger than Qt's default reading limit.
    QImageReader::setAllocationLimit(512);
    QImage page(prefix + QStringLiteral(".ppm"));
    if (page.isNull())
        error = QStringLiteral("no page image: ") + QDir(QFileInfo(pdf).absolutePath()).entryList().join(QLatin1Char(' '));
    return page;
}

bool IsPaper(QRgb c) { return qRed(c) > 250 && qGreen(c) > 250 && qBlue(c) > 250; }

class PrintToPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        FOldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", TestSupport::MakeTempDir().toUtf8());
        // The data folders are not beside the test program: their messages are answered.
        SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
        Main = std::make_unique<TFrmMain>(nullptr);
        Progress = std::make_unique<TFrmProgress>(nullptr);
        Main->DoCreate();
        Main->SetStartFile(QStringLiteral("-"));
        Main->Show();
        Pdf = TestSupport::MakeTempDir() + QStringLiteral("/label.pdf");
        FOldPrinter = SetPrinter(std::make_unique<TPrinter>());
        TCommonDialog::ExecuteHook = [this](TCommonDialog* d) {
            auto* dialog = dynamic_cast<TPrintDialog*>(d);
            if (!dialog)
                return false;
            // What the user picks in the dialog: a PDF file on A4 at 600 dpi.
            QPrinter* printer = Printer()->Device()->QtPrinter();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(Pdf);
            printer->setResolution(600);
            printer->setPageSize(QPageSize(QPageSize::A4));
            printer->setPageMargins(QMarginsF(5, 7, 5, 5), QPageLayout::Millimeter);
            dialog->Copies = 1;
            return true;
        };
    }
    void TearDown() override
    {
        TCommonDialog::ExecuteHook = nullptr;
        SetMessageBoxHook(nullptr);
        SetPrinter(std::move(FOldPrinter));
        Main.reset();
        Progress.reset();
        qputenv("XDG_CONFIG_HOME", FOldConfig);
    }

    std::unique_ptr<TFrmMain> Main;
    std::unique_ptr<TFrmProgress> Progress;
    QString Pdf;

private:
    QByteArray FOldConfig;
    std::unique_ptr<TPrinter> FOldPrinter;
};
} // namespace

TEST_F(PrintToPdf, DiscHoleAndTextLandWhereTemplateAndCorrectionPutThem)
{
    TFrmMain* m = Main.get();
    const TReferenceDesign design = BuildReferenceDesign(m);
    m->btnPrintClick(nullptr);
    ASSERT_TRUE(QFileInfo::exists(Pdf));
    // 5 mm and 7 mm, which Qt keeps as 14 pt and 20 pt.
    EXPECT_EQ(Printer()->GetDeviceCaps(PHYSICALOFFSETX), 117);
    EXPECT_EQ(Printer()->GetDeviceCaps(PHYSICALOFFSETY), 167);

    QString error;
    const QImage page = RenderPdf(Pdf, 600, error);
    ASSERT_FALSE(page.isNull()) << "pdftoppm: " << error.toStdString();
    ASSERT_NEAR(page.width(), 4960, 1);
    ASSERT_NEAR(page.height(), 7016, 1);

    // Sheet places in printer pixels, from the corner of the sheet: the label
    // at 46 mm, 15 mm less the bleed, corrected by 2 mm and -1 mm.
    EXPECT_EQ(m->LabelOffsetX, 166); // mm(44)
    EXPECT_EQ(m->LabelOffsetY, 49);  // mm(13)
    EXPECT_EQ(m->CorrOffsetX, 7);
    EXPECT_EQ(m->CorrOffsetY, -3);
    const int ox = m->PrnScaleX(m->CorrOffsetX + m->LabelOffsetX);
    const int oy = m->PrnScaleY(m->CorrOffsetY + m->LabelOffsetY);
    EXPECT_EQ(ox, 1081); // 173 * 6,25
    EXPECT_EQ(oy, 287);  // 46 * 6,25
    // The bleed disc: mm(122) = 461 screen pixels.
    const TRegion outer = CreateEllipticRgn(ox, oy, ox + m->PrnScaleX(461), oy + m->PrnScaleY(461));
    // The hole less its bleed: (445 - 166) div 2 + mm(4,5) = 156 pixels in, mm(40) = 151 wide.
    const int holeX = m->PrnScaleX(156 + m->CorrOffsetX + m->LabelOffsetX);
    const int holeY = m->PrnScaleY(156 + m->CorrOffsetY + m->LabelOffsetY);
    const TRegion hole = CreateEllipticRgn(holeX, holeY, holeX + m->PrnScaleX(151), holeY + m->PrnScaleY(151));

    // Each row of the disc: its outer ends and the hole's ends within one pixel.
    int rows = 0;
    for (const TRect& r : outer.Rects()) {
        if ((r.Top - oy) % 40 != 5)
            continue;
        const int y = r.Top;
        int first = -1, last = -1;
        for (int x = 0; x < page.width(); ++x)
            if (!IsPaper(page.pixel(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << "row " << y;
        EXPECT_NEAR(first, r.Left, 1) << "row " << y;
        EXPECT_NEAR(last, r.Right - 1, 1) << "row " << y;
        ++rows;
    }
    EXPECT_GT(rows, 30);
    int holeRows = 0;
    for (const TRect& r : hole.Rects()) {
        if ((r.Top - holeY) % 20 != 3)
            continue;
        const int y = r.Top;
        // The whitened run around the hole's middle.
        const int mid = (r.Left + r.Right) / 2;
        ASSERT_TRUE(IsPaper(page.pixel(mid, y))) << "row " << y;
        int left = mid, right = mid;
        while (IsPaper(page.pixel(left - 1, y)))
            --left;
        while (IsPaper(page.pixel(right + 1, y)))
            ++right;
        EXPECT_NEAR(left, r.Left, 1) << "row " << y;
        EXPECT_NEAR(right, r.Right - 1, 1) << "row " << y;
        ++holeRows;
    }
    EXPECT_GT(holeRows, 15);

    // The text: its ink where the printer's font puts it in its first line.
    TFont printerFont;
    printerFont.Assign(design.Text->Font());
    printerFont.SetHeight(-MulDiv(design.Text->Font()->Size(), 600, 72));
    const QFontMetrics fm(printerFont.ToQFont());
    const QRect glyphs = fm.tightBoundingRect(design.Text->Caption());
    const int tx = m->PrnScaleX(design.Text->Left() + m->CorrOffsetX + m->LabelOffsetX);
    const int ty = m->PrnScaleY(design.Text->Top() + m->CorrOffsetY + m->LabelOffsetY);
    QRect ink;
    for (int y = ty - 40; y < ty + fm.height() + 40; ++y)
        for (int x = tx - 40; x < tx + glyphs.width() + 80; ++x)
            if (qGray(page.pixel(x, y)) < 60)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.left(), tx + glyphs.left(), 1);
    EXPECT_NEAR(ink.top(), ty + fm.ascent() + glyphs.top(), 1);
    EXPECT_NEAR(ink.width(), glyphs.width(), 3);
    EXPECT_NEAR(ink.height(), glyphs.height(), 2);

    // The logo's key colour is nowhere on the page; its circle is.
    int magenta = 0;
    for (int y = 0; y < page.height(); y += 3)
        for (int x = 0; x < page.width(); x += 3)
            magenta += (page.pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
    EXPECT_EQ(magenta, 0);
    const int lx = m->PrnScaleX(design.Logo->Left() + 40 + m->CorrOffsetX + m->LabelOffsetX);
    const int ly = m->PrnScaleY(design.Logo->Top() + 40 + m->CorrOffsetY + m->LabelOffsetY);
    EXPECT_EQ(page.pixel(lx, ly) & 0xFFFFFF, 0x005A00u);
}

TEST_F(PrintToPdf, AFailedPrintLeavesNoFile)
{
    TFrmMain* m = Main.get();
    BuildReferenceDesign(m);
    // A correction beyond any sheet fails inside the job.
    m->PrintCorrX = 2000000000;
    EXPECT_THROW(m->btnPrintClick(nullptr), EInvalidOperation);
    m->PrintCorrX = 0;
    EXPECT_FALSE(QFileInfo::exists(Pdf));
    EXPECT_FALSE(Printer()->Printing());
    // A template value that is no number is told before any job begins.
    for (int i = 0; i < m->ComponentCount(); ++i)
        if (m->Components(i)->Tag() == 5 && m->Components(i)->Name() == QStringLiteral("Okraj"))
            static_cast<TCheckBox*>(m->Components(i))->SetCaption(QStringLiteral("x"));
    m->btnPrintClick(nullptr);
    EXPECT_FALSE(QFileInfo::exists(Pdf));
    EXPECT_FALSE(Printer()->Printing());
}
