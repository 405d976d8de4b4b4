#pragma once
// Menus of windows: the menu bar (a QMenuBar child of the window), the
// system menu (a QMenu per window) and popup menus (QMenu), with items
// (QActions) named by command identifiers.
//
// An item's identifier is its QAction's "tvCommand" property (class-library
// items set it; others get a fresh one on first use). The system menu's items
// carry the SC_* commands and choosing one posts WM_SYSCOMMAND to the window.
//
// Owner drawing: an item made MFT_OWNERDRAW (SetMenuItemInfo) is measured and
// drawn by its menu's owner window: WM_MEASUREITEM (lParam MEASUREITEMSTRUCT*,
// filled with Qt's size; answer non-zero after changing it) and WM_DRAWITEM
// (lParam DRAWITEMSTRUCT*, hDC a painter on the menu; answer non-zero when
// drawn, else Qt draws the item). The owner is the window of TrackPopupMenu
// while it runs, else the one SetMenuOwner named, else the menu's parent window.
// A subclassed popup menu also gets WM_ERASEBKGND (wParam: a painter on the
// menu) in place of its panel fill: answer non-zero when the background is
// done, else Qt fills it.

#include "platform/messages.h"
#include "platform/win_types.h"

#include <QString>

class QMenu;
using HMENU = QWidget*; // a QMenuBar or a QMenu; null for none

// The window's menu bar; null when it has none or it was removed (SetMenu 0).
HMENU GetMenu(HWND window);
// SetMenu(w, 0) takes the bar off the window (hidden, kept for later) and
// gives its strip to the client; SetMenu(w, bar) puts a bar (the removed one
// or another QMenuBar) back. The client is laid out again.
bool SetMenu(HWND window, HMENU menu);
// Lays the menu bar out again after its items changed.
bool DrawMenuBar(HWND window);
// The window's system menu: Restore, Move, Size, Minimize, Maximize, a
// separator and Close (SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE,
// SC_CLOSE), the items enabled by the window's state when it opens. revert
// true rebuilds the default items and returns null, as the platform does.
QMenu* GetSystemMenu(HWND window, bool revert);

enum : unsigned {
    TPM_LEFTBUTTON = 0x0000,
    TPM_RIGHTBUTTON = 0x0002,
    TPM_LEFTALIGN = 0x0000,
    TPM_CENTERALIGN = 0x0004,
    TPM_RIGHTALIGN = 0x0008,
    TPM_TOPALIGN = 0x0000,
    TPM_VCENTERALIGN = 0x0010,
    TPM_BOTTOMALIGN = 0x0020,
    TPM_NONOTIFY = 0x0080,
    TPM_RETURNCMD = 0x0100,
};
// Shows menu (a QMenu) at the screen point and runs it until it closes. The
// owner gets WM_ENTERMENULOOP, WM_INITMENUPOPUP (wParam: the menu) for each
// menu that opens, WM_MENUSELECT as the selection moves and WM_EXITMENULOOP
// (none of these with TPM_NONOTIFY). With TPM_RETURNCMD the chosen item's
// identifier is returned (0 for none) and nothing is sent; otherwise the
// result is non-zero when an item was chosen and, unless TPM_NONOTIFY,
// WM_COMMAND (wParam: identifier) is posted to the owner. The item's own
// action (triggered) runs in any case.
int TrackPopupMenu(HMENU menu, unsigned flags, int x, int y, int reserved, HWND owner, const void* rect = nullptr);
// Closes the open popup menus.
bool EndMenu();
// Selects the first item of an open menu that can be chosen (enabled, not a
// separator); false when it has none.
bool SelectFirstMenuItem(HMENU menu);

// Items.
enum : unsigned {
    MF_BYCOMMAND = 0x0000,
    MF_BYPOSITION = 0x0400,
    MF_STRING = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_OWNERDRAW = 0x0100,
    MF_SEPARATOR = 0x0800,
    MF_HILITE = 0x0080,
    MF_SYSMENU = 0x2000,
    MF_MOUSESELECT = 0x8000,
    MFT_STRING = 0x0000,
    MFT_OWNERDRAW = 0x0100,
    MFT_SEPARATOR = 0x0800,
    MFT_RIGHTORDER = 0x2000,
    MFT_RIGHTJUSTIFY = 0x4000,
    MFS_ENABLED = 0x0000,
    MFS_GRAYED = 0x0003,
    MFS_DISABLED = 0x0003,
    MFS_CHECKED = 0x0008,
    MFS_HILITE = 0x0080,
    MFS_DEFAULT = 0x1000,
    MIIM_STATE = 0x0001,
    MIIM_ID = 0x0002,
    MIIM_SUBMENU = 0x0004,
    MIIM_CHECKMARKS = 0x0008,
    MIIM_TYPE = 0x0010,
    MIIM_DATA = 0x0020,
    MIIM_STRING = 0x0040,
    MIIM_BITMAP = 0x0080,
    MIIM_FTYPE = 0x0100,
};

struct MENUITEMINFO {
    unsigned fMask = 0;
    unsigned fType = 0;  // MFT_*
    unsigned fState = 0; // MFS_*
    unsigned wID = 0;
    HMENU hSubMenu = nullptr;
    intptr_t dwItemData = 0;
    QString dwTypeData; // the text ("&" marks the accelerator; "\t" then the shortcut)
};

int GetMenuItemCount(HMENU menu);
// The identifier at a position; 0xFFFFFFFF for a submenu item or none.
unsigned GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// item is a position with byPosition, else a command identifier (searched in submenus too).
bool GetMenuItemInfo(HMENU menu, unsigned item, bool byPosition, MENUITEMINFO& info);
// MIIM_STATE (enabled, checked), MIIM_STRING/MIIM_TYPE (text; MFT_OWNERDRAW
// marks the item owner-drawn: its QAction gets the "tvOwnerDraw" property),
// MIIM_ID, MIIM_DATA.
bool SetMenuItemInfo(HMENU menu, unsigned item, bool byPosition, const MENUITEMINFO& info);
// Marks every item of the menu and of its submenus owner-drawn (separators
// stay separators), or gives them their own drawing back.
void SetMenuOwnerDrawn(HMENU menu, bool ownerDraw);
unsigned GetMenuState(HMENU menu, unsigned item, unsigned flags);
bool EnableMenuItem(HMENU menu, unsigned item, unsigned flags);
enum : unsigned { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4 };
enum : unsigned { ODA_DRAWENTIRE = 1, ODA_SELECT = 2, ODA_FOCUS = 4 };
enum : unsigned { ODS_SELECTED = 1, ODS_GRAYED = 2, ODS_DISABLED = 4, ODS_CHECKED = 8, ODS_FOCUS = 0x10, ODS_DEFAULT = 0x20 };

struct MEASUREITEMSTRUCT {
    unsigned CtlType = ODT_MENU;
    unsigned CtlID = 0;
    unsigned itemID = 0;
    unsigned itemWidth = 0;
    unsigned itemHeight = 0;
    intptr_t itemData = 0;
};

struct DRAWITEMSTRUCT {
    unsigned CtlType = ODT_MENU;
    unsigned CtlID = 0;
    unsigned itemID = 0;
    unsigned itemAction = ODA_DRAWENTIRE;
    unsigned itemState = 0;
    HMENU hwndItem = nullptr; // the menu
    class QPainter* hDC = nullptr;
    TRect rcItem;
    intptr_t itemData = 0;
};

// The window that measures and draws the menu's owner-drawn items.
void SetMenuOwner(HMENU menu, HWND owner);
HWND GetMenuOwner(HMENU menu);

// The identifier of an action (assigned on first use when it has none).
unsigned MenuItemCommand(const class QAction* action);
