#include "skin/form/skin_form.h"

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/string_grid.h"
#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/controls/skin_control.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLayout>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {
int FrameCount(const TDataSkinObject* o) { return o && o->Frame > 0 ? o->Frame : 1; }

bool IsCommandToRepost(unsigned id)
{
    switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        return true;
    default:
        return false;
    }
}
} // namespace

// ---------------------------------------------------------------------------
// Non-client objects: the mouse states shared by caption buttons and menu-bar items.

void TNCObject::Press()
{
    if (Form->HotObject() && Form->HotObject() != this)
        Form->HotObject()->MouseLeave();
    if (!Visible)
        return;
    Form->SetHotObject(this);
    State = stPressed;
    Paint();
}

void TNCObject::Release()
{
    if (!Visible)
        return;
    State = stHover;
    Paint();
}

void TNCObject::Hover()
{
    TNCObject* hot = Form->HotObject();
    if (hot == this)
        return;
    if (hot)
        hot->MouseLeave();
    if (!Visible)
        return;
    Form->SetHotObject(this);
    State = stHover;
    Paint();
}

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    Form->SetHotObject(nullptr);
    State = stNormal;
    Paint();
}

// ---------------------------------------------------------------------------

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner)
{
    FDoubleClickTime = GetDoubleClickTime();
    // The classic scheme's caption font, as the system reports it.
    FCaptionFont.SetName(QStringLiteral("Tahoma"));
    FCaptionFont.SetHeight(-11);
    FCaptionFont.SetStyle(FontStyleBit(fsBold));
    FState = stAttached;
}

TWinSkinForm::~TWinSkinForm()
{
    // A window must never call into a freed object.
    RestoreProcedures();
    UnsubclassMDIClient();
    RestoreControls(false);
    FreeSysButtons();
    delete FMenuBar;
    FMenuBar = nullptr;
    delete FSysMenuPopup;
    FSysMenuPopup = nullptr;
    if (TSkinManage* m = SkinManager())
        m->RemoveForm(this);
}

TSkinManage* TWinSkinForm::Manager() const { return SkinManager(); }

void TWinSkinForm::SetWindow(HWND window, const QString& className)
{
    FHandle = window;
    FClassName = className;
}

void TWinSkinForm::InitFromForm(TSkinData* skinData, TCustomForm* form)
{
    FForm = form;
    FSkinData = skinData;
    if (skinData->OnBeforeSkinForm)
        skinData->OnBeforeSkinForm(form, FHandle, FClassName);
    // Our forms have no scroll range of their own: AutoScroll has nothing to switch off.
    Attach(skinData);
    if (FFrameSkinned && form) {
        FSavedWindowProc = form->WindowProc;
        form->WindowProc = [this](TMessage& m) { FormHook(m); };
        FFormHooked = true;
    }
    if (form) {
        FSavedColor = form->Color();
        form->SetColor(skinData->Colours.ButtonFace);
    }
    // A skinned frame's popup menus are drawn in the skin as well.
    if (skinData->SkinControls().Contains(xcMenuItem) || FFrameSkinned)
        MakeMenusOwnerDraw(true);
}

void TWinSkinForm::InitWindow(TSkinData* skinData)
{
    FSkinData = skinData;
    Attach(skinData);
}

void TWinSkinForm::Attach(TSkinData* skinData)
{
    if (FInstalled || !FHandle)
        return;
    FSkinData = skinData;
    TSkinManage* manager = Manager();
    if (manager)
        manager->SetFormAttached(true);
    if (!FTimer) {
        FTimer = new TTimer(this);
        FTimer->SetInterval(250);
        FTimer->SetEnabled(false);
        FTimer->OnTimer = [this](TComponent*) { HoverTimer(); };
    }

    FFrameSkinned = skinData->SkinControls().Contains(xcMainMenu);
    FStyle = static_cast<uint32_t>(GetWindowLong(FHandle, GWL_STYLE));
    FExStyle = static_cast<uint32_t>(GetWindowLong(FHandle, GWL_EXSTYLE));
    if (FClassName.isEmpty())
        FClassName = GetClassName(FHandle);
    FOwnerWindow = GetWindow(FHandle, GW_OWNER);
    FChild = (FStyle & WS_CHILD) != 0;

    const uint32_t version = manager ? manager->WinVersion() : GetVersion();
    FBorderIcons = 0;
    if (FStyle & WS_SYSMENU)
        FBorderIcons |= biSysMenu;
    if (FStyle & WS_MINIMIZEBOX)
        FBorderIcons |= biMinBox;
    if (FStyle & WS_MAXIMIZEBOX)
        FBorderIcons |= biMaxBox;
    const bool mdiChild = (FExStyle & WS_EX_MDICHILD) != 0;
    if (VersionIsNT(version) && VersionMajor(version) >= 5 && VersionMinor(version) == 0 &&
        ((FExStyle & WS_EX_APPWINDOW) || (!FOwnerWindow && !mdiChild)))
        FBorderIcons |= biCaptionHide;
    FSizeable = (FStyle & WS_THICKFRAME) != 0;
    for (HWND child : ChildWindows(FHandle)) {
        if (GetClassName(child).compare(QLatin1String("MDIClient"), Qt::CaseInsensitive) == 0) {
            FWindowKind = wkMDIParent;
            FMDIClient = child;
            if (manager)
                manager->SetMDIClient(child, this);
            break;
        }
    }
    if (mdiChild) {
        FWindowKind = wkMDIChild;
        if (skinData->Options().Contains(xoMDIChildBorder))
            FFrameSkinned = false;
    }

    const bool caption = (FStyle & WS_CAPTION) == WS_CAPTION;
    FSystemDialog = FClassName == QLatin1String("#32770") || FClassName == QLatin1String("TMessageForm");
    if (!caption)
        FFrameKind = fkNoCaption;
    else if ((FStyle & DS_MODALFRAME) || (FExStyle & WS_EX_DLGMODALFRAME) || FSystemDialog)
        FFrameKind = fkDialog;
    else if (FSizeable)
        FFrameKind = fkSizeable;
    else
        FFrameKind = fkFixed;
    FLeftScrollBar = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FUnicode = IsWindowUnicode(FHandle);

    if (manager && manager->HideWhileAttaching() && !FChild && FFrameSkinned && caption)
        SetWindowLong(FHandle, GWL_STYLE, static_cast<intptr_t>(GetWindowLong(FHandle, GWL_STYLE) & ~WS_VISIBLE));
    if (!VersionIsNT(version)) {
        TSkinControlTypes kinds = skinData->SkinControls();
        kinds.Exclude(xcSystemMenu);
        skinData->SetSkinControls(kinds);
    }
    if (FWindowKind == wkMDIParent) {
        FSavedMenuUpdate = skinData->MenuUpdate();
        SubclassMDIClient();
    }

    // A window skinned while it has the focus (skinning switched on at run
    // time) gets no activation message to tell it so.
    FFormActive = GetActiveWindow() == FHandle.data() ? 1 : 0;
    FPrevProc = SetWindowLong(FHandle, GWL_WNDPROC, [this](TMessage& m) { WndProc(m); });
    FInstalled = true;

    if (FFrameSkinned) {
        FWindowMenu = GetMenu(FHandle);
        if (FWindowMenu && !IsMDIChild() && FFrameKind != fkNoCaption) {
            // The drawn bar takes the menu's place; the client keeps its size.
            FRemovedMenuHeight = FWindowMenu->sizeHint().height();
            FMenuBar = new TWinSkinMenu(this);
            FMenuHeight = GetSystemMetrics(SM_CYMENU);
            FMenuBar->BuildButtons();
        }
        if (Placement() != plMinimized && !(IsMDIChild() && manager && manager->MDIChildMaximized()))
            SetCaptionStyle(false);
        Reskin();
    } else {
        FState = stSkinned;
    }
    if (IsMDIChild()) {
        const int sum = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
        if (sum > FTopHeight)
            FMenuHeight = sum - FTopHeight;
        if (Placement() == plMaximized && manager && !manager->MDIChildMaximized())
            manager->SetMDIChildMaximized(true);
    }
}

void TWinSkinForm::Reskin()
{
    if (!FSkinData || FSkinData->SkinLoading())
        return;
    if (FFrameKind == fkNoCaption) {
        FLeftWidth = FTopHeight = FRightWidth = FBottomHeight = 0;
        FMenuHeight = 0;
    } else {
        FLeftWidth = FSkinData->Left->Image.width() / FrameCount(FSkinData->Left.get());
        FTopHeight = FSkinData->Top->Image.height() / FrameCount(FSkinData->Top.get());
        FRightWidth = FSkinData->Right->Image.width() / FrameCount(FSkinData->Right.get());
        FBottomHeight = FSkinData->Bottom->Image.height() / FrameCount(FSkinData->Bottom.get());
    }
    RebuildSysButtons();
}

void TWinSkinForm::RefreshSkin()
{
    if (!FHandle)
        return;
    Reskin();
    // Another skin brings other colours, which the controls would not take
    // until skinning went off and on again.
    if (FSkinData && FStarted)
        ApplySkinColours();
    // Another skin cuts another region, also at the same size, maximised too.
    FRegionWidth = FRegionHeight = -1;
    if (FFrameSkinned && FStarted && !FChild && FFrameKind != fkNoCaption) {
        const int old = FState;
        FState = stLayout;
        LayoutFrame(true);
        FState = old;
        UpdateRegion();
    } else if (FFrameSkinned && FStarted) {
        FrameChanged();
    }
}

void TWinSkinForm::Repaint()
{
    if (FHandle)
        RedrawWindow(FHandle, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------------------------
// The window procedure.

void TWinSkinForm::CallPrevious(TMessage& m) { CallWindowProc(FPrevProc, m); }

void TWinSkinForm::WndProc(TMessage& m)
{
    // No frame is drawn before the start message.
    if (FState == stAttached && m.Msg == WM_NCPAINT) {
        m.Result = 0;
        return;
    }
    if (Stage1(m))
        return;
    if (FFrameSkinned)
        Stage2(m);
    else
        CallPrevious(m);
}

bool TWinSkinForm::Stage1(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        CallPrevious(m);
        if (!FForm && FSkinData) {
            if (m.WParam) {
                // The painter is the window's: the client lies inside the frame band.
                auto* dc = reinterpret_cast<QPainter*>(m.WParam);
                TRect r;
                TRect wr;
                GetClientRect(FHandle, r);
                GetWindowRect(FHandle, wr);
                const TPoint origin = ClientToScreen(FHandle, TPoint(0, 0));
                dc->fillRect(r.ToQRect().translated(origin.X - wr.Left, origin.Y - wr.Top), FSkinData->SkinBrush);
            }
            m.Result = 1;
        }
        return true;
    case WM_NCDESTROY: {
        FState = stNCDestroy;
        TWndProc previous = FPrevProc;
        Detach();
        CallWindowProc(previous, m);
        FState = stDestroyed;
        return true;
    }
    case WM_NCACTIVATE:
        if (FState == stAttached && !IsMDIChild()) {
            m.Result = 0;
            return true;
        }
        return false;
    case 0x00AE:
        m.Result = 0;
        return true;
    case WM_INITMENUPOPUP:
        if (TSkinManage* manager = Manager())
            manager->SetMenuKind(HwndOf(m.WParam) && HwndOf(m.WParam) == FSystemMenu ? TSkinManage::mkSystemMenu
                                                                                       : TSkinManage::mkMainMenu);
        CallPrevious(m);
        return true;
    case WM_CTLCOLORBTN:
        // Qt draws buttons transparently over their parent already.
        CallPrevious(m);
        return true;
    case WM_CTLCOLORSTATIC:
        CallPrevious(m);
        if (!FForm && FSkinData)
            m.Result = reinterpret_cast<LRESULT>(&FSkinData->SkinBrush);
        return true;
    case WM_SKINSTART:
        StartSequence();
        return true;
    case WM_SKINSCROLLFIX:
        ScrollFix(HwndOf(m.WParam));
        return true;
    case WM_SKINQUERY:
        m.Result = 1;
        return true;
    default:
        return false;
    }
}

void TWinSkinForm::Stage2(TMessage& m)
{
    if (FChild && !IsMDIChild()) {
        CallPrevious(m);
        return;
    }
    TSkinManage* manager = Manager();
    switch (m.Msg) {
    case WM_SIZE:
        CallPrevious(m);
        if (m.WParam == SIZE_MINIMIZED || IsIconic(FHandle))
            return;
        if (IsMDIChild() && ((manager && manager->MDIChildMaximized()) || Placement() != plNormal))
            return;
        if (FState == stSkinned || FState == stRecolor)
            UpdateRegion();
        return;
    case WM_ACTIVATE:
        FFormActive = static_cast<int>(LoWord(m.WParam));
        break;
    case WM_GETMINMAXINFO:
        CallPrevious(m);
        if (Placement() == plMinimized || IsMaximizedMDIChild())
            SetCaptionStyle(true);
        else
            SetCaptionStyle(false);
        return;
    case WM_WINDOWPOSCHANGED:
        CallPrevious(m);
        return;
    case WM_NCACTIVATE:
        FFormActive = static_cast<int>(m.WParam);
        break;
    case WM_COMMAND: {
        const unsigned id = LoWord(m.WParam);
        if (id < 0xFF00 && IsCommandToRepost(id)) {
            PostMessage(FHandle, WM_SYSCOMMAND, id, 0);
            return;
        }
        if (HiWord(m.WParam) == 0 && m.LParam == 0 && MenuBarCommand(id))
            return;
        CallPrevious(m);
        return;
    }
    case WM_SYSCOMMAND:
        SysCommand(m);
        return;
    case WM_SKINMENUCLICK:
        MenuBarClickAt(m);
        return;
    case CM_MENUCHANGED:
        if (FSkinData)
            FSkinData->FramePainting = false;
        CallPrevious(m);
        if (FSkinData)
            FSkinData->FramePainting = true;
        // The Windows menu goes only where the skinned menu bar takes its place;
        // a menu kept off the window changes in place.
        if (FMenuBar) {
            if (HMENU menu = GetMenu(FHandle)) {
                FWindowMenu = menu;
                FMenuBar->SetWindowMenu(menu);
            }
            if (FSkinData && FSkinData->MenuUpdate())
                FMenuBar->BuildButtons();
            SetMenu(FHandle, nullptr);
            RedrawWindow(FHandle, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
        return;
    default:
        break;
    }
    if (IsMaximizedMDIChild() || FState == stAttached) {
        CallPrevious(m);
        return;
    }
    Stage3(m);
}

void TWinSkinForm::Stage3(TMessage& m)
{
    switch (m.Msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        OwnerDrawMenuItem(m);
        return;
    case WM_WINDOWPOSCHANGING:
        CallPrevious(m);
        return;
    case WM_NCCALCSIZE:
        WMNCCalcSize(m);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(m);
        return;
    case WM_NCPAINT:
        WMNCPaint(m);
        return;
    case WM_NCACTIVATE:
        FFormActive = static_cast<int>(m.WParam);
        if (FTimer)
            FTimer->SetEnabled(FFormActive != 0);
        if ((!FTimer || !FTimer->Enabled()) && FHotControl) {
            auto* hot = static_cast<TSkinControl*>(FHotControl);
            FHotControl = nullptr;
            hot->SendMouseLeave();
        }
        if (FWindowKind == wkMDIParent && FMDIClient)
            SendMessage(FMDIClient, WM_NCACTIVATE, m.WParam, 0);
        else if (IsMDIChild())
            CallPrevious(m);
        if (!IsMaximizedMDIChild())
            PaintFrame(nullptr);
        m.Result = 1;
        return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
        NCMouse(m);
        return;
    case WM_SKINNCPAINT:
        PaintFrame(nullptr);
        return;
    default:
        CallPrevious(m);
        return;
    }
}

void TWinSkinForm::SysCommand(TMessage& m)
{
    if (!FBusy) {
        const unsigned cmd = static_cast<unsigned>(m.WParam) & 0xFFF0u;
        if (cmd == SC_KEYMENU) {
            const unsigned key = LoWord(static_cast<uintptr_t>(m.LParam));
            if (key == ' ') {
                const TPoint p = ClientToScreen(FHandle, TPoint(0, 0));
                ShowSysMenu(p.X, p.Y);
                // Our menu was the system menu: the default would open a second one.
                m.Result = 0;
                return;
            }
            // Without the skinned menu bar the window's own menu bar keeps the keyboard.
            if (key != '-' && !GetCapture() && FMenuBar) {
                TNCObject* button = nullptr;
                if (key == 0)
                    button = FMenuBar->Count() > 0 ? FMenuBar->Buttons().front().get() : nullptr;
                else
                    button = FindMenuAccel(static_cast<int>(key));
                if (key == 0 || button) {
                    TrackMenuButton(button);
                    m.Result = 1;
                    return;
                }
            }
        }
        TSkinManage* manager = Manager();
        if (cmd == SC_MINIMIZE) {
            // Where nothing minimizes the window, it stays as it is.
            CallPrevious(m);
            if (IsMDIChild() && IsIconic(FHandle))
                SetCaptionStyle(true);
            return;
        }
        if (cmd == SC_RESTORE) {
            if (IsMDIChild()) {
                SetCaptionStyle(false);
                if (manager && manager->MDIChildMaximized())
                    manager->SetMDIChildMaximized(false);
            }
        }
    }
    CallPrevious(m);
}

void TWinSkinForm::FormHook(TMessage& m)
{
    auto saved = [this](TMessage& msg) {
        if (FSavedWindowProc)
            FSavedWindowProc(msg);
    };
    switch (m.Msg) {
    case CM_DIALOGCHAR:
        HandleMenuAccel(m);
        if (!m.Result)
            saved(m);
        return;
    case WM_SETTEXT:
        if (FHandle && IsWindowVisible(FHandle)) {
            saved(m);
            TSkinManage* manager = Manager();
            const int placement = Placement();
            if (placement == plMaximized && manager && manager->MDIClient())
                PostMessage(manager->MDIClient(), WM_SKINMDIREDRAW, WParamOf(FHandle.data()), 0);
            else if (placement == plMinimized)
                PaintFrame(nullptr);
            else
                FrameChanged();
        } else {
            saved(m);
        }
        return;
    case WM_SKINRECOLOR:
        ApplyColors();
        return;
    case WM_SKINPAINTDC:
        if (m.LParam == kSkinMagic) {
            if (m.WParam)
                PaintFrame(reinterpret_cast<QPainter*>(m.WParam));
            m.Result = kSkinMagic;
        }
        return;
    case WM_SKINISSKINNED:
        m.Result = m.LParam == kSkinMagic ? kSkinMagic : 1;
        return;
    default:
        saved(m);
        return;
    }
}

void TWinSkinForm::MDIClientProc(TMessage& m)
{
    TSkinManage* manager = Manager();
    switch (m.Msg) {
    case WM_NCDESTROY: {
        TWndProc previous = FMDIClientPrev;
        UnsubclassMDIClient();
        CallWindowProc(previous, m);
        return;
    }
    case WM_NCCALCSIZE:
        if (FFrameSkinned && FSkinData && !FSkinData->Options().Contains(xoMDIScrollbar) && FMDIClient) {
            const auto style = static_cast<uint32_t>(GetWindowLong(FMDIClient, GWL_STYLE));
            SetWindowLong(FMDIClient, GWL_STYLE, static_cast<intptr_t>(style & ~(WS_HSCROLL | WS_VSCROLL)));
        }
        CallWindowProc(FMDIClientPrev, m);
        return;
    case WM_MDICREATE:
        if (FSkinData)
            FSkinData->SetMenuUpdate(false);
        CallWindowProc(FMDIClientPrev, m);
        return;
    case WM_MDIDESTROY: {
        CallWindowProc(FMDIClientPrev, m);
        if (FFrameSkinned && manager && FMDIClient) {
            HWND active = HwndOf(static_cast<uintptr_t>(SendMessage(FMDIClient, WM_MDIGETACTIVE, 0, 0)));
            manager->SetMDIChildMaximized(active && IsZoomed(active));
            if (!active && FMenuBar && FSkinData) {
                FSkinData->SetMenuUpdate(FSavedMenuUpdate);
                FMenuBar->UpdateButtons();
            }
        }
        return;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (FFrameSkinned && manager && manager->MDIChildMaximized())
            manager->SetMDIChildMaximized(false);
        CallWindowProc(FMDIClientPrev, m);
        return;
    case WM_MDISETMENU:
        CallWindowProc(FMDIClientPrev, m);
        if (FFrameSkinned && FMenuBar && m.WParam)
            FMenuBar->UpdateButtons();
        if (FFrameSkinned)
            SetMenu(FHandle, nullptr);
        return;
    case WM_SKINMDIREDRAW:
        if (FHandle)
            RedrawWindow(FHandle, nullptr, 0x585);
        return;
    default:
        CallWindowProc(FMDIClientPrev, m);
        return;
    }
}

void TWinSkinForm::SubclassMDIClient()
{
    if (FMDIClientHooked || !FMDIClient)
        return;
    FMDIClientPrev = SetWindowLong(FMDIClient, GWL_WNDPROC, [this](TMessage& m) { MDIClientProc(m); });
    FMDIClientHooked = true;
}

void TWinSkinForm::UnsubclassMDIClient()
{
    if (!FMDIClientHooked)
        return;
    FMDIClientHooked = false;
    if (FMDIClient)
        SetWindowLong(FMDIClient, GWL_WNDPROC, FMDIClientPrev);
    FMDIClientPrev = nullptr;
}

void TWinSkinForm::RestoreProcedures()
{
    if (FFormHooked) {
        FFormHooked = false;
        if (FForm)
            FForm->WindowProc = FSavedWindowProc;
        FSavedWindowProc = nullptr;
    }
    if (FInstalled) {
        FInstalled = false;
        if (FHandle)
            SetWindowLong(FHandle, GWL_WNDPROC, FPrevProc);
    }
}

// ---------------------------------------------------------------------------
// Start, layout and colours.

void TWinSkinForm::StartSequence()
{
    if (!FHandle)
        return;
    FStarted = true;
    FSystemMenu = GetSystemMenu(FHandle, false);
    LoadIcon();
    TSkinManage* manager = Manager();
    if (manager && manager->HideWhileAttaching()) {
        manager->SetHideWhileAttaching(false);
        SetWindowLong(FHandle, GWL_STYLE, static_cast<intptr_t>(GetWindowLong(FHandle, GWL_STYLE) | WS_VISIBLE));
    }
    if (FForm)
        SkinChildControls();
    else
        SkinChildWindowByClass();
    if (FState == stAttached) {
        const int placement = Placement();
        if (IsMDIChild()) {
            if (placement == plMaximized) {
                if (manager && manager->MDIClient())
                    PostMessage(manager->MDIClient(), WM_SKINMDIREDRAW, WParamOf(FHandle.data()), 0);
            } else if (placement == plNormal) {
                FState = stLayout;
                LayoutFrame(false);
                FState = stSkinned;
                UpdateRegion();
            } else {
                SetCaptionStyle(true);
            }
        } else if (FFrameSkinned && !FChild && FFrameKind != fkNoCaption) {
            // The window manager's frame goes and ours comes, in any placement;
            // the platform keeps the client (less the strip of the menu bar the
            // drawn one replaced) and the size the window is restored to.
            FState = stLayout;
            ChangeFrameKeepingClient(
                FHandle,
                [this] {
                    SetSkinnedFrame(FHandle, true);
                    FSkinnedFrameSet = true;
                },
                QSize(0, -FRemovedMenuHeight));
            if (placement == plNormal)
                WidenToTitle();
            FState = stSkinned;
            if (placement != plMinimized)
                UpdateRegion();
        }
    }
    AfterSkin();
    FState = stSkinned;
    if (FTimer)
        FTimer->SetEnabled(true);
    if (manager && manager->OnFormStarted)
        manager->OnFormStarted(this);
}

void TWinSkinForm::LoadIcon()
{
    FIconBitmap = QImage();
    const QIcon icon = FHandle ? FHandle->windowIcon() : QIcon();
    if (icon.isNull())
        return;
    const int w = GetSystemMetrics(SM_CXSMICON);
    const int h = GetSystemMetrics(SM_CYSMICON);
    FIconBitmap = QImage(w, h, QImage::Format_RGB32);
    FIconBitmap.fill(qRgb(255, 0, 255));
    QPainter p(&FIconBitmap);
    icon.paint(&p, QRect(0, 0, w, h));
}

void TWinSkinForm::AfterSkin()
{
    if (FHandle)
        SendMessage(FHandle, WM_SKINDONE, 0, kSkinMagic);
    if (FSkinData && FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FHandle, FClassName);
}

void TWinSkinForm::LayoutFrame(bool keepClient)
{
    if (!FHandle)
        return;
    // The borders' widths become the insets; the platform keeps the client
    // and, maximised or minimised, the size the window is restored to.
    ChangeFrameKeepingClient(FHandle);
    if (!keepClient && !IsZoomed(FHandle) && !IsIconic(FHandle))
        WidenToTitle();
    // The new margins are laid out now, not by a later layout pass of a dialog that sizes itself.
    if (FHandle)
        if (QLayout* layout = FHandle->layout())
            layout->activate();
}

void TWinSkinForm::WidenToTitle()
{
    if (!FSystemDialog || !FSkinData || !FHandle)
        return;
    const QFontMetrics fm(FCaptionFont.ToQFont());
    const int textWidth = fm.horizontalAdvance(GetWindowText(FHandle));
    FCaptionTextWidth = textWidth;
    const int needed = FSkinData->Title->LeftWidth + textWidth + FSkinData->Title->RightWidth;
    TRect client;
    TRect window;
    GetClientRect(FHandle, client);
    GetWindowRect(FHandle, window);
    const int cw = client.Width();
    if (cw >= needed)
        return;
    const int shift = (needed - cw) / 2;
    QLayout* layout = FHandle->layout();
    if (layout) {
        // A laid-out dialog would put its children back: its margins carry the shift.
        const QMargins mg = layout->contentsMargins();
        layout->setContentsMargins(mg.left() + shift, mg.top(), mg.right() + (needed - cw - shift), mg.bottom());
    } else {
        for (HWND child : ChildWindows(FHandle))
            child->move(child->x() + shift, child->y());
    }
    SetWindowPos(FHandle, nullptr, 0, 0, window.Width() + needed - cw, window.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (layout) {
        layout->activate();
        // A message box sizes itself again on its next layout request, which
        // would take the widening back.
        QCoreApplication::removePostedEvents(FHandle, QEvent::LayoutRequest);
    }
}

// The skin's colours on the form, its owned forms, its grids and every
// control skinner.
void TWinSkinForm::ApplySkinColours()
{
    const TColor face = FSkinData->Colours.ButtonFace;
    if (FForm) {
        FForm->SetColor(face);
        for (int i = 0; i < FForm->ComponentCount(); ++i) {
            TComponent* c = FForm->Components(i);
            if (auto* owned = dynamic_cast<TCustomForm*>(c))
                owned->SetColor(face);
            else if (auto* grid = dynamic_cast<TCustomGrid*>(c))
                grid->SetFixedColor(face);
        }
    }
    const std::vector<TComponent*> skinners = FControls;
    for (TComponent* c : skinners)
        static_cast<TSkinControl*>(c)->ApplyColor();
}

void TWinSkinForm::ApplyColors()
{
    if (!FSkinData)
        return;
    ApplySkinColours();
    const int old = FState;
    FState = stRecolor;
    if (FFrameSkinned && FForm) {
        MakeMenusOwnerDraw(true);
        LayoutFrame(true);
        // Recolouring cuts the region anew at the same size, and repaints the frame.
        if (!IsIconic(FHandle))
            UpdateRegion();
        RedrawWindow(FHandle, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
    AfterSkin();
    FState = old == stAttached ? stAttached : stSkinned;
}

void TWinSkinForm::SetCaptionStyle(bool show)
{
    if (!(FBorderIcons & biCaptionHide) || !FHandle)
        return;
    auto style = static_cast<uint32_t>(GetWindowLong(FHandle, GWL_STYLE));
    style = show ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
    SetWindowLong(FHandle, GWL_STYLE, static_cast<intptr_t>(style));
}

void TWinSkinForm::FrameChanged()
{
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int TWinSkinForm::Placement() const
{
    // The platform owns the placement; this only reads it.
    WINDOWPLACEMENT wp;
    if (!FHandle || !GetWindowPlacement(FHandle, wp))
        return plNormal;
    switch (wp.showCmd) {
    case 2:
    case 6:
    case 7:
        return plMinimized;
    case 3:
        return plMaximized;
    default:
        return plNormal;
    }
}

TPoint TWinSkinForm::ScreenToWindow(int x, int y) const
{
    TPoint p = ScreenToClient(FHandle, TPoint(x, y));
    if (IsMDIChild() && IsIconic(FHandle))
        return p;
    return TPoint(p.X + FLeftWidth, p.Y + FTopHeight + FMenuHeight);
}

// ---------------------------------------------------------------------------
// Unskinning.

void TWinSkinForm::Unskin()
{
    if (FFrameSkinned) {
        // All of it is one change of frame: the platform keeps the client
        // (with the window's own menu bar back above it) and the size the
        // window is restored to, in every placement.
        auto undo = [this] {
            delete FSysMenuPopup;
            FSysMenuPopup = nullptr;
            if (FTimer)
                FTimer->SetEnabled(false);
            RestoreProcedures();
            RestoreControls(FState != stNCDestroy);
            if (FForm) {
                MakeMenusOwnerDraw(false);
                if (FState != stNCDestroy)
                    FForm->SetColor(FSavedColor);
            }
            SetSysMenuStyle(false);
            SetCaptionStyle(true);
            delete FMenuBar;
            FMenuBar = nullptr;
            if (FWindowMenu && FHandle && !GetMenu(FHandle))
                SetMenu(FHandle, FWindowMenu);
            UnsubclassMDIClient();
            if (FHandle && FSkinnedFrameSet)
                SetSkinnedFrame(FHandle, false);
            FSkinnedFrameSet = false;
        };
        if (FHandle && FState != stNCDestroy && (IsMDIChild() || !FChild) && FStarted)
            ChangeFrameKeepingClient(FHandle, undo);
        else
            undo();
        if (FHandle && GetWindowRgn(FHandle))
            SetWindowRgn(FHandle, std::nullopt, true);
        FRegion.reset();
    } else {
        if (FTimer)
            FTimer->SetEnabled(false);
        RestoreControls(FState != stNCDestroy);
        if (FForm) {
            MakeMenusOwnerDraw(false);
            if (FState != stNCDestroy)
                FForm->SetColor(FSavedColor);
        }
        RestoreProcedures();
        UnsubclassMDIClient();
        if (FForm && FState != stNCDestroy)
            for (int i = 0; i < FForm->ControlCount(); ++i)
                FForm->Controls(i)->Invalidate();
    }
}

void TWinSkinForm::Detach()
{
    if (!FFrameSkinned) {
        Unskin();
        return;
    }
    delete FSysMenuPopup;
    FSysMenuPopup = nullptr;
    if (FTimer)
        FTimer->SetEnabled(false);
    RestoreProcedures();
    RestoreControls(false);
    delete FMenuBar;
    FMenuBar = nullptr;
    FSkinnedFrameSet = false;
}
