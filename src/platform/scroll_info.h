#pragma once
// Scroll bars of windows: the QScrollBars of a scroll area (SB_VERT, SB_HORZ,
// OBJID_VSCROLL, OBJID_HSCROLL) or a bare QScrollBar window (SB_CTL,
// OBJID_CLIENT). Ranges follow the platform: nMax is the last position a page
// can start at plus the page less one (Qt's maximum + page step - 1).

#include "platform/messages.h"
#include "platform/win_types.h"

enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
enum : unsigned {
    SIF_RANGE = 0x1,
    SIF_PAGE = 0x2,
    SIF_POS = 0x4,
    SIF_DISABLENOSCROLL = 0x8,
    SIF_TRACKPOS = 0x10,
    SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};
// WM_VSCROLL / WM_HSCROLL requests (low word of wParam; the high word carries
// the position of SB_THUMBTRACK / SB_THUMBPOSITION).
enum : unsigned {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};
enum : int { OBJID_HSCROLL = -6, OBJID_VSCROLL = -5, OBJID_CLIENT = -4 };
enum : unsigned { STATE_SYSTEM_UNAVAILABLE = 0x1, STATE_SYSTEM_PRESSED = 0x8, STATE_SYSTEM_INVISIBLE = 0x8000, STATE_SYSTEM_OFFSCREEN = 0x10000 };

struct SCROLLINFO {
    unsigned cbSize = sizeof(SCROLLINFO);
    unsigned fMask = 0;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

struct SCROLLBARINFO {
    unsigned cbSize = sizeof(SCROLLBARINFO);
    TRect rcScrollBar;   // screen coordinates
    int dxyLineButton = 0; // length of an arrow button
    int xyThumbTop = 0;    // thumb start and end from the bar's start
    int xyThumbBottom = 0;
    int reserved = 0;
    // 0 the bar, 1 first arrow, 2 page before, 3 thumb, 4 page after, 5 second arrow
    unsigned rgstate[6] = {0, 0, 0, 0, 0, 0};
};

// A QScrollBar child of a plain window carrying this property (true) is that
// window's own bar of its orientation, as a scroll area's bars are.
inline constexpr char kWindowScrollBarProperty[] = "tvWindowScrollBar";
// The QScrollBar behind a window's bar kind (null when it has none).
class QScrollBar* ScrollBarOf(HWND window, int bar);
// The scroll area whose content a window is (a scroll box's window), or null.
class QScrollArea* ScrollAreaOf(HWND window);
// The window whose bars scroll a window: the scroll area around the content
// of a scroll area (a scroll box's window), else the window itself.
HWND ScrollingWindow(HWND window);
bool GetScrollInfo(HWND window, int bar, SCROLLINFO& info);
// Sets what fMask names; returns the new position.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO& info, bool redraw);
int GetScrollPos(HWND window, int bar);
int SetScrollPos(HWND window, int bar, int pos, bool redraw);
// objectId OBJID_VSCROLL, OBJID_HSCROLL, or OBJID_CLIENT for a bare scroll bar.
bool GetScrollBarInfo(HWND window, int objectId, SCROLLBARINFO& info);
// The default handling of WM_VSCROLL / WM_HSCROLL sent to a scrollable window
// (or to a bare scroll bar): moves the bar as the request asks.
bool DefScrollProc(HWND window, TMessage& message);
