#pragma once
// Shared helpers of the test programs.
#include <QByteArray>
#include <QString>

class QApplication;
class QWidget;
#include <QPoint>
#include <Qt>

namespace TestSupport {
// Called by the test entry around the whole run.
void InitApplication(QApplication* app);
void FinishApplication();
// Folder of the shared test vectors (LZHUF archives and others).
QString TestDataDir();
// Folder of the built program, which holds the data files beside it.
QString BinDir();
QString SourceDir();
QByteArray ReadFile(const QString& path);
// A fresh empty folder that lives until the test program ends.
QString MakeTempDir();
// Mouse input sent straight to a widget (positions in its coordinates), so a
// test does not depend on where the window system thinks the pointer is.
void MousePress(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
void MouseRelease(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
void MouseMove(QWidget* w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton, Qt::KeyboardModifiers mods = {});
void MouseClick(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
void MouseDoubleClick(QWidget* w, QPoint pos);

// Mouse input as the window system hands it to Qt: through the widget's
// window, stamped with a clock the caller advances, so Qt itself routes it
// (grabs, the widget under the pointer) and makes double clicks from two
// presses close in time.
class TSystemMouse {
public:
    // Each call first moves the clock on by gapMs.
    void Press(QWidget* w, QPoint pos, int gapMs = 20, Qt::MouseButton button = Qt::LeftButton);
    void Release(QWidget* w, QPoint pos, int gapMs = 20, Qt::MouseButton button = Qt::LeftButton);
    void Move(QWidget* w, QPoint pos, int gapMs = 20);
    // Press and release; a second click within the double-click time is a double click.
    void Click(QWidget* w, QPoint pos, int gapMs = 20, Qt::MouseButton button = Qt::LeftButton);

private:
    void Send(QWidget* w, QPoint pos, int type, Qt::MouseButton button, int gapMs);
    Qt::MouseButtons FButtons;
};
} // namespace TestSupport
