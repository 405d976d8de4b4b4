#include "classlib/controls/control.h"

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/sysutils.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

// ---------------------------------------------------------------- TControlWidget

TControlWidget::TControlWidget(TWinControl* control, QWidget* parent) : QWidget(parent), FControl(control)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusPolicy(Qt::ClickFocus);
}

void TControlWidget::paintEvent(QPaintEvent* e)
{
    if (!FControl)
        return;
    QPainter p(this);
    p.setClipRegion(e->region());
    FControl->PaintWindow(p);
}

void TControlWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }
void TControlWidget::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }
void TControlWidget::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }
void TControlWidget::mouseMoveEvent(QMouseEvent* e) { e->accept(); }

bool TControlWidget::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && FControl) {
        auto* he = static_cast<QHelpEvent*>(e);
        TControl* c = FControl->ControlAtPos(he->pos().x(), he->pos().y());
        if (!c)
            c = FControl;
        const QString shortHint = GetShortHint(c->Hint());
        if (c->EffectiveShowHint() && !shortHint.isEmpty()) {
            const QRect area = c == FControl ? rect() : c->BoundsRect().ToQRect();
            QToolTip::showText(he->globalPos(), shortHint, this, area);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    FColor = clBtnFace;
    FParentColor = false;
}

TWinControl::~TWinControl()
{
    Destroying();
    // Children that are not owned by us lose their parent.
    auto children = FControls;
    for (TControl* c : children) {
        c->FParent = nullptr;
    }
    FControls.clear();
    DestroyWidget();
}

void TWinControl::DestroyWidget()
{
    if (!FWidget)
        return;
    if (auto* cw = dynamic_cast<TControlWidget*>(FWidget.data()))
        cw->Detach();
    QWidget* outer = FOuterWidget ? FOuterWidget.data() : FWidget.data();
    QWidget* w = FWidget;
    // The windows may still send messages while they go; they must not reach us.
    for (QWidget* x : {outer, w})
        if (auto* b = TWindowBridge::Of(x, false))
            b->ResetProc();
    w->setProperty("tvControl", QVariant());
    outer->setProperty("tvControl", QVariant());
    outer->setProperty("tvForm", QVariant());
    FWidget = nullptr;
    // Windows of child controls that outlive us must not be destroyed with ours;
    // other child widgets (scroll bars, editors' parts) go with it.
    for (QObject* o : w->children()) {
        if (auto* cw = qobject_cast<QWidget*>(o))
            if (!cw->isWindow() && cw->property("tvControl").isValid())
                cw->setParent(nullptr);
    }
    if (outer != w)
        delete outer;
    else
        delete w;
}

QWidget* TWinControl::CreateWidget(QWidget* parent) { return new TControlWidget(this, parent); }

QWidget* TWinControl::Handle()
{
    if (FWidget)
        return FWidget;
    QWidget* parentWidget = FParent ? FParent->ClientWidget() : nullptr;
    FWidget = CreateWidget(parentWidget);
    FWidget->setObjectName(Name());
    FWidget->setProperty("tvControl", QVariant::fromValue(static_cast<void*>(this)));
    if (FOuterWidget)
        FOuterWidget->setProperty("tvControl", QVariant::fromValue(static_cast<void*>(this)));
    TWindowBridge::Of(FWidget)->SetProc([this](TMessage& m) {
        if (WindowProc)
            WindowProc(m);
    });
    InitWidget();
    return FWidget;
}

void TWinControl::InitWidget()
{
    QWidget* outer = OuterWidget();
    if (FParent)
        outer->setGeometry(FLeft, FTop, std::max(0, FWidth), std::max(0, FHeight));
    outer->setEnabled(FEnabled);
    FWidget->setCursor(CursorToQt(FCursor));
    ApplyFontToWidget();
    if (FWindowRgn)
        outer->setMask(FWindowRgn->ToQRegion());
    if (FParent)
        outer->setVisible(FVisible);
}

void TWinControl::ApplyFontToWidget()
{
    if (!FWidget)
        return;
    FWidget->setFont(FFont.ToQFont());
    QPalette pal = FWidget->palette();
    // The disabled group keeps the greyed text, so a disabled control looks disabled.
    const QColor color = ToQColor(FFont.Color());
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(group, role, color);
    FWidget->setPalette(pal);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
}

void TWinControl::BoundsChanged()
{
    if (FWidget && !FSettingBounds) {
        FSettingBounds = true;
        OuterWidget()->setGeometry(FLeft, FTop, std::max(0, FWidth), std::max(0, FHeight));
        FSettingBounds = false;
    }
    Realign();
}

void TWinControl::WindowMoved(const QRect& g)
{
    if (FSettingBounds)
        return;
    if (g.x() == FLeft && g.y() == FTop && g.width() == FWidth && g.height() == FHeight)
        return;
    const bool resized = g.width() != FWidth || g.height() != FHeight;
    FLeft = g.x();
    FTop = g.y();
    FWidth = g.width();
    FHeight = g.height();
    if (resized) {
        Realign();
        Resize();
    }
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    TControl::SetParent(parent);
    if (FWidget) {
        QWidget* outer = OuterWidget();
        outer->setParent(parent ? parent->ClientWidget() : nullptr);
        if (parent) {
            outer->setGeometry(FLeft, FTop, std::max(0, FWidth), std::max(0, FHeight));
            outer->setVisible(FVisible);
        }
    } else if (parent) {
        Handle();
    }
}

void TWinControl::SetVisible(bool v)
{
    if (v == FVisible)
        return;
    TControl::SetVisible(v);
}

void TWinControl::VisibleChanged()
{
    if (FWidget)
        OuterWidget()->setVisible(FVisible);
}

void TWinControl::SetEnabled(bool v) { TControl::SetEnabled(v); }

void TWinControl::EnabledChanged()
{
    if (FWidget)
        OuterWidget()->setEnabled(FEnabled);
}

void TWinControl::SetCursor(TCursor c)
{
    TControl::SetCursor(c);
    if (FWidget)
        FWidget->setCursor(CursorToQt(c));
}

void TWinControl::SetHint(const QString& hint) { TControl::SetHint(hint); }

void TWinControl::SetPopupMenu(TPopupMenu* menu) { TControl::SetPopupMenu(menu); }

void TWinControl::FontChanged()
{
    ApplyFontToWidget();
    for (TControl* c : FControls)
        if (c->FParentFont)
            c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged()
{
    for (TControl* c : FControls)
        if (c->FParentColor)
            c->ParentColorChanged();
    Invalidate();
}

void TWinControl::SetParentBackground(bool v)
{
    FParentBackground = v;
    Invalidate();
}

void TWinControl::BringToFront()
{
    TControl::BringToFront();
    if (FWidget)
        OuterWidget()->raise();
}

void TWinControl::SendToBack()
{
    TControl::SendToBack();
    if (FWidget)
        OuterWidget()->lower();
}

void TWinControl::Invalidate()
{
    if (FWidget)
        FWidget->update();
}

void TWinControl::Repaint()
{
    if (FWidget)
        FWidget->repaint();
}

void TWinControl::InsertControl(TControl* control)
{
    if (!control || ContainsControl(control))
        return;
    control->FParent = this;
    FControls.push_back(control);
    if (control->IsGraphic()) {
        control->Invalidate();
    } else {
        auto* wc = static_cast<TWinControl*>(control);
        if (wc->FWidget) {
            QWidget* outer = wc->OuterWidget();
            outer->setParent(ClientWidget());
            outer->setGeometry(wc->FLeft, wc->FTop, std::max(0, wc->FWidth), std::max(0, wc->FHeight));
            outer->setVisible(wc->FVisible);
            outer->raise();
        }
    }
    ControlBoundsChanged(control);
    if (control->FAlign != alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end())
        return;
    if (FCaptureControl == control)
        FCaptureControl = nullptr;
    if (FMouseControl == control)
        FMouseControl = nullptr;
    if (control->IsGraphic())
        control->Invalidate();
    FControls.erase(it);
    control->FParent = nullptr;
    if (!control->IsGraphic()) {
        auto* wc = static_cast<TWinControl*>(control);
        if (wc->FWidget && !IsDestroying())
            wc->OuterWidget()->setParent(nullptr);
    }
    if (!IsDestroying())
        ControlBoundsChanged(control);
    if (control->FAlign != alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    return std::find(FControls.begin(), FControls.end(), control) != FControls.end();
}

TControl* TWinControl::ControlAtPos(int x, int y, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->IsGraphic() && !allowWinControls)
            continue;
        if (!c->FVisible || (!c->FEnabled && !allowDisabled))
            continue;
        if (!c->BoundsRect().Contains(x, y))
            continue;
        if (c->HitTest(x - c->FLeft, y - c->FTop))
            return c;
    }
    return nullptr;
}

void TWinControl::SetCaptureControl(TControl* c) { FCaptureControl = c; }

void TWinControl::SetFocus()
{
    Handle()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return FWidget && FWidget->hasFocus(); }

bool TWinControl::CanFocus() const { return FVisible && FEnabled; }

void TWinControl::SetTabStop(bool v)
{
    FTabStop = v;
    if (FWidget)
        FWidget->setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

int TWinControl::TabOrder() const
{
    if (!FParent)
        return -1;
    int i = 0;
    for (TControl* c : FParent->FControls) {
        if (c == this)
            return i;
        if (!c->IsGraphic())
            ++i;
    }
    return -1;
}

void TWinControl::SetTabOrder(int order) { Q_UNUSED(order); }

void TWinControl::SetWindowRgn(std::optional<TRegion> region)
{
    FWindowRgn = std::move(region);
    if (!FWidget)
        return;
    QWidget* w = OuterWidget();
    if (FWindowRgn)
        w->setMask(FWindowRgn->ToQRegion());
    else
        w->clearMask();
    w->update();
}

void TWinControl::EnableAlign()
{
    if (FAlignDisabled > 0)
        --FAlignDisabled;
    if (FAlignDisabled == 0)
        Realign();
}

void TWinControl::Realign()
{
    if (FAligning || FAlignDisabled > 0)
        return;
    FAligning = true;
    TRect r = ClientRect();
    auto place = [&](TAlign kind) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->FAlign == kind && c->FVisible)
                list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
            switch (kind) {
            case alTop:
                return a->FTop < b->FTop;
            case alBottom:
                return a->FTop + a->FHeight > b->FTop + b->FHeight;
            case alLeft:
                return a->FLeft < b->FLeft;
            case alRight:
                return a->FLeft + a->FWidth > b->FLeft + b->FWidth;
            default:
                return false;
            }
        });
        for (TControl* c : list) {
            int w = c->FWidth, h = c->FHeight;
            switch (kind) {
            case alTop:
                c->SetBounds(r.Left, r.Top, r.Width(), h);
                r.Top += c->FHeight;
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - h, r.Width(), h);
                r.Bottom -= c->FHeight;
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, w, r.Height());
                r.Left += c->FWidth;
                break;
            case alRight:
                c->SetBounds(r.Right - w, r.Top, w, r.Height());
                r.Right -= c->FWidth;
                break;
            case alClient:
                c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
                break;
            default:
                break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
    FAligning = false;
}

void TWinControl::PaintWindow(QPainter& painter)
{
    if (!FParentBackground)
        painter.fillRect(QRect(0, 0, FWidth, FHeight), ToQColor(FColor));
    PaintControls(painter, painter.clipBoundingRect().toAlignedRect());
}

void TWinControl::PaintControls(QPainter& painter, const QRect& area)
{
    const bool all = area.isEmpty();
    // A copy: painting may not change the list, but handlers might.
    const auto list = FControls;
    for (TControl* c : list) {
        if (!c->IsGraphic() || !c->FVisible)
            continue;
        if (!all && !area.intersects(c->BoundsRect().ToQRect()))
            continue;
        static_cast<TGraphicControl*>(c)->PaintTo(painter);
    }
}

void TWinControl::CallNative(TMessage& message)
{
    if (FWidget)
        if (auto* b = TWindowBridge::Of(FWidget))
            b->CallNative(message);
}

void TWinControl::DefaultHandler(TMessage& message) { CallNative(message); }

void TWinControl::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(QChar& key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TWinControl::WndProc(TMessage& m)
{
    if (IsMouseMessage(m.Msg)) {
        const int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
        TControl* target = FCaptureControl;
        if (!target)
            target = ControlAtPos(x, y);
        if (m.Msg == WM_MOUSEMOVE && !FCaptureControl && target != FMouseControl) {
            TControl* old = FMouseControl;
            FMouseControl = target;
            if (old)
                old->Perform(CM_MOUSELEAVE);
            if (target)
                target->Perform(CM_MOUSEENTER);
            else
                TApplication::NoteMouseControl(this);
        }
        if (target && target != this && target->IsGraphic()) {
            TMessage fwd = m;
            fwd.Event = nullptr;
            fwd.LParam = MakeLParam(x - target->FLeft, y - target->FTop);
            if (target->WindowProc)
                target->WindowProc(fwd);
            m.Result = fwd.Result;
            return;
        }
        if (FCaptureControl && FCaptureControl != this)
            return;
        TControl::WndProc(m);
        return;
    }
    switch (m.Msg) {
    case CM_MOUSELEAVE:
        if (FMouseControl) {
            TControl* old = FMouseControl;
            FMouseControl = nullptr;
            old->Perform(CM_MOUSELEAVE);
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        int key = static_cast<int>(m.WParam);
        // A key without a virtual-key code (a letter of a national keyboard
        // such as "ř") has nothing for the handlers: its 0 is not "handled".
        const bool coded = key != 0;
        TShiftState shift = 0;
        if (auto* ke = dynamic_cast<QKeyEvent*>(m.Event))
            shift = ShiftStateFromQt(ke->modifiers());
        // A form with key preview sees the key before its controls.
        if (TCustomForm* form = ParentForm(); coded && form && form != this && form->KeyPreview()) {
            form->PreviewKeyDown(key, shift);
            if (key == 0)
                return;
        }
        if (coded) {
            KeyDown(key, shift);
            if (key == 0)
                return; // handled: the window does not see the key
        }
        if (auto* ke = dynamic_cast<QKeyEvent*>(m.Event); ke && OnKeyPress && !ke->text().isEmpty()) {
            QChar ch = ke->text().at(0);
            KeyPress(ch);
            if (ch.isNull())
                return;
        }
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        int key = static_cast<int>(m.WParam);
        if (key == 0)
            break;
        TShiftState shift = 0;
        if (auto* ke = dynamic_cast<QKeyEvent*>(m.Event))
            shift = ShiftStateFromQt(ke->modifiers());
        KeyUp(key, shift);
        if (key == 0)
            return;
        break;
    }
    case WM_PAINT:
        // A painter in wParam: paint into it (a child taking our image as its background).
        if (!m.Event && m.WParam) {
            auto* painter = reinterpret_cast<QPainter*>(m.WParam);
            if (FWidget && !dynamic_cast<TControlWidget*>(FWidget.data()))
                FWidget->render(painter, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            else
                PaintWindow(*painter);
            return;
        }
        // A Qt-drawn control paints itself first; our graphic children go on top.
        if (m.Event && FWidget && !dynamic_cast<TControlWidget*>(FWidget.data())) {
            const bool hasGraphic = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return c->IsGraphic(); });
            TControl::WndProc(m);
            if (hasGraphic) {
                QPainter p(FWidget);
                PaintControls(p, static_cast<QPaintEvent*>(m.Event)->rect());
            }
            return;
        }
        break;
    case WM_SETFOCUS:
        if (OnEnter)
            OnEnter(this);
        break;
    case WM_KILLFOCUS:
        if (OnExit)
            OnExit(this);
        break;
    default:
        break;
    }
    TControl::WndProc(m);
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(QPainter& painter)
{
    FCanvas.BindPainter(&painter);
    FCanvas.SetFont(&FFont);
    FCanvas.Brush()->SetColor(FColor);
    try {
        Paint();
    } catch (...) {
        FCanvas.Unbind();
        throw;
    }
    FCanvas.Unbind();
    PaintControls(painter, painter.clipBoundingRect().toAlignedRect());
}

void TCustomControl::Paint()
{
    if (!FParentBackground)
        FCanvas.FillRect(ClientRect());
}

TWinControl* FindControl(QWidget* window)
{
    for (QWidget* w = window; w; w = w->parentWidget()) {
        const QVariant v = w->property("tvControl");
        if (v.isValid())
            return static_cast<TWinControl*>(v.value<void*>());
        if (w->isWindow() && !w->property("tvForm").isValid())
            break;
    }
    return nullptr;
}
