#include "platform/print_device.h"
#include "test_support.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {
TRasterPrintDevice::TSheet Sheet()
{
    TRasterPrintDevice::TSheet s;
    s.Width = 400;
    s.Height = 300;
    s.DpiX = 200;
    s.DpiY = 100;
    s.MarginLeft = 10;
    s.MarginTop = 20;
    s.MarginRight = 30;
    s.MarginBottom = 40;
    return s;
}
} // namespace

TEST(RasterPrintDevice, CapabilitiesFollowTheOrientation)
{
    TRasterPrintDevice d(Sheet());
    EXPECT_EQ(d.DeviceCaps(LOGPIXELSX), 200);
    EXPECT_EQ(d.DeviceCaps(LOGPIXELSY), 100);
    EXPECT_EQ(d.DeviceCaps(PHYSICALOFFSETX), 10);
    EXPECT_EQ(d.DeviceCaps(PHYSICALOFFSETY), 20);
    EXPECT_EQ(d.DeviceCaps(HORZRES), 360);
    EXPECT_EQ(d.DeviceCaps(VERTRES), 240);
    EXPECT_EQ(d.DeviceCaps(PHYSICALWIDTH), 400);
    EXPECT_EQ(d.DeviceCaps(12345), 0);
    d.SetOrientation(poLandscape);
    EXPECT_EQ(d.DeviceCaps(LOGPIXELSX), 100);
    EXPECT_EQ(d.DeviceCaps(LOGPIXELSY), 200);
    EXPECT_EQ(d.DeviceCaps(PHYSICALOFFSETX), 20);
    EXPECT_EQ(d.DeviceCaps(PHYSICALOFFSETY), 10);
    EXPECT_EQ(d.DeviceCaps(HORZRES), 300 - 20 - 40);
    EXPECT_EQ(d.DeviceCaps(VERTRES), 400 - 10 - 30);
}

TEST(RasterPrintDevice, PaintsFromThePrintableCornerAndCutsOffTheMargins)
{
    TRasterPrintDevice d(Sheet());
    QPainter p;
    ASSERT_TRUE(d.Begin(p));
    p.fillRect(QRect(0, 0, 5, 5), Qt::red);
    p.fillRect(QRect(-10, 100, 1000, 1), Qt::blue); // a line across the whole sheet
    d.End(p);
    ASSERT_EQ(d.PagesPrinted(), 1);
    const QImage& page = d.Page();
    ASSERT_EQ(page.size(), QSize(400, 300));
    EXPECT_EQ(page.pixel(10, 20) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(14, 24) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(9, 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(15, 20) & 0xFFFFFF, 0xFFFFFFu);
    // Only the printable part of the line reaches the sheet.
    EXPECT_EQ(page.pixel(9, 120) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(10, 120) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(page.pixel(369, 120) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(page.pixel(370, 120) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(RasterPrintDevice, AnAbortedJobLeavesNoPage)
{
    TRasterPrintDevice d(Sheet());
    QPainter p;
    ASSERT_TRUE(d.Begin(p));
    p.fillRect(QRect(0, 0, 5, 5), Qt::red);
    d.Abort(p);
    EXPECT_FALSE(p.isActive());
    EXPECT_TRUE(d.Page().isNull());
    EXPECT_EQ(d.PagesPrinted(), 0);
    EXPECT_EQ(d.JobsAborted(), 1);
    TRasterPrintDevice::TSheet none = Sheet();
    none.MarginLeft = 400;
    TRasterPrintDevice empty(none);
    EXPECT_FALSE(empty.Begin(p));
}

TEST(QtPrintDevice, PhysicalOffsetsComeFromThePageLayout)
{
    TQtPrintDevice d;
    QPrinter* printer = d.QtPrinter();
    ASSERT_NE(printer, nullptr);
    const QString pdf = TestSupport::MakeTempDir() + "/page.pdf";
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setResolution(600);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(5, 7, 10, 12), QPageLayout::Millimeter);
    EXPECT_EQ(d.DeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(d.DeviceCaps(LOGPIXELSY), 600);
    // Qt keeps the margins in whole points: 14 pt and 20 pt at 600 dpi.
    EXPECT_EQ(d.DeviceCaps(PHYSICALOFFSETX), 117);
    EXPECT_EQ(d.DeviceCaps(PHYSICALOFFSETY), 167);
    // A4 is laid out in whole points: 595 x 842.
    EXPECT_EQ(d.DeviceCaps(PHYSICALWIDTH), 4958);
    // The printable area less the margins.
    EXPECT_NEAR(d.DeviceCaps(HORZRES), 4958 - 118 - 236, 6);
    EXPECT_NEAR(d.DeviceCaps(VERTRES), 7016 - 165 - 283, 6);
    d.SetCopies(2);
    d.SetTitle("Label");
    EXPECT_EQ(d.Copies(), 2);
    EXPECT_EQ(d.Title(), QStringLiteral("Label"));
    d.SetOrientation(poLandscape);
    EXPECT_EQ(d.Orientation(), poLandscape);
    EXPECT_NEAR(d.DeviceCaps(PHYSICALWIDTH), 7016, 1);

    QPainter p;
    ASSERT_TRUE(d.Begin(p));
    p.fillRect(QRect(0, 0, 100, 100), Qt::black);
    d.End(p);
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
}

TEST(QtPrintDevice, WithoutAnOutputItCannotBeginAndAnAbortedPdfIsRemoved)
{
    TQtPrintDevice d;
    d.QtPrinter()->setOutputFormat(QPrinter::PdfFormat);
    d.QtPrinter()->setOutputFileName(QString());
    QPainter p;
    EXPECT_FALSE(d.Begin(p));

    const QString pdf = TestSupport::MakeTempDir() + "/aborted.pdf";
    d.QtPrinter()->setOutputFileName(pdf);
    ASSERT_TRUE(d.Begin(p));
    p.fillRect(QRect(0, 0, 100, 100), Qt::black);
    d.Abort(p);
    EXPECT_FALSE(p.isActive());
    EXPECT_FALSE(QFileInfo::exists(pdf));
}
