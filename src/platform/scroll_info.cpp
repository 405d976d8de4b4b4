#include "platform/scroll_info.h"

#include <QAbstractScrollArea>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

QScrollArea* ScrollAreaOf(HWND w)
{
    if (QWidget* viewport = w ? w->parentWidget() : nullptr)
        if (auto* area = qobject_cast<QScrollArea*>(viewport->parentWidget()); area && area->widget() == w)
            return area;
    return nullptr;
}

HWND ScrollingWindow(HWND w)
{
    if (!w || qobject_cast<QAbstractScrollArea*>(w))
        return w;
    if (QScrollArea* area = ScrollAreaOf(w))
        return area;
    return w;
}

QScrollBar* ScrollBarOf(HWND w, int bar)
{
    if (!w)
        return nullptr;
    if (bar == SB_CTL)
        return qobject_cast<QScrollBar*>(w);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(ScrollingWindow(w)))
        return bar == SB_VERT ? area->verticalScrollBar() : bar == SB_HORZ ? area->horizontalScrollBar() : nullptr;
    // A plain window that lays out its own bar marks it as its window bar.
    const Qt::Orientation wanted = bar == SB_VERT ? Qt::Vertical : Qt::Horizontal;
    if (bar == SB_VERT || bar == SB_HORZ)
        for (QScrollBar* sb : w->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
            if (sb->orientation() == wanted && sb->property(kWindowScrollBarProperty).toBool())
                return sb;
    return nullptr;
}

bool GetScrollInfo(HWND w, int bar, SCROLLINFO& info)
{
    QScrollBar* sb = ScrollBarOf(w, bar);
    if (!sb)
        return false;
    const int page = std::max(0, sb->pageStep());
    if (info.fMask & SIF_RANGE) {
        info.nMin = sb->minimum();
        info.nMax = sb->maximum() + std::max(0, page - 1);
    }
    if (info.fMask & SIF_PAGE)
        info.nPage = static_cast<unsigned>(page);
    if (info.fMask & SIF_POS)
        info.nPos = sb->value();
    if (info.fMask & SIF_TRACKPOS)
        info.nTrackPos = sb->sliderPosition();
    return true;
}

int SetScrollInfo(HWND w, int bar, const SCROLLINFO& info, bool)
{
    QScrollBar* sb = ScrollBarOf(w, bar);
    if (!sb)
        return 0;
    const int page = (info.fMask & SIF_PAGE) ? static_cast<int>(info.nPage) : sb->pageStep();
    if (info.fMask & SIF_PAGE)
        sb->setPageStep(std::max(0, page));
    if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
        const int min = (info.fMask & SIF_RANGE) ? info.nMin : sb->minimum();
        const int last = (info.fMask & SIF_RANGE) ? info.nMax : sb->maximum() + std::max(0, sb->pageStep() - 1);
        sb->setRange(min, std::max(min, last - std::max(0, page - 1)));
    }
    if (info.fMask & SIF_POS)
        sb->setValue(info.nPos);
    return sb->value();
}

int GetScrollPos(HWND w, int bar)
{
    QScrollBar* sb = ScrollBarOf(w, bar);
    return sb ? sb->value() : 0;
}

int SetScrollPos(HWND w, int bar, int pos, bool)
{
    QScrollBar* sb = ScrollBarOf(w, bar);
    if (!sb)
        return 0;
    const int old = sb->value();
    sb->setValue(pos);
    return old;
}

bool GetScrollBarInfo(HWND w, int objectId, SCROLLBARINFO& info)
{
    const int bar = objectId == OBJID_VSCROLL ? SB_VERT : objectId == OBJID_HSCROLL ? SB_HORZ : SB_CTL;
    QScrollBar* sb = ScrollBarOf(w, bar);
    if (!sb)
        return false;
    info = SCROLLBARINFO();
    info.rcScrollBar = TRect::From(QRect(sb->mapToGlobal(QPoint(0, 0)), sb->size()));
    QStyleOptionSlider opt;
    opt.initFrom(sb);
    opt.subControls = QStyle::SC_All;
    opt.orientation = sb->orientation();
    opt.minimum = sb->minimum();
    opt.maximum = sb->maximum();
    opt.sliderPosition = sb->sliderPosition();
    opt.sliderValue = sb->value();
    opt.singleStep = sb->singleStep();
    opt.pageStep = sb->pageStep();
    opt.upsideDown = sb->invertedAppearance();
    if (sb->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    QStyle* style = sb->style();
    const QRect thumb = style->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, sb);
    const QRect sub = style->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSubLine, sb);
    const bool vertical = sb->orientation() == Qt::Vertical;
    info.dxyLineButton = vertical ? sub.height() : sub.width();
    info.xyThumbTop = vertical ? thumb.top() : thumb.left();
    info.xyThumbBottom = vertical ? thumb.top() + thumb.height() : thumb.left() + thumb.width();
    const bool hidden = w == sb ? sb->isHidden() : !sb->isVisibleTo(w);
    const bool unavailable = !sb->isEnabled() || sb->minimum() >= sb->maximum();
    if (hidden)
        info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    if (unavailable)
        for (unsigned& s : info.rgstate)
            s |= STATE_SYSTEM_UNAVAILABLE;
    if (sb->isSliderDown())
        info.rgstate[3] |= STATE_SYSTEM_PRESSED;
    return true;
}

bool DefScrollProc(HWND w, TMessage& m)
{
    if (m.Msg != WM_VSCROLL && m.Msg != WM_HSCROLL)
        return false;
    QScrollBar* sb = qobject_cast<QScrollBar*>(w);
    if (!sb)
        sb = ScrollBarOf(w, m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ);
    if (!sb)
        return false;
    const unsigned request = LoWord(m.WParam);
    const int pos = static_cast<int16_t>(HiWord(m.WParam));
    switch (request) {
    case SB_LINEUP:
        sb->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case SB_LINEDOWN:
        sb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case SB_PAGEUP:
        sb->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case SB_PAGEDOWN:
        sb->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case SB_THUMBTRACK:
        sb->setSliderPosition(pos);
        if (!sb->isSliderDown() || sb->hasTracking())
            sb->setValue(pos);
        break;
    case SB_THUMBPOSITION:
        sb->setValue(pos);
        break;
    case SB_TOP:
        sb->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case SB_BOTTOM:
        sb->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        break;
    }
    m.Result = 0;
    return true;
}
