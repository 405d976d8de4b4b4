#include "platform/window_proc.h"

#include "platform/button_messages.h"
#include "platform/non_client.h"
#include "platform/scroll_info.h"
#include "platform/window_extra.h"
#include "platform/window_info.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QWheelEvent>
#include <cstdio>

namespace {
const char* const kBridgeProperty = "tvWindowBridge";
const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TPostedMessage : public QEvent {
public:
    explicit TPostedMessage(const TMessage& m) : QEvent(kPostedMessageEvent), Message(m) {}
    TMessage Message;
};

std::function<void(std::exception_ptr)> gErrorHandler;

WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM w = 0;
    if (buttons & Qt::LeftButton)
        w |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        w |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        w |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        w |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        w |= MK_CONTROL;
    return w;
}
} // namespace

int QtKeyToVirtualKey(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return VK_F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

int VirtualKeyToQtKey(int vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12)
        return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_PRIOR:
        return Qt::Key_PageUp;
    case VK_NEXT:
        return Qt::Key_PageDown;
    case VK_END:
        return Qt::Key_End;
    case VK_HOME:
        return Qt::Key_Home;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_UP:
        return Qt::Key_Up;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_DOWN:
        return Qt::Key_Down;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    default:
        return 0;
    }
}

bool TranslateEvent(HWND window, QEvent* event, TMessage& m)
{
    m = TMessage();
    m.Event = event;
    switch (event->type()) {
    case QEvent::Paint:
        m.Msg = WM_PAINT;
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        m.LParam = MakeLParam(p.x(), p.y());
        m.WParam = KeyState(me->buttons(), me->modifiers());
        const Qt::MouseButton b = me->button();
        if (event->type() == QEvent::MouseMove) {
            m.Msg = WM_MOUSEMOVE;
        } else if (event->type() == QEvent::MouseButtonPress) {
            m.Msg = b == Qt::RightButton ? WM_RBUTTONDOWN : b == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m.Msg = b == Qt::RightButton ? WM_RBUTTONUP : b == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
        } else {
            m.Msg = b == Qt::RightButton ? WM_RBUTTONDBLCLK : b == Qt::MiddleButton ? WM_MBUTTONDBLCLK : WM_LBUTTONDBLCLK;
        }
        return true;
    }
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(event);
        m.Msg = WM_MOUSEWHEEL;
        const QPoint g = we->globalPosition().toPoint();
        m.LParam = MakeLParam(g.x(), g.y());
        m.WParam = (KeyState(we->buttons(), we->modifiers()) & 0xFFFF) |
                   (static_cast<WPARAM>(static_cast<uint16_t>(we->angleDelta().y())) << 16);
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(event);
        const bool alt = ke->modifiers() & Qt::AltModifier;
        if (event->type() == QEvent::KeyPress)
            m.Msg = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        else
            m.Msg = alt ? WM_SYSKEYUP : WM_KEYUP;
        m.WParam = static_cast<WPARAM>(QtKeyToVirtualKey(ke->key()));
        m.LParam = ke->isAutoRepeat() ? (1 << 30) : 0;
        return true;
    }
    case QEvent::Resize: {
        auto* re = static_cast<QResizeEvent*>(event);
        m.Msg = WM_SIZE;
        m.LParam = MakeLParam(re->size().width(), re->size().height());
        if (window && window->isWindow()) {
            // A window tells its client size and how it is shown.
            const QRect client = ClientRectOf(window);
            m.LParam = MakeLParam(client.width(), client.height());
            m.WParam = IsIconic(window) ? SIZE_MINIMIZED : IsZoomed(window) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        }
        return true;
    }
    case QEvent::WindowStateChange: {
        // Minimising and maximising by the window manager come as a size message too.
        if (!window || !window->isWindow())
            return false;
        const QRect client = ClientRectOf(window);
        m.Msg = WM_SIZE;
        m.LParam = MakeLParam(client.width(), client.height());
        m.WParam = IsIconic(window) ? SIZE_MINIMIZED : IsZoomed(window) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        return true;
    }
    case QEvent::Move: {
        auto* me = static_cast<QMoveEvent*>(event);
        m.Msg = WM_MOVE;
        m.LParam = MakeLParam(me->pos().x(), me->pos().y());
        return true;
    }
    case QEvent::Enter:
        m.Msg = CM_MOUSEENTER;
        return true;
    case QEvent::Leave:
    // A modal window over this one has the mouse from now on, and Qt passes a
    // blocked window no leave: without this, what was lit under the pointer
    // (a tool button that opened a dialog) would stay lit after the dialog.
    case QEvent::WindowBlocked:
        m.Msg = CM_MOUSELEAVE;
        return true;
    case QEvent::FocusIn:
        m.Msg = WM_SETFOCUS;
        return true;
    case QEvent::FocusOut:
        m.Msg = WM_KILLFOCUS;
        return true;
    case QEvent::Show:
    case QEvent::Hide:
        m.Msg = WM_SHOWWINDOW;
        m.WParam = event->type() == QEvent::Show ? 1 : 0;
        return true;
    case QEvent::Close:
        m.Msg = WM_CLOSE;
        return true;
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(event);
        m.Msg = WM_CONTEXTMENU;
        m.LParam = MakeLParam(ce->globalPos().x(), ce->globalPos().y());
        return true;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        m.Msg = WM_ACTIVATE;
        m.WParam = event->type() == QEvent::WindowActivate ? 1 : 0;
        return true;
    case QEvent::EnabledChange:
        m.Msg = WM_ENABLE;
        m.WParam = window && window->isEnabled() ? 1 : 0;
        return true;
    default:
        return false;
    }
}

// One procedure of a window's chain. A removed node keeps its link down so a
// saved reference to it still leads to a live procedure.
struct TProcNode {
    TWndProc Proc;
    std::shared_ptr<TProcNode> Next; // the procedure this one replaced
    bool Removed = false;
    const TWindowBridge* Owner = nullptr;
};

namespace {
// Opens the scroll area's handling of its viewport's events.
class TViewportAccess : public QAbstractScrollArea {
public:
    using QAbstractScrollArea::viewportEvent;
};

// The widget's own handling of an event it got. A scroll area handles its
// viewport's events and its scrolled widget's resizes in filters of its own,
// which the bridge (a filter too) would otherwise pass by: the item views of a
// dialog would stay blank, a scroll box would keep its old scroll range.
bool NativeEvent(QWidget* w, QEvent* e)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget()); area && area->viewport() == w) {
        bool (QAbstractScrollArea::*viewportEvent)(QEvent*) = &TViewportAccess::viewportEvent;
        if ((area->*viewportEvent)(e))
            return true;
    }
    if (QScrollArea* area = ScrollAreaOf(w); area && static_cast<QObject*>(area)->eventFilter(w, e))
        return true;
    // QWidget::event is protected; through QObject it is the widget's own handling.
    return static_cast<QObject*>(w)->event(e);
}

std::shared_ptr<TProcNode> LiveNode(std::shared_ptr<TProcNode> n)
{
    while (n && n->Removed)
        n = n->Next;
    return n;
}

// A procedure value that stands for a node of a chain.
struct TProcRef {
    std::shared_ptr<TProcNode> Node;
    void operator()(TMessage& m) const
    {
        if (std::shared_ptr<TProcNode> n = LiveNode(Node))
            if (n->Proc)
                n->Proc(m);
    }
};
} // namespace

TWindowBridge::TWindowBridge(HWND window) : QObject(window), FWindow(window)
{
    FBottom = std::make_shared<TProcNode>();
    FBottom->Owner = this;
    // The bottom node calls whatever the window's own procedure is now; it
    // must not outlive the bridge's use.
    QPointer<TWindowBridge> self(this);
    FBottom->Proc = [self](TMessage& m) {
        if (self && self->FProc)
            self->FProc(m);
    };
    FTop = FBottom;
    ResetProc();
    window->setProperty(kBridgeProperty, QVariant::fromValue(static_cast<void*>(this)));
    window->installEventFilter(this);
}

TWindowBridge* TWindowBridge::Of(HWND window, bool create)
{
    if (!window)
        return nullptr;
    // Found through the property also while the bridge itself is being
    // destroyed (a subclasser unsubclassing in WM_NCDESTROY).
    auto* existing = static_cast<TWindowBridge*>(window->property(kBridgeProperty).value<void*>());
    if (existing || !create)
        return existing;
    return new TWindowBridge(window);
}

TWndProc TWindowBridge::SetProc(TWndProc proc)
{
    TWndProc old = FProc;
    FProc = std::move(proc);
    FNativeOnly = false;
    return old;
}

void TWindowBridge::ResetProc()
{
    QPointer<TWindowBridge> self(this);
    FProc = [self](TMessage& m) {
        if (self)
            self->CallNative(m);
    };
    FNativeOnly = true;
}

TWndProc TWindowBridge::Current() const { return TProcRef{FTop}; }

int TWindowBridge::SubclassCount() const
{
    int n = 0;
    for (std::shared_ptr<TProcNode> p = FTop; p && p != FBottom; p = p->Next)
        ++n;
    return n;
}

TWndProc TWindowBridge::Subclass(TWndProc proc)
{
    if (const TProcRef* ref = proc.target<TProcRef>(); ref && ref->Node && ref->Node->Owner == this) {
        // Restoring a saved procedure: the node installed right above it leaves.
        std::shared_ptr<TProcNode> target = LiveNode(ref->Node);
        if (!target || target == FTop)
            return TProcRef{FTop};
        std::shared_ptr<TProcNode> above;
        for (std::shared_ptr<TProcNode> p = FTop; p; p = p->Next) {
            if (p->Next == target) {
                above = p;
                break;
            }
        }
        if (!above)
            return TProcRef{FTop};
        TWndProc removed = TProcRef{above};
        above->Removed = true;
        if (above == FTop) {
            FTop = target;
        } else {
            for (std::shared_ptr<TProcNode> p = FTop; p; p = p->Next)
                if (p->Next == above) {
                    p->Next = target;
                    break;
                }
        }
        // A later call through a reference to the removed node goes on down.
        return removed;
    }
    auto node = std::make_shared<TProcNode>();
    node->Proc = std::move(proc);
    node->Next = FTop;
    node->Owner = this;
    TWndProc previous = TProcRef{FTop};
    FTop = node;
    PrepareSubclassedMenu(FWindow);
    return previous;
}

LRESULT TWindowBridge::Dispatch(TMessage& message)
{
    // Hold the chain while it runs: a procedure may unsubclass itself.
    std::shared_ptr<TProcNode> top = FTop;
    TProcRef{top}(message);
    return message.Result;
}

void TWindowBridge::CallNative(TMessage& m)
{
    QWidget* w = FWindow;
    if (!w)
        return;
    if (m.Event && m.Event != FNativeEvent) {
        QEvent* saved = FNativeEvent;
        FNativeEvent = m.Event;
        const bool handled = NativeEvent(w, m.Event);
        FNativeEvent = saved;
        m.Result = handled ? 1 : 0;
        return;
    }
    if (m.Event)
        return; // already inside this event's native handling
    if (DefNonClientProc(w, m) || DefScrollProc(w, m) || DefButtonProc(w, m))
        return;
    switch (m.Msg) {
    case WM_PAINT:
        w->update();
        break;
    case WM_CLOSE:
        w->close();
        break;
    case WM_SETREDRAW:
        w->setUpdatesEnabled(m.WParam != 0);
        break;
    case WM_PRINT:
    case WM_PRINTCLIENT:
        // wParam: a painter; the window draws itself (and its children) into it.
        if (m.WParam) {
            auto* painter = reinterpret_cast<QPainter*>(m.WParam);
            const QRect client = ClientRectOf(w);
            if (m.Msg == WM_PRINTCLIENT)
                w->render(painter, QPoint(), QRegion(client), QWidget::DrawWindowBackground);
            else
                w->render(painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
            m.Result = 1;
        }
        break;
    case WM_ERASEBKGND:
        // A popup menu's panel is filled here; other windows Qt has erased already.
        NativeEraseBackground(w, reinterpret_cast<QPainter*>(m.WParam));
        m.Result = 1;
        break;
    case WM_SETTEXT:
        if (m.LParam)
            SetWindowText(w, *reinterpret_cast<const QString*>(m.LParam));
        m.Result = 1;
        break;
    case WM_GETTEXT:
        if (m.LParam) {
            QString text = GetWindowText(w);
            if (m.WParam > 0 && static_cast<WPARAM>(text.size()) >= m.WParam)
                text.truncate(static_cast<qsizetype>(m.WParam) - 1);
            *reinterpret_cast<QString*>(m.LParam) = text;
            m.Result = text.size();
        }
        break;
    case WM_GETTEXTLENGTH:
        m.Result = GetWindowTextLength(w);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        // A sent or posted key acts as the key itself.
        const bool down = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN;
        const int key = VirtualKeyToQtKey(static_cast<int>(m.WParam));
        if (!key)
            break;
        const Qt::KeyboardModifiers mods = (m.Msg == WM_SYSKEYDOWN || m.Msg == WM_SYSKEYUP) ? Qt::AltModifier : Qt::NoModifier;
        QKeyEvent ke(down ? QEvent::KeyPress : QEvent::KeyRelease, key, mods);
        QEvent* saved = FNativeEvent;
        FNativeEvent = &ke;
        static_cast<QObject*>(w)->event(&ke);
        FNativeEvent = saved;
        break;
    }
    case WM_CHAR: {
        const QString text(QChar(static_cast<char16_t>(m.WParam)));
        QKeyEvent ke(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QEvent* saved = FNativeEvent;
        FNativeEvent = &ke;
        static_cast<QObject*>(w)->event(&ke);
        FNativeEvent = saved;
        break;
    }
    default:
        break;
    }
}

TWindowBridge::~TWindowBridge()
{
    // Subclassers learn that the window goes (their last chance to unsubclass).
    if (FWindow && FTop != FBottom) {
        TMessage destroy;
        destroy.Msg = WM_DESTROY;
        SafeCall([&] { Dispatch(destroy); });
        TMessage ncDestroy;
        ncDestroy.Msg = WM_NCDESTROY;
        SafeCall([&] { Dispatch(ncDestroy); });
    }
    FBottom->Proc = nullptr;
    FProc = nullptr;
    if (FWindow)
        FWindow->setProperty(kBridgeProperty, QVariant());
}

bool TWindowBridge::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FWindow)
        return false;
    if (event->type() == kPostedMessageEvent) {
        TMessage m = static_cast<TPostedMessage*>(event)->Message;
        SafeCall([&] { Dispatch(m); });
        return true;
    }
    if (event == FNativeEvent)
        return false; // the procedure asked for the native handling
    const QPointer<TWindowBridge> self(this);
    if (TNonClientArea::BeforeEvent(this, event))
        return true;
    if (!self || !FWindow)
        return true;
    // Nobody listens: Qt delivers the event as if there were no bridge, through
    // the filters installed before it (a scroll area paints its viewport in one).
    if (FNativeOnly && FTop == FBottom)
        return false;
    TMessage m;
    if (!TranslateEvent(FWindow, event, m))
        return false;
    if (event->type() == QEvent::Paint && FTop != FBottom && !IsPopupMenuWindow(FWindow)) {
        // A subclasser may paint the background first (over Qt's fill); a
        // popup menu asks it from its style in place of the panel fill.
        QPainter painter(FWindow);
        TMessage erase;
        erase.Msg = WM_ERASEBKGND;
        erase.WParam = WParamOf(&painter);
        SafeCall([&] { Dispatch(erase); });
        if (!self || !FWindow)
            return true;
    }
    SafeCall([&] { Dispatch(m); });
    if (event->type() == QEvent::Paint && self)
        TNonClientArea::AfterPaint(this, static_cast<QPaintEvent*>(event)->region());
    else if (event->type() == QEvent::Resize && self)
        TNonClientArea::AfterResize(this);
    return true;
}

LRESULT SendMessage(HWND window, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    TWindowBridge* b = TWindowBridge::Of(window);
    if (!b)
        return 0;
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    return b->Dispatch(m);
}

bool PostMessage(HWND window, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    if (!window)
        return false;
    TWindowBridge::Of(window);
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    QCoreApplication::postEvent(window, new TPostedMessage(m));
    return true;
}

TWndProc GetWindowProc(HWND window)
{
    TWindowBridge* b = TWindowBridge::Of(window);
    return b ? b->Current() : TWndProc();
}

TWndProc SetWindowProc(HWND window, TWndProc proc)
{
    TWindowBridge* b = TWindowBridge::Of(window);
    return b ? b->Subclass(std::move(proc)) : TWndProc();
}

LRESULT CallWindowProc(const TWndProc& proc, TMessage& message)
{
    if (proc)
        proc(message);
    return message.Result;
}

LRESULT CallWindowProc(const TWndProc& proc, HWND, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    return CallWindowProc(proc, m);
}

void DefWindowProc(HWND window, TMessage& message)
{
    if (TWindowBridge* b = TWindowBridge::Of(window))
        b->CallNative(message);
}

void SetWindowProcErrorHandler(std::function<void(std::exception_ptr)> handler) { gErrorHandler = std::move(handler); }

void ReportWindowProcError(std::exception_ptr error)
{
    if (gErrorHandler) {
        gErrorHandler(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unknown error\n");
    }
}

void SafeCall(const std::function<void()>& f)
{
    try {
        f();
    } catch (...) {
        ReportWindowProcError(std::current_exception());
    }
}
