// bench-layer: tv_designer
// One paint of a skinned push button, of a page control with five tabs
// (strip and pane) and of a status bar with three panels, with the built-in
// skin, each into an image of the control's size; and choosing and attaching
// the skinners of every control of the main window, as its skinning starts
// (each run gives the controls their own look back afterwards, untimed).
// Prints medians.
#include <QApplication>
#include <QBuffer>
#include <QTabWidget>
#include <cstdio>

#include "classlib/controls/com_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/message_box.h"
#include "designer/main/frm_main.h"
#include "median.h"
#include "skin/controls/skin_chooser.h"
#include "skin/form/skin_form.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_tabs.h"
#include "skin/skin_data.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    TSkinData data(nullptr);
    data.ReadDefaultSkin();

    TForm form(nullptr);
    form.SetBounds(0, 0, 640, 480);
    auto* button = Placed(new TButton(&form), "Button1", &form, 10, 10, 90, 28);
    button->SetCaption(QStringLiteral("Tisk"));
    auto* pages = Placed(new TPageControl(&form), "PageControl1", &form, 10, 50, 500, 300);
    for (int i = 0; i < 5; ++i) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(QStringLiteral("Strana %1").arg(i + 1));
    }
    auto* status = Placed(new TStatusBar(&form), "StatusBar1", &form, 0, 458, 640, 22);
    status->AddPanel(200);
    status->AddPanel(200);
    status->AddPanel(100);
    status->SetPanelText(0, QStringLiteral("Připraven"));
    form.Show();
    QApplication::processEvents();

    auto* sb = new TSkinButton(button);
    sb->InitControl(nullptr, &data, nullptr, true);
    auto* st = new TSkinTab(pages);
    st->InitControl(nullptr, &data, nullptr, true);
    auto* ss = new TSkinStatusBar(status);
    ss->InitControl(nullptr, &data, nullptr, true);

    const int runs = 200;
    QImage target(640, 480, QImage::Format_RGB32);
    auto paint = [&](TSkinControl* s, int w, int h) {
        QPainter p(&target);
        s->DrawControl(p, TRect(0, 0, w, h));
    };
    const double button_ms = MedianMs(runs, [&] { paint(sb, button->Width(), button->Height()); });
    const double tabs_ms = MedianMs(runs, [&] {
        paint(st, pages->Width(), pages->Height());
        QPainter p(&target);
        st->DrawStrip(p);
    });
    const double status_ms = MedianMs(runs, [&] { paint(ss, status->Width(), status->Height()); });
    // The main window's controls, all of them skinned at the start.
    TApplication::InitializeExisting();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    TFrmMain main(nullptr);
    main.DoCreate();
    main.SetStartFile(QStringLiteral("-"));
    main.Show();
    QApplication::processEvents();
    TWinSkinForm skinForm(nullptr);
    int attached = 0;
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        TSkinChooser chooser(&skinForm, &data);
        chooser.SkinChildControls(&main);
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        attached = chooser.Attached();
        skinForm.RestoreControls(true);
    }
    const double main_ms = Median(times);
    main.Hide();
    SetMessageBoxHook(nullptr);

    std::printf("push button 90x28 paint:              %.3f ms\n", button_ms);
    std::printf("page control 500x300, 5 tabs paint:   %.3f ms\n", tabs_ms);
    std::printf("status bar 640x22, 3 panels paint:    %.3f ms\n", status_ms);
    std::printf("main window, %d skinners attached:    %.3f ms\n", attached, main_ms);
    return 0;
}
