#include "platform/system_keys.h"

#include "platform/messages.h"
#include "platform/non_client.h"
#include "platform/window_proc.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {
class TSystemKeys : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        // A key reaches the QWindow first, then the widgets: only the widgets count.
        if (!o->isWidgetType() || e->type() != QEvent::KeyPress)
            return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() != Qt::Key_Space || ke->modifiers() != Qt::AltModifier)
            return false;
        HWND window = Target(o);
        if (!window)
            return false;
        SafeCall([&] { SendMessage(window, WM_SYSCOMMAND, SC_KEYMENU, ' '); });
        return true;
    }

private:
    // The skinned window the key belongs to, while no popup has the keyboard.
    static HWND Target(QObject* receiver)
    {
        auto* w = qobject_cast<QWidget*>(receiver);
        if (!w || QApplication::activePopupWidget())
            return nullptr;
        QWidget* window = w->window();
        if (window != QApplication::activeWindow() || !IsSkinnedFrame(window) || !TWindowBridge::Of(window, false))
            return nullptr;
        return window;
    }
};

QPointer<TSystemKeys> gSystemKeys;
} // namespace

void InstallSystemKeys()
{
    if (gSystemKeys || !qApp)
        return;
    gSystemKeys = new TSystemKeys;
    gSystemKeys->setParent(qApp);
    qApp->installEventFilter(gSystemKeys);
}
