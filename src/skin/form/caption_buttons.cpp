// Caption buttons of a skinned form: built from the skin's BUTTON sections,
// shown by their visibility codes, placed by Align, painted in the frame of
// their mouse state, and what each Action does when clicked.

#include "skin/form/skin_form.h"

#include "classlib/controls/ext_controls.h"
#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/controls/skin_control.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/form/skin_messages.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QPainter>
#include <algorithm>
#include <utility>

namespace {
bool IsIconAction(int action) { return action == 3 || action == 11; }

// One visibility code; second: the Visibility1 column.
bool CodeShows(TWinSkinForm& f, int code, int action, bool second)
{
    const unsigned icons = f.BorderIcons();
    const bool minBox = icons & TWinSkinForm::biMinBox;
    const bool maxBox = icons & TWinSkinForm::biMaxBox;
    const bool sysMenu = icons & TWinSkinForm::biSysMenu;
    const bool maximized = f.Placement() == TWinSkinForm::plMaximized;
    switch (code) {
    case 0:
        return true;
    case 1:
        return maximized;
    case 2:
        return !maximized;
    case 3:
        return f.FormActive() != 0;
    case 4:
        return f.FormActive() == 0;
    case 6:
    case 8:
        return second ? (minBox || maxBox) : ((minBox || maxBox) && sysMenu);
    case 7:
        return !maxBox;
    case 9:
        return !minBox;
    case 100: {
        if (f.WindowKind() != TWinSkinForm::wkMDIParent || !f.MenuBar())
            return false;
        TSkinManage* manager = SkinManager();
        HWND client = manager ? manager->MDIClient() : nullptr;
        HWND active = client ? HwndOf(static_cast<uintptr_t>(SendMessage(client, WM_MDIGETACTIVE, 0, 0))) : nullptr;
        return active && IsZoomed(active);
    }
    case 200:
        return f.FrameKind() == TWinSkinForm::fkDialog && !f.SystemDialog();
    default:
        break;
    }
    if (code >= 201 && code <= 999)
        return true;
    if (code >= 1000 && code <= 2000)
        return second || SendMessage(f.Handle(), WM_SKINBUTTONVISIBLE, static_cast<WPARAM>(code), action) > 0;
    return false;
}
} // namespace

TWinSysButton::TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* data)
    : TNCObject(form), FData(std::make_unique<TDataSkinSysButton>(*data)), Data(FData.get()), Image(data->Image),
      Frames(data->Frame > 0 ? data->Frame : 1)
{
}

void TWinSysButton::Paint()
{
    int frame = Enabled ? State : stNormal;
    if (Data->Visibility == 100 && frame == stHover)
        frame = 4;
    Form->PaintSysButton(this, frame);
}

void TWinSkinForm::RebuildSysButtons()
{
    FreeSysButtons();
    if (!FSkinData)
        return;
    for (const auto& data : FSkinData->CaptionButtons) {
        auto button = std::make_unique<TWinSysButton>(this, data.get());
        if (IsIconAction(data->Action)) {
            LoadIcon();
            if (button->Image.isNull())
                button->Image = FIconBitmap;
            if (FSkinData->DefaultIcon.isNull())
                FSkinData->DefaultIcon = FIconBitmap;
            button->Frames = 1;
        }
        FSysButtons.push_back(std::move(button));
    }
}

void TWinSkinForm::ForgetObject(TNCObject* object)
{
    if (FHotObject == object)
        FHotObject = nullptr;
    if (FPressedObject == object)
        FPressedObject = nullptr;
}

void TWinSkinForm::FreeSysButtons()
{
    FHotObject = nullptr;
    FPressedObject = nullptr;
    FPaintObject = nullptr;
    FSysButtons.clear();
}

bool TWinSkinForm::IsSysButtonVisible(int i)
{
    if (i < 0 || i >= static_cast<int>(FSysButtons.size()))
        return false;
    TWinSysButton& b = *FSysButtons[static_cast<size_t>(i)];
    const TDataSkinSysButton& d = *b.Data;
    bool visible = CodeShows(*this, d.Visibility, d.Action, false) && CodeShows(*this, d.Visibility1, d.Action, true);
    const bool sysMenu = FBorderIcons & biSysMenu;
    switch (d.Action) {
    case 0:
        visible = visible && sysMenu;
        break;
    case 1:
        b.Enabled = (FBorderIcons & biMaxBox) && sysMenu;
        break;
    case 2:
        b.Enabled = (FBorderIcons & biMinBox) && sysMenu;
        break;
    case 3:
    case 11:
    case 12:
        visible = visible && FFrameKind != fkDialog;
        break;
    default:
        break;
    }
    b.Visible = visible;
    return visible;
}

void TWinSkinForm::LayoutSysButtons()
{
    int align1 = 0;
    const int w = FWindowWidth;
    for (int i = 0; i < static_cast<int>(FSysButtons.size()); ++i) {
        TWinSysButton& b = *FSysButtons[static_cast<size_t>(i)];
        if (!IsSysButtonVisible(i) || b.Image.isNull())
            continue;
        const TDataSkinSysButton& d = *b.Data;
        const int bw = b.FrameWidth();
        const int bh = b.Image.height();
        int x = 0;
        int y = d.Ycoord;
        switch (d.Align) {
        case 0:
            x = d.Xcoord;
            break;
        case 1:
            x = w - d.Xcoord;
            align1 = std::max(align1, x);
            break;
        case 2:
        case 8:
            x = FTitleRect.Left - bw - d.Xcoord;
            break;
        case 3:
        case 9:
            x = FTitleRect.Right + d.Xcoord;
            break;
        case 100: {
            const TDataSkinObject* bar = FSkinData ? FSkinData->MenuBar.get() : nullptr;
            const int barLeft = bar ? bar->LeftWidth : 0;
            x = FLeftScrollBar ? FLeftWidth + d.Xcoord + barLeft : w - d.Xcoord - FRightWidth - barLeft;
            y = FTopHeight + (FMenuHeight - bh) / 2;
            break;
        }
        default:
            y = 0;
            break;
        }
        b.Rect = TRect(x, y, x + bw, y + bh);
    }
    // The title clip of the next paint uses it.
    if (align1 > 0)
        FAlign1Left = align1;
}

TWinSysButton* TWinSkinForm::SysButtonAt(const TPoint& p) const
{
    for (const auto& b : FSysButtons)
        if (b->Visible && b->Data->Action >= 0 && b->Rect.Contains(p.X, p.Y))
            return b.get();
    return nullptr;
}

void TWinSkinForm::DrawWindowIcon(QPainter& dc, const TRect& r, const TWinSysButton& button) const
{
    if (!FIconBitmap.isNull())
        DrawTransparentBitmap(dc, r, FIconBitmap, clFuchsia);
    else if (!button.Image.isNull())
        DrawFrameStretched(dc, r, button.Image, true, button.Frames, 1);
}

void TWinSkinForm::DrawSysButton(QPainter& dc, const TWinSysButton& button, int frame) const
{
    if (IsIconAction(button.Data->Action))
        DrawWindowIcon(dc, button.Rect, button);
    else
        DrawFrameStretched(dc, button.Rect, button.Image, true, button.Frames, std::min(frame, button.Frames));
}

void TWinSkinForm::PaintSysButtons(QPainter& canvas)
{
    for (const auto& b : FSysButtons) {
        if (!b->Visible || b->Image.isNull() || b->Data->Visibility == 100)
            continue;
        int frame = FFormActive || b->Frames < 4 ? 1 : 4;
        // A state repaint draws its own object in its state.
        if (FPaintObject == b.get()) {
            frame = b->Enabled ? b->State : TNCObject::stNormal;
            if (b->Data->Visibility == 100 && frame == TNCObject::stHover)
                frame = 4;
        }
        DrawSysButton(canvas, *b, frame);
    }
}

void TWinSkinForm::PaintSysButton(TWinSysButton* button, int frame)
{
    if (!button || button->Image.isNull() || !FHandle)
        return;
    if (QPainter* dc = GetWindowDC(FHandle)) {
        DrawSysButton(*dc, *button, frame);
        return;
    }
    RepaintNCObject(button);
}

void TWinSkinForm::RepaintNCObject(TNCObject* object)
{
    if (!object || !FHandle || !FHandle->isVisible() || object->Rect.IsEmpty() || FPaintObject)
        return;
    FPaintObject = object;
    const QPointer<QWidget> guard(FHandle);
    FHandle->repaint(object->Rect.ToQRect());
    if (guard)
        FPaintObject = nullptr;
}

void TWinSkinForm::SysButtonClick(int x, int y)
{
    auto* button = dynamic_cast<TWinSysButton*>(FHotObject);
    if (!button)
        return;
    const int action = button->Data->Action;
    switch (action) {
    case 0:
        if (SysMenuHasClose()) {
            if (FTimer)
                FTimer->SetEnabled(false);
            PostMessage(FHandle, WM_SYSCOMMAND, SC_CLOSE);
        }
        break;
    case 1:
    case 22:
        if (button->Enabled)
            ToggleMaximize();
        break;
    case 2:
    case 23:
        if (button->Enabled)
            ToggleMinimize();
        break;
    case 3:
    case 11:
    case 12:
        ShowSysMenu(x + 1, y + 1);
        break;
    case 7:
    case 60:
        MDIChildCommand(SC_MINIMIZE);
        break;
    case 8:
    case 61:
        MDIChildCommand(SC_RESTORE);
        break;
    case 9:
    case 62:
        MDIChildCommand(SC_CLOSE);
        break;
    default:
        PostMessage(FHandle, WM_SKINBUTTONACTION, static_cast<WPARAM>(action), 0);
        break;
    }
}

void TWinSkinForm::HoverTimer()
{
    if (FBusy)
        return;
    const TPoint cursor = GetCursorPos();
    if (FHotObject) {
        const TPoint c = ScreenToWindow(cursor.X, cursor.Y);
        if (!FHotObject->Rect.Contains(c.X, c.Y)) {
            TNCObject* hot = FHotObject;
            hot->MouseLeave();
            if (FHotObject == hot)
                FHotObject = nullptr;
        }
    }
    if (!FForm && FHotControl) {
        auto* skinner = static_cast<TSkinControl*>(FHotControl);
        TRect r;
        if (!skinner->Hwnd() || !GetWindowRect(skinner->Hwnd(), r) || !r.Contains(cursor.X, cursor.Y)) {
            FHotControl = nullptr;
            skinner->SendMouseLeave();
        }
    }
}

void TWinSkinForm::NCMouse(TMessage& m)
{
    const TPoint screen(LoWordSigned(m.LParam), HiWordSigned(m.LParam));
    const TPoint p = ScreenToWindow(screen.X, screen.Y);
    TNCObject* object = SysButtonAt(p);
    const bool isButton = object != nullptr;
    if (!object && FMenuBar)
        object = MenuButtonAt(p);
    switch (m.Msg) {
    case WM_NCMOUSEMOVE:
        if (FPressedObject) {
            PressedMove(object);
            m.Result = 0;
            return;
        }
        if (!FFormActive) {
            m.Result = 0;
            return;
        }
        if (object) {
            object->Hover();
            m.Result = 0;
            return;
        }
        if (TNCObject* hot = FHotObject) {
            hot->MouseLeave();
            FHotObject = nullptr;
        }
        break;
    case WM_NCLBUTTONDOWN:
        FPressedObject = nullptr;
        if (object) {
            if (!FFormActive)
                SetForegroundWindow(FHandle);
            object->Press();
            auto* menuButton = isButton ? nullptr : static_cast<TMenuBtn*>(object);
            // A real press on a bar item without submenu acts where it is
            // released, as a caption button does; opened by a key it acts at once.
            if (isButton || (!menuButton->SubMenu && m.WParam != HTCLIENT)) {
                FPressedObject = object;
            } else {
                FHotObject = object;
                TrackMenuButton(object);
            }
            m.Result = 0;
            return;
        }
        // A maximized window's caption does not drag it.
        if (Placement() == plMaximized && FFormActive && m.WParam == HTCAPTION)
            m.WParam = HTMENU;
        break;
    case WM_NCLBUTTONUP:
        if (FPressedObject) {
            EndPress(object, screen);
            m.Result = 0;
            return;
        }
        // A release without a press here (the end of a double click, a drag
        // from elsewhere) clicks nothing.
        if (object) {
            m.Result = 0;
            return;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (isButton) {
            if (IsIconAction(static_cast<TWinSysButton*>(object)->Data->Action)) {
                if (FTimer)
                    FTimer->SetEnabled(false);
                PostMessage(FHandle, WM_SYSCOMMAND, SC_CLOSE);
            }
            m.Result = 0;
            return;
        }
        if (Placement() != plNormal) {
            RestoreWindow();
            m.Result = 0;
            return;
        }
        if (FBorderIcons & biMaxBox) {
            ToggleMaximize();
            m.Result = 0;
            return;
        }
        break;
    case WM_NCRBUTTONDOWN:
        if (m.WParam == HTCAPTION && !IsMDIChild()) {
            ShowSysMenu(screen.X, screen.Y);
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

void TWinSkinForm::PressedMove(TNCObject* object)
{
    // Held down: the pressed object shows pressed while the mouse is over it,
    // normal elsewhere; nothing else lights up meanwhile.
    TNCObject* pressed = FPressedObject;
    const int state = object == pressed ? TNCObject::stPressed : TNCObject::stNormal;
    if (pressed->State == state)
        return;
    pressed->State = state;
    if (state == TNCObject::stPressed)
        FHotObject = pressed;
    pressed->Paint();
}

void TWinSkinForm::EndPress(TNCObject* object, const TPoint& screen)
{
    TNCObject* pressed = std::exchange(FPressedObject, nullptr);
    if (object != pressed) {
        if (pressed->State != TNCObject::stNormal) {
            pressed->State = TNCObject::stNormal;
            pressed->Paint();
        }
        ForgetObject(pressed);
        return;
    }
    FHotObject = pressed;
    pressed->Release();
    if (auto* menuButton = dynamic_cast<TMenuBtn*>(pressed)) {
        TrackMenuButton(menuButton);
        return;
    }
    SysButtonClick(screen.X, screen.Y);
}
