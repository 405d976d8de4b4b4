#include "classlib/printers.h"

#include <QCoreApplication>

namespace {
std::unique_ptr<TPrinter>& ProgramPrinter()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

// The printer goes with the application object, not after it: its Qt printer
// needs the application while it is torn down.
void ReleaseProgramPrinter() { ProgramPrinter().reset(); }
} // namespace

TPrinter::TPrinter(std::unique_ptr<TPrintDevice> device)
    : FDevice(device ? std::move(device) : std::make_unique<TQtPrintDevice>())
{
}

TPrinter::~TPrinter()
{
    // A job left open is dropped, never half sent.
    if (FPrinting) {
        FCanvas.Unbind();
        FDevice->Abort(FPainter);
    }
}

void TPrinter::CheckPrinting(const char* what) const
{
    if (!FPrinting)
        throw EPrinter(QStringLiteral("Tiskárna právě netiskne (%1)").arg(QLatin1String(what)));
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Během tisku tuto operaci nelze provést"));
    FDevice->SetOrientation(orientation);
}

void TPrinter::BeginDoc()
{
    if (FPrinting)
        throw EPrinter(QStringLiteral("Tisk už probíhá"));
    FAborted = false;
    if (!FDevice->Begin(FPainter))
        throw EPrinter(QStringLiteral("Tiskárna nemůže zahájit tisk"));
    FPrinting = true;
    FCanvas.BindPainter(&FPainter);
}

void TPrinter::EndDoc()
{
    CheckPrinting("EndDoc");
    FCanvas.Unbind();
    FPrinting = false;
    FDevice->End(FPainter);
}

void TPrinter::Abort()
{
    CheckPrinting("Abort");
    FCanvas.Unbind();
    FPrinting = false;
    FAborted = true;
    FDevice->Abort(FPainter);
}

TCanvas* TPrinter::Canvas()
{
    CheckPrinting("Canvas");
    return &FCanvas;
}

TPrinter* Printer()
{
    auto& p = ProgramPrinter();
    if (!p) {
        static bool releaseRegistered = false;
        if (!releaseRegistered && QCoreApplication::instance()) {
            qAddPostRoutine(ReleaseProgramPrinter);
            releaseRegistered = true;
        }
        p = std::make_unique<TPrinter>();
    }
    return p.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer)
{
    auto& p = ProgramPrinter();
    std::unique_ptr<TPrinter> old = std::move(p);
    p = std::move(printer);
    return old;
}
