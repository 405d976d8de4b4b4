#include "test_support.h"

#include <QApplication>

#include "classlib/forms/application.h"
#include <QFile>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace TestSupport {

void InitApplication(QApplication* app)
{
    Q_UNUSED(app);
    TApplication::InitializeExisting();
}

void FinishApplication() { TApplication::Finalize(); }

QString TestDataDir() { return QStringLiteral(TV_TESTDATA_DIR); }
QString BinDir() { return QStringLiteral(TV_BIN_DIR); }
QString SourceDir() { return QStringLiteral(TV_SOURCE_DIR); }

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString MakeTempDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

namespace {
void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

void MousePress(QWidget* w, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    Send(w, QEvent::MouseButtonPress, pos, button, button, mods);
}

void MouseRelease(QWidget* w, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    Send(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, mods);
}

void MouseMove(QWidget* w, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    Send(w, QEvent::MouseMove, pos, Qt::NoButton, buttons, mods);
}

void MouseClick(QWidget* w, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    MousePress(w, pos, button, mods);
    MouseRelease(w, pos, button, mods);
}

void MouseDoubleClick(QWidget* w, QPoint pos)
{
    MousePress(w, pos);
    MouseRelease(w, pos);
    Send(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton, {});
    MouseRelease(w, pos);
}

namespace {
// One clock for every simulated pointer, well past the stamps of earlier input.
int gMouseClock = 1000000;
} // namespace

void TSystemMouse::Send(QWidget* w, QPoint pos, int type, Qt::MouseButton button, int gapMs)
{
    QWindow* window = w->window()->windowHandle();
    if (!window)
        return;
    gMouseClock += std::max(1, gapMs);
    const QPoint global = w->mapToGlobal(pos);
    qt_handleMouseEvent(window, QPointF(window->mapFromGlobal(global)), QPointF(global), FButtons, button,
                        static_cast<QEvent::Type>(type), Qt::NoModifier, gMouseClock);
    QCoreApplication::processEvents();
}

void TSystemMouse::Press(QWidget* w, QPoint pos, int gapMs, Qt::MouseButton button)
{
    FButtons |= button;
    Send(w, pos, QEvent::MouseButtonPress, button, gapMs);
}

void TSystemMouse::Release(QWidget* w, QPoint pos, int gapMs, Qt::MouseButton button)
{
    FButtons &= ~Qt::MouseButtons(button);
    Send(w, pos, QEvent::MouseButtonRelease, button, gapMs);
}

void TSystemMouse::Move(QWidget* w, QPoint pos, int gapMs) { Send(w, pos, QEvent::MouseMove, Qt::NoButton, gapMs); }

void TSystemMouse::Click(QWidget* w, QPoint pos, int gapMs, Qt::MouseButton button)
{
    Press(w, pos, gapMs, button);
    Release(w, pos, 20, button);
}

} // namespace TestSupport
