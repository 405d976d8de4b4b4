// A window bridge on the viewport of an item view: the view must still paint
// its items, whether the bridge was made by a message or subclasses it.
#include "platform/window_info.h"
#include "platform/window_proc.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QImage Grab(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

int Differences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}
} // namespace

TEST(WindowBridgeView, ItemViewPaintsItsItemsThroughABridgeOnItsViewport)
{
    QListWidget view;
    view.resize(200, 120);
    for (const char* t : {"alfa", "beta", "gama"})
        view.addItem(QString::fromLatin1(t));
    view.show();
    QApplication::processEvents();
    QWidget* viewport = view.viewport();
    const QImage before = Grab(viewport);
    // The items show: the view is not one plain colour.
    QImage blank(before.size(), QImage::Format_RGB32);
    blank.fill(before.pixel(before.width() - 1, before.height() - 1));
    ASSERT_GT(Differences(before, blank), 0);

    // Asked for something: a bridge nobody subclasses.
    SendMessage(viewport, WM_GETTEXTLENGTH);
    SendMessage(&view, WM_GETTEXTLENGTH);
    ASSERT_NE(TWindowBridge::Of(viewport, false), nullptr);
    EXPECT_EQ(Differences(Grab(viewport), before), 0);

    // Subclassed by a procedure that lets everything through.
    int paints = 0;
    TWndProc old;
    old = SetWindowLong(viewport, GWL_WNDPROC, [&](TMessage& m) {
        paints += m.Msg == WM_PAINT;
        CallWindowProc(old, m);
    });
    EXPECT_EQ(Differences(Grab(viewport), before), 0);
    EXPECT_GT(paints, 0);
    SetWindowLong(viewport, GWL_WNDPROC, old);
}

TEST(WindowBridgeView, AScrollAreaFollowsItsSubclassedWidgetsSize)
{
    QScrollArea area;
    area.resize(200, 150);
    auto* inner = new QWidget;
    inner->resize(100, 100);
    area.setWidget(inner);
    area.show();
    QApplication::processEvents();
    TWndProc old;
    int resizes = 0;
    old = SetWindowLong(inner, GWL_WNDPROC, [&](TMessage& m) {
        resizes += m.Msg == WM_SIZE;
        CallWindowProc(old, m);
    });
    // The area's own filter on its widget still sets the bars from the new size.
    inner->resize(600, 400);
    QApplication::processEvents();
    EXPECT_GT(resizes, 0);
    EXPECT_EQ(area.horizontalScrollBar()->maximum(), 600 - area.viewport()->width());
    EXPECT_EQ(area.verticalScrollBar()->maximum(), 400 - area.viewport()->height());
    SetWindowLong(inner, GWL_WNDPROC, old);
}

TEST(WindowBridgeView, IconOnlyButtonsArePictureButtons)
{
    QWidget parent;
    QPixmap pm(16, 16);
    pm.fill(Qt::red);
    auto* tool = new QToolButton(&parent);
    tool->setIcon(QIcon(pm));
    tool->setText(QStringLiteral("Zpět")); // shown as a tool tip only
    auto* push = new QPushButton(QStringLiteral("OK"), &parent);
    push->setIcon(QIcon(pm));
    auto* picture = new QPushButton(&parent);
    picture->setIcon(QIcon(pm));
    EXPECT_TRUE(GetWindowLong(tool, GWL_STYLE) & BS_BITMAP);
    EXPECT_FALSE(GetWindowLong(push, GWL_STYLE) & BS_BITMAP);
    EXPECT_TRUE(GetWindowLong(picture, GWL_STYLE) & BS_BITMAP);
}
