// bench-layer: tv_designer
// Exporting a disc label to a BMP file through the export command, headless:
// a background, a 2000 x 2000 key-colour logo stretched over the disc, a
// smaller logo, a text and a shape, cropped to the disc. Prints each run and
// the median.
#include "../tests/e2e/reference_design.h"

#include "classlib/forms/application.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/forms/frm_export.h"
#include "designer/forms/frm_progress.h"
#include "designer/main/frm_main.h"
#include "median.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace {
// The print's reference design with a large key-colour logo stretched over
// the whole disc, which the export copies pixel by pixel.
void BuildDesign(TFrmMain* m)
{
    BuildReferenceDesign(m);
    const QImage logo = KeyColourLogo(2000, 100);
    auto* image = new TImage(m);
    image->SetTag(1);
    image->SetParent(m->PNLCD);
    image->Picture()->Bitmap()->SetImage(logo);
    image->SetStretch(true);
    image->SetTransparent(true);
    image->SetBounds(0, 0, m->PNLCD->Width(), m->PNLCD->Height());
    m->RenumberObjects();
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config, out;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    TApplication::InitializeExisting();
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 9;

    // The data folders are not beside the benchmark: their messages are answered.
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    std::vector<double> ms;
    {
        TFrmMain main(nullptr);
        TFrmProgress progress(nullptr);
        TFrmExport options(nullptr);
        main.DoCreate();
        main.SetStartFile(QStringLiteral("-"));
        main.Show();
        BuildDesign(&main);
        options.orez->SetChecked(true);
        const QString bmp = out.path() + QStringLiteral("/label.bmp");
        TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
            static_cast<TSaveDialog*>(d)->FileName = bmp;
            return true;
        };
        for (int i = 0; i < runs; ++i) {
            // The options window is closed as soon as it shows.
            QTimer::singleShot(0, [&] { options.Close(); });
            QElapsedTimer t;
            t.start();
            main.Export1Click(nullptr);
            ms.push_back(t.nsecsElapsed() / 1e6);
            std::printf("run %d: %.1f ms, %lld bytes\n", i + 1, ms.back(), static_cast<long long>(QFileInfo(bmp).size()));
        }
        TCommonDialog::ExecuteHook = nullptr;
    }
    std::printf("median export of the design to BMP: %.1f ms (%d runs)\n", Median(ms), runs);
    TApplication::Finalize();
    return 0;
}
