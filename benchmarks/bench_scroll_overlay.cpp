// bench-layer: tv_skin
// Dragging the thumb of a skinned list's scroll bar: each step moves the real
// bar by a forwarded mouse move and repaints the overlay at once. Prints the
// median and the slowest step (goal: every step well inside 16 ms), for the
// built-in skin and for a tall list.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>

#include "classlib/controls/ext_controls.h"
#include "classlib/forms/form.h"
#include "median.h"
#include "platform/scroll_info.h"
#include "skin/controls/skin_scroll.h"
#include "skin/skin_data.h"

namespace {
void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    TSkinData data(nullptr);
    data.ReadDefaultSkin();

    TForm form(nullptr);
    form.SetBounds(0, 0, 640, 900);
    auto* list = Placed(new TListBox(&form), "ListBox1", &form, 10, 10, 300, 860);
    for (int i = 0; i < 5000; ++i)
        list->Items()->Add(QStringLiteral("Řádek %1").arg(i));
    form.Show();
    QApplication::processEvents();
    auto* skinner = new TSkinScrollbar(list);
    skinner->InitScroll(list, &data, nullptr, nullptr);
    QApplication::processEvents();
    TWScrollbar* overlay = skinner->VertBar();
    QScrollBar* bar = ScrollBarOf(list->Handle(), SB_VERT);

    std::vector<double> steps;
    for (int round = 0; round < 5; ++round) {
        bar->setValue(0);
        QApplication::processEvents();
        const QPoint start(overlay->width() / 2, (overlay->ThumbStart() + overlay->ThumbEnd()) / 2);
        Mouse(overlay, QEvent::MouseButtonPress, start, Qt::LeftButton);
        for (int dy = 1; dy < overlay->height() - 60; dy += 3) {
            QElapsedTimer t;
            t.start();
            Mouse(overlay, QEvent::MouseMove, start + QPoint(0, dy), Qt::LeftButton);
            overlay->repaint();
            steps.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        }
        Mouse(overlay, QEvent::MouseButtonRelease, start, Qt::NoButton);
        QApplication::processEvents();
    }
    const double worst = *std::max_element(steps.begin(), steps.end());
    std::printf("thumb drag step (move + overlay repaint), %zu steps: median %.3f ms, slowest %.3f ms, end value %d of %d\n",
                steps.size(), Median(steps), worst, bar->value(), bar->maximum());
    const double paint = MedianMs(500, [&] { overlay->repaint(); });
    std::printf("overlay repaint alone (%dx%d): median %.3f ms\n", overlay->width(), overlay->height(), paint);
    return 0;
}
