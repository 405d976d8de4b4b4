#include "classlib/printers.h"

#include <gtest/gtest.h>

namespace {
std::unique_ptr<TRasterPrintDevice> SmallDevice(TRasterPrintDevice** out)
{
    TRasterPrintDevice::TSheet s;
    s.Width = 200;
    s.Height = 100;
    s.DpiX = s.DpiY = 96;
    s.MarginLeft = s.MarginTop = 4;
    auto d = std::make_unique<TRasterPrintDevice>(s);
    *out = d.get();
    return d;
}
} // namespace

TEST(Printer, CanvasDrawsOnThePageOnlyWhilePrinting)
{
    TRasterPrintDevice* device = nullptr;
    TPrinter printer(SmallDevice(&device));
    EXPECT_THROW(printer.Canvas(), EPrinter);
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    EXPECT_THROW(printer.SetOrientation(poLandscape), EPrinter);
    TCanvas* c = printer.Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(TRect(0, 0, 10, 10));
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(device->Page().pixel(4, 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(device->Page().pixel(3, 4) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(printer.GetDeviceCaps(PHYSICALOFFSETX), 4);
}

TEST(Printer, AFailedStartAndAnAbortAreReported)
{
    TRasterPrintDevice::TSheet none;
    TPrinter broken(std::make_unique<TRasterPrintDevice>(none));
    EXPECT_THROW(broken.BeginDoc(), EPrinter);
    EXPECT_FALSE(broken.Printing());

    TRasterPrintDevice* device = nullptr;
    TPrinter printer(SmallDevice(&device));
    printer.BeginDoc();
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(device->JobsAborted(), 1);
    EXPECT_EQ(device->PagesPrinted(), 0);
    printer.BeginDoc();
    EXPECT_FALSE(printer.Aborted());
    printer.EndDoc();
    EXPECT_EQ(device->PagesPrinted(), 1);
}

TEST(Printer, ADocumentLeftOpenIsDroppedWithThePrinter)
{
    // A device that reports its aborts beyond its own life.
    struct TCountingDevice : TRasterPrintDevice {
        explicit TCountingDevice(int& aborts) : TRasterPrintDevice(Sheet()), Aborts(aborts) {}
        static TSheet Sheet()
        {
            TSheet s;
            s.Width = s.Height = 50;
            s.DpiX = s.DpiY = 96;
            return s;
        }
        void Abort(QPainter& painter) override
        {
            ++Aborts;
            TRasterPrintDevice::Abort(painter);
        }
        int& Aborts;
    };
    int aborts = 0;
    auto old = SetPrinter(std::make_unique<TPrinter>(std::make_unique<TCountingDevice>(aborts)));
    Printer()->BeginDoc();
    auto replaced = SetPrinter(std::move(old));
    EXPECT_EQ(aborts, 0);
    replaced.reset();
    EXPECT_EQ(aborts, 1);
}
