#include "classlib/controls/ext_controls.h"

#include "platform/scroll_info.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width)
{
    TBrush saved;
    saved.Assign(canvas->Brush());
    for (int i = 0; i < width; ++i) {
        r.Right -= 1;
        r.Bottom -= 1;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(topColor);
        canvas->FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 1));
        canvas->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
        canvas->Brush()->SetColor(bottomColor);
        canvas->FillRect(TRect(r.Right, r.Top, r.Right + 1, r.Bottom + 1));
        canvas->FillRect(TRect(r.Left, r.Bottom, r.Right + 1, r.Bottom + 1));
        r.Left += 1;
        r.Top += 1;
    }
    canvas->Brush()->Assign(&saved);
}

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* owner) : TCustomControl(owner)
{
    FWidth = 185;
    FHeight = 41;
    FColor = clBtnFace;
    FParentColor = false;
}

void TPanel::SetBevelInner(TBevelCut b)
{
    FBevelInner = b;
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut b)
{
    FBevelOuter = b;
    Invalidate();
}

void TPanel::SetBevelWidth(int w)
{
    FBevelWidth = w;
    Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment a)
{
    FAlignment = a;
    Invalidate();
}

void TPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FParentBackground) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FColor);
        c->FillRect(r);
    }
    // A single border is a one-pixel frame inside the panel: the client area
    // keeps the panel's full size, so children place from its very corner.
    if (FBorderStyle == bsSingleBorder)
        Frame3D(c, r, clBtnShadow, clBtnShadow, 1);
    if (FBevelOuter != bvNone)
        Frame3D(c, r, FBevelOuter == bvLowered ? clBtnShadow : clBtnHighlight,
                FBevelOuter == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
    if (FBevelInner != bvNone)
        Frame3D(c, r, FBevelInner == bvLowered ? clBtnShadow : clBtnHighlight,
                FBevelInner == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
    if (!FText.isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        c->SetFont(&FFont);
        unsigned flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
        if (FAlignment == taCenter)
            flags |= DT_CENTER;
        else if (FAlignment == taRightJustify)
            flags |= DT_RIGHT;
        c->DrawText(FText, r, flags);
    }
}

// ---------------------------------------------------------------- TShape

const char* ShapeTypeName(TShapeType s)
{
    static const char* const names[] = {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"};
    return names[s];
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 65;
    FHeight = 65;
    FPen.OnChange = [this](TGraphicsObject*) { Invalidate(); };
    FBrush.OnChange = [this](TGraphicsObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType s)
{
    if (s == FShape)
        return;
    FShape = s;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->Assign(&FPen);
    c->Brush()->Assign(&FBrush);
    const int pw = FPen.Width();
    int x = pw / 2, y = x;
    int w = FWidth - pw + 1, h = FHeight - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    const int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare:
        c->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        c->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
        break;
    case stEllipse:
    case stCircle:
        c->Ellipse(x, y, x + w, y + h);
        break;
    }
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape s)
{
    FShape = s;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle s)
{
    FStyle = s;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    const TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TRect r = ClientRect();
    auto line = [&](int x1, int y1, int x2, int y2, TColor col) {
        c->Brush()->SetColor(col);
        c->FillRect(TRect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1));
    };
    switch (FShape) {
    case bsBox:
        Frame3D(c, r, c1, c2, 1);
        break;
    case bsFrame: {
        TRect a(r.Left, r.Top, r.Right - 1, r.Bottom - 1), b(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
        Frame3D(c, b, c2, c2, 1);
        Frame3D(c, a, c1, c1, 1);
        break;
    }
    case bsTopLine:
        line(0, 0, FWidth - 1, 0, c1);
        line(0, 1, FWidth - 1, 1, c2);
        break;
    case bsBottomLine:
        line(0, FHeight - 2, FWidth - 1, FHeight - 2, c1);
        line(0, FHeight - 1, FWidth - 1, FHeight - 1, c2);
        break;
    case bsLeftLine:
        line(0, 0, 0, FHeight - 1, c1);
        line(1, 0, 1, FHeight - 1, c2);
        break;
    case bsRightLine:
        line(FWidth - 2, 0, FWidth - 2, FHeight - 1, c1);
        line(FWidth - 1, 0, FWidth - 1, FHeight - 1, c2);
        break;
    case bsSpacer:
        break;
    }
}

// ---------------------------------------------------------------- TScrollBox

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner)
{
    FWidth = 185;
    FHeight = 41;
    FColor = clBtnFace;
}

QWidget* TScrollBox::CreateWidget(QWidget* parent)
{
    FArea = new QScrollArea(parent);
    FArea->setWidgetResizable(false);
    FArea->setFrameShape(FBorderStyle == bsSingleBorder ? QFrame::StyledPanel : QFrame::NoFrame);
    auto* inner = new TControlWidget(this, nullptr);
    FArea->setWidget(inner);
    FOuterWidget = FArea;
    return inner;
}

void TScrollBox::InitWidget()
{
    TWinControl::InitWidget();
    UpdateScrollRange();
}

int TScrollBox::ClientWidth() const
{
    if (FArea)
        return FArea->viewport()->width();
    return FBorderStyle == bsSingleBorder ? FWidth - 4 : FWidth;
}

int TScrollBox::ClientHeight() const
{
    if (FArea)
        return FArea->viewport()->height();
    return FBorderStyle == bsSingleBorder ? FHeight - 4 : FHeight;
}

void TScrollBox::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    if (FArea)
        FArea->setFrameShape(s == bsSingleBorder ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TScrollBox::BoundsChanged()
{
    TWinControl::BoundsChanged();
    UpdateScrollRange();
}

// The scrolled area follows its contents: a child moved, sized, shown or
// hidden may need more room or leave some.
void TScrollBox::ControlBoundsChanged(TControl*) { UpdateScrollRange(); }

void TScrollBox::UpdateScrollRange()
{
    if (!FArea || !FWidget)
        return;
    int right = 0, bottom = 0;
    for (TControl* c : FControls)
        if (c->Visible() && c->Align() == alNone) {
            right = std::max(right, c->Left() + c->Width());
            bottom = std::max(bottom, c->Top() + c->Height());
        }
    // Without scroll bars first, then with the room they take.
    const QSize view = FArea->maximumViewportSize();
    int w = std::max(view.width(), right), h = std::max(view.height(), bottom);
    if (right > view.width())
        h = std::max(view.height() - FArea->horizontalScrollBar()->sizeHint().height(), bottom);
    if (bottom > view.height())
        w = std::max(view.width() - FArea->verticalScrollBar()->sizeHint().width(), right);
    FWidget->resize(w, h);
}

int TScrollBox::HorzPosition() const { return FArea ? FArea->horizontalScrollBar()->value() : 0; }
int TScrollBox::VertPosition() const { return FArea ? FArea->verticalScrollBar()->value() : 0; }

void TScrollBox::SetHorzPosition(int p)
{
    if (FArea)
        FArea->horizontalScrollBar()->setValue(p);
}

void TScrollBox::SetVertPosition(int p)
{
    if (FArea)
        FArea->verticalScrollBar()->setValue(p);
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TCustomControl(owner)
{
    FWidth = 121;
    FHeight = 97;
    FColor = clWindow;
    FTabStop = true;
    FClickEvents = false; // a list box reports its click when a line is pressed
    FItems.OnChange = [this](TStrings*) {
        if (FItemIndex >= FItems.Count())
            FItemIndex = -1;
        UpdateScrollBar();
        Invalidate();
    };
}

TListBox::~TListBox() { FItems.OnChange = nullptr; }

QWidget* TListBox::CreateWidget(QWidget* parent)
{
    QWidget* w = TCustomControl::CreateWidget(parent);
    w->setFocusPolicy(Qt::StrongFocus);
    FScroll = new QScrollBar(Qt::Vertical, w);
    FScroll->setProperty(kWindowScrollBarProperty, true);
    FScroll->hide();
    QObject::connect(FScroll, &QScrollBar::valueChanged, FScroll, [this](int v) {
        FTopIndex = v;
        Invalidate();
    });
    return w;
}

void TListBox::WndProc(TMessage& m)
{
    // The wheel over the lines scrolls them as over the bar.
    if (m.Msg == WM_MOUSEWHEEL && FScroll && FScroll->isVisible()) {
        if (m.Event && m.Event->type() == QEvent::Wheel) {
            auto* e = static_cast<QWheelEvent*>(m.Event);
            const QPoint global = e->globalPosition().toPoint();
            QWheelEvent forwarded(QPointF(FScroll->mapFromGlobal(global)), QPointF(global), e->pixelDelta(),
                                  e->angleDelta(), e->buttons(), e->modifiers(), e->phase(), e->inverted());
            QCoreApplication::sendEvent(FScroll, &forwarded);
        } else {
            // Sent as a message: three lines a notch, as the platform scrolls.
            FScroll->setValue(FScroll->value() - HiWordSigned(static_cast<LPARAM>(m.WParam)) / 120 * 3);
        }
        m.Result = 0;
        return;
    }
    TCustomControl::WndProc(m);
}

void TListBox::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    UpdateScrollBar();
}

int TListBox::VisibleLines() const
{
    return std::max(1, (FHeight - 2 * BorderWidth()) / std::max(1, FItemHeight));
}

void TListBox::UpdateScrollBar()
{
    if (!FScroll)
        return;
    const int extra = FItems.Count() - VisibleLines();
    if (extra > 0) {
        const int b = BorderWidth();
        const int sw = FScroll->sizeHint().width();
        FScroll->setGeometry(FWidth - b - sw, b, sw, FHeight - 2 * b);
        FScroll->setRange(0, extra);
        FScroll->setPageStep(VisibleLines());
        FScroll->show();
    } else {
        FScroll->hide();
        FScroll->setRange(0, 0);
        FTopIndex = 0;
    }
}

void TListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= FItems.Count())
        index = -1;
    FItemIndex = index;
    // Keep the selected line in view.
    if (index >= 0) {
        if (index < FTopIndex)
            SetTopIndex(index);
        else if (index >= FTopIndex + VisibleLines())
            SetTopIndex(index - VisibleLines() + 1);
    }
    Invalidate();
}

void TListBox::SetItemHeight(int h)
{
    FItemHeight = std::max(1, h);
    UpdateScrollBar();
    Invalidate();
}

void TListBox::SetStyle(TListBoxStyle s)
{
    FStyle = s;
    Invalidate();
}

void TListBox::SetTopIndex(int i)
{
    FTopIndex = std::clamp(i, 0, std::max(0, FItems.Count() - VisibleLines()));
    if (FScroll)
        FScroll->setValue(FTopIndex);
    Invalidate();
}

void TListBox::SetBorderStyle(TBorderStyle s)
{
    FBorderStyle = s;
    UpdateScrollBar();
    Invalidate();
}

TRect TListBox::ItemRect(int index) const
{
    const int b = BorderWidth();
    const int right = FWidth - b - (FScroll && FScroll->isVisible() ? FScroll->width() : 0);
    const int top = b + (index - FTopIndex) * FItemHeight;
    return TRect(b, top, right, top + FItemHeight);
}

int TListBox::ItemAtPos(TPoint p, bool existing) const
{
    const int b = BorderWidth();
    if (p.Y < b)
        return existing ? -1 : FTopIndex;
    const int i = FTopIndex + (p.Y - b) / std::max(1, FItemHeight);
    if (i >= FItems.Count())
        return existing ? -1 : FItems.Count();
    return i;
}

void TListBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(ClientRect());
    if (FBorderStyle == bsSingleBorder) {
        TRect r = ClientRect();
        Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
    }
    const int b = BorderWidth();
    c->SetClipRect(TRect(b, b, FWidth - b, FHeight - b));
    for (int i = FTopIndex; i < FItems.Count(); ++i) {
        const TRect r = ItemRect(i);
        if (r.Top >= FHeight - b)
            break;
        TOwnerDrawState state = 0;
        if (i == FItemIndex) {
            state |= odSelected;
            if (Focused())
                state |= odFocused;
        }
        c->SetFont(&FFont);
        if (FStyle != lbStandard && OnDrawItem) {
            OnDrawItem(this, i, r, state);
            continue;
        }
        c->Brush()->SetColor((state & odSelected) ? clHighlight : FColor);
        c->FillRect(r);
        c->Font()->SetColor((state & odSelected) ? clHighlightText : FFont.Color());
        c->Brush()->SetStyle(bsClear);
        c->TextOut(r.Left + 2, r.Top, FItems[i]);
        c->Brush()->SetStyle(bsSolid);
    }
    c->ClearClip();
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        const int i = ItemAtPos(TPoint(x, y), true);
        if (i >= 0) {
            FItemIndex = i;
            Invalidate();
            Click();
        }
        if (FWidget)
            FWidget->setFocus(Qt::MouseFocusReason);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TListBox::DblClick() { TCustomControl::DblClick(); }

void TListBox::KeyDown(int& key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if (key == 0 || FItems.Count() == 0)
        return;
    int i = FItemIndex;
    switch (key) {
    case VK_UP:
        i = std::max(0, i - 1);
        break;
    case VK_DOWN:
        i = std::min(FItems.Count() - 1, i + 1);
        break;
    case VK_HOME:
        i = 0;
        break;
    case VK_END:
        i = FItems.Count() - 1;
        break;
    case VK_PRIOR:
        i = std::max(0, i - VisibleLines());
        break;
    case VK_NEXT:
        i = std::min(FItems.Count() - 1, i + VisibleLines());
        break;
    default:
        return;
    }
    key = 0;
    if (i != FItemIndex) {
        SetItemIndex(i);
        Click();
    }
}

// ---------------------------------------------------------------- TTimer

TTimer::TTimer(TComponent* owner) : TComponent(owner), FTimer(new QTimer())
{
    QObject::connect(FTimer, &QTimer::timeout, FTimer, [this] {
        if (OnTimer)
            SafeCall([this] { OnTimer(this); });
    });
    Update();
}

TTimer::~TTimer()
{
    Destroying();
    delete FTimer;
}

void TTimer::SetEnabled(bool v)
{
    FEnabled = v;
    Update();
}

void TTimer::SetInterval(int ms)
{
    FInterval = ms;
    Update();
}

void TTimer::Update()
{
    FTimer->stop();
    if (FEnabled && FInterval > 0)
        FTimer->start(FInterval);
}
