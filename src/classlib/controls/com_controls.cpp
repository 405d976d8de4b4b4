#include "classlib/controls/com_controls.h"

#include "classlib/controls/ext_controls.h"

#include <QPainter>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner)
{
    FHeight = 19;
    FWidth = 200;
    FColor = clBtnFace;
    FAlign = alBottom;
}

void TStatusBar::AddPanel(int width, TAlignment alignment)
{
    TStatusPanel p;
    p.Width = width;
    p.Alignment = alignment;
    FPanels.push_back(p);
    Invalidate();
}

void TStatusBar::SetPanelText(int index, const QString& text)
{
    if (index < 0 || index >= PanelCount())
        return;
    FPanels[static_cast<size_t>(index)].Text = text;
    Invalidate();
}

void TStatusBar::SetPanelWidth(int index, int width)
{
    if (index < 0 || index >= PanelCount())
        return;
    FPanels[static_cast<size_t>(index)].Width = width;
    Invalidate();
}

void TStatusBar::SetSimplePanel(bool v)
{
    FSimplePanel = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const QString& t)
{
    FSimpleText = t;
    Invalidate();
}

void TStatusBar::SetSizeGrip(bool v)
{
    FSizeGrip = v;
    Invalidate();
}

void TStatusBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(ClientRect());
    c->SetFont(&FFont);
    auto cell = [&](TRect r, const QString& text, TAlignment a, TStatusPanelBevel bevel = pbLowered,
                    TStatusPanelStyle style = psText) {
        TRect frame = r;
        if (bevel != pbNone)
            Frame3D(c, frame, bevel == pbLowered ? clBtnShadow : clBtnHighlight,
                    bevel == pbLowered ? clBtnHighlight : clBtnShadow, 1);
        else
            frame = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        if (style == psOwnerDraw)
            return;
        c->Brush()->SetStyle(bsClear);
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (a == taCenter)
            flags |= DT_CENTER;
        else if (a == taRightJustify)
            flags |= DT_RIGHT;
        TRect t(frame.Left + 2, frame.Top, frame.Right - 2, frame.Bottom);
        c->DrawText(text, t, flags);
        c->Brush()->SetStyle(bsSolid);
    };
    if (FSimplePanel || FPanels.empty()) {
        cell(TRect(0, 2, FWidth, FHeight), FSimpleText, taLeftJustify);
        return;
    }
    int x = 0;
    for (size_t i = 0; i < FPanels.size(); ++i) {
        const bool last = i + 1 == FPanels.size();
        const int w = last ? std::max(FPanels[i].Width, FWidth - x) : FPanels[i].Width;
        cell(TRect(x, 2, std::min(x + w, FWidth), FHeight), FPanels[i].Text, FPanels[i].Alignment, FPanels[i].Bevel,
             FPanels[i].Style);
        x += w + 2;
        if (x >= FWidth)
            break;
    }
}

// ---------------------------------------------------------------- TToolButton

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 23;
    FHeight = 22;
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(FParent); }

void TToolButton::SetStyle(TToolButtonStyle s)
{
    FStyle = s;
    if (s == tbsSeparator || s == tbsDivider)
        FWidth = 8;
    if (TToolBar* tb = ToolBar())
        tb->ArrangeButtons();
    Invalidate();
}

void TToolButton::SetDown(bool v)
{
    if (v == FDown)
        return;
    FDown = v;
    // Grouped check buttons: one down at a time.
    if (v && FGrouped)
        if (TToolBar* tb = ToolBar())
            for (int i = 0; i < tb->ButtonCount(); ++i)
                if (TToolButton* b = tb->Buttons(i); b != this && b->FGrouped && b->FDown) {
                    b->FDown = false;
                    b->Invalidate();
                }
    Invalidate();
}

void TToolButton::SetImageIndex(int i)
{
    FImageIndex = i;
    Invalidate();
}

void TToolButton::SetVisible(bool v)
{
    TGraphicControl::SetVisible(v);
    if (TToolBar* tb = ToolBar())
        tb->ArrangeButtons();
}

void TToolButton::TextChanged()
{
    if (TToolBar* tb = ToolBar())
        tb->ArrangeButtons();
}

void TToolButton::Click()
{
    if (FStyle == tbsCheck) {
        if (FDown && FGrouped && !FAllowAllUp) {
            // A grouped button stays down.
        } else {
            SetDown(!FDown);
        }
    }
    TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FStyle != tbsSeparator && FStyle != tbsDivider) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    FPressed = false;
    Invalidate();
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::WndProc(TMessage& m)
{
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
        FHot = m.Msg == CM_MOUSEENTER;
        Invalidate();
    }
    TGraphicControl::WndProc(m);
}

TCustomDrawState TToolButton::DrawState() const
{
    TCustomDrawState s = 0;
    if (FPressed)
        s |= cdsSelected;
    if (FDown)
        s |= cdsChecked;
    if (FHot && FEnabled)
        s |= cdsHot;
    if (!FEnabled)
        s |= cdsDisabled | cdsGrayed;
    return s;
}

void TToolButton::Paint()
{
    TCanvas* c = Canvas();
    if (FStyle == tbsSeparator)
        return;
    if (FStyle == tbsDivider) {
        TRect r(FWidth / 2 - 1, 0, FWidth / 2 + 1, FHeight);
        Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
        return;
    }
    TRect r = ClientRect();
    TToolBar* tb = ToolBar();
    bool defaultDraw = true;
    c->Font()->Assign(&FFont);
    if (tb && tb->OnCustomDrawButton)
        tb->OnCustomDrawButton(tb, this, c, DrawState(), defaultDraw);
    const TColor captionColour = c->Font()->Color();
    if (!defaultDraw) {
        // The face was drawn by the tool bar's handler.
    } else if (FDown) {
        // A check button held down shows a dithered face.
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(RGB(233, 231, 227));
        c->FillRect(r);
    }
    if (defaultDraw && (FDown || FPressed))
        Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    const int shift = (FDown || FPressed) ? 1 : 0;
    if (tb && tb->Images() && FImageIndex >= 0 && FImageIndex < tb->Images()->Count()) {
        const int iw = tb->Images()->Width(), ih = tb->Images()->Height();
        int y = (FHeight - ih) / 2;
        if (tb->ShowCaptions())
            y = 3;
        tb->Images()->Draw(c, (FWidth - iw) / 2 + shift, y + shift, FImageIndex, FEnabled);
    }
    if (tb && tb->ShowCaptions() && !FText.isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        c->SetFont(&FFont);
        c->Font()->SetColor(captionColour);
        TRect t(0, FHeight - 16 + shift, FWidth, FHeight);
        c->DrawText(FText, t, DT_CENTER | DT_SINGLELINE);
    }
}

// ---------------------------------------------------------------- TToolBar

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner)
{
    FWidth = 150;
    FHeight = 29;
    FColor = clBtnFace;
    FAlign = alTop;
}

void TToolBar::SetImages(TImageList* images)
{
    FImages = images;
    Invalidate();
}

void TToolBar::SetButtonSize(int width, int height)
{
    FButtonWidth = width;
    FButtonHeight = height;
    ArrangeButtons();
}

void TToolBar::SetFlat(bool v)
{
    FFlat = v;
    Invalidate();
}

void TToolBar::SetShowCaptions(bool v)
{
    FShowCaptions = v;
    ArrangeButtons();
}

int TToolBar::ButtonCount() const
{
    int n = 0;
    for (TControl* c : FControls)
        if (dynamic_cast<TToolButton*>(c))
            ++n;
    return n;
}

TToolButton* TToolBar::Buttons(int index) const
{
    int n = 0;
    for (TControl* c : FControls)
        if (auto* b = dynamic_cast<TToolButton*>(c)) {
            if (n == index)
                return b;
            ++n;
        }
    return nullptr;
}

void TToolBar::ArrangeButtons()
{
    if (FArranging)
        return;
    FArranging = true;
    int x = 0, y = 2;
    for (TControl* c : FControls) {
        auto* b = dynamic_cast<TToolButton*>(c);
        if (!b || !b->Visible())
            continue;
        const bool sep = b->FStyle == tbsSeparator || b->FStyle == tbsDivider;
        const int w = sep ? b->Width() : FButtonWidth;
        const int h = sep && FAlign != alLeft && FAlign != alRight ? FButtonHeight : (sep ? 8 : FButtonHeight);
        const bool vertical = FAlign == alLeft || FAlign == alRight;
        if (vertical) {
            // One button per row; separators take a short row.
            b->SetBounds(0, y, FWidth, sep ? 8 : FButtonHeight);
            if (!sep)
                b->SetBounds((FWidth - FButtonWidth) / 2, y, FButtonWidth, FButtonHeight);
            y += sep ? 8 : FButtonHeight;
            continue;
        }
        if (x > 0 && x + w > FWidth) {
            x = 0;
            y += FButtonHeight;
        }
        b->SetBounds(x, y, w, h);
        x += w;
    }
    FArranging = false;
    Invalidate();
}

void TToolBar::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    ArrangeButtons();
}

void TToolBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(ClientRect());
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner)
{
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
}

QWidget* TPageControl::CreateWidget(QWidget* parent)
{
    auto* t = new QTabWidget(parent);
    QObject::connect(t, &QTabWidget::currentChanged, t, [this](int) {
        if (FSyncing)
            return;
        if (OnChange)
            SafeCall([this] { OnChange(this); });
    });
    return t;
}

QTabWidget* TPageControl::Tabs() { return static_cast<QTabWidget*>(Handle()); }

void TPageControl::AddPage(TTabSheet* page)
{
    FPages.push_back(page);
    FSyncing = true;
    Tabs()->addTab(page->Handle(), page->Caption());
    Tabs()->setTabVisible(Tabs()->indexOf(page->Handle()), page->FTabVisible);
    FSyncing = false;
}

void TPageControl::RemovePage(TTabSheet* page)
{
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (FWidget && page->HandleAllocated()) {
        FSyncing = true;
        const int i = Tabs()->indexOf(page->Handle());
        if (i >= 0)
            Tabs()->removeTab(i);
        FSyncing = false;
    }
}

TTabSheet* TPageControl::ActivePage() const
{
    const int i = ActivePageIndex();
    return i >= 0 ? FPages[static_cast<size_t>(i)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (!page)
        return;
    FSyncing = true;
    Tabs()->setCurrentWidget(page->Handle());
    FSyncing = false;
}

int TPageControl::ActivePageIndex() const
{
    if (!FWidget)
        return FPages.empty() ? -1 : 0;
    QWidget* cur = static_cast<QTabWidget*>(FWidget.data())->currentWidget();
    for (size_t i = 0; i < FPages.size(); ++i)
        if (FPages[i]->HandleAllocated() && FPages[i]->Handle() == cur)
            return static_cast<int>(i);
    return -1;
}

void TPageControl::SetActivePageIndex(int index)
{
    if (index >= 0 && index < PageCount())
        SetActivePage(FPages[static_cast<size_t>(index)]);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { FVisible = true; }

TTabSheet::~TTabSheet()
{
    Destroying();
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc)
{
    if (pc == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = pc;
    Handle();
    if (pc) {
        FParent = pc; // pages live inside the tab widget, not as free children
        pc->AddPage(this);
    }
}

void TTabSheet::SetTabVisible(bool v)
{
    FTabVisible = v;
    if (FPageControl && HandleAllocated()) {
        const int i = FPageControl->Tabs()->indexOf(Handle());
        if (i >= 0)
            FPageControl->Tabs()->setTabVisible(i, v);
    }
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto& p = FPageControl->FPages;
    auto it = std::find(p.begin(), p.end(), this);
    return it == p.end() ? -1 : static_cast<int>(it - p.begin());
}

void TTabSheet::TextChanged()
{
    if (FPageControl && HandleAllocated()) {
        const int i = FPageControl->Tabs()->indexOf(Handle());
        if (i >= 0)
            FPageControl->Tabs()->setTabText(i, FText);
    }
}

// ---------------------------------------------------------------- TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    FWidth = 150;
    FHeight = 16;
}

QWidget* TProgressBar::CreateWidget(QWidget* parent)
{
    auto* p = new QProgressBar(parent);
    p->setTextVisible(false);
    return p;
}

void TProgressBar::Apply()
{
    if (!FWidget)
        return;
    auto* p = static_cast<QProgressBar*>(FWidget.data());
    p->setRange(FMin, FMax);
    p->setValue(std::clamp(FPosition, FMin, FMax));
}

void TProgressBar::SetMin(int v)
{
    FMin = v;
    Apply();
}

void TProgressBar::SetMax(int v)
{
    FMax = v;
    Apply();
}

void TProgressBar::SetPosition(int v)
{
    FPosition = std::clamp(v, FMin, FMax);
    Apply();
}
