// The drop-down list of a combo box: the list's own vertical bar painted from
// the skin, and its thumb dragged by the skinner.

#include "platform/scroll_info.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/controls/skin_scroll.h"
#include "skin/skin_data.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}
} // namespace

TComboxScrollBar::~TComboxScrollBar() { UnhookBar(); }

void TComboxScrollBar::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (FAttached || !window)
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    if (QScrollBar* bar = ScrollBarOf(window, SB_VERT)) {
        FBar = bar;
        FBarProc = [this](TMessage& m) { BarProc(m); };
        FOldBarProc = SetWindowProc(bar, FBarProc);
    }
}

void TComboxScrollBar::Restore()
{
    if (FLifeState != lsDestroying)
        UnhookBar();
    TSkinControl::Restore();
}

void TComboxScrollBar::UnhookBar()
{
    if (FBar && FBarProc)
        SetWindowProc(FBar.data(), FOldBarProc);
    FBarProc = nullptr;
    FOldBarProc = nullptr;
    if (FBar)
        FBar->update();
    FBar = nullptr;
}

bool TComboxScrollBar::ReadBar()
{
    SCROLLBARINFO info;
    if (!FHwnd || !GetScrollBarInfo(FHwnd, OBJID_VSCROLL, info))
        return false;
    FLength = info.rcScrollBar.Height();
    if (info.dxyLineButton > 0)
        FArrowSize = info.dxyLineButton;
    FThumbStart = info.xyThumbTop;
    FThumbEnd = info.xyThumbBottom;
    FEnabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    return !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
}

bool TComboxScrollBar::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT:
        return false;
    case WM_NCMOUSEMOVE:
        return m.WParam != HTHSCROLL && m.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
        if (m.WParam == HTVSCROLL && FBar) {
            const QPoint p = FBar->mapFromGlobal(QPoint(LoWordSigned(m.LParam), HiWordSigned(m.LParam)));
            return !StartThumbDrag(p.y());
        }
        return true;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TComboxScrollBar::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kListStartTrack:
        PaintWindow(nullptr);
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TComboxScrollBar::DrawControl(QPainter&, const TRect&)
{
    // The list's bar is a window of its own lying over the list: it is
    // painted in its own paint.
    if (FBar)
        FBar->update();
}

void TComboxScrollBar::PaintBar(QPainter& painter)
{
    if (!FBar || !FSkinData || !HasSkinImage(FSkinData->Scrollbar.get()) || !ReadBar())
        return;
    const QSize size = FBar->size();
    QImage buffer(size, QImage::Format_RGB32);
    buffer.fill(ToQColor(FSkinData->Colours.ButtonFace));
    {
        QPainter p(&buffer);
        int start = FThumbStart, end = FThumbEnd;
        if (FDragging) {
            start = std::clamp(FPressThumbStart + FDragDelta, FArrowSize,
                               std::max(FArrowSize, FLength - FArrowSize - (end - start)));
            end = start + (FThumbEnd - FThumbStart);
        }
        DrawSkinScrollbar(p, FSkinData, size, TWScrollbar::kVertical, FArrowSize, start, end, FEnabled,
                          FDragging ? TWScrollbar::hpThumb : TWScrollbar::hpNone, FDragging);
    }
    painter.drawImage(0, 0, buffer);
}

bool TComboxScrollBar::StartThumbDrag(int y)
{
    if (!ReadBar() || y < FThumbStart || y >= FThumbEnd)
        return false;
    FScroll = SCROLLINFO();
    FScroll.fMask = SIF_ALL;
    if (!GetScrollInfo(FHwnd, SB_VERT, FScroll))
        return false;
    FPressY = y;
    FPressThumbStart = FThumbStart;
    FDragDelta = 0;
    FPosition = FScroll.nPos;
    FDragging = true;
    if (FBar)
        FBar->update();
    return true;
}

int TComboxScrollBar::DragPosition(int dy) const
{
    const int offset = FPressThumbStart - FArrowSize;
    const int track = FLength - 2 * FArrowSize;
    const int thumb = FThumbEnd - FThumbStart;
    const int min = FScroll.nMin, max = FScroll.nMax;
    const int page = static_cast<int>(FScroll.nPage);
    int t = std::max(0, offset + dy);
    int pos = 0;
    if (page == 0) {
        t = std::min(t, track - thumb);
        pos = std::min(MulDiv(t, max - min, track) + min, max);
    } else {
        t = std::min(t, track - thumb + 1);
        pos = std::min(MulDiv(t, max - min - page, track - thumb) + min, max - page + 1);
    }
    return std::max(pos, min);
}

void TComboxScrollBar::BarProc(TMessage& m)
{
    const QPointer<QWidget> bar = FBar;
    if (!FSkinningOn || !bar) {
        CallWindowProc(FOldBarProc, m);
        return;
    }
    switch (m.Msg) {
    case WM_PAINT: {
        CallWindowProc(FOldBarProc, m);
        if (bar && m.Event) {
            QPainter p(bar.data());
            PaintBar(p);
        }
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (StartThumbDrag(HiWordSigned(m.LParam)))
            return;
        break;
    case WM_MOUSEMOVE:
        if (FDragging) {
            FDragDelta = HiWordSigned(m.LParam) - FPressY;
            const int pos = DragPosition(FDragDelta);
            if (pos != FPosition) {
                FPosition = pos;
                SendMessage(FHwnd, WM_VSCROLL, static_cast<WPARAM>(MakeLParam(SB_THUMBTRACK, pos)), 0);
            }
            if (bar)
                bar->update();
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (FDragging) {
            FDragging = false;
            SendMessage(FHwnd, WM_VSCROLL, static_cast<WPARAM>(MakeLParam(SB_THUMBPOSITION, FPosition)), 0);
            PostMessage(FHwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
            if (bar)
                bar->update();
            return;
        }
        break;
    default:
        break;
    }
    CallWindowProc(FOldBarProc, m);
}
