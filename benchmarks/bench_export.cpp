// bench-layer: tv_designer
// Exporting a disc label to a BMP file through the export command, headless:
// a background, a 2000 x 2000 key-colour logo stretched over the disc, texts
// and shapes. Prints each run and the median.
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
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace {
void BuildDesign(TFrmMain* m)
{
    m->DeleteTemplateParams();
    m->CreateTemplateParams(false, false, 118, 44, 46, 15, 0, 0, 0, 0, 0, QStringLiteral("Bench"));
    const int w = m->PNLCD->Width(), h = m->PNLCD->Height();
    QImage back(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            back.setPixel(x, y, qRgb(200 + 55 * x / w, 220, 255 - 40 * y / h));
    m->IMGBck->Picture()->Bitmap()->SetImage(back);

    // A large logo on a magenta key colour, stretched over the whole disc.
    QImage logo(2000, 2000, QImage::Format_RGB32);
    logo.fill(qRgb(255, 0, 255));
    {
        QPainter p(&logo);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 90, 0));
        p.drawEllipse(100, 100, 1800, 1800);
        p.setBrush(QColor(255, 0, 255));
        p.drawEllipse(700, 700, 600, 600);
    }
    auto* image = new TImage(m);
    image->SetTag(1);
    image->SetParent(m->PNLCD);
    image->Picture()->Bitmap()->SetImage(logo);
    image->SetStretch(true);
    image->SetTransparent(true);
    image->SetBounds(0, 0, w, h);

    for (int i = 0; i < 4; ++i) {
        auto* text = new TLabel(m);
        text->SetTag(1);
        text->SetParent(m->PNLCD);
        text->Font()->SetName(QStringLiteral("Arial"));
        text->Font()->SetSize(12 + 2 * i);
        text->SetTransparent(true);
        text->SetCaption(QStringLiteral("Track %1\r\nTessavik").arg(i + 1));
        text->SetBounds(120, 60 + 80 * i, 200, 60);
    }
    for (TShapeType type : {stRectangle, stRoundRect, stEllipse}) {
        auto* s = new TShape(m);
        s->SetTag(1);
        s->SetParent(m->PNLCD);
        s->SetShape(type);
        s->Pen()->SetWidth(2);
        s->Brush()->SetStyle(bsClear);
        s->SetBounds(100 + 90 * static_cast<int>(type), 330, 80, 50);
    }
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
