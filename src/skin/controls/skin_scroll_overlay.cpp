#include "classlib/controls/control.h"
#include "platform/non_client.h"
#include "platform/scroll_info.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/controls/skin_props.h"
#include "skin/controls/skin_scroll.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {
// Cells of the "Scrollbar" strip.
constexpr int kScrollCells = 23;
enum : int { cellLeft = 1, cellRight = 5, cellUp = 9, cellDown = 13, cellGripHorz = 17, cellGripVert = 20 };

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}
} // namespace

struct TWScrollbar::TImpl {
    QPointer<QScrollBar> Bar;
    QPointer<QWidget> Container;
    QList<QMetaObject::Connection> Connections;
    QImage Buffer;
    QPoint Cursor; // the cursor as last seen during a press (screen)
    bool Placing = false;
    bool PlaceQueued = false;
};

TWScrollbar::TWScrollbar() : FImpl(new TImpl)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    hide();
}

TWScrollbar::~TWScrollbar()
{
    Detach();
    delete FImpl;
}

void TWScrollbar::Detach()
{
    for (const auto& c : FImpl->Connections)
        QObject::disconnect(c);
    FImpl->Connections.clear();
    if (FImpl->Bar)
        FImpl->Bar->removeEventFilter(this);
    if (FImpl->Container)
        FImpl->Container->removeEventFilter(this);
    if (FTarget)
        FTarget->removeEventFilter(this);
    FImpl->Bar = nullptr;
    FImpl->Container = nullptr;
    FTarget = nullptr;
    FOwner = nullptr;
}

void TWScrollbar::AttachControl(TSkinControl* owner, TControl* control, int kind)
{
    FTargetControl = control;
    auto* wc = dynamic_cast<TWinControl*>(control);
    QWidget* window = wc ? wc->Handle() : nullptr;
    // A scroll box's bars belong to the scroll area around its window.
    if (QWidget* viewport = window ? window->parentWidget() : nullptr)
        if (auto* area = qobject_cast<QScrollArea*>(viewport->parentWidget()); area && area->widget() == window)
            window = area;
    AttachHwnd(owner, window, kind);
}

void TWScrollbar::AttachHwnd(TSkinControl* owner, HWND window, int kind)
{
    FOwner = owner;
    FTarget = window;
    FKind = kind;
    if (kind == kControl) {
        // A control tells its kind; a bare bar its orientation.
        if (FTargetControl && HasProperty(FTargetControl, QStringLiteral("Kind")))
            FDirection = GetPropValue(FTargetControl, QStringLiteral("Kind")).toLower() == QLatin1String("sbhorizontal")
                             ? kHorizontal
                             : kVertical;
        else
            FDirection = (static_cast<uint32_t>(GetWindowLong(window, GWL_STYLE)) & SBS_VERT) ? kVertical : kHorizontal;
    } else {
        FDirection = kind;
    }
    if (!window)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(owner ? owner->ParentColor() : clBtnFace));
    setPalette(pal);
    // Beside the window, over its bar; a splitter would take a new child for
    // a pane of its own, so there the overlay goes inside the window instead.
    QWidget* host = window->parentWidget();
    if (!host || qobject_cast<QSplitter*>(host))
        host = window;
    setParent(host);
    window->installEventFilter(this);
    if (QScrollBar* bar = RealBar()) {
        FImpl->Bar = bar;
        bar->installEventFilter(this);
        // A scroll area's bar sits in a container of its own.
        if (QWidget* c = bar->parentWidget(); c && c != window && kind != kControl) {
            FImpl->Container = c;
            c->installEventFilter(this);
        }
        auto repaint = [this] { update(); };
        FImpl->Connections << connect(bar, &QAbstractSlider::valueChanged, this, repaint)
                           << connect(bar, &QAbstractSlider::rangeChanged, this, repaint)
                           << connect(bar, &QAbstractSlider::sliderMoved, this, repaint);
    }
    Place();
}

QScrollBar* TWScrollbar::RealBar() const
{
    if (!FTarget)
        return nullptr;
    return ScrollBarOf(FTarget, FKind == kHorizontal ? SB_HORZ : FKind == kVertical ? SB_VERT : SB_CTL);
}

bool TWScrollbar::ReadBar(TRect& screen, bool& visible, bool& enabled)
{
    visible = false;
    enabled = false;
    if (!FTarget)
        return false;
    SCROLLBARINFO info;
    const int id = FKind == kHorizontal ? OBJID_HSCROLL : FKind == kVertical ? OBJID_VSCROLL : OBJID_CLIENT;
    if (!GetScrollBarInfo(FTarget, id, info))
        return false;
    screen = info.rcScrollBar;
    visible = !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    const int length = FDirection == kHorizontal ? screen.Width() : screen.Height();
    // The real bar's arrows stand for the system metric: the overlay's parts
    // then lie exactly over the real ones.
    if (info.dxyLineButton > 0)
        FArrowSize = info.dxyLineButton;
    if (FKind == kControl) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        int min = 0, max = 0, page = 0, pos = 0;
        bool classLibrary = false;
        if (FTargetControl && HasProperty(FTargetControl, QStringLiteral("Max"))) {
            classLibrary = true;
            min = static_cast<int>(GetOrdProp(FTargetControl, QStringLiteral("Min")));
            max = static_cast<int>(GetOrdProp(FTargetControl, QStringLiteral("Max")));
            page = std::max(0, static_cast<int>(GetOrdProp(FTargetControl, QStringLiteral("PageSize"))));
            pos = static_cast<int>(GetOrdProp(FTargetControl, QStringLiteral("Position")));
        } else if (GetScrollInfo(FTarget, SB_CTL, si)) {
            min = si.nMin;
            max = si.nMax;
            page = static_cast<int>(si.nPage);
            pos = si.nPos;
        }
        ControlThumb(length, FArrowSize, min, max, page, pos, classLibrary, FThumbStart, FThumbEnd);
    } else {
        FThumbStart = info.xyThumbTop;
        FThumbEnd = info.xyThumbBottom;
    }
    FLength = length;
    return true;
}

void TWScrollbar::Place()
{
    if (FImpl->Placing || !FTarget)
        return;
    FImpl->Placing = true;
    TRect screen;
    bool visible = false, enabled = false;
    const bool read = ReadBar(screen, visible, enabled);
    QWidget* parent = parentWidget();
    if (read && parent) {
        const bool targetVisible = (static_cast<uint32_t>(GetWindowLong(FTarget, GWL_STYLE)) & WS_VISIBLE) != 0;
        const TDataSkinObject* strip = FOwner && FOwner->SkinData() ? FOwner->SkinData()->Scrollbar.get() : nullptr;
        // Without the skin's bar the real one stays in sight.
        if (!targetVisible || !visible || !HasSkinImage(strip)) {
            HideBar();
        } else {
            const QPoint inTarget = FTarget->mapFromGlobal(QPoint(screen.Left, screen.Top));
            FBarRect = TRect(inTarget.x(), inTarget.y(), inTarget.x() + screen.Width(), inTarget.y() + screen.Height());
            FBarPos = QPoint(screen.Left, screen.Top);
            const QPoint at = parent->mapFromGlobal(QPoint(screen.Left, screen.Top));
            StackAboveTarget();
            setGeometry(at.x(), at.y(), screen.Width(), screen.Height());
            FShown = true;
            show();
            update();
        }
    }
    FImpl->Placing = false;
}

void TWScrollbar::StackAboveTarget()
{
    QWidget* parent = parentWidget();
    if (parent == FTarget.data()) {
        // Inside the window: above the scroll area's bar containers.
        raise();
        return;
    }
    if (!parent || FTarget->parentWidget() != parent)
        return;
    const QObjectList& kids = parent->children();
    const qsizetype t = kids.indexOf(FTarget.data());
    const qsizetype me = kids.indexOf(this);
    if (t < 0)
        return;
    // Directly above the target: only overlays of ours may lie between.
    bool fine = me > t;
    for (qsizetype i = t + 1; fine && i < me; ++i)
        if (kids.at(i)->isWidgetType() && !dynamic_cast<TWScrollbar*>(kids.at(i)))
            fine = false;
    if (fine)
        return;
    for (qsizetype i = t + 1; i < kids.size(); ++i) {
        QObject* k = kids.at(i);
        if (k != this && k->isWidgetType() && !dynamic_cast<TWScrollbar*>(k)) {
            stackUnder(static_cast<QWidget*>(k));
            return;
        }
    }
    raise();
}

void TWScrollbar::QueuePlace()
{
    if (FImpl->PlaceQueued)
        return;
    FImpl->PlaceQueued = true;
    QTimer::singleShot(0, this, [this] {
        FImpl->PlaceQueued = false;
        Place();
    });
}

void TWScrollbar::HideBar()
{
    hide();
    FShown = false;
}

int TWScrollbar::HitTest(QPoint p) const
{
    const int v = FDirection == kHorizontal ? p.x() : p.y();
    if (v < FArrowSize)
        return hpFirstArrow;
    if (v < FThumbStart)
        return hpPageBefore;
    if (v < FThumbEnd)
        return hpThumb;
    if (v < FLength - FArrowSize)
        return hpPageAfter;
    return hpSecondArrow;
}

void TWScrollbar::SetHotPart(int part)
{
    if (FHotPart == part)
        return;
    FHotPart = part;
    update();
}

void TWScrollbar::PaintBar(QPainter& painter)
{
    const TSkinData* skin = FOwner ? FOwner->SkinData() : nullptr;
    if (!skin || !HasSkinImage(skin->Scrollbar.get()))
        return;
    TRect screen;
    bool visible = false, enabled = false;
    if (!ReadBar(screen, visible, enabled) || !visible)
        return;
    int start = FThumbStart, end = FThumbEnd;
    if (FPressed && FHotPart == hpThumb && FKind != kControl) {
        // The thumb follows the cursor while it is dragged.
        const QPoint moved = FImpl->Cursor - FPressCursor;
        const int len = end - start;
        const int hi = std::max(FArrowSize, FLength - FArrowSize - len);
        start = std::clamp(FPressThumbStart + (FDirection == kHorizontal ? moved.x() : moved.y()), FArrowSize, hi);
        end = start + len;
    }
    const QSize size = this->size();
    if (FImpl->Buffer.size() != size)
        FImpl->Buffer = QImage(size, QImage::Format_RGB32);
    FImpl->Buffer.fill(ToQColor(skin->Colours.ButtonFace));
    {
        QPainter buffer(&FImpl->Buffer);
        DrawSkinScrollbar(buffer, skin, size, FDirection, FArrowSize, start, end, enabled, FHotPart, FPressed);
    }
    painter.drawImage(0, 0, FImpl->Buffer);
}

void TWScrollbar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintBar(p);
}

void TWScrollbar::mouseMoveEvent(QMouseEvent* event)
{
    if (FKind == kControl && FPressed && FImpl->Bar) {
        ForwardMouse(event, QEvent::MouseMove);
        return;
    }
    if (!FPressed)
        SetHotPart(HitTest(event->position().toPoint()));
}

void TWScrollbar::leaveEvent(QEvent*)
{
    if (!FPressed)
        SetHotPart(hpNone);
}

void TWScrollbar::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TWScrollbar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FTarget)
        return;
    TRect screen;
    bool visible = false, enabled = false;
    ReadBar(screen, visible, enabled);
    const QPoint local = event->position().toPoint();
    FPressCursor = event->globalPosition().toPoint();
    FImpl->Cursor = FPressCursor;
    FPressThumbStart = FThumbStart;
    FHotPart = HitTest(local);
    FPressed = true;
    update();
    if (FKind == kControl) {
        ForwardMouse(event, QEvent::MouseButtonPress);
        return;
    }
    // The bar's place on the screen at this press, as the system takes it.
    FBarPos = QPoint(screen.Left, screen.Top);
    const QPoint at = FBarPos + local;
    SendMessage(FTarget, WM_NCLBUTTONDOWN, FKind == kVertical ? HTVSCROLL : HTHSCROLL, MakeLParam(at.x(), at.y()));
    // The real bar holds the mouse now and tells us of its release.
}

void TWScrollbar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FTarget)
        return;
    if (FKind == kControl) {
        ForwardMouse(event, QEvent::MouseButtonRelease);
        EndPress();
        return;
    }
    const QPoint at = FBarPos + event->position().toPoint();
    EndPress();
    PostMessage(FTarget, WM_NCLBUTTONUP, FKind == kVertical ? HTVSCROLL : HTHSCROLL, MakeLParam(at.x(), at.y()));
}

void TWScrollbar::EndPress()
{
    if (!FPressed)
        return;
    FPressed = false;
    const QPoint p = mapFromGlobal(FImpl->Cursor);
    FHotPart = rect().contains(p) ? HitTest(p) : hpNone;
    update();
}

void TWScrollbar::ForwardMouse(QMouseEvent* event, QEvent::Type type)
{
    QScrollBar* bar = FImpl->Bar;
    if (!bar)
        return;
    const QPoint global = event->globalPosition().toPoint();
    FImpl->Cursor = global;
    QMouseEvent forwarded(type, QPointF(bar->mapFromGlobal(global)), QPointF(global), event->button(),
                          event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(bar, &forwarded);
    update();
}

void TWScrollbar::wheelEvent(QWheelEvent* event)
{
    // The wheel over the overlay scrolls as over the bar beneath.
    QScrollBar* bar = FImpl->Bar;
    if (!bar)
        return;
    const QPoint global = event->globalPosition().toPoint();
    QWheelEvent forwarded(QPointF(bar->mapFromGlobal(global)), QPointF(global), event->pixelDelta(),
                          event->angleDelta(), event->buttons(), event->modifiers(), event->phase(),
                          event->inverted());
    QCoreApplication::sendEvent(bar, &forwarded);
}

bool TWScrollbar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
    case QEvent::ParentChange:
        // A scroll area lays out and re-raises its bar containers: follow them.
        if (watched != this) {
            Place();
            QueuePlace();
        }
        break;
    case QEvent::EnabledChange:
        update();
        break;
    case QEvent::MouseMove:
        if (watched == FImpl->Bar.data() && FPressed) {
            FImpl->Cursor = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            update();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == FImpl->Bar.data() && FPressed && FKind != kControl) {
            FImpl->Cursor = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            // After the bar's own handling of the release.
            QTimer::singleShot(0, this, [this] { EndPress(); });
        }
        break;
    default:
        break;
    }
    return false;
}

// ---------------------------------------------------------------- drawing

void DrawSkinScrollbar(QPainter& painter, const TSkinData* skin, const QSize& size, int direction, int arrowSize,
                       int thumbStart, int thumbEnd, bool enabled, int hotPart, bool pressed)
{
    const TDataSkinObject* strip = skin ? skin->Scrollbar.get() : nullptr;
    if (!HasSkinImage(strip))
        return;
    const bool vertical = direction == TWScrollbar::kVertical;
    const int w = size.width(), h = size.height();
    const int length = vertical ? h : w;
    const int arrow = 2 * arrowSize > length ? length / 2 : arrowSize;
    // Track between the arrows.
    const TDataSkinObject* track = vertical ? skin->VertScroll.get() : skin->HorzScroll.get();
    const TRect trackRect = vertical ? TRect(0, arrow, w, length - arrow) : TRect(arrow, 0, length - arrow, h);
    DrawSkinPart(painter, trackRect, track, enabled ? 1 : 3);
    // Arrows.
    auto arrowCell = [&](int base, int part) {
        if (hotPart != part)
            return base;
        return base + (pressed ? 1 : 3);
    };
    const TRect first = vertical ? TRect(0, 0, w, arrow) : TRect(0, 0, arrow, h);
    const TRect second = vertical ? TRect(0, length - arrow, w, length) : TRect(length - arrow, 0, length, h);
    DrawFrameStretched(painter, first, strip->Image, true, kScrollCells,
                       arrowCell(vertical ? cellUp : cellLeft, TWScrollbar::hpFirstArrow));
    DrawFrameStretched(painter, second, strip->Image, true, kScrollCells,
                       arrowCell(vertical ? cellDown : cellRight, TWScrollbar::hpSecondArrow));
    if (!enabled)
        return;
    // Thumb and its grip.
    if (thumbStart < 0 || thumbEnd > length || thumbEnd <= thumbStart)
        return;
    const bool onThumb = hotPart == TWScrollbar::hpThumb;
    const TDataSkinObject* thumb = vertical ? skin->VertScrollThumb.get() : skin->HorzScrollThumb.get();
    const TRect thumbRect = vertical ? TRect(0, thumbStart, w, thumbEnd) : TRect(thumbStart, 0, thumbEnd, h);
    DrawSkinPart(painter, thumbRect, thumb, onThumb ? (pressed ? 2 : 3) : 1);
    const int grip = (vertical ? cellGripVert : cellGripHorz) + (onThumb ? (pressed ? 1 : 2) : 0);
    const int cellLength = vertical ? strip->Image.height() : strip->Image.width() / kScrollCells;
    if (cellLength < thumbEnd - thumbStart + 2)
        DrawFrameCentered(painter, thumbRect, strip->Image, true, kScrollCells, grip);
}

void ControlThumb(int length, int arrowSize, int min, int max, int page, int pos, bool classLibrary, int& thumbStart,
                  int& thumbEnd)
{
    const int a = arrowSize;
    int range = max - min;
    if (!classLibrary && range == 0)
        range = 9999999;
    if (range <= 0) {
        // Nothing to scroll: the thumb fills the track.
        thumbStart = a;
        thumbEnd = std::max(a, length - a);
        return;
    }
    int len = 0;
    int start = a;
    if (page > 0) {
        len = MulDiv(length - 2 * a, page - 1, range);
        if (!classLibrary && len < 8) {
            len = 8;
            if (pos != min)
                start = MulDiv(length - 2 * a - 8, pos - min, range) + a;
        } else if (pos != min) {
            start = MulDiv(length - 2 * a, pos - min, range) + a;
        }
    } else {
        len = a;
        if (pos != min)
            start = MulDiv(length - 3 * a, pos - min, range) + a;
    }
    thumbStart = start;
    thumbEnd = start + len;
}
