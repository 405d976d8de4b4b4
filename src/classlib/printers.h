#pragma once
// TPrinter: the class library's printer object over a printer device: the
// job's settings, BeginDoc/EndDoc/Abort and the page canvas. Printer() is the
// one the program prints with; tests put a device of their own in its place.

#include "classlib/graphics/canvas.h"
#include "classlib/sysutils.h"
#include "platform/print_device.h"

#include <QPainter>
#include <memory>

// A printer that cannot do what it was asked.
class EPrinter : public Exception { using Exception::Exception; };

class TPrinter {
public:
    // Without a device the printer prints through QtPrintSupport.
    explicit TPrinter(std::unique_ptr<TPrintDevice> device = nullptr);
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    TPrintDevice* Device() const { return FDevice.get(); }
    int Copies() const { return FDevice->Copies(); }
    void SetCopies(int copies) { FDevice->SetCopies(copies); }
    TPrinterOrientation Orientation() const { return FDevice->Orientation(); }
    // Takes effect at the next BeginDoc; an error while a document is open.
    void SetOrientation(TPrinterOrientation orientation);
    QString Title() const { return FDevice->Title(); }
    void SetTitle(const QString& title) { FDevice->SetTitle(title); }

    // Starts the job; throws EPrinter when the printer cannot start it.
    void BeginDoc();
    // Sends the job.
    void EndDoc();
    // Drops the job; nothing of it is printed.
    void Abort();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }

    // The page canvas while a document is open (an error otherwise).
    TCanvas* Canvas();
    // The capability of the printer (see print_device.h).
    int GetDeviceCaps(int index) const { return FDevice->DeviceCaps(index); }

private:
    void CheckPrinting(const char* what) const;

    std::unique_ptr<TPrintDevice> FDevice;
    QPainter FPainter;
    TCanvas FCanvas;
    bool FPrinting = false;
    bool FAborted = false;
};

// The printer of the program (made on first use).
TPrinter* Printer();
// Puts another printer in place of the program's and returns the old one.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);
