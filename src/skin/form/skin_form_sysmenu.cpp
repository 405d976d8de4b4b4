#include "skin/form/skin_form.h"

#include "classlib/controls/ext_controls.h"
#include "classlib/forms/menus.h"
#include "platform/menus_api.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/form/skin_manager.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

// ---------------------------------------------------------------------------
// The system menu and the window commands.

void TWinSkinForm::ShowSysMenu(int x, int y)
{
    const int64_t now = GetTickCount();
    if (FLastSysMenuTick < 0 || now - FLastSysMenuTick > static_cast<int64_t>(FDoubleClickTime)) {
        if (TSkinManage* manager = Manager())
            manager->SetMenuKind(TSkinManage::mkSystemMenu);
        FLastSysMenuTick = now;
        RebuildSysMenuPopup();
        if (FSysMenuPopup)
            FSysMenuPopup->Popup(x, y);
    } else if (FHotObject) {
        if (FTimer)
            FTimer->SetEnabled(false);
        PostMessage(FHandle, WM_CLOSE);
    }
}

void TWinSkinForm::RebuildSysMenuPopup()
{
    delete FSysMenuPopup;
    FSysMenuPopup = new TPopupMenu(this);
    FSysMenuPopup->SetTag(kSysMenuTag);
    if (FSkinData)
        FSysMenuPopup->SetImages(FSkinData->MenuImages);
    // Its items are drawn in the skin's look by this window.
    FSysMenuPopup->SetOwnerDrawWindow(FHandle);
    TMenuItem* root = FSysMenuPopup->Items();
    TSkinManage* manager = Manager();
    const uint32_t version = manager ? manager->WinVersion() : GetVersion();
    auto add = [&](const QString& caption, int tag, int image, bool enabled) {
        auto* item = new TMenuItem(FSysMenuPopup);
        item->SetCaption(caption);
        item->SetTag(tag);
        item->SetImageIndex(image);
        item->SetEnabled(enabled);
        root->Add(item);
        return item;
    };
    if (VersionIsNT(version) && VersionMajor(version) < 5) {
        auto fixed = [this](TComponent* sender) {
            switch (sender->Tag()) {
            case 0:
                RestoreWindow();
                break;
            case 1:
                ToggleMaximize();
                break;
            case 2:
                ToggleMinimize();
                break;
            case 3:
                if (FTimer)
                    FTimer->SetEnabled(false);
                PostMessage(FHandle, WM_CLOSE);
                break;
            default:
                break;
            }
        };
        add(QStringLiteral(" Restore "), 0, 0, true)->OnClick = fixed;
        if (FBorderIcons & biMaxBox)
            add(QStringLiteral(" Maximize "), 1, 1, true)->OnClick = fixed;
        if (FBorderIcons & biMinBox)
            add(QStringLiteral(" Minimize "), 2, 2, true)->OnClick = fixed;
        add(QStringLiteral("-"), 100, 100, true);
        TMenuItem* close = add(QStringLiteral(" Close "), 3, 3, true);
        close->SetShortCut(ShortCut(VK_F4, ssAlt));
        close->OnClick = fixed;
        return;
    }
    if (!FSystemMenu)
        return;
    const int n = GetMenuItemCount(FSystemMenu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
        if (!GetMenuItemInfo(FSystemMenu, static_cast<unsigned>(i), true, info))
            continue;
        const QString text = info.dwTypeData.left(80);
        const bool asItem = info.fState != MFS_GRAYED;
        int image = -1;
        bool enabled = asItem;
        switch (info.wID) {
        case SC_RESTORE:
            image = 0;
            enabled = Placement() != plNormal;
            break;
        case SC_MAXIMIZE:
            image = 1;
            enabled = Placement() != plMaximized && (FBorderIcons & biMaxBox);
            break;
        case SC_MINIMIZE:
            image = 2;
            enabled = Placement() != plMinimized && (FBorderIcons & biMinBox);
            break;
        case SC_CLOSE:
            image = 3;
            break;
        case SC_MOVE:
            enabled = Placement() != plMaximized;
            break;
        case SC_SIZE:
            enabled = Placement() != plMaximized && FSizeable;
            break;
        default:
            break;
        }
        TMenuItem* item = add(text.isEmpty() ? QStringLiteral("-") : text, static_cast<int>(info.wID), image, enabled);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        item->OnClick = [this](TComponent* sender) {
            PostMessage(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<unsigned>(sender->Tag())), 0);
        };
    }
}

bool TWinSkinForm::SysMenuHasClose() const
{
    TSkinManage* manager = Manager();
    const uint32_t version = manager ? manager->WinVersion() : GetVersion();
    if (!VersionIsNT(version) || VersionMajor(version) < 5)
        return true;
    MENUITEMINFO info;
    info.fMask = MIIM_ID;
    return FSystemMenu && GetMenuItemInfo(FSystemMenu, SC_CLOSE, false, info);
}

void TWinSkinForm::RestoreWindow()
{
    PostMessage(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMaximize()
{
    if (Placement() == plMaximized) {
        RestoreWindow();
        return;
    }
    if (IsMDIChild())
        if (TSkinManage* manager = Manager())
            manager->SetMDIChildMaximized(true);
    PostMessage(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FHotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize()
{
    if (Placement() == plMinimized) {
        RestoreWindow();
        return;
    }
    // Minimized once the window is (WM_SIZE), not before.
    SetSysMenuStyle(false);
    PostMessage(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::MDIChildCommand(unsigned cmd)
{
    if (FWindowKind != wkMDIParent || !FMDIClient)
        return;
    HWND active = HwndOf(static_cast<uintptr_t>(SendMessage(FMDIClient, WM_MDIGETACTIVE, 0, 0)));
    if (active)
        SendMessage(active, WM_SYSCOMMAND, cmd, 0);
}
