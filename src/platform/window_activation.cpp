#include "platform/window_activation.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {
constexpr int kAskAgainMs = 250;

// Windows that never hold the keyboard for long: menus, drop-down lists,
// hints and the like come and go without handing anything back.
bool Counts(const QWidget* w)
{
    if (!w->isWindow() || w->testAttribute(Qt::WA_DontShowOnScreen))
        return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return !(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    }
}

class TActivationReturn : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if ((t != QEvent::WindowActivate && t != QEvent::Show && t != QEvent::Hide) || !o->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(o);
        if (!Counts(w))
            return false;
        if (t == QEvent::WindowActivate && !w->isVisible())
            Misplaced(w);
        else if (t == QEvent::WindowActivate)
            ToFront(w);
        // A window shown by the program asks for the keyboard; its activation
        // comes later (from the window system) or, when it closes at once, never.
        else if (t == QEvent::Show && !e->spontaneous() && !w->testAttribute(Qt::WA_ShowWithoutActivating))
            ToFront(w);
        else if (t == QEvent::Hide && !e->spontaneous())
            Hidden(w);
        return false;
    }

private:
    void ToFront(QWidget* w)
    {
        Forget(w);
        FOrder.insert(FOrder.begin(), w);
    }

    void Forget(const QWidget* w)
    {
        FOrder.erase(std::remove_if(FOrder.begin(), FOrder.end(),
                                    [w](const QPointer<QWidget>& p) { return !p || p == w; }),
                     FOrder.end());
    }

    void Hidden(QWidget* w)
    {
        const bool hadKeyboard = QApplication::activeWindow() == w || (!FOrder.empty() && FOrder.front() == w);
        Forget(w);
        if (!hadKeyboard)
            return;
        QWidget* next = Next(w);
        if (!next)
            return;
        next->activateWindow();
        // A window manager may turn the request down while the hidden window
        // still has its focus, and then give the focus to nobody once that
        // window is gone: ask again when it has seen the window go.
        QTimer::singleShot(kAskAgainMs, this, [this, again = QPointer<QWidget>(next)] {
            const QWidget* active = QApplication::activeWindow();
            if (again && (!active || !active->isVisible()) && again->isVisible() && !FOrder.empty() &&
                FOrder.front() == again)
                again->activateWindow();
        });
    }

    // The window system's activation of a window that has gone meanwhile (a
    // progress window shown and hidden before the window manager got to it):
    // the keys would go to a window nobody sees.
    void Misplaced(QWidget* w)
    {
        Forget(w);
        if (QWidget* next = Next(w))
            next->activateWindow();
    }

    // The window that had the keyboard last and can take it now: shown, not
    // minimized, and not shut out by a modal window.
    QWidget* Next(const QWidget* hidden) const
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == hidden || (modal && !modal->isVisible()))
            modal = nullptr;
        for (const QPointer<QWidget>& p : FOrder) {
            QWidget* w = p.data();
            if (!w || !w->isVisible() || w->isMinimized() || !w->isEnabled())
                continue;
            if (modal && w != modal && !modal->isAncestorOf(w))
                continue;
            return w;
        }
        return nullptr;
    }

    std::vector<QPointer<QWidget>> FOrder; // last activated first
};

QPointer<TActivationReturn> gActivationReturn;
} // namespace

void InstallActivationReturn()
{
    if (gActivationReturn || !qApp)
        return;
    gActivationReturn = new TActivationReturn;
    gActivationReturn->setParent(qApp);
    qApp->installEventFilter(gActivationReturn);
}
