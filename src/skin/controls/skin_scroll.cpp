#include "skin/controls/skin_scroll.h"

#include <QScrollBar>

struct TWScrollbar::TImpl {};

TWScrollbar::TWScrollbar() : FImpl(new TImpl) {}
TWScrollbar::~TWScrollbar() { delete FImpl; }
void TWScrollbar::AttachControl(TSkinControl* owner, TControl* control, int kind)
{
    FOwner = owner;
    FTargetControl = control;
    FKind = kind;
}
void TWScrollbar::AttachHwnd(TSkinControl* owner, HWND window, int kind)
{
    FOwner = owner;
    FTarget = window;
    FKind = kind;
}
void TWScrollbar::Place() {}
void TWScrollbar::HideBar() { hide(); }
int TWScrollbar::HitTest(QPoint) const { return hpNone; }
void TWScrollbar::SetHotPart(int part) { FHotPart = part; }
void TWScrollbar::PaintBar(QPainter&) {}
QScrollBar* TWScrollbar::RealBar() const { return nullptr; }
void TWScrollbar::paintEvent(QPaintEvent*) {}
void TWScrollbar::mouseMoveEvent(QMouseEvent*) {}
void TWScrollbar::mousePressEvent(QMouseEvent*) {}
void TWScrollbar::mouseDoubleClickEvent(QMouseEvent*) {}
void TWScrollbar::mouseReleaseEvent(QMouseEvent*) {}
void TWScrollbar::leaveEvent(QEvent*) {}
bool TWScrollbar::eventFilter(QObject*, QEvent*) { return false; }

TSkinScrollbar::~TSkinScrollbar() = default;
void TSkinScrollbar::InitScroll(TControl*, TSkinData*, TWinSkinForm*, TCanvas*) {}
void TSkinScrollbar::Restore() { TSkinControl::Restore(); }
bool TSkinScrollbar::BeforeProc(TMessage& m) { return TSkinControl::BeforeProc(m); }
void TSkinScrollbar::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TSkinScrollbar::DrawControl(QPainter&, const TRect&) {}
void TSkinScrollbar::PlaceBars() {}
void TSkinScrollbar::DrawBorder(QPainter&) {}
void TSkinScrollbar::FreeBars() {}

void TSkinListView::InitScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas)
{
    TSkinScrollbar::InitScroll(control, skinData, form, canvas);
}

TSkinScrollbarH::~TSkinScrollbarH() = default;
void TSkinScrollbarH::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    TSkinControl::InitHwnd(window, skinData, canvas, form);
}
void TSkinScrollbarH::Restore() { TSkinControl::Restore(); }
void TSkinScrollbarH::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TSkinScrollbarH::DrawControl(QPainter&, const TRect&) {}

TSkinScControl::~TSkinScControl() = default;
void TSkinScControl::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    TSkinControl::InitControl(form, skinData, canvas, setColor);
}
void TSkinScControl::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    TSkinControl::InitHwnd(window, skinData, canvas, form);
}
void TSkinScControl::Restore() { TSkinControl::Restore(); }
bool TSkinScControl::BeforeProc(TMessage& m) { return TSkinControl::BeforeProc(m); }
void TSkinScControl::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TSkinScControl::DrawControl(QPainter&, const TRect&) {}

bool TComboxScrollBar::BeforeProc(TMessage& m) { return TSkinControl::BeforeProc(m); }
void TComboxScrollBar::AfterProc(TMessage& m) { TSkinControl::AfterProc(m); }
void TComboxScrollBar::DrawControl(QPainter&, const TRect&) {}
int TComboxScrollBar::DragPosition(int) const { return 0; }
bool TComboxScrollBar::StartThumbDrag(const TMessage&) { return false; }

void DrawSkinScrollbar(QPainter&, const TSkinData*, const QSize&, int, int, int, int, bool, int, bool) {}
void ControlThumb(int, int, int, int, int, int, bool, int& thumbStart, int& thumbEnd)
{
    thumbStart = 0;
    thumbEnd = 0;
}
