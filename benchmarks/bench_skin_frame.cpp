// bench-layer: tv_skin
// The skinned frame of a 1024 x 740 main window with each skin: a full frame
// paint, the window region rebuilt after a resize, and one resize step end to
// end (layout, frame paint, region). Prints medians.
// Usage: bench_skin_frame [SKIN_DIR]   (default: skiny beside the program)
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "median.h"
#include "skin_bench_support.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TApplication::InitializeExisting();
    const QString dir = SkinFolder(argc, argv);
    const QStringList skins = SkinFiles(dir);
    if (skins.isEmpty()) {
        std::fprintf(stderr, "no skins in %s\n", qPrintable(dir));
        return 1;
    }

    for (const QString& file : skins) {
        auto skin = std::make_unique<TSkinData>(nullptr);
        skin->SetSkinFile(file);
        skin->SetActive(true);
        skin->Loaded();
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSizeable);
        form->SetBounds(10, 10, 1024, 740);
        form->SetCaption(QStringLiteral("Bez názvu - Tessavik"));
        form->Show();
        Pump(300);
        TWinSkinForm* sf = SkinManager()->FindForm(form->Window());
        if (!sf || sf->State() != TWinSkinForm::stSkinned) {
            std::fprintf(stderr, "%s: the window was not skinned\n", qPrintable(file));
            return 1;
        }
        QWidget* w = form->Window();
        // The window itself, frame included, 1024 x 740.
        w->resize(1024, 740);
        Pump(50);
        // Paint the frame into the window's size, as a paint of the window does.
        const QSize size = w->size();
        QImage target(size, QImage::Format_RGB32);
        const int runs = 201;
        const double paint = MedianMs(runs, [&] {
            QPainter p(&target);
            sf->PaintFrame(&p);
        });
        const double region = MedianMs(runs, [&] {
            sf->ClearRegion();
            sf->UpdateRegion();
        });
        int step = 0;
        const double resize = MedianMs(runs, [&] {
            const int dw = (step++ % 2) ? -1 : 1;
            form->SetBounds(form->Left(), form->Top(), form->Width() + dw, form->Height() + dw);
            w->repaint();
        });
        std::printf("%s: window %dx%d, full frame paint %.3f ms, region rebuilt %.3f ms, "
                    "resize step (layout, paint, region) %.3f ms (medians of %d)\n",
                    qPrintable(QFileInfo(file).fileName()), size.width(), size.height(), paint, region, resize, runs);
        form.reset();
        skin.reset();
        FreeSkinManager();
    }
    TApplication::Finalize();
    return 0;
}
