#include "test_support.h"

#include <QApplication>

#include "classlib/forms/application.h"
#include <QFile>
#include <QMouseEvent>
#include <QWidget>
#include <QTemporaryDir>
#include <memory>
#include <vector>

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

} // namespace TestSupport
