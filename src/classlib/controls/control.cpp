#include "classlib/controls/control.h"

#include "classlib/controls/drag.h"
#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "classlib/sysutils.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

Qt::CursorShape CursorToQt(TCursor cursor)
{
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

namespace {
struct CursorName {
    int Value;
    const char* Name;
};
const CursorName kCursorNames[] = {
    {crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"}, {crCross, "crCross"},
    {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"}, {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"}, {crHSplit, "crHSplit"}, {crVSplit, "crVSplit"}, {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"}, {crNo, "crNo"}, {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
};
} // namespace

bool CursorToIdent(int cursor, QString& ident)
{
    for (const auto& c : kCursorNames)
        if (c.Value == cursor) {
            ident = QString::fromLatin1(c.Name);
            return true;
        }
    return false;
}

bool IdentToCursor(const QString& ident, int& cursor)
{
    for (const auto& c : kCursorNames)
        if (ident.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            cursor = c.Value;
            return true;
        }
    return false;
}

TShiftState ShiftStateFromKeys(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    if (QApplication::keyboardModifiers() & Qt::AltModifier)
        s |= ssAlt;
    return s;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

void TSizeConstraints::Assign(const TPersistent* source)
{
    const auto* c = dynamic_cast<const TSizeConstraints*>(source);
    if (!c) {
        TPersistent::Assign(source);
        return;
    }
    MaxHeight = c->MaxHeight;
    MaxWidth = c->MaxWidth;
    MinHeight = c->MinHeight;
    MinWidth = c->MinWidth;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont.OnChange = [this](TGraphicsObject*) {
        if (!FUpdatingFont)
            FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    Destroying();
    TDragManager::Forget(this);
    TApplication::ControlDestroyed(this);
    if (FParent)
        FParent->RemoveControl(this);
    FParent = nullptr;
}

void TControl::ApplyConstraints(int& width, int& height) const
{
    if (FConstraints.MinWidth > 0 && width < FConstraints.MinWidth)
        width = FConstraints.MinWidth;
    if (FConstraints.MaxWidth > 0 && width > FConstraints.MaxWidth)
        width = FConstraints.MaxWidth;
    if (FConstraints.MinHeight > 0 && height < FConstraints.MinHeight)
        height = FConstraints.MinHeight;
    if (FConstraints.MaxHeight > 0 && height > FConstraints.MaxHeight)
        height = FConstraints.MaxHeight;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    ApplyConstraints(width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    const bool resized = width != FWidth || height != FHeight;
    const TRect old = BoundsRect();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (IsGraphic() && FParent && FVisible && FParent->HandleAllocated()) {
        FParent->ClientWidget()->update(old.ToQRect());
        FParent->ClientWidget()->update(BoundsRect().ToQRect());
    }
    BoundsChanged();
    if (FParent)
        FParent->ControlBoundsChanged(this);
    if (resized)
        Resize();
    if (FAlign != alNone)
        RequestAlign();
}

TPoint TControl::ClientOrigin() const
{
    // A window asks the window system: its frame, caption and menu bar count.
    if (auto* wc = dynamic_cast<const TWinControl*>(this); wc && wc->HandleAllocated())
        return TPoint::From(const_cast<TWinControl*>(wc)->ClientWidget()->mapToGlobal(QPoint(0, 0)));
    if (!FParent)
        return TPoint(FLeft, FTop);
    const TPoint p = FParent->ClientOrigin();
    return TPoint(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    const TPoint o = ClientOrigin();
    return TPoint(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    const TPoint o = ClientOrigin();
    return TPoint(p.X - o.X, p.Y - o.Y);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (parent == this)
        throw EInvalidOperation(QStringLiteral("Ovládací prvek nemůže ležet sám v sobě"));
    if (FParent)
        FParent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
    if (parent) {
        if (FParentFont)
            ParentFontChanged();
        if (FParentColor)
            ParentColorChanged();
    }
}

void TControl::SetVisible(bool v)
{
    if (v == FVisible)
        return;
    FVisible = v;
    VisibleChanged();
    if (FParent)
        FParent->ControlBoundsChanged(this);
    if (FAlign != alNone)
        RequestAlign();
}

void TControl::VisibleChanged()
{
    if (FParent && FParent->HandleAllocated())
        FParent->ClientWidget()->update(BoundsRect().ToQRect());
}

bool TControl::Showing() const
{
    if (!FVisible)
        return false;
    if (FParent)
        return FParent->Showing();
    auto* self = dynamic_cast<const TWinControl*>(this);
    if (self && self->HandleAllocated()) {
        auto* w = const_cast<TWinControl*>(self)->Handle();
        return w->window()->isVisible();
    }
    return false;
}

void TControl::SetEnabled(bool v)
{
    if (v == FEnabled)
        return;
    FEnabled = v;
    EnabledChanged();
    Invalidate();
}

void TControl::SetAlign(TAlign a)
{
    if (a == FAlign)
        return;
    FAlign = a;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->Realign();
}

void TControl::SetCaption(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    TextChanged();
    Invalidate();
}

void TControl::SetParentFont(bool v)
{
    if (v == FParentFont)
        return;
    FParentFont = v;
    if (v)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FUpdatingFont = true;
    FFont.Assign(FParent->Font());
    FUpdatingFont = false;
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetColor(TColor c)
{
    if (c == FColor)
        return;
    FColor = c;
    FParentColor = false;
    ColorChanged();
}

void TControl::SetParentColor(bool v)
{
    if (v == FParentColor)
        return;
    FParentColor = v;
    if (v)
        ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || !FParent)
        return;
    FColor = FParent->Color();
    ColorChanged();
    FParentColor = true;
}

void TControl::ColorChanged() { Invalidate(); }

void TControl::SetHint(const QString& hint) { FHint = hint; }

void TControl::SetShowHint(bool v)
{
    FShowHint = v;
    FParentShowHint = false;
}

void TControl::SetParentShowHint(bool v)
{
    FParentShowHint = v;
}

bool TControl::EffectiveShowHint() const
{
    if (FParentShowHint && FParent)
        return FParent->EffectiveShowHint();
    if (FParentShowHint && !FParent)
        return true;
    return FShowHint;
}

void TControl::SetCursor(TCursor c) { FCursor = c; }

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = menu;
    if (menu)
        menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

TCustomForm* TControl::ParentForm() const
{
    const TControl* c = this;
    while (c) {
        if (auto* f = dynamic_cast<const TCustomForm*>(c))
            return const_cast<TCustomForm*>(f);
        c = c->FParent;
    }
    return nullptr;
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    Invalidate();
}

void TControl::Invalidate()
{
    if (FParent && FParent->HandleAllocated() && FVisible)
        FParent->ClientWidget()->update(BoundsRect().ToQRect());
}

void TControl::Repaint()
{
    if (FParent && FParent->HandleAllocated() && FVisible)
        FParent->ClientWidget()->repaint(BoundsRect().ToQRect());
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    if (WindowProc)
        WindowProc(m);
    return m.Result;
}

void TControl::Dispatch(TMessage& message) { WndProc(message); }

void TControl::DefaultHandler(TMessage& message) { Q_UNUSED(message); }

bool TControl::MouseCapture() const
{
    if (IsGraphic())
        return FParent && FParent->FCaptureControl == this;
    auto* w = const_cast<TControl*>(this);
    auto* wc = static_cast<TWinControl*>(w);
    return wc->HandleAllocated() && QWidget::mouseGrabber() == wc->Handle();
}

void TControl::SetMouseCapture(bool capture)
{
    if (IsGraphic()) {
        if (FParent)
            FParent->SetCaptureControl(capture ? this : (FParent->FCaptureControl == this ? nullptr : FParent->FCaptureControl));
        return;
    }
    // Windowed controls keep Qt's implicit grab while a button is down.
}

void TControl::BeginDrag(bool immediate) { TDragManager::Begin(this, immediate); }
bool TControl::Dragging() const { return TDragManager::Source() == this; }
void TControl::EndDrag(bool drop) { TDragManager::End(drop); }

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (OnContextPopup)
        OnContextPopup(this, mousePos, handled);
    if (handled)
        return;
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        handled = true;
        FPopupMenu->SetPopupComponent(this);
        const TPoint p = (mousePos.X == -1 && mousePos.Y == -1) ? ClientToScreen(TPoint(0, 0)) : ClientToScreen(mousePos);
        FPopupMenu->Popup(p.X, p.Y);
    }
}

void TControl::HandleMouseMessage(TMessage& m)
{
    const int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
    const TShiftState shift = ShiftStateFromKeys(m.WParam);
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        TApplication::NoteMouseControl(this);
        MouseMove(shift, x, y);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const bool dbl = m.Msg == WM_LBUTTONDBLCLK;
        if (FCaptureMouse)
            SetMouseCapture(true);
        FMouseInside = FClickEvents;
        if (dbl)
            DblClick();
        MouseDown(mbLeft, shift | (dbl ? unsigned(ssDouble) : 0u), x, y);
        if (FDragMode == dmAutomatic && FDragKind == dkDrag && !dbl)
            TDragManager::Begin(this, false, ClientToScreen(TPoint(x, y)));
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        if (FCaptureMouse)
            SetMouseCapture(true);
        MouseDown(mbRight, shift | (m.Msg == WM_RBUTTONDBLCLK ? unsigned(ssDouble) : 0u), x, y);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (FCaptureMouse)
            SetMouseCapture(true);
        MouseDown(mbMiddle, shift | (m.Msg == WM_MBUTTONDBLCLK ? unsigned(ssDouble) : 0u), x, y);
        break;
    case WM_LBUTTONUP: {
        if (FCaptureMouse)
            SetMouseCapture(false);
        const bool clicked = FMouseInside;
        FMouseInside = false;
        // The release that dropped a drag of this control is no click of its own.
        if (TDragManager::TakeEndingRelease(this))
            break;
        if (clicked && x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight())
            Click();
        MouseUp(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONUP: {
        if (FCaptureMouse)
            SetMouseCapture(false);
        MouseUp(mbRight, shift, x, y);
        bool handled = false;
        DoContextPopup(TPoint(x, y), handled);
        break;
    }
    case WM_MBUTTONUP:
        if (FCaptureMouse)
            SetMouseCapture(false);
        MouseUp(mbMiddle, shift, x, y);
        break;
    default:
        break;
    }
}

void TControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        TApplication::NoteMouseControl(this);
        if (OnMouseEnter)
            OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (OnMouseLeave)
            OnMouseLeave(this);
        break;
    default:
        if (IsMouseMessage(m.Msg) && FEnabled)
            HandleMouseMessage(m);
        break;
    }
    DefaultHandler(m);
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m)
{
    // A painter in wParam, set to the control's origin by its parent.
    if (m.Msg == WM_PAINT && m.WParam && !m.Event) {
        Paint();
        return;
    }
    TControl::WndProc(m);
}

void TGraphicControl::PaintTo(QPainter& painter)
{
    painter.save();
    painter.translate(FLeft, FTop);
    painter.setClipRect(QRect(0, 0, FWidth, FHeight), Qt::IntersectClip);
    FCanvas.BindPainter(&painter);
    FCanvas.SetFont(&FFont);
    try {
        // Through the control's procedure, so a subclasser paints it in its
        // place among its siblings.
        Perform(WM_PAINT, WParamOf(&painter));
    } catch (...) {
        FCanvas.Unbind();
        painter.restore();
        throw;
    }
    FCanvas.Unbind();
    painter.restore();
}
