#include "platform/window_info.h"

#include "platform/non_client.h"
#include "platform/window_extra.h"
#include "platform/window_proc.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSlider>
#include <QStatusBar>
#include <QStyleHints>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

namespace {
std::function<QString(HWND)>& ClassNameResolver()
{
    static std::function<QString(HWND)> resolver;
    return resolver;
}

QString OurClassName(HWND w)
{
    const auto& r = ClassNameResolver();
    return r ? r(w) : QString();
}

// Bits that always come from the widget itself, whatever was written.
constexpr uint32_t kLiveStyle = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | WS_CHILD;

const QElapsedTimer& StartTimer()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}
const bool kTimerStarted = (StartTimer(), true);

// Where the frame lies around the widget (window-manager decoration).
// A frameless window has no frame, whatever the platform plugin reports
// (offscreen reports a made-up one).
bool Frameless(HWND w)
{
    const Qt::WindowType type = w->windowType();
    return (w->windowFlags() & Qt::FramelessWindowHint) || type == Qt::Popup || type == Qt::ToolTip;
}

QMargins FrameMargins(HWND w)
{
    if (!w->isWindow() || Frameless(w))
        return QMargins();
    const QRect f = w->frameGeometry();
    const QRect g = w->geometry();
    return QMargins(std::max(0, g.left() - f.left()), std::max(0, g.top() - f.top()), std::max(0, f.right() - g.right()),
                    std::max(0, f.bottom() - g.bottom()));
}

bool WidgetShown(HWND w) { return w->isWindow() ? w->isVisible() : !w->isHidden(); }
} // namespace

HINSTANCE HInstance() { return kProgramInstance; }

void SetClassNameResolver(std::function<QString(HWND)> resolver) { ClassNameResolver() = std::move(resolver); }

bool IsTopLevelWindow(HWND w) { return w && w->isWindow(); }

bool IsPopupMenuWindow(HWND w) { return qobject_cast<QMenu*>(w) != nullptr; }

QString GetClassName(HWND w)
{
    if (!w)
        return QString();
    const QString ours = OurClassName(w);
    if (!ours.isEmpty())
        return ours;
    if (qobject_cast<QMenu*>(w))
        return QStringLiteral("#32768");
    if (w->isWindow() && qobject_cast<QDialog*>(w))
        return QStringLiteral("#32770");
    if (qobject_cast<QMdiArea*>(w))
        return QStringLiteral("MDIClient");
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w))
        return QStringLiteral("button");
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
        return QStringLiteral("edit");
    if (qobject_cast<QComboBox*>(w))
        return QStringLiteral("combobox");
    if (qobject_cast<QHeaderView*>(w))
        return QStringLiteral("SysHeader32");
    if (qobject_cast<QListView*>(w))
        return QStringLiteral("listbox");
    if (qobject_cast<QTreeView*>(w))
        return QStringLiteral("SysTreeView32");
    if (qobject_cast<QTableView*>(w))
        return QStringLiteral("SysListView32");
    if (qobject_cast<QScrollBar*>(w) || qobject_cast<QSizeGrip*>(w))
        return QStringLiteral("scrollbar");
    if (qobject_cast<QTabBar*>(w) || qobject_cast<QTabWidget*>(w))
        return QStringLiteral("systabcontrol32");
    if (qobject_cast<QProgressBar*>(w))
        return QStringLiteral("msctls_progress32");
    if (qobject_cast<QSlider*>(w))
        return QStringLiteral("msctls_trackbar32");
    if (qobject_cast<QAbstractSpinBox*>(w))
        return QStringLiteral("msctls_updown32");
    if (qobject_cast<QLabel*>(w))
        return QStringLiteral("static");
    if (qobject_cast<QStatusBar*>(w))
        return QStringLiteral("msctls_statusbar32");
    if (qobject_cast<QToolBar*>(w))
        return QStringLiteral("ToolbarWindow32");
    return QString::fromLatin1(w->metaObject()->className());
}

Qt::WindowFlags LogicalWindowFlags(HWND w)
{
    if (TWindowExtra* x = TWindowExtra::Of(w, false); x && x->FramelessApplied)
        return x->SavedFlags;
    return w->windowFlags();
}

uint32_t ComputedStyle(HWND w)
{
    if (!w)
        return 0;
    uint32_t s = 0;
    if (WidgetShown(w))
        s |= WS_VISIBLE;
    if (w->testAttribute(Qt::WA_ForceDisabled))
        s |= WS_DISABLED;
    if (w->isWindow()) {
        const Qt::WindowFlags f = LogicalWindowFlags(w);
        const Qt::WindowType type = static_cast<Qt::WindowType>(int(f & Qt::WindowType_Mask));
        if (w->isMinimized())
            s |= WS_MINIMIZE;
        if (IsZoomed(w))
            s |= WS_MAXIMIZE;
        const bool popupKind = type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen;
        if (popupKind || (f & Qt::FramelessWindowHint)) {
            s |= WS_POPUP;
            if (qobject_cast<QMenu*>(w))
                s |= WS_BORDER;
        } else {
            const Qt::WindowFlags hints = Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
            Qt::WindowFlags h = f & hints;
            if (!h && !(f & Qt::CustomizeWindowHint)) {
                // Qt's default decoration of the kind.
                h = Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
                if (type == Qt::Window)
                    h |= Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
            }
            if (h & Qt::WindowTitleHint)
                s |= WS_CAPTION;
            if (h & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint))
                s |= WS_SYSMENU;
            if (h & Qt::WindowMinimizeButtonHint)
                s |= WS_MINIMIZEBOX;
            if (h & Qt::WindowMaximizeButtonHint)
                s |= WS_MAXIMIZEBOX;
            const bool fixed = w->minimumSize() == w->maximumSize() || qobject_cast<QMessageBox*>(w);
            if (!fixed)
                s |= WS_THICKFRAME;
            if (qobject_cast<QDialog*>(w) && fixed)
                s |= DS_MODALFRAME;
        }
    } else {
        s |= WS_CHILD;
        if (w->focusPolicy() & Qt::TabFocus)
            s |= WS_TABSTOP;
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
            if (area->verticalScrollBar() && area->verticalScrollBar()->isVisibleTo(w))
                s |= WS_VSCROLL;
            if (area->horizontalScrollBar() && area->horizontalScrollBar()->isVisibleTo(w))
                s |= WS_HSCROLL;
        }
        if (auto* pb = qobject_cast<QPushButton*>(w)) {
            s |= pb->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            if (pb->isFlat())
                s |= BS_FLAT;
        } else if (auto* cb = qobject_cast<QCheckBox*>(w)) {
            s |= cb->isTristate() ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
        } else if (qobject_cast<QRadioButton*>(w)) {
            s |= BS_AUTORADIOBUTTON;
        } else if (auto* tb = qobject_cast<QToolButton*>(w)) {
            s |= BS_PUSHBUTTON;
            if (tb->autoRaise())
                s |= BS_FLAT;
        } else if (qobject_cast<QGroupBox*>(w)) {
            s |= BS_GROUPBOX;
        } else if (auto* sb = qobject_cast<QScrollBar*>(w)) {
            s |= sb->orientation() == Qt::Vertical ? SBS_VERT : SBS_HORZ;
        } else if (qobject_cast<QSizeGrip*>(w)) {
            s |= SBS_SIZEGRIP;
        } else if (auto* le = qobject_cast<QLineEdit*>(w)) {
            if (le->isReadOnly())
                s |= ES_READONLY;
        } else if (auto* te = qobject_cast<QTextEdit*>(w)) {
            s |= ES_MULTILINE;
            if (te->isReadOnly())
                s |= ES_READONLY;
        } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
            s |= ES_MULTILINE;
            if (pe->isReadOnly())
                s |= ES_READONLY;
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            s |= combo->isEditable() ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
        }
        // A button that shows only its icon is a picture button.
        if (auto* ab = qobject_cast<QAbstractButton*>(w); ab && !ab->icon().isNull()) {
            auto* tool = qobject_cast<QToolButton*>(w);
            if (ab->text().isEmpty() || (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
                s |= BS_BITMAP;
        }
    }
    const QVariant base = w->property("tvStyle");
    if (base.isValid())
        s = (s & kLiveStyle) | (static_cast<uint32_t>(base.toUInt()) & ~kLiveStyle);
    return s;
}

uint32_t ComputedExStyle(HWND w)
{
    if (!w)
        return 0;
    uint32_t s = 0;
    if (w->isWindow()) {
        const Qt::WindowFlags f = LogicalWindowFlags(w);
        const Qt::WindowType type = static_cast<Qt::WindowType>(int(f & Qt::WindowType_Mask));
        if (type == Qt::Tool)
            s |= WS_EX_TOOLWINDOW;
        if (f & Qt::WindowStaysOnTopHint)
            s |= WS_EX_TOPMOST;
        if (qobject_cast<QDialog*>(w) && (ComputedStyle(w) & DS_MODALFRAME))
            s |= WS_EX_DLGMODALFRAME;
        s |= WS_EX_WINDOWEDGE;
    } else {
        if (qobject_cast<QMdiSubWindow*>(w))
            s |= WS_EX_MDICHILD;
        if (auto* frame = qobject_cast<QFrame*>(w); frame && frame->frameShape() != QFrame::NoFrame &&
                                                    (qobject_cast<QAbstractScrollArea*>(w) != nullptr))
            s |= WS_EX_CLIENTEDGE;
        if (auto* le = qobject_cast<QLineEdit*>(w); le && le->hasFrame())
            s |= WS_EX_CLIENTEDGE;
    }
    if (w->layoutDirection() == Qt::RightToLeft)
        s |= WS_EX_LAYOUTRTL | WS_EX_RTLREADING;
    const QVariant base = w->property("tvExStyle");
    if (base.isValid())
        s = static_cast<uint32_t>(base.toUInt());
    return s;
}

intptr_t GetWindowLong(HWND w, int index)
{
    if (!w)
        return 0;
    TWindowExtra* x = TWindowExtra::Of(w, false);
    switch (index) {
    case GWL_STYLE: {
        uint32_t s = ComputedStyle(w);
        if (x)
            s = (s & (~x->StyleMask | kLiveStyle)) | (x->StyleSet & x->StyleMask & ~kLiveStyle);
        return static_cast<intptr_t>(s);
    }
    case GWL_EXSTYLE: {
        uint32_t s = ComputedExStyle(w);
        if (x)
            s = (s & ~x->ExStyleMask) | (x->ExStyleSet & x->ExStyleMask);
        return static_cast<intptr_t>(s);
    }
    case GWL_ID:
        return w->property("tvId").toLongLong();
    case GWL_HWNDPARENT:
        return reinterpret_cast<intptr_t>(GetParent(w));
    case GWL_HINSTANCE: {
        HWND top = w->window();
        if (!OurClassName(top).isEmpty() || !OurClassName(w).isEmpty() || qobject_cast<QDialog*>(top))
            return kProgramInstance;
        return kSystemInstance;
    }
    case GWL_USERDATA:
        return x ? x->UserData : 0;
    default:
        return 0;
    }
}

intptr_t SetWindowLong(HWND w, int index, intptr_t value)
{
    if (!w)
        return 0;
    const intptr_t old = GetWindowLong(w, index);
    TWindowExtra* x = TWindowExtra::Of(w);
    switch (index) {
    case GWL_STYLE: {
        const uint32_t oldStyle = static_cast<uint32_t>(old);
        const uint32_t newStyle = static_cast<uint32_t>(value);
        const uint32_t changed = oldStyle ^ newStyle;
        if (!changed)
            return old;
        x->StyleMask |= changed & ~kLiveStyle;
        x->StyleSet = (x->StyleSet & ~changed) | (newStyle & changed);
        if (changed & WS_DISABLED)
            w->setEnabled(!(newStyle & WS_DISABLED));
        if (w->isWindow() && (changed & WS_CAPTION)) {
            x->CaptionRemoved = (newStyle & WS_CAPTION) != WS_CAPTION;
            UpdateFrame(w);
        }
        if (w->isWindow() && (changed & WS_THICKFRAME) && !IsFrameRemoved(w)) {
            // The window manager's frame follows: no thick frame, no resizing.
            if (newStyle & WS_THICKFRAME) {
                w->setMinimumSize(0, 0);
                w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            } else {
                w->setFixedSize(w->size());
            }
        }
        if (changed & WS_VISIBLE)
            w->setVisible(newStyle & WS_VISIBLE);
        SendMessage(w, WM_STYLECHANGED, static_cast<WPARAM>(static_cast<intptr_t>(GWL_STYLE)), 0);
        return old;
    }
    case GWL_EXSTYLE: {
        const uint32_t changed = static_cast<uint32_t>(old) ^ static_cast<uint32_t>(value);
        if (!changed)
            return old;
        x->ExStyleMask |= changed;
        x->ExStyleSet = (x->ExStyleSet & ~changed) | (static_cast<uint32_t>(value) & changed);
        if (changed & WS_EX_LAYOUTRTL)
            w->setLayoutDirection((value & WS_EX_LAYOUTRTL) ? Qt::RightToLeft : Qt::LeftToRight);
        SendMessage(w, WM_STYLECHANGED, static_cast<WPARAM>(static_cast<intptr_t>(GWL_EXSTYLE)), 0);
        return old;
    }
    case GWL_ID:
        w->setProperty("tvId", QVariant::fromValue<qlonglong>(value));
        return old;
    case GWL_USERDATA:
        x->UserData = value;
        return old;
    default:
        return 0;
    }
}

QRect ClientRectOf(HWND w)
{
    if (!w)
        return QRect();
    QRect r = w->rect();
    if (w->isWindow()) {
        r = r.marginsRemoved(NonClientInsets(w));
        if (r.width() < 0)
            r.setWidth(0);
        if (r.height() < 0)
            r.setHeight(0);
    }
    // A scroll area's bars and frame lie outside its client, as the platform's do.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w); area && area->viewport())
        r = w->isWindow() ? r.intersected(area->viewport()->geometry()) : area->viewport()->geometry();
    return r;
}

bool GetWindowRect(HWND w, TRect& rect)
{
    if (!w)
        return false;
    if (w->isWindow()) {
        rect = TRect::From(w->geometry().marginsAdded(FrameMargins(w)));
    } else {
        rect = TRect::From(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    }
    return true;
}

bool GetClientRect(HWND w, TRect& rect)
{
    if (!w)
        return false;
    const QRect c = ClientRectOf(w);
    rect = TRect(0, 0, c.width(), c.height());
    return true;
}

TPoint ScreenToClient(HWND w, TPoint p)
{
    if (!w)
        return p;
    const QPoint local = w->mapFromGlobal(p.ToQPoint()) - ClientRectOf(w).topLeft();
    return TPoint::From(local);
}

TPoint ClientToScreen(HWND w, TPoint p)
{
    if (!w)
        return p;
    return TPoint::From(w->mapToGlobal(p.ToQPoint() + ClientRectOf(w).topLeft()));
}

bool ScreenToClient(HWND w, TPoint* p)
{
    if (!w || !p)
        return false;
    *p = ScreenToClient(w, *p);
    return true;
}

bool ClientToScreen(HWND w, TPoint* p)
{
    if (!w || !p)
        return false;
    *p = ClientToScreen(w, *p);
    return true;
}

TPoint MapWindowPoint(HWND from, HWND to, TPoint p)
{
    const TPoint screen = from ? ClientToScreen(from, p) : p;
    return to ? ScreenToClient(to, screen) : screen;
}

bool ShowWindow(HWND w, int command)
{
    if (!w)
        return false;
    const bool was = WidgetShown(w);
    switch (command) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (w->isWindow())
            SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
        if (!WidgetShown(w))
            w->show();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        if (w->isWindow())
            w->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        if (w->isWindow()) {
            if (!w->isVisible())
                w->show();
            SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA: {
        const bool saved = w->testAttribute(Qt::WA_ShowWithoutActivating);
        w->setAttribute(Qt::WA_ShowWithoutActivating, true);
        w->show();
        w->setAttribute(Qt::WA_ShowWithoutActivating, saved);
        break;
    }
    default:
        w->show();
        break;
    }
    return was;
}

bool IsWindowVisible(HWND w) { return w && w->isVisible(); }
bool IsWindowEnabled(HWND w) { return w && w->isEnabled(); }

bool EnableWindow(HWND w, bool enable)
{
    if (!w)
        return false;
    const bool wasDisabled = !w->isEnabled();
    w->setEnabled(enable);
    return wasDisabled;
}

bool IsIconic(HWND w) { return w && w->isWindow() && w->isMinimized(); }

bool IsZoomed(HWND w)
{
    if (!w || !w->isWindow())
        return false;
    if (TWindowExtra* x = TWindowExtra::Of(w, false); x && x->ZoomedByHand)
        return true;
    return w->isMaximized();
}

bool IsWindowUnicode(HWND) { return true; }

bool IsChild(HWND parent, HWND w)
{
    if (!parent || !w || w == parent)
        return false;
    for (QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (p->parentWidget() == parent)
            return true;
    return false;
}

bool IsWindow(HWND w) { return w && QApplication::allWidgets().contains(w); }

bool GetWindowPlacement(HWND w, WINDOWPLACEMENT& pl)
{
    if (!w)
        return false;
    pl = WINDOWPLACEMENT();
    if (IsIconic(w))
        pl.showCmd = SW_SHOWMINIMIZED;
    else if (IsZoomed(w))
        pl.showCmd = SW_SHOWMAXIMIZED;
    else
        pl.showCmd = SW_SHOWNORMAL;
    QRect normal;
    TWindowExtra* x = TWindowExtra::Of(w, false);
    if (x && x->ZoomedByHand)
        normal = x->NormalGeometry;
    else if (w->isWindow() && (w->isMaximized() || w->isMinimized()) && w->normalGeometry().isValid())
        normal = w->normalGeometry();
    else
        normal = w->geometry();
    if (!w->isWindow()) {
        pl.rcNormalPosition = TRect::From(normal);
        return true;
    }
    pl.rcNormalPosition = TRect::From(normal.marginsAdded(FrameMargins(w)));
    return true;
}

bool SetWindowPlacement(HWND w, const WINDOWPLACEMENT& pl)
{
    if (!w)
        return false;
    const QRect frame = pl.rcNormalPosition.ToQRect();
    QRect normal = w->isWindow() ? frame.marginsRemoved(FrameMargins(w)) : frame;
    if (TWindowExtra* x = TWindowExtra::Of(w, false); x && x->ZoomedByHand) {
        x->NormalGeometry = normal;
    } else if (w->isWindow() && (w->isMaximized() || w->isMinimized())) {
        const Qt::WindowStates st = w->windowState();
        w->setWindowState(Qt::WindowNoState);
        w->setGeometry(normal);
        w->setWindowState(st);
    } else {
        w->setGeometry(normal);
    }
    ShowWindow(w, pl.showCmd);
    return true;
}

HWND HwndBottom()
{
    static QWidget* const marker = reinterpret_cast<QWidget*>(static_cast<uintptr_t>(1));
    return marker;
}

HWND HwndTopmost()
{
    static QWidget* const marker = reinterpret_cast<QWidget*>(static_cast<uintptr_t>(uintptr_t(0) - 1));
    return marker;
}

bool SetWindowPos(HWND w, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags)
{
    if (!w)
        return false;
    const QPointer<QWidget> guard(w);
    const bool top = w->isWindow();
    const QMargins fm = FrameMargins(w);
    const QRect frame = w->geometry().marginsAdded(fm);
    WINDOWPOS pos;
    pos.hwnd = w;
    pos.hwndInsertAfter = insertAfter;
    pos.x = (flags & SWP_NOMOVE) ? frame.x() : x;
    pos.y = (flags & SWP_NOMOVE) ? frame.y() : y;
    pos.cx = (flags & SWP_NOSIZE) ? frame.width() : std::max(0, cx);
    pos.cy = (flags & SWP_NOSIZE) ? frame.height() : std::max(0, cy);
    pos.flags = flags;
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessage(w, WM_WINDOWPOSCHANGING, 0, LParamOf(&pos));
    if (!guard)
        return false;
    flags = pos.flags;
    const QRect oldGeometry = w->geometry();
    const QSize newSize(std::max(0, pos.cx - fm.left() - fm.right()), std::max(0, pos.cy - fm.top() - fm.bottom()));
    if (!(flags & SWP_NOSIZE) && newSize != w->size()) {
        if (w->minimumSize() == w->maximumSize())
            w->setFixedSize(newSize);
        else
            w->resize(newSize);
    }
    if (!(flags & SWP_NOMOVE) && QPoint(pos.x, pos.y) != frame.topLeft())
        w->move(QPoint(pos.x + fm.left(), pos.y + fm.top()) - (w->geometry().topLeft() - w->pos()));
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOP || insertAfter == HwndTopmost())
            w->raise();
        else if (insertAfter == HwndBottom())
            w->lower();
        else if (insertAfter != w && insertAfter->parentWidget() == w->parentWidget())
            w->stackUnder(insertAfter);
    }
    const bool changed = w->geometry() != oldGeometry;
    if (changed && !w->isVisible()) {
        // Hidden windows get their size and move messages now, as shown ones do.
        const QRect c = ClientRectOf(w);
        SendMessage(w, WM_SIZE, SIZE_RESTORED, MakeLParam(c.width(), c.height()));
        if (guard)
            SendMessage(w, WM_MOVE, 0, MakeLParam(w->x(), w->y()));
        if (!guard)
            return false;
    }
    if (flags & SWP_FRAMECHANGED) {
        RecalcNonClient(w);
        if (!(flags & SWP_NOREDRAW))
            RedrawWindow(w, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(w, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    } else if (flags & SWP_HIDEWINDOW) {
        w->hide();
    }
    if (top && !(flags & SWP_NOACTIVATE) && w->isVisible())
        w->activateWindow();
    if (!guard)
        return false;
    pos.flags = flags;
    SendMessage(w, WM_WINDOWPOSCHANGED, 0, LParamOf(&pos));
    return true;
}

bool MoveWindow(HWND w, int x, int y, int width, int height, bool repaint)
{
    return SetWindowPos(w, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : unsigned(SWP_NOREDRAW)));
}

HWND GetParent(HWND w)
{
    if (!w)
        return nullptr;
    QWidget* p = w->parentWidget();
    if (!p)
        return nullptr;
    return w->isWindow() ? p->window() : p;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> out;
    if (!parent)
        return out;
    const QObjectList& kids = parent->children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it)
        if (auto* cw = qobject_cast<QWidget*>(*it); cw && !cw->isWindow())
            out.push_back(cw);
    return out;
}

namespace {
std::vector<HWND> Siblings(HWND w)
{
    if (QWidget* p = w->isWindow() ? nullptr : w->parentWidget())
        return ChildWindows(p);
    std::vector<HWND> tops;
    for (QWidget* t : QApplication::topLevelWidgets())
        tops.push_back(t);
    return tops;
}
} // namespace

HWND GetWindow(HWND w, unsigned relation)
{
    if (!w)
        return nullptr;
    switch (relation) {
    case GW_CHILD: {
        const std::vector<HWND> kids = ChildWindows(w);
        return kids.empty() ? nullptr : kids.front();
    }
    case GW_OWNER:
        return w->isWindow() && w->parentWidget() ? w->parentWidget()->window() : nullptr;
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        const std::vector<HWND> sib = Siblings(w);
        if (sib.empty())
            return nullptr;
        if (relation == GW_HWNDFIRST)
            return sib.front();
        if (relation == GW_HWNDLAST)
            return sib.back();
        const auto it = std::find(sib.begin(), sib.end(), w);
        if (it == sib.end())
            return nullptr;
        if (relation == GW_HWNDNEXT)
            return it + 1 == sib.end() ? nullptr : *(it + 1);
        return it == sib.begin() ? nullptr : *(it - 1);
    }
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND w) { return w ? GetWindow(w, GW_CHILD) : nullptr; }

bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& f)
{
    if (!parent || !f)
        return false;
    std::function<bool(HWND)> walk = [&](HWND p) {
        for (HWND c : ChildWindows(p)) {
            const QPointer<QWidget> guard(c);
            if (!f(c))
                return false;
            if (guard && !walk(c))
                return false;
        }
        return true;
    };
    return walk(parent);
}

HWND GetDesktopWindow() { return nullptr; }
HWND GetActiveWindow() { return QApplication::activeWindow(); }
HWND GetForegroundWindow() { return QApplication::activeWindow(); }

bool SetForegroundWindow(HWND w)
{
    if (!w)
        return false;
    QWidget* top = w->window();
    top->raise();
    top->activateWindow();
    return true;
}

HWND GetFocus() { return QApplication::focusWidget(); }

HWND SetFocus(HWND w)
{
    HWND old = QApplication::focusWidget();
    if (w)
        w->setFocus(Qt::OtherFocusReason);
    return old;
}

HWND GetCapture() { return QWidget::mouseGrabber(); }

HWND SetCapture(HWND w)
{
    HWND old = QWidget::mouseGrabber();
    if (w)
        w->grabMouse();
    return old;
}

bool ReleaseCapture()
{
    if (QWidget* g = QWidget::mouseGrabber()) {
        g->releaseMouse();
        return true;
    }
    return false;
}

HWND WindowFromPoint(TPoint p) { return QApplication::widgetAt(p.ToQPoint()); }

QString GetWindowText(HWND w)
{
    if (!w)
        return QString();
    if (w->isWindow())
        return w->windowTitle();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->toPlainText();
    if (auto* t = qobject_cast<QTextEdit*>(w))
        return t->toPlainText();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return w->windowTitle();
}

int GetWindowTextLength(HWND w) { return static_cast<int>(GetWindowText(w).size()); }

bool SetWindowText(HWND w, const QString& text)
{
    if (!w)
        return false;
    if (w->isWindow())
        w->setWindowTitle(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(text);
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        t->setPlainText(text);
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable())
        c->setEditText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else
        w->setWindowTitle(text);
    return true;
}

bool RedrawWindow(HWND w, const TRect* rect, unsigned flags)
{
    if (!w)
        return false;
    if (!(flags & (RDW_INVALIDATE | RDW_FRAME | RDW_INTERNALPAINT)))
        return true;
    QRegion region;
    const QRect client = ClientRectOf(w);
    if (rect)
        region = QRegion(rect->ToQRect().translated(client.topLeft()));
    else if (flags & RDW_INVALIDATE)
        region = QRegion(client);
    if (flags & RDW_FRAME)
        region += QRegion(w->rect()) - QRegion(client);
    if (region.isEmpty() && (flags & RDW_FRAME) == 0)
        region = QRegion(w->rect());
    if (flags & RDW_UPDATENOW)
        w->repaint(region);
    else
        w->update(region);
    if ((flags & RDW_ALLCHILDREN) && (flags & RDW_INVALIDATE)) {
        EnumChildWindows(w, [flags](HWND c) {
            if (flags & RDW_UPDATENOW)
                c->repaint();
            else
                c->update();
            return true;
        });
    }
    return true;
}

bool InvalidateRect(HWND w, const TRect* rect, bool) { return RedrawWindow(w, rect, RDW_INVALIDATE); }

bool UpdateWindow(HWND w)
{
    if (!w)
        return false;
    w->repaint();
    return true;
}

unsigned GetDoubleClickTime()
{
    const int ms = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    return ms > 0 ? static_cast<unsigned>(ms) : 500u;
}

bool GetCursorPos(TPoint& p)
{
    p = TPoint::From(QCursor::pos());
    return true;
}

TPoint GetCursorPos() { return TPoint::From(QCursor::pos()); }

short GetKeyState(int vk)
{
    constexpr short down = static_cast<short>(0x8000);
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    switch (vk) {
    case VK_SHIFT:
        return (mods & Qt::ShiftModifier) ? down : 0;
    case VK_CONTROL:
        return (mods & Qt::ControlModifier) ? down : 0;
    case VK_MENU:
        return (mods & Qt::AltModifier) ? down : 0;
    case VK_LBUTTON:
        return (buttons & Qt::LeftButton) ? down : 0;
    case VK_RBUTTON:
        return (buttons & Qt::RightButton) ? down : 0;
    case VK_MBUTTON:
        return (buttons & Qt::MiddleButton) ? down : 0;
    default:
        return 0;
    }
}

short GetAsyncKeyState(int vk) { return GetKeyState(vk); }

unsigned GetTickCount()
{
    (void)kTimerStarted;
    return static_cast<unsigned>(StartTimer().elapsed());
}
