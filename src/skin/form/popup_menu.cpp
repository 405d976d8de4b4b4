#include "skin/form/popup_menu.h"

#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_messages.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QPainter>
#include <QWidget>

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    // The manager detaches first; a window must still never reach a freed object.
    if (FAttached)
        Detach();
}

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu)
{
    if (FAttached || !window)
        return;
    FWindow = window;
    FSkinData = skinData;
    FMenuHandle = menu;
    FOldProc = SetWindowLong(window, GWL_WNDPROC, [this](TMessage& m) { WndProc(m); });
    FAttached = true;
    FMark = false;
    // The frame band is ours: ask for the client again at our insets.
    if (CanPaintFrame())
        RecalcNonClient(window);
}

void TWinSkinPopMenu::Detach()
{
    if (!FAttached)
        return;
    FAttached = false;
    if (FRegion) {
        FRegion.reset();
        if (FWindow)
            SetWindowRgn(FWindow, std::nullopt, false);
    }
    const bool hadBand = FWindow && CanPaintFrame();
    if (FWindow)
        SetWindowLong(FWindow, GWL_WNDPROC, FOldProc);
    FOldProc = nullptr;
    FCacheBitmap = QImage();
    // A menu window shown again later lays itself out without our band.
    if (hadBand)
        RecalcNonClient(FWindow);
}

bool TWinSkinPopMenu::CanPaintFrame() const
{
    return FSkinData && FSkinData->SkinRead() && FSkinData->MenuBackground &&
           !FSkinData->MenuBackground->Image.isNull();
}

bool TWinSkinPopMenu::RenderCache()
{
    TRect wr;
    if (!FWindow || !GetWindowRect(FWindow, wr))
        return false;
    const TRect r(0, 0, wr.Width(), wr.Height());
    const TDataSkinObject& bg = *FSkinData->MenuBackground;
    const TSkinMargins margins{bg.LeftWidth, bg.TopHeight, bg.RightWidth, bg.BottomHeight};
    FCacheBitmap = NineGridBitmap(r, bg.Image, margins, false, bg.Tile != 0, 1, 1);
    return !FCacheBitmap.isNull();
}

const QImage& TWinSkinPopMenu::Background()
{
    TRect wr;
    if (CanPaintFrame() && FWindow && GetWindowRect(FWindow, wr) &&
        (FCacheBitmap.isNull() || FCacheBitmap.size() != QSize(wr.Width(), wr.Height())))
        RenderCache();
    return FCacheBitmap;
}

void TWinSkinPopMenu::WndProc(TMessage& m)
{
    if (m.Msg == WM_SKINQUERY) {
        m.Result = 1;
        return;
    }
    TSkinManage* manager = SkinManager();
    if (!manager || !manager->Running()) {
        CallWindowProc(FOldProc, m);
        return;
    }
    switch (m.Msg) {
    case WM_DESTROY: {
        TWndProc old = FOldProc;
        Detach();
        CallWindowProc(old, m);
        return;
    }
    case WM_ERASEBKGND:
        if (!(FSkinData && FSkinData->Options().Contains(xoMenuBG)))
            CallWindowProc(FOldProc, m);
        m.Result = 1;
        return;
    case WM_NCCALCSIZE:
        CallWindowProc(FOldProc, m);
        // The system frame of a popup menu is 3 pixels wide; ours takes its place.
        if (m.WParam && CanPaintFrame()) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
            if (p && p->lppos) {
                p->rgrc[0].left = p->lppos->x + kFrameWidth;
                p->rgrc[0].top = p->lppos->y + kFrameWidth;
                p->rgrc[0].right = p->lppos->x + p->lppos->cx - kFrameWidth;
                p->rgrc[0].bottom = p->lppos->y + p->lppos->cy - kFrameWidth;
            }
        }
        return;
    case WM_NCPAINT:
        if (!CanPaintFrame()) {
            CallWindowProc(FOldProc, m);
            return;
        }
        PaintFrame(m);
        return;
    case WM_PRINT:
        if (!CanPaintFrame()) {
            CallWindowProc(FOldProc, m);
            return;
        }
        Print(m);
        return;
    default:
        CallWindowProc(FOldProc, m);
        return;
    }
}

void TWinSkinPopMenu::PaintFrame(TMessage& m)
{
    QPainter* dc = GetWindowDC(FWindow);
    if (!dc || !RenderCache()) {
        m.Result = 0;
        return;
    }
    const int w = FCacheBitmap.width();
    const int h = FCacheBitmap.height();
    const int b = kFrameWidth;
    // The band first (top, bottom, then the sides between them), then the
    // whole picture: the painter is clipped to the band, the items stay.
    dc->drawImage(QPoint(0, 0), FCacheBitmap, QRect(0, 0, w, b));
    dc->drawImage(QPoint(0, h - b), FCacheBitmap, QRect(0, h - b, w, b));
    dc->drawImage(QPoint(0, b), FCacheBitmap, QRect(0, b, b, h - 2 * b));
    dc->drawImage(QPoint(w - b, b), FCacheBitmap, QRect(w - b, b, b, h - 2 * b));
    dc->drawImage(QPoint(0, 0), FCacheBitmap);
    ReleaseDC(FWindow, dc);
    m.Result = 0;
}

void TWinSkinPopMenu::Print(TMessage& m)
{
    auto* dc = reinterpret_cast<QPainter*>(m.WParam);
    if (!dc || !RenderCache()) {
        CallWindowProc(FOldProc, m);
        return;
    }
    const QRect inner = QRect(0, 0, FCacheBitmap.width(), FCacheBitmap.height())
                            .adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    dc->drawImage(QPoint(0, 0), FCacheBitmap);
    dc->save();
    dc->setBackgroundMode(Qt::TransparentMode);
    dc->setClipRect(inner, Qt::IntersectClip);
    CallWindowProc(FOldProc, m);
    dc->restore();
}
