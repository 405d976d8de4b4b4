#include "platform/hooks.h"

#include "platform/menus_api.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSizeGrip>
#include <QThread>
#include <vector>

namespace {
struct THook {
    HHOOK Id;
    int Kind;
    THookProc Proc;
};

std::vector<THook>& Hooks()
{
    static std::vector<THook> hooks; // in order of installation
    return hooks;
}

HHOOK gNextHook = 1;

bool HasHooks(int kind)
{
    for (const THook& h : Hooks())
        if (h.Kind == kind)
            return true;
    return false;
}

// Calls the newest hook of a kind; it passes on with CallNextHookEx.
LRESULT CallHooks(int kind, int code, WPARAM w, LPARAM l)
{
    const std::vector<THook>& hooks = Hooks();
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if (it->Kind != kind)
            continue;
        THookProc proc = it->Proc; // the hook may unhook itself
        LRESULT r = 0;
        SafeCall([&] { r = proc(code, w, l); });
        return r;
    }
    return 0;
}

const char* const kCreated = "tvCbtCreated";
const char* const kMenuShown = "tvCbtMenuShown";
const char* const kSelectWatched = "tvMenuSelectWatched";

void ReportCreate(QWidget* w)
{
    CREATESTRUCT cs;
    const QRect g = w->frameGeometry();
    cs.x = g.x();
    cs.y = g.y();
    cs.cx = g.width();
    cs.cy = g.height();
    cs.style = static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE));
    cs.dwExStyle = static_cast<uint32_t>(GetWindowLong(w, GWL_EXSTYLE));
    cs.lpszClass = GetClassName(w);
    cs.lpszName = w->windowTitle();
    cs.hwndParent = GetParent(w);
    CBT_CREATEWND create;
    create.lpcs = &cs;
    CallHooks(WH_CBT, HCBT_CREATEWND, WParamOf(w), LParamOf(&create));
}

void ReportDestroy(QWidget* w) { CallHooks(WH_CBT, HCBT_DESTROYWND, WParamOf(w), 0); }

// Lives as a child of a reported window: its end is the window's.
class TDestroySentinel : public QObject {
public:
    explicit TDestroySentinel(QWidget* w) : QObject(w), FWindow(w) {}
    ~TDestroySentinel() override
    {
        // The window is being destroyed (its own class part is gone already).
        const bool menu = FWindow->property(kMenuShown).toBool();
        if (!qobject_cast<QMenu*>(FWindow) || menu)
            ReportDestroy(FWindow);
    }

private:
    QWidget* FWindow;
};

void SendMenuSelect(QMenu* menu, QAction* action)
{
    if (!HasHooks(WH_MSGFILTER))
        return;
    MSG msg;
    msg.hwnd = menu;
    msg.message = WM_MENUSELECT;
    if (action) {
        unsigned flags = MF_HILITE;
        unsigned id = MenuItemCommand(action);
        if (action->menu()) {
            flags |= MF_POPUP;
            id = static_cast<unsigned>(menu->actions().indexOf(action));
        }
        if (!action->isEnabled())
            flags |= MF_GRAYED | MF_DISABLED;
        if (action->isChecked())
            flags |= MF_CHECKED;
        if (action->isSeparator())
            flags |= MF_SEPARATOR;
        msg.wParam = (id & 0xFFFFu) | (static_cast<WPARAM>(flags) << 16);
        msg.lParam = LParamOf(menu);
    } else {
        msg.wParam = static_cast<WPARAM>(0xFFFFu) << 16;
        msg.lParam = 0;
    }
    const QPoint c = QCursor::pos();
    msg.ptX = c.x();
    msg.ptY = c.y();
    msg.time = GetTickCount();
    CallHooks(WH_MSGFILTER, MSGF_MENU, 0, LParamOf(&msg));
}

bool AnyOtherMenuOpen(const QMenu* closing)
{
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(t); m && m != closing && m->isVisible())
            return true;
    return false;
}

unsigned MouseMessage(QEvent::Type t, Qt::MouseButton b)
{
    const bool right = b == Qt::RightButton;
    switch (t) {
    case QEvent::MouseButtonPress:
        return right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    case QEvent::MouseButtonRelease:
        return right ? WM_RBUTTONUP : WM_LBUTTONUP;
    case QEvent::MouseButtonDblClick:
        return right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK;
    default:
        return WM_MOUSEMOVE;
    }
}

class THookFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::Show:
            if (HasHooks(WH_CBT) || HasHooks(WH_MSGFILTER))
                OnShowOrPolish(w, event->type() == QEvent::Show);
            if (event->type() == QEvent::Show && !event->spontaneous() && ActivatedByShowing(w))
                ReportActivate(w, false);
            return false;
        case QEvent::Hide:
            if (auto* menu = qobject_cast<QMenu*>(w))
                OnMenuHide(menu);
            return false;
        case QEvent::WindowActivate:
            // Qt's activation of a window whose showing reported it already
            // is that same activation.
            if (w->isWindow() && FActive != w)
                ReportActivate(w, QGuiApplication::mouseButtons() != Qt::NoButton);
            return false;
        case QEvent::WindowDeactivate:
            // Active again later (after another program had the keyboard), it is reported again.
            if (FActive == w)
                FActive = nullptr;
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible() && HasHooks(WH_MSGFILTER))
                return FilterMenuInput(menu, event);
            return false;
        default:
            return false;
        }
    }

private:
    // A window that is shown is activated before it is painted, as the
    // platform's showing does: its activation is reported while it is shown,
    // before its native window is mapped (Qt sends the show event first), so
    // that what the hook does to the window (a skinned frame, for one) is in
    // place for its first paint.
    static bool ActivatedByShowing(const QWidget* w)
    {
        if (!w->isWindow() || qobject_cast<const QMenu*>(w) || w->testAttribute(Qt::WA_ShowWithoutActivating) ||
            w->testAttribute(Qt::WA_DontShowOnScreen) || (w->windowFlags() & Qt::WindowDoesNotAcceptFocus))
            return false;
        switch (w->windowType()) {
        case Qt::Window:
        case Qt::Dialog:
        case Qt::Sheet:
        case Qt::Tool:
            return true;
        default:
            return false;
        }
    }

    void ReportActivate(QWidget* w, bool mouse)
    {
        CBTACTIVATESTRUCT act;
        act.fMouse = mouse;
        act.hWndActive = FActive && FActive != w ? FActive.data() : nullptr;
        FActive = w;
        if (HasHooks(WH_CBT))
            CallHooks(WH_CBT, HCBT_ACTIVATE, WParamOf(w), LParamOf(&act));
    }

    void OnShowOrPolish(QWidget* w, bool show)
    {
        // Of the child windows only size grips are reported (a skinned form
        // takes them over).
        if (!w->isWindow() && qobject_cast<QSizeGrip*>(w)) {
            if (!w->property(kCreated).toBool() && HasHooks(WH_CBT)) {
                w->setProperty(kCreated, true);
                new TDestroySentinel(w);
                ReportCreate(w);
            }
            return;
        }
        if (!w->isWindow() || w->windowType() == Qt::Desktop)
            return;
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            if (!show)
                return;
            if (!menu->property(kSelectWatched).toBool()) {
                menu->setProperty(kSelectWatched, true);
                QObject::connect(menu, &QMenu::hovered, menu, [menu](QAction* a) { SendMenuSelect(menu, a); });
                new TDestroySentinel(menu);
            }
            if (!menu->property(kMenuShown).toBool()) {
                menu->setProperty(kMenuShown, true);
                if (HasHooks(WH_CBT))
                    ReportCreate(menu);
            }
            return;
        }
        if (w->property(kCreated).toBool() || !HasHooks(WH_CBT))
            return;
        w->setProperty(kCreated, true);
        new TDestroySentinel(w);
        ReportCreate(w);
    }

    static void OnMenuHide(QMenu* menu)
    {
        if (!menu->property(kMenuShown).toBool())
            return;
        menu->setProperty(kMenuShown, false);
        if (!AnyOtherMenuOpen(menu))
            SendMenuSelect(menu, nullptr);
        ReportDestroy(menu);
    }

    static bool FilterMenuInput(QMenu* menu, QEvent* event)
    {
        MSG msg;
        msg.hwnd = menu;
        msg.time = GetTickCount();
        if (auto* ke = dynamic_cast<QKeyEvent*>(event)) {
            const bool alt = ke->modifiers() & Qt::AltModifier;
            const bool down = event->type() == QEvent::KeyPress;
            msg.message = down ? (alt || ke->key() == Qt::Key_Alt ? WM_SYSKEYDOWN : WM_KEYDOWN)
                               : (alt || ke->key() == Qt::Key_Alt ? WM_SYSKEYUP : WM_KEYUP);
            msg.wParam = static_cast<WPARAM>(QtKeyToVirtualKey(ke->key()));
            const QPoint c = QCursor::pos();
            msg.ptX = c.x();
            msg.ptY = c.y();
        } else {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint g = me->globalPosition().toPoint();
            msg.message = MouseMessage(event->type(), me->button());
            msg.lParam = MakeLParam(g.x(), g.y());
            msg.ptX = g.x();
            msg.ptY = g.y();
        }
        return CallHooks(WH_MSGFILTER, MSGF_MENU, 0, LParamOf(&msg)) != 0;
    }

    QPointer<QWidget> FActive;
};

THookFilter* gFilter = nullptr;

void UpdateFilter()
{
    const bool want = !Hooks().empty();
    if (want && !gFilter && qApp) {
        gFilter = new THookFilter;
        qApp->installEventFilter(gFilter);
    } else if (!want && gFilter) {
        if (qApp)
            qApp->removeEventFilter(gFilter);
        // The last hook may be removed from inside a hook procedure, while the
        // filter still runs.
        gFilter->deleteLater();
        gFilter = nullptr;
    }
}
} // namespace

HHOOK SetWindowsHookEx(int idHook, THookProc proc, void*, unsigned)
{
    if ((idHook != WH_CBT && idHook != WH_MSGFILTER) || !proc || !qApp)
        return 0;
    const HHOOK id = gNextHook++;
    Hooks().push_back(THook{id, idHook, std::move(proc)});
    UpdateFilter();
    return id;
}

bool UnhookWindowsHookEx(HHOOK hook)
{
    std::vector<THook>& hooks = Hooks();
    for (auto it = hooks.begin(); it != hooks.end(); ++it) {
        if (it->Id == hook) {
            hooks.erase(it);
            UpdateFilter();
            return true;
        }
    }
    return false;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    const std::vector<THook>& hooks = Hooks();
    int kind = 0;
    auto self = hooks.end();
    for (auto it = hooks.begin(); it != hooks.end(); ++it)
        if (it->Id == hook) {
            self = it;
            kind = it->Kind;
        }
    if (self == hooks.end())
        return 0;
    for (auto it = std::make_reverse_iterator(self); it != hooks.rend(); ++it) {
        if (it->Kind != kind)
            continue;
        THookProc proc = it->Proc;
        LRESULT r = 0;
        SafeCall([&] { r = proc(code, wParam, lParam); });
        return r;
    }
    return 0;
}

unsigned GetCurrentThreadId()
{
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(QThread::currentThreadId()) & 0xFFFFFFFFu);
}
