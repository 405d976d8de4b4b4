#include "platform/menus_api.h"

#include <QMenu>

HMENU GetMenu(HWND) { return nullptr; }
bool SetMenu(HWND, HMENU) { return false; }
bool DrawMenuBar(HWND) { return false; }
QMenu* GetSystemMenu(HWND, bool) { return nullptr; }
int TrackPopupMenu(HMENU, unsigned, int, int, int, HWND, const void*) { return 0; }
bool EndMenu() { return false; }
int GetMenuItemCount(HMENU) { return -1; }
unsigned GetMenuItemID(HMENU, int) { return 0xFFFFFFFFu; }
HMENU GetSubMenu(HMENU, int) { return nullptr; }
bool GetMenuItemInfo(HMENU, unsigned, bool, MENUITEMINFO&) { return false; }
bool SetMenuItemInfo(HMENU, unsigned, bool, const MENUITEMINFO&) { return false; }
unsigned GetMenuState(HMENU, unsigned, unsigned) { return 0xFFFFFFFFu; }
bool EnableMenuItem(HMENU, unsigned, unsigned) { return false; }
unsigned MenuItemCommand(const QAction*) { return 0; }
