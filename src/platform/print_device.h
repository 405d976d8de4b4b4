#pragma once
// The printer device: a print job's settings (copies, orientation, title),
// its one page as a paint device, and the device capabilities the platform
// reports for it. The page is painted with coordinates that start at the
// corner of the printable area, as on the platform; PHYSICALOFFSETX/Y tell
// where that corner lies on the sheet.

#include <QImage>
#include <QString>
#include <memory>

class QPainter;
class QPrinter;

// Indices of GetDeviceCaps (the platform's values).
enum : int {
    HORZRES = 8,
    VERTRES = 10,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
};

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrintDevice {
public:
    virtual ~TPrintDevice();
    virtual int Copies() const = 0;
    virtual void SetCopies(int copies) = 0;
    virtual TPrinterOrientation Orientation() const = 0;
    virtual void SetOrientation(TPrinterOrientation orientation) = 0;
    virtual QString Title() const = 0;
    virtual void SetTitle(const QString& title) = 0;
    // Starts the job and begins painter on its page; false when the device
    // cannot print (no printer, an output file that cannot be written).
    virtual bool Begin(QPainter& painter) = 0;
    // Ends the painter and sends the job.
    virtual void End(QPainter& painter) = 0;
    // Ends the painter and drops the job: nothing of it reaches the output.
    virtual void Abort(QPainter& painter) = 0;
    // 0 for an index the device does not know.
    virtual int DeviceCaps(int index) const = 0;
    // The Qt printer behind the device, for the print dialog (null for others).
    virtual QPrinter* QtPrinter() { return nullptr; }
};

// A real printer or a PDF file through QtPrintSupport. Capabilities come from
// the printer's resolution and page layout: the physical offset is the paint
// rectangle's corner against the full page.
class TQtPrintDevice : public TPrintDevice {
public:
    TQtPrintDevice();
    ~TQtPrintDevice() override;
    int Copies() const override;
    void SetCopies(int copies) override;
    TPrinterOrientation Orientation() const override;
    void SetOrientation(TPrinterOrientation orientation) override;
    QString Title() const override;
    void SetTitle(const QString& title) override;
    bool Begin(QPainter& painter) override;
    void End(QPainter& painter) override;
    void Abort(QPainter& painter) override;
    int DeviceCaps(int index) const override;
    QPrinter* QtPrinter() override { return FPrinter.get(); }

private:
    std::unique_ptr<QPrinter> FPrinter;
};

// A printer that prints into a picture of the whole sheet: its own page size,
// resolutions (which may differ per axis, as some printers' do) and
// unprintable margins. The page is painted on the printable area, which is
// laid onto a white sheet when the job ends; landscape transposes the sheet.
class TRasterPrintDevice : public TPrintDevice {
public:
    struct TSheet {
        int Width = 0, Height = 0;    // whole sheet in pixels, portrait
        int DpiX = 0, DpiY = 0;       // portrait resolutions
        int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0; // portrait, pixels
    };
    explicit TRasterPrintDevice(const TSheet& sheet);
    ~TRasterPrintDevice() override;
    int Copies() const override { return FCopies; }
    void SetCopies(int copies) override { FCopies = copies; }
    TPrinterOrientation Orientation() const override { return FOrientation; }
    void SetOrientation(TPrinterOrientation orientation) override { FOrientation = orientation; }
    QString Title() const override { return FTitle; }
    void SetTitle(const QString& title) override { FTitle = title; }
    bool Begin(QPainter& painter) override;
    void End(QPainter& painter) override;
    void Abort(QPainter& painter) override;
    int DeviceCaps(int index) const override;

    // The last finished page (the whole sheet, turned as printed); null after an abort.
    const QImage& Page() const { return FPage; }
    int PagesPrinted() const { return FPagesPrinted; }
    int JobsAborted() const { return FJobsAborted; }

private:
    // The sheet as the current orientation turns it.
    TSheet Oriented() const;

    TSheet FSheet;
    int FCopies = 1;
    TPrinterOrientation FOrientation = poPortrait;
    QString FTitle;
    QImage FWork;
    QImage FPage;
    int FPagesPrinted = 0;
    int FJobsAborted = 0;
};
