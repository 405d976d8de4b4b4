// bench-layer: tv_skin
// One paint of the skinned menu bar of a 1024-pixel-wide window with the main
// window's six menus, with each shipped skin: layout, background, captions.
// Prints medians. Usage: bench_skin_menu_bar [SKIN_DIR]   (default: skiny beside the program)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <cstdio>
#include <memory>

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "median.h"
#include "skin_bench_support.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/skin_data.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TApplication::InitializeExisting();
    const QString dir = SkinFolder(argc, argv);
    const QStringList skins = QDir(dir).entryList({QStringLiteral("*.skn")}, QDir::Files, QDir::Name);
    if (skins.isEmpty()) {
        std::fprintf(stderr, "no skins in %s\n", qPrintable(dir));
        return 1;
    }
    for (const QString& name : skins) {
        auto skin = std::make_unique<TSkinData>(nullptr);
        skin->SetSkinFile(QDir(dir).filePath(name));
        skin->SetActive(true);
        skin->Loaded();

        TForm form(nullptr);
        auto* menu = new TMainMenu(&form);
        for (const char* caption : {"Soubor", "Úpravy", "Nastavení", "Zobrazení", "Vložit", "Nápověda"}) {
            auto* top = new TMenuItem(&form);
            top->SetCaption(QString::fromUtf8(caption));
            menu->Items()->Add(top);
            auto* sub = new TMenuItem(&form);
            sub->SetCaption(QStringLiteral("Položka"));
            top->Add(sub);
        }
        form.SetMenu(menu);
        form.SetBounds(20, 20, 1024, 740);
        form.Show();
        Pump(600);
        TWinSkinForm* sf = SkinManager() ? SkinManager()->FindForm(form.Window()) : nullptr;
        if (!sf || !sf->MenuBar()) {
            std::fprintf(stderr, "%s: the window has no skinned menu bar\n", qPrintable(name));
            return 1;
        }
        TWinSkinMenu* bar = sf->MenuBar();
        QImage target(form.Window()->width(), form.Window()->height(), QImage::Format_RGB32);
        const TRect strip = bar->StripRect();
        const int runs = 201;
        const double ms = MedianMs(runs, [&] {
            QPainter p(&target);
            bar->Paint(&p, strip);
        });
        std::printf("menu bar paint %-14s %dx%d strip, %d buttons: median %.3f ms (%d runs)\n", qPrintable(name),
                    strip.Width(), strip.Height(), bar->Count(), ms, runs);
        form.Hide();
        Pump(50);
    }
    return 0;
}
