// bench-layer: tv_designer
// Printing the reference design (a disc label with background, text,
// key-colour logo and shape) to a PDF file at 600 dpi through the print
// command, headless. Prints each run and the median.
#include "../tests/e2e/reference_design.h"

#include "classlib/forms/application.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/printers.h"
#include "designer/forms/frm_progress.h"
#include "median.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config, out;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    TApplication::InitializeExisting();
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 9;
    const int dpi = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 600;

    // The data folders are not beside the benchmark: their messages are answered.
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    std::vector<double> ms;
    {
        TFrmMain main(nullptr);
        TFrmProgress progress(nullptr);
        main.DoCreate();
        main.SetStartFile(QStringLiteral("-"));
        main.Show();
        BuildReferenceDesign(&main);
        const QString pdf = out.path() + QStringLiteral("/label.pdf");
        SetPrinter(std::make_unique<TPrinter>());
        TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
            QPrinter* printer = Printer()->Device()->QtPrinter();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setResolution(dpi);
            printer->setPageSize(QPageSize(QPageSize::A4));
            printer->setPageMargins(QMarginsF(5, 7, 5, 5), QPageLayout::Millimeter);
            static_cast<TPrintDialog*>(d)->Copies = 1;
            return true;
        };
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            main.btnPrintClick(nullptr);
            ms.push_back(t.nsecsElapsed() / 1e6);
            std::printf("run %d: %.1f ms, %lld bytes\n", i + 1, ms.back(), static_cast<long long>(QFileInfo(pdf).size()));
        }
        TCommonDialog::ExecuteHook = nullptr;
        SetPrinter(nullptr);
    }
    std::printf("median print of the reference design at %d dpi: %.1f ms (%d runs)\n", dpi, Median(ms), runs);
    TApplication::Finalize();
    return 0;
}
