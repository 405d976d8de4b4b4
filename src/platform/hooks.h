#pragma once
// Hooks: application-wide watchers of window life and of popup-menu input.
//
// WH_CBT (an event filter on the application):
// - HCBT_CREATEWND (wParam: the window, lParam: CBT_CREATEWND*) when a
//   top-level window is polished (before its first show), and for a popup
//   menu (QMenu) each time it is about to be shown;
// - HCBT_ACTIVATE (wParam: the window, lParam: CBTACTIVATESTRUCT*) when a
//   top-level window becomes active (QEvent::WindowActivate);
// - HCBT_DESTROYWND (wParam: the window) when a top-level window is destroyed
//   (once, after it was reported created), and for a popup menu each time it
//   is hidden after a show (the popup window of the platform lives while shown).
// - a size grip (QSizeGrip, class "scrollbar" with SBS_SIZEGRIP and WS_CHILD)
//   is reported created and destroyed like a top-level window.
// A window reported once per life: the same widget is created, activated,
// destroyed; a hook's answer does not stop Qt from creating or activating.
//
// WH_MSGFILTER: while a popup menu (QMenu) is shown, the mouse and key events
// it gets reach the hook with code MSGF_MENU, wParam 0 and lParam MSG*: the
// menu window, WM_MOUSEMOVE / WM_LBUTTONDOWN / WM_LBUTTONUP / WM_RBUTTONDOWN /
// WM_RBUTTONUP (lParam and pt: screen point), WM_KEYDOWN / WM_KEYUP /
// WM_SYSKEYDOWN / WM_SYSKEYUP (wParam: VK_ code), and WM_MENUSELECT (wParam:
// item id | flags << 16, lParam: the menu; flags 0xFFFF and lParam 0 when the
// last menu closed). A hook that answers non-zero swallows the event.
//
// Hook procedures are called most recently installed first; each calls
// CallNextHookEx to pass on. Hooks run on the GUI thread only.

#include "platform/messages.h"

#include <functional>

using HHOOK = intptr_t; // 0: none
using THookProc = std::function<LRESULT(int code, WPARAM wParam, LPARAM lParam)>;

enum : int { WH_MSGFILTER = -1, WH_CBT = 5 };
enum : int {
    HCBT_MOVESIZE = 0,
    HCBT_MINMAX = 1,
    HCBT_QS = 2,
    HCBT_CREATEWND = 3,
    HCBT_DESTROYWND = 4,
    HCBT_ACTIVATE = 5,
    HCBT_CLICKSKIPPED = 6,
    HCBT_KEYSKIPPED = 7,
    HCBT_SYSCOMMAND = 8,
    HCBT_SETFOCUS = 9,
};
enum : int { MSGF_DIALOGBOX = 0, MSGF_MESSAGEBOX = 1, MSGF_MENU = 2, MSGF_SCROLLBAR = 5, MSGF_NEXTWINDOW = 6 };

struct CREATESTRUCT {
    HWND hwndParent = nullptr; // the owner of a top level
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    uint32_t style = 0;
    uint32_t dwExStyle = 0;
    QString lpszClass;
    QString lpszName;
};
struct CBT_CREATEWND {
    CREATESTRUCT* lpcs = nullptr;
    HWND hwndInsertAfter = nullptr;
};
struct CBTACTIVATESTRUCT {
    bool fMouse = false;
    HWND hWndActive = nullptr; // the window that was active before
};

// threadId and module are accepted for the platform's signature; hooks are
// always the GUI thread's. Returns 0 for an unknown hook kind or no procedure.
HHOOK SetWindowsHookEx(int idHook, THookProc proc, void* module = nullptr, unsigned threadId = 0);
bool UnhookWindowsHookEx(HHOOK hook);
// Calls the hook installed before hook (of the same kind); 0 when none.
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
unsigned GetCurrentThreadId();
