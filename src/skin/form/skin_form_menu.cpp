#include "skin/form/skin_form.h"

#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "platform/hooks.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/form/popup_menu.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_menu_bar.h"
#include "skin/form/skin_menu_items.h"
#include "skin/skin_data.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <algorithm>
#include <memory>

// ---------------------------------------------------------------------------
// The form's side of its skinned menu bar: opening items, moving between them
// while a submenu is open, the keyboard, and the owner-drawn items of its menus.

namespace {
// Only one bar tracks a submenu at a time.
struct TMenuTrackState {
    HHOOK Hook = 0;
    QPointer<QWidget> Window;
    TWinSkinForm* Form = nullptr;
    std::weak_ptr<int> Life; // expires with Form
    int Index = -1;
    // The selected item: its menu, and whether it opens a submenu.
    HMENU SelectedMenu = nullptr;
    bool SelectedPopup = false;
    bool Selected = false;
    TPoint LastMouse{-100000, -100000};
    bool Switching = false;
    // Where the next item is opened once the open submenu has closed.
    bool SwitchPending = false;
    TPoint SwitchPoint;
};
TMenuTrackState gTrack;

// The button's accelerator: the letter after "&"; a caption without one is
// known by its first letter, as the platform's own menus do.
QChar Accelerator(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i;
    }
    if (caption.contains(QLatin1Char('&')))
        return QChar();
    for (QChar c : caption)
        if (!c.isSpace())
            return c;
    return QChar();
}

// Letters compared without case and without accents ("Ú" answers to "u").
QChar BaseLetter(QChar c)
{
    const QString d = QString(c).normalized(QString::NormalizationForm_D);
    return d.isEmpty() ? c.toLower() : d[0].toLower();
}

void StartSwitch(TWinSkinMenu* bar, TMenuBtn* candidate)
{
    gTrack.Switching = true;
    gTrack.SwitchPending = true;
    // The candidate's top-left corner plus one, in screen coordinates.
    const TPoint windowPoint(candidate->Rect.Left + 1, candidate->Rect.Top + 1);
    TRect wr;
    GetWindowRect(bar->Form()->Handle(), wr);
    gTrack.SwitchPoint = TPoint(wr.Left + windowPoint.X, wr.Top + windowPoint.Y);
    EndMenu();
}

LRESULT MenuMsgFilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    const LRESULT next = CallNextHookEx(gTrack.Hook, code, wParam, lParam);
    if (code != MSGF_MENU || !gTrack.Form || !gTrack.Window || gTrack.Life.expired())
        return next;
    TWinSkinMenu* bar = gTrack.Form->MenuBar();
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (!bar || !msg || gTrack.Index < 0 || gTrack.Index >= bar->Count())
        return next;
    TMenuBtn* open = bar->Buttons()[static_cast<size_t>(gTrack.Index)].get();
    TMenuBtn* candidate = nullptr;
    switch (msg->message) {
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU)
            gTrack.Form->SetBusy(false);
        break;
    case WM_MENUSELECT: {
        const unsigned flags = HiWord(msg->wParam);
        if (flags == 0xFFFF && msg->lParam == 0) {
            if (!gTrack.Switching)
                gTrack.Form->SetBusy(false);
            gTrack.Selected = false;
        } else {
            gTrack.Selected = true;
            gTrack.SelectedPopup = (flags & MF_POPUP) != 0;
            gTrack.SelectedMenu = HwndOf(static_cast<uintptr_t>(msg->lParam));
        }
        break;
    }
    case WM_MOUSEMOVE: {
        const TPoint p(msg->ptX, msg->ptY);
        if (p.X != gTrack.LastMouse.X || p.Y != gTrack.LastMouse.Y) {
            gTrack.LastMouse = p;
            TRect wr;
            GetWindowRect(gTrack.Form->Handle(), wr);
            candidate = bar->ButtonAt(TPoint(p.X - wr.Left, p.Y - wr.Top));
        }
        break;
    }
    case WM_KEYDOWN: {
        const int n = bar->Count();
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
            gTrack.Switching = false;
            gTrack.SwitchPending = false;
        } else if (msg->wParam == VK_RIGHT && !(gTrack.Selected && gTrack.SelectedPopup)) {
            // The next visible button with a caption; after the last comes the first.
            for (int step = 1; step <= n && !candidate; ++step) {
                TMenuBtn* b = bar->Buttons()[static_cast<size_t>((gTrack.Index + step) % n)].get();
                if (b->Visible && !b->Caption.isEmpty())
                    candidate = b;
            }
        } else if (msg->wParam == VK_LEFT && (!gTrack.Selected || gTrack.SelectedMenu == open->SubMenu)) {
            for (int step = 1; step <= n && !candidate; ++step) {
                TMenuBtn* b = bar->Buttons()[static_cast<size_t>((gTrack.Index - step + n * 2) % n)].get();
                if (b->Visible && !b->Caption.isEmpty())
                    candidate = b;
            }
        }
        break;
    }
    default:
        break;
    }
    if (candidate && candidate != open) {
        StartSwitch(bar, candidate);
        return 1;
    }
    return next;
}
} // namespace

void TWinSkinForm::TrackMenuButton(TNCObject* object)
{
    auto* button = dynamic_cast<TMenuBtn*>(object);
    if (!button || !FHandle || !FMenuBar)
        return;
    // Items without a submenu act at once.
    PostMessage(FHandle, WM_COMMAND, button->Command, 0);
    if (!button->SubMenu)
        return;
    if (gTrack.Hook)
        return; // one submenu of a bar at a time
    gTrack = TMenuTrackState();
    gTrack.Form = this;
    gTrack.Window = FHandle;
    gTrack.Index = static_cast<int>(std::find_if(FMenuBar->Buttons().begin(), FMenuBar->Buttons().end(),
                                                 [button](const auto& b) { return b.get() == button; }) -
                                    FMenuBar->Buttons().begin());
    MakeMenuOwnerDraw(button->SubMenu, true);
    FBusy = true;
    if (TSkinManage* manager = Manager())
        manager->SetMenuKind(TSkinManage::mkMainMenu);

    TRect wr;
    GetWindowRect(FHandle, wr);
    unsigned flags = TPM_RIGHTBUTTON | TPM_NONOTIFY;
    int x = wr.Left + button->Rect.Left;
    const int y = wr.Top + button->Rect.Bottom;
    if (FLeftScrollBar) {
        x = wr.Left + button->Rect.Right;
        flags |= TPM_RIGHTALIGN;
    }
    button->State = TNCObject::stPressed;
    button->Open = true;
    button->Paint();
    const QPointer<QWidget> window(FHandle);
    TWinSkinMenu* const bar = FMenuBar;
    const std::weak_ptr<int> life = FLife;
    gTrack.Life = FLife;
    gTrack.Hook = SetWindowsHookEx(WH_MSGFILTER, MenuMsgFilterProc);
    // Unhooked by the manager should it go while the submenu is open.
    if (TSkinManage* manager = Manager())
        manager->AddMsgFilterHook(gTrack.Hook);
    // A chosen item's command runs once its menu has closed but before
    // tracking returns (a dialog it opens runs there): the button must not
    // stay pressed behind that dialog.
    QMetaObject::Connection closed;
    if (auto* sub = qobject_cast<QMenu*>(button->SubMenu))
        closed = QObject::connect(sub, &QMenu::aboutToHide, [this, button, life] {
            // A command may have rebuilt the bar under the open submenu.
            if (life.expired() || !FMenuBar
                || std::none_of(FMenuBar->Buttons().begin(), FMenuBar->Buttons().end(),
                                [button](const auto& b) { return b.get() == button; }))
                return;
            button->Open = false;
            button->State = TNCObject::stNormal;
            if (FHotObject == button)
                FHotObject = nullptr;
            button->Paint();
        });
    // Once shown, the submenu has its first item selected: set, not stepped to
    // with a Down key, which would go on to the second item when the first key
    // the menu sees is the user's own or the mouse has lit an item meanwhile.
    QMetaObject::Connection shown;
    if (auto* sub = qobject_cast<QMenu*>(button->SubMenu))
        shown = QObject::connect(sub, &QMenu::aboutToShow, sub, [sub] {
            QMetaObject::invokeMethod(
                sub, [sub] {
                    if (!sub->isVisible())
                        return;
                    SelectFirstMenuItem(sub);
                    // Its skinned popup, made as it was shown, learns the menu it shows.
                    if (TSkinManage* manager = SkinManager())
                        manager->AssignPopupMenuHandle(sub);
                },
                Qt::QueuedConnection);
        });
    if (button->Enabled)
        TrackPopupMenu(button->SubMenu, flags, x, y, 0, FHandle, nullptr);
    QObject::disconnect(shown);
    QObject::disconnect(closed);
    if (TSkinManage* manager = SkinManager())
        manager->RemoveMsgFilterHook(gTrack.Hook);
    UnhookWindowsHookEx(gTrack.Hook);
    const bool switching = gTrack.SwitchPending;
    const TPoint switchPoint = gTrack.SwitchPoint;
    gTrack = TMenuTrackState();
    if (life.expired() || !window || bar != FMenuBar)
        return; // the command closed the window, unskinned it or took the bar away
    FBusy = false;
    // The pressed look goes with the submenu.
    if (std::any_of(FMenuBar->Buttons().begin(), FMenuBar->Buttons().end(),
                    [button](const auto& b) { return b.get() == button; })) {
        button->Open = false;
        button->State = TNCObject::stNormal;
        if (FHotObject == button)
            FHotObject = nullptr;
        button->Paint();
    }
    if (switching)
        PostMessage(FHandle, WM_NCLBUTTONDOWN, HTCLIENT, MakeLParam(switchPoint.X, switchPoint.Y));
}

TNCObject* TWinSkinForm::FindMenuAccel(int key)
{
    if (!FMenuBar || key <= 0)
        return nullptr;
    const QChar wanted = BaseLetter(QChar(static_cast<char16_t>(key)));
    for (const auto& b : FMenuBar->Buttons()) {
        if (!b->Enabled || !b->Visible)
            continue;
        const QChar accel = Accelerator(b->Caption);
        if (!accel.isNull() && BaseLetter(accel) == wanted)
            return b.get();
    }
    return nullptr;
}

TMenuBtn* TWinSkinForm::MenuButtonAtScreen(int x, int y) const
{
    if (!FMenuBar || !FHandle)
        return nullptr;
    FMenuBar->LayoutButtons();
    return FMenuBar->ButtonAt(ScreenToWindow(x, y));
}

void TWinSkinForm::OpenMenuButton(TNCObject* button)
{
    if (!button)
        return;
    button->Press();
    TrackMenuButton(button);
}

void TWinSkinForm::MenuBarClickAt(TMessage& m)
{
    OpenMenuButton(MenuButtonAtScreen(LoWordSigned(m.LParam), HiWordSigned(m.LParam)));
    m.Result = 0;
}

void TWinSkinForm::HandleMenuAccel(TMessage& m)
{
    if (m.Result != 0)
        return;
    constexpr LPARAM kAltDown = 0x20000000;
    const bool altAlone = (m.LParam & kAltDown) && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    if (altAlone && FMenuBar) {
        FMenuBar->LayoutButtons(); // the bar may not have been painted yet
        if (TNCObject* b = FindMenuAccel(static_cast<int>(m.WParam))) {
            TRect wr;
            GetWindowRect(FHandle, wr);
            PostMessage(FHandle, WM_NCLBUTTONDOWN, HTCLIENT,
                        MakeLParam(wr.Left + b->Rect.Left + 1, wr.Top + b->Rect.Top + 1));
            m.Result = 1;
            return;
        }
    }
    // The main form's menu answers keys of the other windows, unless a modal
    // window runs: its keys must not open menus behind it.
    if (FForm && Application && Application->MainForm() && Application->MainForm() != FForm &&
        !QApplication::activeModalWidget()) {
        TMessage pass = m;
        Application->MainForm()->Perform(CM_DIALOGCHAR, pass.WParam, pass.LParam);
    }
    m.Result = 0;
}

TNCObject* TWinSkinForm::MenuButtonAt(const TPoint& p)
{
    return FMenuBar ? FMenuBar->ButtonAt(p) : nullptr;
}

void TWinSkinForm::PaintMenuBar(QPainter& dc, const TRect& r)
{
    if (FMenuBar)
        FMenuBar->Paint(&dc, r);
}

// ---------------------------------------------------------------------------
// Owner-drawn items.

void TWinSkinForm::MakeMenuOwnerDraw(HMENU menu, bool ownerDraw) { SetMenuOwnerDrawn(menu, ownerDraw); }

void TWinSkinForm::MakeMenusOwnerDraw(bool ownerDraw)
{
    if (!FForm)
        return;
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        if (auto* popup = dynamic_cast<TPopupMenu*>(FForm->Components(i)))
            popup->SetOwnerDrawWindow(ownerDraw ? FHandle.data() : nullptr);
        else if (auto* main = dynamic_cast<TMainMenu*>(FForm->Components(i)); main && !ownerDraw) {
            // The submenus go back to Qt's look with the menu bar.
            TMenuItem* root = main->Items();
            for (int k = 0; k < root->Count(); ++k)
                if (root->Items(k)->Count() > 0)
                    MakeMenuOwnerDraw(root->Items(k)->SubMenu(), false);
        }
    }
}

TMenuItem* TWinSkinForm::FindMenuItem(unsigned command) const
{
    if (command == 0)
        return nullptr;
    auto search = [command](TMenu* menu) -> TMenuItem* {
        if (!menu)
            return nullptr;
        TMenuItem* found = menu->Items()->FindByCommand(command);
        return found == menu->Items() ? nullptr : found;
    };
    if (TMenuItem* item = search(FSysMenuPopup))
        return item;
    if (FForm)
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (TMenuItem* item = search(dynamic_cast<TMenu*>(FForm->Components(i))))
                return item;
    return nullptr;
}

void TWinSkinForm::OwnerDrawMenuItem(TMessage& m)
{
    if (!FSkinData || !m.LParam) {
        CallPrevious(m);
        return;
    }
    if (m.Msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis->CtlType != ODT_MENU) {
            CallPrevious(m);
            return;
        }
        if (TMenuItem* item = FindMenuItem(mis->itemID)) {
            const bool images = item->Menu() && item->Menu()->Images();
            const bool popupItem = dynamic_cast<TPopupMenu*>(item->Menu()) != nullptr;
            SkinMeasureMenuItem(FSkinData, images, popupItem, *mis);
            m.Result = 1;
            return;
        }
        if (mis->itemID == 0 || mis->itemID >= 4096) {
            SkinMeasureWindowsMenuItem(FSkinData, mis->itemID == 0 ? QString() : MenuItemText(mis->itemID), *mis);
            m.Result = 1;
            return;
        }
        CallPrevious(m);
        return;
    }
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (dis->CtlType != ODT_MENU || !dis->hDC) {
        CallPrevious(m);
        return;
    }
    TSkinMenuItemLook look;
    const TMenuItem* item = FindMenuItem(dis->itemID);
    if (item) {
        look = SkinMenuItemLook(item);
    } else {
        MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_TYPE;
        const bool known = dis->itemID != 0 && GetMenuItemInfo(dis->hwndItem, dis->itemID, false, info);
        look.Caption = known ? info.dwTypeData : QString();
        look.Separator = !known || (info.fType & MFT_SEPARATOR);
        look.Enabled = !(dis->itemState & (ODS_GRAYED | ODS_DISABLED));
        look.Checked = (dis->itemState & ODS_CHECKED) != 0;
    }
    look.Selected = (dis->itemState & ODS_SELECTED) != 0;
    look.Default = look.Default || (dis->itemState & ODS_DEFAULT);
    // The menu window is the menu here: its skinned frame holds the picture.
    const QImage* background = nullptr;
    if (TSkinManage* manager = Manager()) {
        if (TWinSkinPopMenu* popup = manager->FindPopup(dis->hwndItem))
            background = &popup->Background();
        else
            background = manager->FindPopupBitmap(dis->hwndItem);
    }
    // Inside a painted frame an item ends where the frame begins.
    TRect r = dis->rcItem;
    if (background && !background->isNull() && dis->hwndItem)
        r.Right = std::min(r.Right, dis->hwndItem->width() - TWinSkinPopMenu::kFrameWidth);
    SkinDrawMenuItem(*dis->hDC, r, FSkinData, look, background);
    m.Result = 1;
}

QString TWinSkinForm::MenuItemText(unsigned command) const
{
    for (HMENU menu : {FMenuBar ? FMenuBar->WindowMenu() : nullptr, FSystemMenu}) {
        MENUITEMINFO info;
        info.fMask = MIIM_TYPE;
        if (menu && GetMenuItemInfo(menu, command, false, info))
            return info.dwTypeData;
    }
    return QString();
}

bool TWinSkinForm::MenuBarCommand(unsigned command)
{
    if (!FMenuBar)
        return false;
    for (const auto& b : FMenuBar->Buttons())
        if (b->Command == command && !b->SubMenu && b->Item) {
            b->Item->Click();
            return true;
        }
    return false;
}
