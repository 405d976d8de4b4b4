// bench-layer: tv_designer
// The program's windows with page controls, skinned with each shipped skin and
// left alone: the processor time the process uses while they sit idle, and how
// many paint events reach them meanwhile (both should be nil; the caret of a
// focused edit is held still).
// Usage: bench_skin_idle [SECONDS] [SKIN_DIR]   (default: 10 s, skiny beside the program)
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/message_box.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_srafovani.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"
#include "skin_bench_support.h"

namespace {
double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Waits without polling: the loop sleeps until an event comes.
void Idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && o->isWidgetType())
            ++Paints;
        return false;
    }
};
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TApplication::InitializeExisting();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    const double seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 10.0;
    const QStringList skins = SkinFiles(argc > 2 ? QString::fromLocal8Bit(argv[2]) : SkinFolder(0, nullptr));
    if (skins.isEmpty()) {
        std::fprintf(stderr, "no skins found\n");
        return 1;
    }
    const std::vector<std::pair<const char*, std::function<TForm*()>>> windows = {
        {"Vlozit text", [] { return new TFrmInsText(nullptr); }},
        {"Nastaveni objektu", [] { return new TFrmNastavObjekt(nullptr); }},
        {"Vlastnosti objektu", [] { return new TFrmVlastnostiIMG(nullptr); }},
        {"Srafovani", [] { return new TFrmSrafovani(nullptr); }},
    };
    // The caret of a focused edit is held still: its blinking alone repaints.
    QApplication::setCursorFlashTime(0);
    TPaintCounter counter;
    app.installEventFilter(&counter);
    int failures = 0;
    for (const QString& file : skins) {
        FreeSkinManager();
        TSkinData skin(nullptr);
        skin.SetSkinFile(file);
        skin.SetActive(true);
        skin.Loaded();
        for (const auto& [name, make] : windows) {
            std::unique_ptr<TForm> form(make());
            form->Show();
            Idle(600); // skinned and painted once
            counter.Paints = 0;
            const double before = CpuSeconds();
            Idle(static_cast<int>(seconds * 1000));
            const double used = CpuSeconds() - before;
            const bool skinned = SkinManager() && SkinManager()->FindForm(form->Window());
            std::printf("%-10s %-20s skinned %d  cpu %.3f s in %.1f s  paints %d\n",
                        qPrintable(QFileInfo(file).baseName()), name, skinned ? 1 : 0, used, seconds, counter.Paints);
            failures += skinned ? 0 : 1;
            form->Hide();
        }
    }
    FreeSkinManager();
    SetMessageBoxHook(nullptr);
    return failures == 0 ? 0 : 1;
}
