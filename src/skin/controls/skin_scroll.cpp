#include "skin/controls/skin_scroll.h"

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/file_ctrls.h"
#include "classlib/controls/list_view.h"
#include "classlib/controls/std_controls.h"
#include "classlib/controls/string_grid.h"
#include "classlib/graphics/types.h"
#include "platform/non_client.h"
#include "platform/scroll_info.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/controls/skin_header.h"
#include "skin/controls/skin_props.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

namespace {
// Notices of the class library the scroll-bar skinners answer.
enum : unsigned {
    CM_SCROLLFIXNOTICE = 0xB033, // the control rebuilt its scroll bars
    CM_VERTSCROLLNOTICE = 0xBD15,
    SBM_SETSCROLLINFO = 0x00E9,
    WM_LISTSTARTTRACK = 0x01AE,
};
// The skinners' print request: the border drawn into the given context.
constexpr unsigned kSkinPrintRequest = 0xBC4B;
constexpr LPARAM kSkinPrintMagic = 0x41A2;

void RegisterScrollProperties()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList borders = {QStringLiteral("bsNone"), QStringLiteral("bsSingle")};
    RegisterEnumProperty<TMemo>(QStringLiteral("BorderStyle"), borders, [](TMemo* c) { return c->BorderStyle(); });
    RegisterEnumProperty<TListBox>(QStringLiteral("BorderStyle"), borders, [](TListBox* c) { return c->BorderStyle(); });
    RegisterEnumProperty<TScrollBox>(QStringLiteral("BorderStyle"), borders,
                                     [](TScrollBox* c) { return c->BorderStyle(); });
    // Grids, list views and folder trees keep their border as their frame.
    auto frameBorder = [](TWinControl* c) -> int64_t {
        auto* frame = qobject_cast<QFrame*>(c->Handle());
        return frame && frame->frameShape() != QFrame::NoFrame ? 1 : 0;
    };
    auto setFrameBorder = [](TWinControl* c, int64_t v) {
        if (auto* frame = qobject_cast<QFrame*>(c->Handle()))
            frame->setFrameShape(v ? QFrame::StyledPanel : QFrame::NoFrame);
    };
    RegisterEnumProperty<TCustomGrid>(QStringLiteral("BorderStyle"), borders, frameBorder, setFrameBorder);
    RegisterEnumProperty<TCustomListView>(QStringLiteral("BorderStyle"), borders, frameBorder, setFrameBorder);
    RegisterEnumProperty<TShellTreeView>(QStringLiteral("BorderStyle"), borders, frameBorder, setFrameBorder);
    RegisterIntProperty<TCustomGrid>(
        QStringLiteral("FixedColor"), [](TCustomGrid* g) { return static_cast<int64_t>(g->FixedColor()); },
        [](TCustomGrid* g, int64_t v) { g->SetFixedColor(static_cast<TColor>(v)); });
}

void PlaceBar(TWScrollbar* bar)
{
    if (bar)
        bar->Place();
}

void RepaintShown(TWScrollbar* bar)
{
    if (bar && bar->Shown())
        bar->update();
}

void FreeBar(QPointer<TWScrollbar>& bar, bool destroying)
{
    if (!bar)
        return;
    if (destroying) {
        // The window goes: the overlay beside it must not outlive it on screen.
        bar->Detach();
        bar->hide();
        bar->deleteLater();
    } else {
        delete bar.data();
    }
    bar = nullptr;
}
} // namespace

// ---------------------------------------------------------------- TSkinScrollbar

TSkinScrollbar::~TSkinScrollbar() { FreeBars(); }

void TSkinScrollbar::InitScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas)
{
    auto* wc = dynamic_cast<TWinControl*>(control);
    if (FAttached || !wc)
        return;
    RegisterScrollProperties();
    FControl = control;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FHwnd = wc->Handle();
    FUnicode = IsWindowUnicode(FHwnd);
    JoinForm(form);
    FBorder = HasProperty(control, QStringLiteral("BorderStyle")) &&
              GetPropValue(control, QStringLiteral("BorderStyle")).toLower() != QLatin1String("bsnone") &&
              control->ClassName() != QLatin1String("TImageScrollBox") && FCustomFlag != 1 &&
              ScrollingWindow(FHwnd) == FHwnd.data(); // a scroll area round the window keeps its own frame
    // The border is two lines: the frame must leave them free of the
    // viewport, which would otherwise cover the inner one.
    if (auto* frame = qobject_cast<QFrame*>(FHwnd.data()); frame && FBorder && frame->frameWidth() != 2) {
        FSavedFrameStyle = frame->frameStyle();
        FSavedLineWidth = frame->lineWidth();
        frame->setFrameStyle(QFrame::Panel | QFrame::Plain);
        frame->setLineWidth(2);
    }
    if (const TSkinProperty* p = FindSkinProperty(control, QStringLiteral("FixedColor"));
        p && p->Kind == TSkinPropKind::Ordinal) {
        FSavedFixedColor = static_cast<int>(GetOrdProp(control, QStringLiteral("FixedColor")));
        FFixedColorSaved = true;
        SetPropValue(control, QStringLiteral("FixedColor"), QString::number(FaceColour()));
    }
    FHorz = new TWScrollbar;
    FHorz->AttachControl(this, control, TWScrollbar::kHorizontal);
    FVert = new TWScrollbar;
    FVert->AttachControl(this, control, TWScrollbar::kVertical);
    FHorz->setEnabled(control->Enabled());
    FVert->setEnabled(control->Enabled());
    if (!control->Visible()) {
        FHorz->HideBar();
        FVert->HideBar();
    }
    FSavedWindowMethod = control->WindowProc;
    control->WindowProc = [this](TMessage& m) { SkinWndProc(m); };
    control->Invalidate();
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinScrollbar::Restore()
{
    if (FFixedColorSaved && FControl) {
        SetPropValue(FControl, QStringLiteral("FixedColor"), QString::number(FSavedFixedColor));
        FFixedColorSaved = false;
    }
    TSkinControl::Restore();
    FreeBars();
    if (auto* frame = qobject_cast<QFrame*>(FHwnd.data()); frame && FSavedFrameStyle >= 0 && FLifeState != lsDestroying) {
        frame->setFrameStyle(FSavedFrameStyle);
        frame->setLineWidth(FSavedLineWidth);
    }
    FSavedFrameStyle = -1;
    if (FHwnd && FLifeState != lsDestroying)
        FHwnd->update();
}

void TSkinScrollbar::FreeBars()
{
    const bool destroying = FLifeState == lsDestroying;
    FreeBar(FHorz, destroying);
    FreeBar(FVert, destroying);
}

void TSkinScrollbar::PlaceBars()
{
    PlaceBar(FHorz);
    PlaceBar(FVert);
}

void TSkinScrollbar::DrawBorder(QPainter& dc)
{
    if (!FHwnd)
        return;
    const TRect r(0, 0, FHwnd->width(), FHwnd->height());
    if (r.Width() < 2 || r.Height() < 2)
        return;
    const TColor shadow = FSkinData ? FSkinData->Colours.ButtonShadow : clBtnShadow;
    dc.save();
    dc.setClipping(false);
    dc.setPen(Qt::NoPen);
    auto frame = [&](const TRect& f, TColor c) {
        const QColor q = ToQColor(c);
        dc.fillRect(QRect(f.Left, f.Top, f.Width(), 1), q);
        dc.fillRect(QRect(f.Left, f.Bottom - 1, f.Width(), 1), q);
        dc.fillRect(QRect(f.Left, f.Top, 1, f.Height()), q);
        dc.fillRect(QRect(f.Right - 1, f.Top, 1, f.Height()), q);
    };
    frame(r, shadow);
    frame(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), FaceColour());
    dc.restore();
}

bool TSkinScrollbar::BeforeProc(TMessage& m)
{
    if (m.Msg == WM_NCPAINT && FBorder) {
        CallOldProc(m);
        if (QPainter* dc = GetWindowDC(FHwnd))
            DrawBorder(*dc);
        return false;
    }
    return TSkinControl::BeforeProc(m);
}

void TSkinScrollbar::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEWHEEL:
        RepaintShown(FHorz);
        RepaintShown(FVert);
        break;
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW:
        PlaceBars();
        break;
    case WM_HSCROLL:
        if (FHorz)
            FHorz->SetHotPart(LoWord(m.WParam));
        break;
    case WM_VSCROLL:
        if (FVert)
            FVert->SetHotPart(LoWord(m.WParam));
        break;
    case CM_VISIBLECHANGED:
        if (m.WParam) {
            PlaceBars();
        } else {
            if (FHorz)
                FHorz->HideBar();
            if (FVert)
                FVert->HideBar();
        }
        break;
    case CM_ENABLEDCHANGED:
    case WM_ENABLE:
        if (FControl) {
            if (FHorz)
                FHorz->setEnabled(FControl->Enabled());
            if (FVert)
                FVert->setEnabled(FControl->Enabled());
        }
        TSkinControl::AfterProc(m);
        break;
    case CM_SCROLLFIXNOTICE:
        if (FSkinForm && FSkinForm->Handle())
            PostMessage(FSkinForm->Handle(), WM_SKINSCROLLFIX, WParamOf(FHwnd.data()), 0);
        break;
    case kSkinPrintRequest:
        if (m.LParam == kSkinPrintMagic) {
            if (auto* dc = reinterpret_cast<QPainter*>(m.WParam))
                DrawBorder(*dc);
            m.Result = kSkinPrintMagic;
        }
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TSkinScrollbar::DrawControl(QPainter& dc, const TRect&)
{
    const auto style = static_cast<uint32_t>(WindowLong(GWL_STYLE));
    for (TWScrollbar* bar : {FHorz.data(), FVert.data()}) {
        if (!bar)
            continue;
        if (bar->Shown())
            bar->update();
        else if (style & (bar->Kind() == TWScrollbar::kVertical ? WS_VSCROLL : WS_HSCROLL))
            bar->Place();
    }
    if (FHorz && FVert && FHorz->Shown() && FVert->Shown()) {
        const TRect& v = FVert->BarRect();
        const TRect& h = FHorz->BarRect();
        FillFace(dc, TRect(v.Left, h.Top, v.Right + 2, h.Bottom + 2));
    }
    // Child windows get no frame of their own to paint: the border goes on
    // with the control's paint.
    if (FBorder)
        DrawBorder(dc);
}

// ---------------------------------------------------------------- TSkinListView

void TSkinListView::InitScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas)
{
    if (FAttached)
        return;
    TSkinScrollbar::InitScroll(control, skinData, form, canvas);
    if (!FAttached)
        return;
    QHeaderView* header = nullptr;
    if (auto* tree = qobject_cast<QTreeView*>(FHwnd.data()))
        header = tree->header();
    // A header already skinned (a rebuilt skinner of the same list) keeps its skinner.
    if (!header || header->isHidden() || SendMessage(header, WM_SKINQUERY) == 1)
        return;
    auto* s = new TSkinHeader(control->Owner());
    s->InitHwnd(header, skinData, canvas, form);
    FHeader = s;
}

// ---------------------------------------------------------------- TSkinScrollbarH

TSkinScrollbarH::~TSkinScrollbarH()
{
    FreeBar(FHorz, false);
    FreeBar(FVert, false);
}

void TSkinScrollbarH::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (FAttached || !window)
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FHorz = new TWScrollbar;
    FHorz->AttachHwnd(this, window, TWScrollbar::kHorizontal);
    FVert = new TWScrollbar;
    FVert->AttachHwnd(this, window, TWScrollbar::kVertical);
}

void TSkinScrollbarH::Restore()
{
    TSkinControl::Restore();
    const bool destroying = FLifeState == lsDestroying;
    FreeBar(FHorz, destroying);
    FreeBar(FVert, destroying);
}

void TSkinScrollbarH::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_SIZE:
    case WM_MOVE:
    case WM_NCPAINT:
    case WM_SHOWWINDOW:
        PlaceBar(FHorz);
        PlaceBar(FVert);
        break;
    case WM_HSCROLL:
        if (FHorz)
            FHorz->SetHotPart(LoWord(m.WParam));
        break;
    case WM_VSCROLL:
        if (FVert)
            FVert->SetHotPart(LoWord(m.WParam));
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
    if (FVert && FHwnd && !(static_cast<uint32_t>(WindowLong(GWL_STYLE)) & WS_VISIBLE))
        FVert->HideBar();
}

void TSkinScrollbarH::DrawControl(QPainter&, const TRect&)
{
    RepaintShown(FHorz);
    RepaintShown(FVert);
}

// ---------------------------------------------------------------- TSkinScControl

TSkinScControl::~TSkinScControl() { FreeBar(FBar, false); }

void TSkinScControl::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool)
{
    auto* wc = dynamic_cast<TWinControl*>(Owner());
    if (FAttached || !wc)
        return;
    FControl = wc;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FHwnd = wc->Handle();
    FUnicode = IsWindowUnicode(FHwnd);
    JoinForm(form);
    FBar = new TWScrollbar;
    FBar->AttachControl(this, wc, TWScrollbar::kControl);
    FBar->setToolTip(wc->ShowHint() ? wc->Hint() : QString());
    if (!wc->Visible())
        FBar->HideBar();
    FSavedWindowMethod = wc->WindowProc;
    wc->WindowProc = [this](TMessage& m) { SkinWndProc(m); };
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinScControl::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (FAttached || !window)
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FBar = new TWScrollbar;
    FBar->AttachHwnd(this, window, TWScrollbar::kControl);
}

void TSkinScControl::Restore()
{
    TSkinControl::Restore();
    FreeBar(FBar, FLifeState == lsDestroying);
}

bool TSkinScControl::BeforeProc(TMessage& m) { return TSkinControl::BeforeProc(m); }

void TSkinScControl::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case SBM_SETSCROLLINFO:
    case CM_VERTSCROLLNOTICE:
        RepaintShown(FBar);
        break;
    case CM_VISIBLECHANGED:
        if (!FBar)
            break;
        if (m.WParam)
            FBar->Place();
        else
            FBar->HideBar();
        break;
    case WM_WINDOWPOSCHANGED:
    case WM_MOVE:
    case WM_SIZE:
    case WM_SHOWWINDOW:
    case WM_NCPAINT:
        PlaceBar(FBar);
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TSkinScControl::DrawControl(QPainter&, const TRect&) { RepaintShown(FBar); }
