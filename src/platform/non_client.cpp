#include "platform/non_client.h"

#include "platform/keyboard_move_size.h"
#include "platform/menus_api.h"
#include "platform/scroll_info.h"
#include "platform/system_keys.h"
#include "platform/system_metrics.h"
#include "platform/window_extra.h"
#include "platform/window_info.h"
#include "platform/window_manager.h"
#include "platform/window_proc.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStyle>
#include <QWindow>

#include <cstdlib>
#include <utility>

namespace {
const char* const kExtraName = "tvWindowExtra";

QMargins ClampMargins(const QMargins& m)
{
    return QMargins(std::max(0, m.left()), std::max(0, m.top()), std::max(0, m.right()), std::max(0, m.bottom()));
}

QMargins DefaultInsets(HWND w)
{
    if (auto* menu = qobject_cast<QMenu*>(w)) {
        const int fw = menu->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, menu);
        return QMargins(fw, fw, fw, fw);
    }
    return QMargins();
}

// A bare window's size grip sits in the corner of its client, as a child
// window on the platform does, not on the frame band around it.
void PlaceSizeGrips(HWND w)
{
    const QRect c = ClientRectOf(w);
    for (QSizeGrip* grip : w->findChildren<QSizeGrip*>(Qt::FindDirectChildrenOnly)) {
        const QPoint at(w->isRightToLeft() ? c.left() : c.right() + 1 - grip->width(), c.bottom() + 1 - grip->height());
        if (grip->pos() != at)
            grip->move(at);
    }
}

void ApplyInsets(HWND w, TWindowExtra* x)
{
    if (x->Layout) {
        x->Layout();
        return;
    }
    // A bare window: the extra insets push its contents in.
    const QMargins extra = ClampMargins(x->Insets - x->NativeInsets);
    if (!x->MarginsApplied) {
        if (extra.isNull())
            return;
        x->BaseMargins = w->contentsMargins();
        x->MarginsApplied = true;
    }
    w->setContentsMargins(x->BaseMargins + extra);
    if (QLayout* layout = w->layout())
        layout->activate(); // the contents take their place now, as on the platform
    PlaceSizeGrips(w);
}

Qt::Edges EdgesOf(int hit)
{
    switch (hit) {
    case HTLEFT:
        return Qt::LeftEdge;
    case HTRIGHT:
        return Qt::RightEdge;
    case HTTOP:
        return Qt::TopEdge;
    case HTBOTTOM:
        return Qt::BottomEdge;
    case HTTOPLEFT:
        return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT:
        return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOMLEFT:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HTBOTTOMRIGHT:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

QRect AvailableArea(HWND w)
{
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

bool Frameless(HWND w) { return w->windowFlags() & Qt::FramelessWindowHint; }

void Maximize(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w);
    if (x->ZoomedByHand || w->isMaximized())
        return;
    if (w->isMinimized())
        w->showNormal();
    if (Frameless(w)) {
        const QRect area = AvailableArea(w);
        if (area.isEmpty())
            return;
        x->NormalGeometry = w->geometry();
        x->ZoomedByHand = true;
        w->setGeometry(area);
    } else {
        w->showMaximized();
    }
}

void Restore(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w);
    if (w->isMinimized()) {
        // Back to where it was minimized from, maximised included.
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        GiveZoomToWindowManager(w);
        return;
    }
    if (x->ZoomedByHand) {
        x->ZoomedByHand = false;
        w->setGeometry(x->NormalGeometry);
        return;
    }
    if (w->isMaximized())
        w->showNormal();
}

QScrollBar* BarAt(HWND w, QPoint screen, int* hit)
{
    for (QScrollBar* bar : {ScrollBarOf(w, SB_VERT), ScrollBarOf(w, SB_HORZ)}) {
        if (!bar || !bar->isVisibleTo(w))
            continue;
        if (QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size()).contains(screen)) {
            if (hit)
                *hit = bar->orientation() == Qt::Vertical ? HTVSCROLL : HTHSCROLL;
            return bar;
        }
    }
    return nullptr;
}

// Mouse input after a press handed to a scroll bar goes on to that bar until
// the button is released (the bar pages, steps, drags its thumb).
class TScrollBarForward : public QObject {
public:
    explicit TScrollBarForward(QScrollBar* bar) : FBar(bar) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::MouseMove && t != QEvent::MouseButtonRelease)
            return false;
        if (!FBar) {
            deleteLater();
            return false;
        }
        if (watched == FBar.data() || !watched->isWidgetType())
            return false;
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint global = me->globalPosition().toPoint();
        // A move without the button means the release went elsewhere: end here.
        const bool ended = t == QEvent::MouseButtonRelease || !(me->buttons() & Qt::LeftButton);
        const QEvent::Type type = ended ? QEvent::MouseButtonRelease : t;
        QMouseEvent forwarded(type, QPointF(FBar->mapFromGlobal(global)), QPointF(global), Qt::LeftButton,
                              ended ? Qt::NoButton : me->buttons(), me->modifiers());
        QCoreApplication::sendEvent(FBar, &forwarded);
        if (ended) {
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return true;
    }

private:
    QPointer<QScrollBar> FBar;
};

bool PressScrollBar(HWND w, QPoint screen)
{
    QScrollBar* bar = BarAt(w, screen, nullptr);
    if (!bar)
        return false;
    const QPoint local = bar->mapFromGlobal(screen);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(screen), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &press);
    new TScrollBarForward(bar);
    return true;
}

int DefaultHitTest(HWND w, QPoint screen)
{
    const QPoint p = w->mapFromGlobal(screen);
    if (!w->rect().contains(p))
        return HTNOWHERE;
    if (ClientRectOf(w).contains(p))
        return HTCLIENT;
    if (int hit = 0; BarAt(w, screen, &hit))
        return hit;
    const uint32_t style = static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE));
    const int width = w->width();
    const int height = w->height();
    if ((style & WS_THICKFRAME) && !IsZoomed(w)) {
        const int fx = GetSystemMetrics(SM_CXFRAME);
        const int fy = GetSystemMetrics(SM_CYFRAME);
        const int corner = GetSystemMetrics(SM_CYCAPTION);
        const bool left = p.x() < fx;
        const bool right = p.x() >= width - fx;
        const bool topEdge = p.y() < fy;
        const bool bottom = p.y() >= height - fy;
        const bool nearLeft = p.x() < corner;
        const bool nearRight = p.x() >= width - corner;
        const bool nearTop = p.y() < corner;
        const bool nearBottom = p.y() >= height - corner;
        if ((topEdge && nearLeft) || (left && nearTop))
            return HTTOPLEFT;
        if ((topEdge && nearRight) || (right && nearTop))
            return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom))
            return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom))
            return HTBOTTOMRIGHT;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
        if (topEdge)
            return HTTOP;
        if (bottom)
            return HTBOTTOM;
    }
    // The sides and the bottom of a fixed frame: a border that neither sizes nor moves.
    if (!(style & WS_THICKFRAME) && (style & (WS_BORDER | WS_DLGFRAME)) && p.y() >= ClientRectOf(w).top())
        return HTBORDER;
    if ((style & WS_CAPTION) == WS_CAPTION && p.y() < ClientRectOf(w).top())
        return HTCAPTION;
    return HTNOWHERE;
}

QPoint PointOf(LPARAM l) { return QPoint(LoWordSigned(l), HiWordSigned(l)); }

// Until the mouse leaves the drag rectangle around a press it is a click.
bool WithinDragRect(QPoint screen, QPoint press)
{
    const QPoint d = screen - press;
    return std::abs(d.x()) <= GetSystemMetrics(SM_CXDRAG) / 2 && std::abs(d.y()) <= GetSystemMetrics(SM_CYDRAG) / 2;
}

// Starts a move or resize of the window from where the press was: the window
// manager's, else by hand while the left button stays down.
void StartMoveSize(HWND w, int hit, QPoint press)
{
    TWindowExtra* x = TWindowExtra::Of(w);
    QWindow* handle = w->windowHandle();
    bool system = false;
    if (handle && !qEnvironmentVariableIsSet("TESSAVIK_HAND_MOVE")) {
        // The window manager moves or sizes the window by the pointer's way
        // from the press, so the way before the drag began counts as well.
        if (hit == HTCAPTION)
            system = WindowManagerMove(handle, press) || handle->startSystemMove();
        else if (EdgesOf(hit))
            system = WindowManagerSize(handle, press, EdgesOf(hit)) || handle->startSystemResize(EdgesOf(hit));
    }
    if (system)
        return;
    x->DragHit = hit;
    x->DragStart = press;
    x->DragGeometry = w->geometry();
    SendMessage(w, WM_ENTERSIZEMOVE);
}

void DragTo(HWND w, TWindowExtra* x, QPoint screen)
{
    const QPoint d = screen - x->DragStart;
    QRect g = x->DragGeometry;
    if (x->DragHit == HTCAPTION) {
        g.translate(d);
        const QMargins fm(w->geometry().left() - w->frameGeometry().left(), w->geometry().top() - w->frameGeometry().top(),
                          0, 0);
        w->move(g.topLeft() - QPoint(fm.left(), fm.top()));
        return;
    }
    const Qt::Edges e = EdgesOf(x->DragHit);
    const QSize minimum = MinimumTrackSize(w);
    if (e & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + d.x(), g.right() - minimum.width() + 1));
    if (e & Qt::RightEdge)
        g.setRight(std::max(g.right() + d.x(), g.left() + minimum.width() - 1));
    if (e & Qt::TopEdge)
        g.setTop(std::min(g.top() + d.y(), g.bottom() - minimum.height() + 1));
    if (e & Qt::BottomEdge)
        g.setBottom(std::max(g.bottom() + d.y(), g.top() + minimum.height() - 1));
    w->setGeometry(g);
}

void OpenSystemMenu(HWND w, QPoint screen)
{
    if (QMenu* menu = GetSystemMenu(w, false))
        menu->popup(screen);
}
} // namespace

TWindowExtra::TWindowExtra(HWND window) : QObject(window) { setObjectName(QLatin1String(kExtraName)); }

TWindowExtra* TWindowExtra::Of(HWND window, bool create)
{
    if (!window)
        return nullptr;
    auto* existing = static_cast<TWindowExtra*>(
        window->findChild<QObject*>(QLatin1String(kExtraName), Qt::FindDirectChildrenOnly));
    if (existing || !create)
        return existing;
    return new TWindowExtra(window);
}

namespace {
// New window flags without hiding a shown window (QWidget::setWindowFlags
// hides it, which would end a running QDialog::exec).
void ApplyFlags(HWND w, Qt::WindowFlags flags, const QRect& geometry)
{
    QWindow* handle = w->windowHandle();
    if (w->isVisible() && handle) {
        w->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        w->setWindowFlags(flags);
    }
    w->setGeometry(geometry);
}
} // namespace

void UpdateFrame(HWND w)
{
    if (!w || !w->isWindow() || IsPopupMenuWindow(w))
        return;
    TWindowExtra* x = TWindowExtra::Of(w);
    const bool want = x->SkinnedFrame || x->CaptionRemoved;
    if (want == x->FramelessApplied)
        return;
    // The widget keeps its place and size: the window manager's decoration
    // goes or comes around it, so the client is unchanged until the procedure's
    // insets are laid out.
    const bool visible = w->isVisible();
    const QRect g = w->geometry();
    if (want) {
        x->SavedFlags = w->windowFlags();
        x->FramelessApplied = true;
        // Nobody maximises a frameless window: one the window manager
        // maximised stays maximised by hand, and keeps the size it is restored to.
        const bool managerZoomed = w->isMaximized() && !x->ZoomedByHand;
        if (managerZoomed)
            x->NormalGeometry = w->normalGeometry().isValid() ? w->normalGeometry() : g;
        if (!(x->SavedFlags & Qt::FramelessWindowHint))
            ApplyFlags(w, x->SavedFlags | Qt::FramelessWindowHint, g);
        if (managerZoomed) {
            x->ZoomedByHand = true;
            w->setWindowState(w->windowState() & ~Qt::WindowMaximized);
            const QRect area = AvailableArea(w);
            w->setGeometry(area.isEmpty() ? g : area);
        }
    } else {
        x->FramelessApplied = false;
        if (w->windowFlags() != x->SavedFlags)
            ApplyFlags(w, x->SavedFlags, g);
    }
    if (visible && !w->isVisible())
        w->show();
    if (!want && !x->FrameChanges)
        GiveZoomToWindowManager(w);
    RecalcNonClient(w);
}

void GiveZoomToWindowManager(HWND w)
{
    // Maximised by hand while frameless: with the frame back the window
    // manager maximises it (its title would lie off the screen otherwise).
    // On X without one nobody would: the window stays maximised by hand.
    TWindowExtra* x = TWindowExtra::Of(w, false);
    if (!x || !x->ZoomedByHand || x->FramelessApplied || Frameless(w))
        return;
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !WindowManagerRunning())
        return;
    if (w->isMinimized())
        return; // once restored
    x->ZoomedByHand = false;
    w->setGeometry(x->NormalGeometry);
    if (w->isVisible())
        w->showMaximized();
}

namespace {
// The height of the window's own menu bar where it lies in the client.
int MenuBarInClient(HWND w)
{
    auto* bar = qobject_cast<QMenuBar*>(GetMenu(w));
    return bar && bar->isVisibleTo(w) ? bar->height() : 0;
}

// The size of the window when it is normal (the size it is restored to).
QSize RestoreSize(HWND w, const TWindowExtra* x)
{
    if (x->ZoomedByHand)
        return x->NormalGeometry.size();
    if (w->isMaximized() && w->normalGeometry().isValid())
        return w->normalGeometry().size();
    return w->size();
}
} // namespace

void ChangeFrameKeepingClient(HWND w, const std::function<void()>& change, QSize clientGrowth)
{
    if (!w || !w->isWindow() || IsPopupMenuWindow(w)) {
        if (change)
            change();
        return;
    }
    const QPointer<QWidget> guard(w);
    TWindowExtra* x = TWindowExtra::Of(w);
    // The client below the menu bar: a menu bar is frame, wherever it is drawn.
    auto client = [&](QSize outer) {
        const QMargins m = x->Insets;
        return QSize(outer.width() - m.left() - m.right(), outer.height() - m.top() - m.bottom() - MenuBarInClient(w));
    };
    const QSize kept = client(RestoreSize(w, x)) + clientGrowth;
    ++x->FrameChanges;
    if (change)
        change();
    if (!guard)
        return;
    --x->FrameChanges;
    RecalcNonClient(w);
    if (!guard)
        return;
    const QMargins m = x->Insets;
    // A window of fixed size (a message box fixes its own) takes the new size as its fixed one.
    const bool fixed = w->minimumSize() == w->maximumSize();
    QSize outer(kept.width() + m.left() + m.right(), kept.height() + m.top() + m.bottom() + MenuBarInClient(w));
    if (!fixed)
        outer = outer.expandedTo(MinimumTrackSize(w)).boundedTo(w->maximumSize());
    if (x->ZoomedByHand) {
        x->NormalGeometry.setSize(outer);
    } else if (w->isMaximized()) {
        // Maximised by the window manager with its frame: its restore size is
        // the manager's; the frame the manager draws has not changed.
    } else if (w->size() != outer) {
        if (fixed)
            w->setFixedSize(outer);
        else
            w->resize(outer);
    }
    GiveZoomToWindowManager(w);
}

bool SetSkinnedFrame(HWND w, bool skinned)
{
    if (!w || !w->isWindow())
        return false;
    TWindowExtra* x = TWindowExtra::Of(w);
    if (x->SkinnedFrame == skinned)
        return true;
    x->SkinnedFrame = skinned;
    if (skinned)
        InstallSystemKeys();
    UpdateFrame(w);
    if (!skinned)
        RecalcNonClient(w);
    return true;
}

bool IsSkinnedFrame(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w, false);
    return x && x->SkinnedFrame;
}

bool IsFrameRemoved(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w, false);
    return x && x->FramelessApplied;
}

void SetWindowFlagsKeepingFrame(HWND w, Qt::WindowFlags flags)
{
    if (!w)
        return;
    TWindowExtra* x = TWindowExtra::Of(w, false);
    if (x && x->FramelessApplied) {
        x->SavedFlags = flags;
        flags |= Qt::FramelessWindowHint;
        if (w->windowFlags() != flags)
            ApplyFlags(w, flags, w->geometry()); // stays shown
        return;
    }
    if (w->windowFlags() != flags)
        w->setWindowFlags(flags);
}

QSize MinimumTrackSize(HWND w)
{
    const QMargins band = TWindowExtra::Of(w)->Insets;
    return w->minimumSize().expandedTo(QSize(band.left() + band.right() + 1, band.top() + band.bottom() + 1));
}

QMargins NonClientInsets(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w, false);
    return x ? x->Insets : QMargins();
}

void RecalcNonClient(HWND w)
{
    if (!w || !w->isWindow())
        return;
    TWindowExtra* x = TWindowExtra::Of(w);
    if (x->Calculating)
        return;
    x->Calculating = true;
    const QPointer<QWidget> guard(w);
    const QRect g = w->geometry();
    NCCALCSIZE_PARAMS p;
    WINDOWPOS pos;
    pos.hwnd = w;
    pos.x = g.x();
    pos.y = g.y();
    pos.cx = g.width();
    pos.cy = g.height();
    p.lppos = &pos;
    const TNCRect whole{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    p.rgrc[0] = whole;
    p.rgrc[1] = whole;
    const QRect oldClient = ClientRectOf(w).translated(g.topLeft());
    p.rgrc[2] = TNCRect{oldClient.x(), oldClient.y(), oldClient.x() + oldClient.width(), oldClient.y() + oldClient.height()};
    SendMessage(w, WM_NCCALCSIZE, 1, LParamOf(&p));
    if (!guard)
        return;
    x->Calculating = false;
    const QMargins m = ClampMargins(QMargins(p.rgrc[0].left - whole.left, p.rgrc[0].top - whole.top,
                                             whole.right - p.rgrc[0].right, whole.bottom - p.rgrc[0].bottom));
    x->NativeInsets = DefaultInsets(w);
    if (m == x->Insets)
        return;
    // The band needs the mouse moves without a button too (hover over the caption).
    if (x->Insets.isNull() && !m.isNull()) {
        x->HadMouseTracking = w->hasMouseTracking();
        w->setMouseTracking(true);
    } else if (!x->Insets.isNull() && m.isNull()) {
        w->setMouseTracking(x->HadMouseTracking);
    }
    x->Insets = m;
    ApplyInsets(w, x);
    w->update();
}

void SetClientLayout(HWND w, std::function<void()> layout)
{
    if (TWindowExtra* x = TWindowExtra::Of(w))
        x->Layout = std::move(layout);
}

void RelayoutClient(HWND w)
{
    if (TWindowExtra* x = TWindowExtra::Of(w, false); x && x->Layout)
        x->Layout();
}

QPainter* GetWindowDC(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w, false);
    return x ? x->NcPainter : nullptr;
}

bool SetWindowRgn(HWND w, std::optional<TRegion> region, bool redraw)
{
    if (!w)
        return false;
    TWindowExtra* x = TWindowExtra::Of(w);
    x->Region = std::move(region);
    if (x->Region)
        w->setMask(x->Region->ToQRegion());
    else
        w->clearMask();
    if (redraw)
        w->update();
    return true;
}

std::optional<TRegion> GetWindowRgn(HWND w)
{
    TWindowExtra* x = TWindowExtra::Of(w, false);
    return x ? x->Region : std::nullopt;
}

bool DefNonClientProc(HWND w, TMessage& m)
{
    if (!w)
        return false;
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        if (m.WParam && m.LParam) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
            const QMargins d = DefaultInsets(w);
            p->rgrc[0].left += d.left();
            p->rgrc[0].top += d.top();
            p->rgrc[0].right -= d.right();
            p->rgrc[0].bottom -= d.bottom();
        }
        m.Result = 0;
        return true;
    case WM_NCHITTEST:
        m.Result = DefaultHitTest(w, PointOf(m.LParam));
        return true;
    case WM_NCPAINT:
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_NCRBUTTONDOWN:
        m.Result = 0;
        return true;
    case WM_NCACTIVATE:
        m.Result = 1;
        return true;
    case WM_NCLBUTTONDOWN: {
        const int hit = static_cast<int>(m.WParam);
        TWindowExtra* x = TWindowExtra::Of(w);
        if ((hit == HTCAPTION && !IsZoomed(w)) || EdgesOf(hit)) {
            // The move or size starts once the mouse moves with the button held.
            x->PendingDragHit = hit;
            x->PendingDragStart = PointOf(m.LParam);
        } else if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON) {
            x->PressedButtonHit = hit;
        } else if (hit == HTSYSMENU) {
            OpenSystemMenu(w, w->mapToGlobal(ClientRectOf(w).topLeft()));
        } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
            PressScrollBar(w, PointOf(m.LParam));
        }
        m.Result = 0;
        return true;
    }
    case WM_NCLBUTTONUP: {
        TWindowExtra* x = TWindowExtra::Of(w);
        const int hit = static_cast<int>(m.WParam);
        const int pressed = x->PressedButtonHit;
        x->PressedButtonHit = 0;
        if (pressed && pressed == hit) {
            const unsigned cmd = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : IsZoomed(w) ? SC_RESTORE : SC_MAXIMIZE;
            SendMessage(w, WM_SYSCOMMAND, cmd, m.LParam);
        }
        m.Result = 0;
        return true;
    }
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<int>(m.WParam) == HTCAPTION && (GetWindowLong(w, GWL_STYLE) & WS_MAXIMIZEBOX))
            SendMessage(w, WM_SYSCOMMAND, IsZoomed(w) ? SC_RESTORE : SC_MAXIMIZE, m.LParam);
        m.Result = 0;
        return true;
    case WM_NCRBUTTONUP:
        if (static_cast<int>(m.WParam) == HTCAPTION || static_cast<int>(m.WParam) == HTSYSMENU)
            OpenSystemMenu(w, PointOf(m.LParam));
        m.Result = 0;
        return true;
    case WM_SYSCOMMAND: {
        m.Result = 0;
        if (!w->isWindow())
            return true;
        switch (static_cast<unsigned>(m.WParam) & 0xFFF0u) {
        case SC_CLOSE:
            w->close();
            break;
        case SC_MINIMIZE:
            // Without a window manager the window would only be marked minimized
            // while it stays on the screen as it was.
            if (WindowManagerRunning())
                w->showMinimized();
            break;
        case SC_MAXIMIZE:
            Maximize(w);
            break;
        case SC_RESTORE:
            Restore(w);
            break;
        case SC_MOVE:
        case SC_SIZE: {
            // From the system menu (no edge or caption in the low bits): the keyboard moves or sizes it.
            const bool size = (static_cast<unsigned>(m.WParam) & 0xFFF0u) == SC_SIZE;
            const bool sizeable = GetWindowLong(w, GWL_STYLE) & WS_THICKFRAME;
            if (IsZoomed(w) || IsIconic(w) || (size && !sizeable))
                break;
            const int hit = static_cast<int>(m.WParam & 0xF);
            if (hit == 0)
                StartKeyboardMoveSize(w, size);
            else
                StartMoveSize(w, size ? hit + HTLEFT - 1 : HTCAPTION, QCursor::pos());
            break;
        }
        case SC_KEYMENU:
            if (LoWord(static_cast<uintptr_t>(m.LParam)) == ' ') {
                OpenSystemMenu(w, w->mapToGlobal(QPoint(0, 0)));
            } else if (auto* bar = qobject_cast<QMenuBar*>(GetMenu(w))) {
                const QList<QAction*> actions = bar->actions();
                if (!actions.isEmpty())
                    bar->setActiveAction(actions.front());
            }
            break;
        default:
            break;
        }
        return true;
    }
    default:
        return false;
    }
}

// Event handling of the non-client area for the window bridge.
bool TNonClientArea::BeforeEvent(TWindowBridge* bridge, QEvent* event)
{
    QWidget* w = bridge->Window();
    if (!w || !w->isWindow())
        return false;
    switch (event->type()) {
    case QEvent::LayoutRequest:
        // A message box fits itself to its contents on every layout request;
        // while a procedure draws its frame (a skinned frame, or insets of its
        // own) its size is the platform's (SetWindowPos), as a dialog's is:
        // only its contents are laid out again. The request comes from a
        // layout that is invalid already: invalidating it here would post the
        // next request, and the box would lay itself out without end.
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            TWindowExtra* x = TWindowExtra::Of(w, false);
            if (x && (x->SkinnedFrame || !x->Insets.isNull())) {
                if (QLayout* layout = box->layout())
                    layout->activate();
                return true;
            }
        }
        return false;
    case QEvent::Show:
        RecalcNonClient(w);
        return false;
    case QEvent::Resize:
        RecalcNonClient(w);
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        SendMessage(w, WM_NCACTIVATE, event->type() == QEvent::WindowActivate ? 1 : 0);
        if (!bridge->Window())
            return true;
        if (!NonClientInsets(w).isNull())
            RedrawWindow(w, nullptr, RDW_FRAME);
        return false;
    case QEvent::Leave: {
        TWindowExtra* x = TWindowExtra::Of(w, false);
        if (x && x->MouseInBand) {
            x->MouseInBand = false;
            SendMessage(w, WM_NCMOUSELEAVE);
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        break;
    default:
        return false;
    }
    if (IsPopupMenuWindow(w))
        return false;
    TWindowExtra* x = TWindowExtra::Of(w, false);
    if (!x)
        return false;
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint screen = me->globalPosition().toPoint();
    if (x->PendingDragHit) {
        if (event->type() == QEvent::MouseMove && (me->buttons() & Qt::LeftButton)) {
            if (WithinDragRect(screen, x->PendingDragStart))
                return true;
            StartMoveSize(w, std::exchange(x->PendingDragHit, 0), x->PendingDragStart);
            if (x->DragHit)
                DragTo(w, x, screen); // by hand: the window catches up with the mouse
            return true;
        }
        x->PendingDragHit = 0; // a click: the release goes on as a message
    }
    if (x->DragHit) {
        if (event->type() == QEvent::MouseMove && (me->buttons() & Qt::LeftButton)) {
            DragTo(w, x, screen);
        } else if (event->type() == QEvent::MouseButtonRelease || !(me->buttons() & Qt::LeftButton)) {
            x->DragHit = 0;
            SendMessage(w, WM_EXITSIZEMOVE);
        }
        return true;
    }
    if (x->Insets.isNull())
        return false;
    if (x->BandCapture && event->type() == QEvent::MouseMove && !(me->buttons() & Qt::LeftButton))
        x->BandCapture = false; // its release went to a popup the press opened
    const bool captured = x->BandCapture;
    const QPoint p = me->position().toPoint();
    if (!captured && ClientRectOf(w).contains(p) && w->rect().contains(p)) {
        if (x->MouseInBand) {
            x->MouseInBand = false;
            SendMessage(w, WM_NCMOUSELEAVE);
        }
        return false;
    }
    const QPointer<QWidget> guard(w);
    const LPARAM at = MakeLParam(screen.x(), screen.y());
    const int hit = static_cast<int>(SendMessage(w, WM_NCHITTEST, 0, at));
    if (!guard)
        return true;
    if (hit == HTCLIENT && !captured)
        return false;
    unsigned msg = WM_NCMOUSEMOVE;
    const bool right = me->button() == Qt::RightButton;
    const bool middle = me->button() == Qt::MiddleButton;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        msg = right ? WM_NCRBUTTONDOWN : middle ? WM_NCMBUTTONDOWN : WM_NCLBUTTONDOWN;
        // Qt keeps the mouse on this window until the release: the moves and
        // the release stay ours wherever they go, so a press decides by where
        // it ends.
        if (msg == WM_NCLBUTTONDOWN)
            x->BandCapture = true;
        break;
    case QEvent::MouseButtonRelease:
        msg = right ? WM_NCRBUTTONUP : middle ? WM_NCMBUTTONUP : WM_NCLBUTTONUP;
        if (msg == WM_NCLBUTTONUP)
            x->BandCapture = false;
        break;
    case QEvent::MouseButtonDblClick:
        msg = right ? WM_NCRBUTTONDBLCLK : middle ? WM_NCMBUTTONDBLCLK : WM_NCLBUTTONDBLCLK;
        break;
    default:
        x->MouseInBand = true;
        break;
    }
    TMessage m;
    m.Msg = msg;
    m.WParam = static_cast<WPARAM>(hit);
    m.LParam = at;
    SafeCall([&] { bridge->Dispatch(m); });
    return true;
}

void TNonClientArea::AfterResize(TWindowBridge* bridge)
{
    QWidget* w = bridge->Window();
    if (!w || !w->isWindow() || IsPopupMenuWindow(w))
        return;
    TWindowExtra* x = TWindowExtra::Of(w, false);
    if (x && !x->Layout && !x->Insets.isNull())
        PlaceSizeGrips(w);
}

void TNonClientArea::AfterPaint(TWindowBridge* bridge, const QRegion& painted)
{
    QWidget* w = bridge->Window();
    if (!w || !w->isWindow())
        return;
    TWindowExtra* x = TWindowExtra::Of(w, false);
    if (!x || x->Insets.isNull() || x->NcPainter)
        return;
    // Only a paint that reaches the band paints the frame.
    const QRegion band = (QRegion(w->rect()) - QRegion(ClientRectOf(w))).intersected(painted);
    if (band.isEmpty())
        return;
    QPainter painter(w);
    painter.setClipRegion(band);
    x->NcPainter = &painter;
    TMessage m;
    m.Msg = WM_NCPAINT;
    m.WParam = 1;
    m.LParam = LParamOf(&painter);
    const QPointer<TWindowExtra> guard(x);
    SafeCall([&] { bridge->Dispatch(m); });
    if (guard)
        x->NcPainter = nullptr;
}
