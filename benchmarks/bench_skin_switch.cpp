// bench-layer: tv_skin
// Switching the skin file with a handful of skinned windows open: the time from
// the switch to the last open window having re-read the skin, without the
// quarter second the manager waits before it reskins. Prints medians.
// Usage: bench_skin_switch [SKIN_DIR]   (default: skiny beside the program)
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <cstdio>
#include <memory>
#include <vector>

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
    if (skins.size() < 2) {
        std::fprintf(stderr, "need at least two skins in %s\n", qPrintable(dir));
        return 1;
    }

    auto skin = std::make_unique<TSkinData>(nullptr);
    skin->ReadDefaultSkin();
    skin->SetActive(true);
    skin->Loaded();

    // Six class-library windows of different frames and two system dialogs.
    std::vector<std::unique_ptr<TForm>> forms;
    const TFormBorderStyle styles[] = {bsSizeable, bsSingle, bsDialog, bsSizeable, bsToolWindow, bsSingle};
    for (int i = 0; i < 6; ++i) {
        auto f = std::make_unique<TForm>(nullptr);
        f->SetBorderStyle(styles[i]);
        f->SetBounds(20 + 30 * i, 20 + 20 * i, 400, 300);
        f->SetCaption(QStringLiteral("Okno %1").arg(i + 1));
        f->Show();
        forms.push_back(std::move(f));
    }
    QDialog dialog;
    dialog.resize(320, 200);
    dialog.setWindowTitle(QStringLiteral("Dialog"));
    dialog.show();
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zpráva"), QStringLiteral("Text zprávy."), QMessageBox::Ok);
    box.show();
    Pump(400);
    TSkinManage* manager = SkinManager();
    const size_t windows = manager->Forms().size();
    int reread = 0;
    skin->OnSkinChanged = [&](TComponent*) { ++reread; };

    // The work alone: the load with its immediate re-read, then the tick's pass over the windows.
    int next = 0;
    const int runs = 21;
    const double work = MedianMs(runs, [&] {
        skin->SetSkinFile(skins[next++ % skins.size()]);
        manager->TimerTick();
    });
    // As the program sees it: from the switch to the tick's end, less the wait.
    std::vector<double> walls;
    for (int i = 0; i < runs; ++i) {
        const int before = reread;
        QElapsedTimer t;
        t.start();
        skin->SetSkinFile(skins[next++ % skins.size()]);
        while (reread == before && t.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        walls.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6 - manager->TimerInterval());
    }
    std::printf("skin switch, %zu skinned windows, %lld skins: median %.2f ms of work; "
                "%.2f ms beyond the %d ms wait with the real timer (%d runs each)\n",
                windows, static_cast<long long>(skins.size()), work, Median(walls), manager->TimerInterval(), runs);

    forms.clear();
    skin.reset();
    FreeSkinManager();
    TApplication::Finalize();
    return 0;
}
