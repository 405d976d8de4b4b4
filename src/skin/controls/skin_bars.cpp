#include "skin/controls/skin_bars.h"

#include "classlib/controls/com_controls.h"
#include "classlib/graphics/types.h"
#include "platform/window_info.h"
#include "skin/controls/skin_buttons.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QAbstractSpinBox>
#include <QProgressBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <algorithm>

namespace {
// One work bitmap for every status bar: they paint one at a time.
QImage& StatusWorkBitmap()
{
    static QImage image;
    return image;
}

void DrawKeyed(QPainter& dc, const TRect& r, const TDataSkinObject* e, int frame)
{
    if (!HasSkinImage(e) || r.IsEmpty())
        return;
    const TSkinMargins m{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight};
    NineGridDraw(dc, r, e->Image, false, e->Tile != 0, true, std::max(1, e->Frame), frame, m);
}
} // namespace

// ---------------------------------------------------------------- TSkinStatusBar

bool TSkinStatusBar::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

std::vector<TRect> TSkinStatusBar::PanelRects() const
{
    std::vector<TRect> out;
    auto* bar = dynamic_cast<TStatusBar*>(FControl);
    if (!bar)
        return out;
    const int width = bar->Width(), height = bar->Height();
    int x = 0;
    for (int i = 0; i < bar->PanelCount(); ++i) {
        const bool last = i + 1 == bar->PanelCount();
        const int w = bar->Panel(i).Width;
        out.emplace_back(x, 2, last ? width : std::min(width, x + w + 2), height);
        x += w + 2;
        if (x >= width)
            break;
    }
    return out;
}

void TSkinStatusBar::DrawControl(QPainter& dc, const TRect& r)
{
    auto* bar = dynamic_cast<TStatusBar*>(FControl);
    QImage& work = StatusWorkBitmap();
    const QSize size(std::max(1, r.Width()), std::max(1, r.Height()));
    if (work.size() != size)
        work = QImage(size, QImage::Format_RGB32);
    const TDataSkinObject* edges = FSkinData ? FSkinData->StatusBarEdges.get() : nullptr;
    {
        QPainter p(&work);
        const TRect local(0, 0, size.width(), size.height());
        FillFace(p, local);
        TFont font;
        if (FControl)
            font.Assign(FControl->Font());
        font.SetStyle(0);
        if (edges)
            font.SetColor(edges->NormalColour2);
        const bool rtl = RtlFlag() != 0;
        auto panel = [&](const TRect& cell, const QString& text, TAlignment alignment, int frame, bool withText) {
            if (HasSkinImage(edges)) {
                DrawSkinPart(p, cell, edges, frame);
            } else {
                p.setPen(ToQColor(clBtnShadow));
                p.drawLine(cell.Left, cell.Top, cell.Right - 1, cell.Top);
            }
            if (!withText)
                return;
            if (rtl && alignment != taCenter)
                alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
            unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (rtl ? DT_RTLREADING : 0u);
            if (alignment == taCenter)
                flags |= DT_CENTER;
            else if (alignment == taRightJustify)
                flags |= DT_RIGHT;
            TRect t(cell.Left + 2, cell.Top, cell.Right - 2, cell.Bottom);
            SkinText(p, font, text.isEmpty() ? QStringLiteral(" ") : text, t, flags);
        };
        if (bar && bar->PanelCount() > 0 && !bar->SimplePanel()) {
            const auto rects = PanelRects();
            for (size_t i = 0; i < rects.size(); ++i) {
                const TStatusPanel& sp = bar->Panel(static_cast<int>(i));
                // The edge frame by the panel's bevel: lowered 1, raised 2, none 3.
                const int frame = sp.Bevel == pbRaised ? 2 : sp.Bevel == pbNone ? 3 : 1;
                panel(rects[i], sp.Text, sp.Alignment, frame, sp.Style == psText);
            }
        } else {
            panel(TRect(0, 2, local.Right, local.Bottom), bar ? bar->SimpleText() : ReadWindowText(), taLeftJustify, 1,
                  true);
        }
        if (bar && bar->SizeGrip())
            DrawSkinGrip(p, local, FSkinData);
    }
    dc.drawImage(r.Left, r.Top, work);
}

int SkinGripCell(const TSkinData* data)
{
    const TDataSkinObject* extra = data ? data->ExtraImages.get() : nullptr;
    if (!HasSkinImage(extra))
        return 0;
    // The strip holds the combo's arrow for each of its frames; the grip
    // is the cell after them, and a strip without it has no grip.
    const TDataSkinObject* combo = data->ComboButton.get();
    const int cell = (combo ? std::max(1, combo->Frame) : 4) + 1;
    return cell <= std::max(1, extra->Frame) ? cell : 0;
}

bool DrawSkinGrip(QPainter& p, const TRect& r, const TSkinData* data)
{
    const int cell = SkinGripCell(data);
    if (cell == 0)
        return false;
    const TDataSkinObject* extra = data->ExtraImages.get();
    const int frames = std::max(1, extra->Frame);
    const int fw = extra->Image.width() / frames, fh = extra->Image.height();
    DrawFrameCentered(p, TRect(r.Right - fw, r.Bottom - fh, r.Right, r.Bottom), extra->Image, extra->Trans == 1, frames,
                      cell);
    return true;
}

int TSkinStatusBar::GripCell() const { return SkinGripCell(FSkinData); }

// ---------------------------------------------------------------- TSkinProgress

bool TSkinProgress::BeforeProc(TMessage& m)
{
    const bool skinned = FSkinData && HasSkinImage(FSkinData->Progress.get());
    if (skinned && m.Msg == WM_PAINT) {
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    }
    if (skinned && m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return false;
    }
    return TSkinControl::BeforeProc(m);
}

int TSkinProgress::FilledLength(int length) const
{
    int pos = 0, lo = 0, hi = 100;
    if (auto* pb = dynamic_cast<TProgressBar*>(FControl)) {
        pos = pb->Position();
        lo = pb->Min();
        hi = pb->Max();
    } else if (auto* q = qobject_cast<QProgressBar*>(FHwnd.data())) {
        pos = q->value();
        lo = q->minimum();
        hi = q->maximum();
    }
    if (hi <= lo)
        return 0;
    const long long filled = static_cast<long long>(length) * (std::clamp(pos, lo, hi) - lo) / (hi - lo);
    return static_cast<int>(filled);
}

void TSkinProgress::DrawControl(QPainter& dc, const TRect& r)
{
    const TDataSkinObject* bar = FSkinData ? FSkinData->Progress.get() : nullptr;
    if (!HasSkinImage(bar))
        return;
    const auto* q = qobject_cast<QProgressBar*>(FHwnd.data());
    const bool vertical = q && q->orientation() == Qt::Vertical;
    if (bar->Style != 1) {
        DrawSkinPart(dc, r, bar, 1);
        const int n = FilledLength(vertical ? r.Height() : r.Width());
        const TRect fill = vertical ? TRect(r.Left, r.Bottom - n, r.Right, r.Bottom) : TRect(r.Left, r.Top, r.Left + n, r.Bottom);
        if (n > 0)
            DrawSkinPart(dc, fill, bar, std::max(1, bar->Frame) >= 2 ? 2 : 1);
        return;
    }
    DrawSkinPart(dc, r, bar, 1);
    const TDataSkinObject* chunk = FSkinData->ProgressChunk.get();
    if (!HasSkinImage(chunk))
        return;
    const int frames = std::max(1, chunk->Frame);
    const int cw = std::max(1, chunk->Image.width() / frames);
    const int ch = std::max(1, chunk->Image.height());
    const int n = FilledLength(vertical ? r.Height() : r.Width());
    for (int at = 0; at + (vertical ? ch : cw) <= n; at += vertical ? ch : cw) {
        const TRect cell = vertical ? TRect(r.Left, r.Bottom - at - ch, r.Right, r.Bottom - at)
                                    : TRect(r.Left + at, r.Top, r.Left + at + cw, r.Bottom);
        DrawSkinPart(dc, cell, chunk, 1);
    }
}

// ---------------------------------------------------------------- TSkinTrackBar

namespace {
QStyleOptionSlider SliderOption(const QSlider* s)
{
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.orientation = s->orientation();
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = s->sliderPosition();
    opt.sliderValue = s->value();
    opt.tickPosition = s->tickPosition();
    opt.tickInterval = s->tickInterval();
    opt.upsideDown = s->orientation() == Qt::Horizontal ? s->invertedAppearance() : !s->invertedAppearance();
    opt.subControls = QStyle::SC_All;
    return opt;
}
} // namespace

TRect TSkinTrackBar::ChannelRect() const
{
    auto* s = qobject_cast<QSlider*>(FHwnd.data());
    if (!s)
        return {};
    const QStyleOptionSlider opt = SliderOption(s);
    return TRect::From(s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, s));
}

TRect TSkinTrackBar::ThumbRect() const
{
    auto* s = qobject_cast<QSlider*>(FHwnd.data());
    if (!s)
        return {};
    const QStyleOptionSlider opt = SliderOption(s);
    return TRect::From(s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s));
}

const TDataSkinObject* TSkinTrackBar::ThumbElement() const
{
    auto* s = qobject_cast<QSlider*>(FHwnd.data());
    if (!s || !FSkinData)
        return nullptr;
    const bool horizontal = s->orientation() == Qt::Horizontal;
    switch (s->tickPosition()) {
    case QSlider::TicksAbove: // also TicksLeft
        return horizontal ? FSkinData->TrackbarThumbUp.get() : FSkinData->TrackbarThumbLeft.get();
    case QSlider::TicksBelow: // also TicksRight
        return horizontal ? FSkinData->TrackbarThumbDown.get() : FSkinData->TrackbarThumbRight.get();
    default:
        return horizontal ? FSkinData->TrackbarThumbHorz.get() : FSkinData->TrackbarThumbVert.get();
    }
}

bool TSkinTrackBar::BeforeProc(TMessage& m)
{
    if (m.Msg == WM_PAINT && qobject_cast<QSlider*>(FHwnd.data())) {
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    }
    if (m.Msg == WM_LBUTTONDOWN)
        FMouseState |= msPressed;
    return TSkinControl::BeforeProc(m);
}

void TSkinTrackBar::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        SetMouseFlag(msHover, true);
        break;
    case CM_MOUSELEAVE:
        SetMouseFlag(msHover, false);
        break;
    case WM_LBUTTONUP:
        SetMouseFlag(msPressed, false);
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TSkinTrackBar::DrawControl(QPainter& dc, const TRect& r)
{
    auto* s = qobject_cast<QSlider*>(FHwnd.data());
    if (!s || !FSkinData)
        return;
    FillParentColor(dc, r);
    const bool horizontal = s->orientation() == Qt::Horizontal;
    const TDataSkinObject* track = horizontal ? FSkinData->Track.get() : FSkinData->TrackVert.get();
    DrawSkinPart(dc, ChannelRect(), track, 1);
    int frame = 1;
    if (FMouseState & msPressed)
        frame = 2;
    else if (FMouseState & msHover)
        frame = 4;
    if (!s->isEnabled())
        frame = 3;
    const TDataSkinObject* thumb = ThumbElement();
    if (HasSkinImage(thumb))
        DrawKeyed(dc, ThumbRect(), thumb, frame);
}

// ---------------------------------------------------------------- TSkinUpDown

void TSkinUpDown::Halves(TRect& first, TRect& second) const
{
    first = second = TRect();
    QWidget* w = FHwnd;
    if (!w)
        return;
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        QStyleOptionSpinBox opt;
        opt.initFrom(spin);
        opt.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        opt.buttonSymbols = spin->buttonSymbols();
        opt.frame = spin->hasFrame();
        first = TRect::From(spin->style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxUp, spin));
        second = TRect::From(spin->style()->subControlRect(QStyle::CC_SpinBox, &opt, QStyle::SC_SpinBoxDown, spin));
        return;
    }
    const TRect all(0, 0, w->width(), w->height());
    if (Horizontal) {
        first = TRect(0, 0, all.Right / 2, all.Bottom);
        second = TRect(all.Right / 2, 0, all.Right, all.Bottom);
    } else {
        first = TRect(0, 0, all.Right, all.Bottom / 2);
        second = TRect(0, all.Bottom / 2, all.Right, all.Bottom);
    }
}

bool TSkinUpDown::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallOldProc(m);
        SetMouseFlag(msPressed, true);
        return false;
    case WM_LBUTTONUP:
        FMouseState &= static_cast<uint8_t>(~msPressed);
        CallOldProc(m);
        Repaint();
        return false;
    case WM_PAINT:
        // A spin box draws its text field; the buttons go over it.
        if (qobject_cast<QAbstractSpinBox*>(FHwnd.data()))
            CallOldProc(m);
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    case WM_ERASEBKGND:
        if (!FControl && m.WParam && FHwnd && !qobject_cast<QAbstractSpinBox*>(FHwnd.data()))
            FillColor(*reinterpret_cast<QPainter*>(m.WParam), TRect(0, 0, FHwnd->width(), FHwnd->height()), clWhite);
        m.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinUpDown::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case WM_MOUSEMOVE:
        if (!(FMouseState & msHover)) {
            SetMouseFlag(msHover, true);
        } else if (m.Msg == WM_MOUSEMOVE) {
            Repaint();
        }
        break;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
        FMouseState &= static_cast<uint8_t>(~(msHover | msPressed));
        Repaint();
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TSkinUpDown::DrawControl(QPainter& dc, const TRect& r)
{
    if (!FHwnd)
        return;
    TRect first, second;
    Halves(first, second);
    // A spin box's buttons lie inside its edit field.
    if (Embedded || qobject_cast<QAbstractSpinBox*>(FHwnd.data())) {
        FillColor(dc, first, clWhite);
        FillColor(dc, second, clWhite);
    }
    const bool horizontal = Horizontal;
    const TDataSkinBorder* e = FSkinData ? (horizontal ? FSkinData->UpDownHorz.get() : FSkinData->UpDownVert.get()) : nullptr;
    const QPoint cursor = FHwnd->mapFromGlobal(QCursor::pos());
    const bool enabled = FHwnd->isEnabled();
    auto state = [&](const TRect& half) {
        if (!enabled)
            return 3;
        if (!half.Contains(cursor.x(), cursor.y()))
            return 1;
        if (FMouseState & msPressed)
            return 2;
        return (FMouseState & msHover) ? 4 : 1;
    };
    const int dirs[2] = {horizontal ? 2 : 0, horizontal ? 3 : 1}; // up, down, left, right
    const TRect halves[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        const TRect& half = halves[i];
        const int s = state(half);
        if (HasSkinImage(e)) {
            const int frames = std::max(1, e->Frame);
            DrawSkinPart(dc, half, e, std::min(frames, s));
            if (!e->Image2.isNull())
                DrawFrameCentered(dc, half, e->Image2, true, 4, dirs[i] + 1);
        } else {
            FillFace(dc, half);
            const int cx = half.Left + half.Width() / 2, cy = half.Top + half.Height() / 2;
            QPolygon tri;
            switch (dirs[i]) {
            case 0: tri << QPoint(cx - 3, cy + 1) << QPoint(cx + 3, cy + 1) << QPoint(cx, cy - 2); break;
            case 1: tri << QPoint(cx - 3, cy - 1) << QPoint(cx + 3, cy - 1) << QPoint(cx, cy + 2); break;
            case 2: tri << QPoint(cx + 1, cy - 3) << QPoint(cx + 1, cy + 3) << QPoint(cx - 2, cy); break;
            default: tri << QPoint(cx - 1, cy - 3) << QPoint(cx - 1, cy + 3) << QPoint(cx + 2, cy); break;
            }
            const QColor c = ToQColor(enabled ? clBtnText : clBtnShadow);
            dc.setPen(c);
            dc.setBrush(c);
            dc.drawPolygon(tri);
        }
    }
    Q_UNUSED(r);
}
