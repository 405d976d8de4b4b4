#include "skin/form/skin_form.h"

#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "classlib/graphics/types.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

// ---------------------------------------------------------------------------
// The non-client area: sized from the skin's borders, painted from its border
// images with the caption composed off screen, shaped by their magenta pixels.

void TWinSkinForm::WMNCCalcSize(TMessage& m)
{
    CallPrevious(m);
    if (m.WParam == 0) {
        m.Result = 0;
        return;
    }
    auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    if (!p)
        return;
    if (!(IsMDIChild() && Placement() != plNormal) && FFrameKind != fkNoCaption) {
        int x = 0, y = 0, cx = 0, cy = 0;
        if (p->lppos) {
            x = p->lppos->x;
            y = p->lppos->y;
            cx = p->lppos->cx;
            cy = p->lppos->cy;
        } else {
            x = p->rgrc[0].left;
            y = p->rgrc[0].top;
            cx = p->rgrc[0].right - p->rgrc[0].left;
            cy = p->rgrc[0].bottom - p->rgrc[0].top;
        }
        p->rgrc[0].left = x + FLeftWidth;
        p->rgrc[0].top = y + FTopHeight + FMenuHeight;
        p->rgrc[0].right = x + cx - FRightWidth;
        p->rgrc[0].bottom = y + cy - FBottomHeight;
    }
    p->rgrc[1] = p->rgrc[0];
    m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WMNCHitTest(TMessage& m)
{
    CallPrevious(m);
    if (m.Result != HTNOWHERE && m.Result != HTCAPTION)
        return;
    const TPoint p = ScreenToWindow(LoWordSigned(m.LParam), HiWordSigned(m.LParam));
    if (p.Y > 3)
        m.Result = HTCAPTION;
    else if (m.Result == HTCAPTION)
        // The rows above the caption are the frame's edge: they never move
        // the window, and size it only where the frame sizes.
        m.Result = FSizeable && !IsZoomed(FHandle) ? HTTOP : HTBORDER;
    if (p.Y > FTopHeight && FMenuHeight > 0)
        m.Result = HTMENU;
}

void TWinSkinForm::WMNCPaint(TMessage& m)
{
    SetSysMenuStyle(true);
    if (FSkinData && FSkinData->FramePainting) {
        if (IsMaximizedMDIChild() || FFrameKind == fkNoCaption) {
            CallPrevious(m);
            return;
        }
        PaintFrame(GetWindowDC(FHandle));
    }
    m.Result = 0;
}

namespace {
// The bitmap the frame is composed with; no frame is painted without it.
struct TWorkBitmap {
    TWorkBitmap() : Image(1, 1, QImage::Format_RGB32) {}
    QImage Image;
};
TWorkBitmap& Work()
{
    static TWorkBitmap work;
    return work;
}

const TDataSkinBorder* Side(const TSkinData* data, int side)
{
    switch (side) {
    case 1:
        return data->Left.get();
    case 2:
        return data->Right.get();
    case 3:
        return data->Top.get();
    case 4:
        return data->Bottom.get();
    default:
        return nullptr;
    }
}
} // namespace

QImage TWinSkinForm::BorderPartBitmap(int side, int w, int h) const
{
    const TDataSkinBorder* b = FSkinData ? Side(FSkinData, side) : nullptr;
    if (!b || b->Image.isNull() || w <= 0 || h <= 0)
        return QImage();
    const int frames = b->Frame > 0 ? b->Frame : 1;
    const int frame = frames == 1 || FFormActive ? 1 : 2;
    const TSkinMargins margins{b->LeftWidth, b->TopHeight, b->RightWidth, b->BottomHeight};
    // Top and bottom hold their frames stacked, the sides side by side.
    return NineGridBitmap(TRect(0, 0, w, h), b->Image, margins, side >= 3, b->Tile != 1, frames, frame);
}

void TWinSkinForm::PaintBorderPart(int side, const TRect& rect, QPainter& dc)
{
    if (rect.Right < rect.Left || rect.Bottom < rect.Top)
        return;
    const QImage part = BorderPartBitmap(side, rect.Width(), rect.Height());
    if (part.isNull())
        return;
    dc.drawImage(rect.Left, rect.Top, part);
    // The caption keeps the corners of the side parts.
    if (side == 1 || side == 2)
        FPartBitmaps[side - 1] = part;
}

void TWinSkinForm::PaintFrame(QPainter* dc)
{
    if (!FHandle || Work().Image.isNull() || (FState != stSkinned && FState != stRecolor) || !FSkinData ||
        FSkinData->SkinLoading() ||
        FFrameKind == fkNoCaption || IsMaximizedMDIChild())
        return;
    if (!dc)
        dc = GetWindowDC(FHandle);
    if (!dc) {
        // Outside a paint our DC is the next paint of the band.
        if (FHandle->isVisible())
            RedrawWindow(FHandle, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        return;
    }
    const int w = FHandle->width();
    const int h = FHandle->height();
    FWindowWidth = w;
    FWindowHeight = h;
    if (w <= 0 || h <= 0)
        return;
    if (Placement() == plMinimized) {
        PaintCaption(*dc);
    } else {
        FPartBitmaps[0] = FPartBitmaps[1] = QImage();
        PaintBorderPart(1, TRect(0, 0, FLeftWidth, h), *dc);
        PaintBorderPart(2, TRect(w - FRightWidth, 0, w, h), *dc);
        PaintBorderPart(4, TRect(FLeftWidth, h - FBottomHeight, w - FRightWidth, h), *dc);
        PaintCaption(*dc);
        const TRect strip(FLeftWidth, FTopHeight, w - FRightWidth, FTopHeight + FMenuHeight);
        if (FMenuBar)
            PaintMenuBar(*dc, strip);
        else if (FMenuHeight > 0 && FSkinData && !strip.IsEmpty())
            dc->fillRect(strip.ToQRect(), FSkinData->SkinBrush);
    }
    // A full paint draws every object in its normal look.
    if (!FPaintObject)
        FHotObject = nullptr;
}

void TWinSkinForm::PaintCaption(QPainter& dc)
{
    const int w = FWindowWidth;
    const int h = FWindowHeight;
    if (w <= 0 || FTopHeight <= 0 || !FSkinData)
        return;
    TRect top;
    QImage& caption = FCaptionBitmap;
    if (Placement() == plMinimized) {
        if (caption.size() != QSize(w, h))
            caption = QImage(w, h, QImage::Format_RGB32);
        caption.fill(ToQColor(FSkinData->Colours.ButtonFace));
        top = TRect(0, 0, w, FTopHeight);
    } else {
        if (caption.size() != QSize(w, FTopHeight))
            caption = QImage(w, FTopHeight, QImage::Format_RGB32);
        caption.fill(ToQColor(FSkinData->Colours.ButtonFace));
        top = TRect(FLeftWidth, 0, w - FRightWidth, FTopHeight);
    }
    {
        QPainter p(&caption);
        if (Placement() != plMinimized) {
            // The corners the side parts painted stay under the caption.
            if (!FPartBitmaps[0].isNull())
                p.drawImage(0, 0, FPartBitmaps[0], 0, 0, FLeftWidth, FTopHeight);
            if (!FPartBitmaps[1].isNull())
                p.drawImage(w - FRightWidth, 0, FPartBitmaps[1], 0, 0, FRightWidth, FTopHeight);
        }
        PaintBorderPart(3, top, p);
        PaintTitleText(p, top);
        LayoutSysButtons();
        PaintSysButtons(p);
    }
    dc.drawImage(0, 0, caption);
}

void TWinSkinForm::PaintTitleText(QPainter& canvas, const TRect& rect)
{
    if (!FSkinData || !FSkinData->Title)
        return;
    const TDataSkinTitle& title = *FSkinData->Title;
    const QString text = QStringLiteral("  ") + GetWindowText(FHandle) + QLatin1Char(' ');
    const QFont font = FCaptionFont.ToQFont();
    const QFontMetrics fm(font);
    const int textH = fm.height();
    const int textW = fm.horizontalAdvance(text) + title.TXTBackleft + title.TXTBackRight;

    int dx = 0;
    const int alignment = FLeftScrollBar ? 2 : title.TextAlignment;
    switch (alignment) {
    case 0:
        dx = title.LeftWidth;
        break;
    case 1:
        dx = (rect.Width() - textW) / 2;
        break;
    case 2:
        dx = rect.Width() - title.RightWidth - textW;
        break;
    default:
        break;
    }
    const int dy = (rect.Height() - textH) / 2 + title.TopHeight / 2;
    TRect box(rect.Left + dx, rect.Top + dy, rect.Left + dx + textW, rect.Top + dy + textH);
    if (FStyle & WS_POPUP) {
        if (FAlign1Left > 5)
            box.Right = std::min(box.Right, FAlign1Left - 5);
    } else {
        box.Right = std::min(box.Right, rect.Right - title.RightWidth);
    }
    if (FFrameKind == fkDialog && title.TextAlignment == 0)
        box.Left -= 16;
    FTitleRect = box;

    if (!title.Image.isNull())
        DrawStripTiled(canvas, TRect(box.Left, rect.Top, box.Right, rect.Bottom), title.Image, true, true, 2,
                       FFormActive ? 1 : 2, TSkinMargins{title.TXTBackleft, 0, title.TXTBackRight, 0});

    box.Left += title.TXTBackleft;
    box.Right -= title.TXTBackRight;
    if (box.Right <= box.Left)
        return;
    canvas.save();
    canvas.setFont(font);
    canvas.setPen(ToQColor(FFormActive ? FSkinData->Colours.TitleTextActive : FSkinData->Colours.TitleTextNoActive));
    canvas.setClipRect(box.ToQRect(), Qt::IntersectClip);
    const QString shown = fm.elidedText(text, Qt::ElideRight, box.Width());
    const int flags = Qt::TextSingleLine | Qt::AlignTop | (FLeftScrollBar ? Qt::AlignRight : Qt::AlignLeft);
    canvas.drawText(box.ToQRect(), flags, shown);
    canvas.restore();
}

void TWinSkinForm::UpdateRegion()
{
    if (FState == stDestroyed || !FFrameSkinned || !FHandle)
        return;
    const int w = FHandle->width();
    const int h = FHandle->height();
    if (w <= 0 || h <= 0 || (IsMDIChild() && Placement() != plNormal) || !FSkinData)
        return;
    if (w == FRegionWidth && h == FRegionHeight && !IsMDIChild() && FState != stRecolor)
        return;
    FRegion.reset();
    const TSkinData& d = *FSkinData;
    TRegion region;
    if (d.Left->Trans + d.Right->Trans + d.Top->Trans + d.Bottom->Trans == 0) {
        region = CreateRectRgn(0, 0, w, h);
    } else {
        region = CreateRectRgn(FLeftWidth, FTopHeight, w - FRightWidth, h - FBottomHeight);
        if (FFrameKind != fkNoCaption) {
            auto add = [&region](const TRegion& part) { region = region.Combined(part, RGN_OR); };
            auto keyed = [this](int side, int pw, int ph, int x, int y) {
                QImage& work = Work().Image;
                work = BorderPartBitmap(side, pw, ph);
                return RegionFromBitmap(work, x, y, 1, 1, 1);
            };
            if (d.Left->Trans == 1 && h >= 2)
                add(keyed(1, FLeftWidth, h, 0, 0));
            else
                add(CreateRectRgn(0, 0, FLeftWidth, h));
            if (d.Right->Trans == 1 && h >= 2)
                add(keyed(2, FRightWidth, h, w - FRightWidth, 0));
            else
                add(CreateRectRgn(w - FRightWidth, 0, w, h));
            const int middle = w - FLeftWidth - FRightWidth;
            if (d.Bottom->Trans == 1 && FBottomHeight >= 2)
                add(keyed(4, middle, FBottomHeight, FLeftWidth, h - FBottomHeight));
            else
                add(CreateRectRgn(FLeftWidth, h - FBottomHeight, w - FRightWidth, h));
            if (d.Top->Trans == 1 && FTopHeight >= 2 && !d.Top->Image.isNull() && middle > 0)
                add(keyed(3, middle, FTopHeight, FLeftWidth, 0));
            else
                add(CreateRectRgn(FLeftWidth, 0, w - FRightWidth, FTopHeight));
        }
    }
    SetWindowRgn(FHandle, region, true);
    FRegion = std::move(region);
    FRegionWidth = w;
    FRegionHeight = h;
}

void TWinSkinForm::ClearRegion()
{
    if (!FRegion)
        return;
    FRegion.reset();
    FRegionWidth = FRegionHeight = -1;
    if (FHandle)
        SetWindowRgn(FHandle, std::nullopt, IsMDIChild());
}

void TWinSkinForm::SetSysMenuStyle(bool hide)
{
    if ((FBorderIcons & biCaptionHide) || !FHandle)
        return;
    const auto style = static_cast<uint32_t>(GetWindowLong(FHandle, GWL_STYLE));
    uint32_t next = style;
    if (hide)
        next &= ~WS_SYSMENU;
    else if (FBorderIcons & biSysMenu)
        next |= WS_SYSMENU;
    if (next != style)
        SetWindowLong(FHandle, GWL_STYLE, static_cast<intptr_t>(next));
}


void TWinSkinForm::SizeGripCreated(HWND) {}
