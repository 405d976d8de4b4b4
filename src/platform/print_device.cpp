#include "platform/print_device.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

TPrintDevice::~TPrintDevice() = default;

// ------------------------------------------------------------ Qt printer

TQtPrintDevice::TQtPrintDevice() : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TQtPrintDevice::~TQtPrintDevice() = default;

int TQtPrintDevice::Copies() const { return FPrinter->copyCount(); }

void TQtPrintDevice::SetCopies(int copies) { FPrinter->setCopyCount(std::max(1, copies)); }

TPrinterOrientation TQtPrintDevice::Orientation() const
{
    return FPrinter->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TQtPrintDevice::SetOrientation(TPrinterOrientation orientation)
{
    FPrinter->setPageOrientation(orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QString TQtPrintDevice::Title() const { return FPrinter->docName(); }

void TQtPrintDevice::SetTitle(const QString& title) { FPrinter->setDocName(title); }

bool TQtPrintDevice::Begin(QPainter& painter)
{
    if (FPrinter->outputFormat() == QPrinter::PdfFormat && FPrinter->outputFileName().isEmpty())
        return false; // no printer and no file to print to
    return painter.begin(FPrinter.get());
}

void TQtPrintDevice::End(QPainter& painter)
{
    if (painter.isActive())
        painter.end();
}

void TQtPrintDevice::Abort(QPainter& painter)
{
    // A PDF job cannot be aborted by the engine: it is ended and its file removed.
    const bool aborted = FPrinter->abort();
    if (painter.isActive())
        painter.end();
    if (!aborted && FPrinter->outputFormat() == QPrinter::PdfFormat && !FPrinter->outputFileName().isEmpty())
        QFile::remove(FPrinter->outputFileName());
}

int TQtPrintDevice::DeviceCaps(int index) const
{
    const int res = FPrinter->resolution();
    const QPageLayout layout = FPrinter->pageLayout();
    const QRect full = layout.fullRectPixels(res);
    const QRect paint = FPrinter->fullPage() ? full : layout.paintRectPixels(res);
    switch (index) {
    case LOGPIXELSX:
        return FPrinter->logicalDpiX();
    case LOGPIXELSY:
        return FPrinter->logicalDpiY();
    case HORZRES:
        return paint.width();
    case VERTRES:
        return paint.height();
    case PHYSICALWIDTH:
        return full.width();
    case PHYSICALHEIGHT:
        return full.height();
    case PHYSICALOFFSETX:
        return paint.left() - full.left();
    case PHYSICALOFFSETY:
        return paint.top() - full.top();
    default:
        return 0;
    }
}

// ------------------------------------------------------------ raster printer

TRasterPrintDevice::TRasterPrintDevice(const TSheet& sheet) : FSheet(sheet) {}

TRasterPrintDevice::~TRasterPrintDevice() = default;

TRasterPrintDevice::TSheet TRasterPrintDevice::Oriented() const
{
    if (FOrientation == poPortrait)
        return FSheet;
    TSheet s;
    s.Width = FSheet.Height;
    s.Height = FSheet.Width;
    s.DpiX = FSheet.DpiY;
    s.DpiY = FSheet.DpiX;
    s.MarginLeft = FSheet.MarginTop;
    s.MarginTop = FSheet.MarginLeft;
    s.MarginRight = FSheet.MarginBottom;
    s.MarginBottom = FSheet.MarginRight;
    return s;
}

bool TRasterPrintDevice::Begin(QPainter& painter)
{
    const TSheet s = Oriented();
    const int w = s.Width - s.MarginLeft - s.MarginRight;
    const int h = s.Height - s.MarginTop - s.MarginBottom;
    if (w <= 0 || h <= 0 || s.DpiX <= 0 || s.DpiY <= 0)
        return false;
    FWork = QImage(w, h, QImage::Format_RGB32);
    FWork.fill(Qt::white);
    FWork.setDotsPerMeterX(qRound(s.DpiX / 0.0254));
    FWork.setDotsPerMeterY(qRound(s.DpiY / 0.0254));
    return painter.begin(&FWork);
}

void TRasterPrintDevice::End(QPainter& painter)
{
    if (painter.isActive())
        painter.end();
    const TSheet s = Oriented();
    FPage = QImage(s.Width, s.Height, QImage::Format_RGB32);
    FPage.fill(Qt::white);
    QPainter p(&FPage);
    p.drawImage(s.MarginLeft, s.MarginTop, FWork);
    p.end();
    FWork = QImage();
    ++FPagesPrinted;
}

void TRasterPrintDevice::Abort(QPainter& painter)
{
    if (painter.isActive())
        painter.end();
    FWork = QImage();
    FPage = QImage();
    ++FJobsAborted;
}

int TRasterPrintDevice::DeviceCaps(int index) const
{
    const TSheet s = Oriented();
    switch (index) {
    case LOGPIXELSX:
        return s.DpiX;
    case LOGPIXELSY:
        return s.DpiY;
    case HORZRES:
        return s.Width - s.MarginLeft - s.MarginRight;
    case VERTRES:
        return s.Height - s.MarginTop - s.MarginBottom;
    case PHYSICALWIDTH:
        return s.Width;
    case PHYSICALHEIGHT:
        return s.Height;
    case PHYSICALOFFSETX:
        return s.MarginLeft;
    case PHYSICALOFFSETY:
        return s.MarginTop;
    default:
        return 0;
    }
}
