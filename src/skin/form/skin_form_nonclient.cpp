#include "skin/form/skin_form.h"

#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/skin_data.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// The non-client area: sized from the skin's borders; painting it, the caption
// buttons, the menu bar and the control skinners are still to come.

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
    if (!(IsMDIChild() && FPlacement != plNormal) && FFrameKind != fkNoCaption) {
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

void TWinSkinForm::PaintFrame(QPainter*) {}

void TWinSkinForm::UpdateRegion() {}

void TWinSkinForm::ClearRegion()
{
    if (!FRegion)
        return;
    FRegion.reset();
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

void TWinSkinForm::RebuildSysButtons()
{
    FreeSysButtons();
    if (!FSkinData)
        return;
    for (const auto& data : FSkinData->CaptionButtons)
        FSysButtons.push_back(std::make_unique<TWinSysButton>(this, data.get()));
}

void TWinSkinForm::FreeSysButtons()
{
    FHotObject = nullptr;
    FSysButtons.clear();
}

void TWinSkinForm::HoverTimer()
{
    if (FBusy || !FHotObject)
        return;
    TPoint c = GetCursorPos();
    c = ScreenToWindow(c.X, c.Y);
    if (!FHotObject->Rect.Contains(c.X, c.Y)) {
        TNCObject* hot = FHotObject;
        FHotObject = nullptr;
        hot->MouseLeave();
    }
}

void TWinSkinForm::NCMouse(TMessage& m)
{
    if (MenuBarMouse(m))
        return;
    switch (m.Msg) {
    case WM_NCRBUTTONDOWN:
        if (m.WParam == HTCAPTION && !IsMDIChild()) {
            ShowSysMenu(LoWordSigned(m.LParam), HiWordSigned(m.LParam));
            m.Result = 0;
            return;
        }
        break;
    case WM_NCRBUTTONUP:
        // The menu opened on the press; the default would open the system one as well.
        if (m.WParam == HTCAPTION && !IsMDIChild()) {
            m.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    CallPrevious(m);
}

void TWinSkinForm::SizeGripCreated(HWND) {}
