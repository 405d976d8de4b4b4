#pragma once
// Window messages: the message numbers of the platform and of the class
// library, the message record and the calls that send and post messages to a
// window. A window is any QWidget.

#include <QEvent>
#include <QWidget>
#include <cstdint>

using HWND = QWidget*;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    // The Qt event the message was made from; null for sent or posted messages.
    QEvent* Event = nullptr;
};

constexpr LPARAM MakeLParam(int lo, int hi)
{
    return static_cast<LPARAM>((static_cast<uint32_t>(lo) & 0xFFFF) | ((static_cast<uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr int LoWordSigned(LPARAM v) { return static_cast<int16_t>(v & 0xFFFF); }
constexpr int HiWordSigned(LPARAM v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }
constexpr unsigned LoWord(uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HiWord(uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }

enum : unsigned {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ERASEBKGND = 0x0014,
    WM_CANCELMODE = 0x001F,
    WM_SHOWWINDOW = 0x0018,
    WM_ACTIVATEAPP = 0x001C,
    WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021,
    WM_GETMINMAXINFO = 0x0024,
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_SETFONT = 0x0030,
    WM_GETFONT = 0x0031,
    WM_WINDOWPOSCHANGING = 0x0046,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NOTIFY = 0x004E,
    WM_CONTEXTMENU = 0x007B,
    WM_STYLECHANGED = 0x007D,
    WM_GETICON = 0x007F,
    WM_SETICON = 0x0080,
    WM_NCCREATE = 0x0081,
    WM_NCDESTROY = 0x0082,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085,
    WM_NCACTIVATE = 0x0086,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_NCLBUTTONUP = 0x00A2,
    WM_NCLBUTTONDBLCLK = 0x00A3,
    WM_NCRBUTTONDOWN = 0x00A4,
    WM_NCRBUTTONUP = 0x00A5,
    WM_NCRBUTTONDBLCLK = 0x00A6,
    WM_NCMBUTTONDOWN = 0x00A7,
    WM_NCMBUTTONUP = 0x00A8,
    WM_NCMBUTTONDBLCLK = 0x00A9,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_INITMENU = 0x0116,
    WM_INITMENUPOPUP = 0x0117,
    WM_MENUSELECT = 0x011F,
    WM_MENUCHAR = 0x0120,
    WM_ENTERIDLE = 0x0121,
    WM_UNINITMENUPOPUP = 0x0125,
    WM_MENUCOMMAND = 0x0126,
    WM_CTLCOLOREDIT = 0x0133,
    WM_CTLCOLORLISTBOX = 0x0134,
    WM_CTLCOLORBTN = 0x0135,
    WM_CTLCOLORDLG = 0x0136,
    WM_CTLCOLORSCROLLBAR = 0x0137,
    WM_CTLCOLORSTATIC = 0x0138,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_PARENTNOTIFY = 0x0210,
    WM_ENTERMENULOOP = 0x0211,
    WM_EXITMENULOOP = 0x0212,
    WM_SIZING = 0x0214,
    WM_CAPTURECHANGED = 0x0215,
    WM_MOVING = 0x0216,
    WM_MDICREATE = 0x0220,
    WM_MDIDESTROY = 0x0221,
    WM_MDIACTIVATE = 0x0222,
    WM_MDIRESTORE = 0x0223,
    WM_MDINEXT = 0x0224,
    WM_MDIMAXIMIZE = 0x0225,
    WM_MDITILE = 0x0226,
    WM_MDICASCADE = 0x0227,
    WM_MDIICONARRANGE = 0x0228,
    WM_MDIGETACTIVE = 0x0229,
    WM_MDISETMENU = 0x0230,
    WM_MDIREFRESHMENU = 0x0234,
    WM_ENTERSIZEMOVE = 0x0231,
    WM_EXITSIZEMOVE = 0x0232,
    WM_MOUSEHOVER = 0x02A1,
    WM_NCMOUSELEAVE = 0x02A2,
    WM_MOUSELEAVE = 0x02A3,
    WM_PRINT = 0x0317,
    WM_PRINTCLIENT = 0x0318,
    WM_USER = 0x0400,
    EM_SETRECT = 0x00B3,
    EM_SETRECTNP = 0x00B4,

    // The class library's own messages.
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_ENABLEDCHANGED = CM_BASE + 11,
    CM_COLORCHANGED = CM_BASE + 12,
    CM_FONTCHANGED = CM_BASE + 13,
    CM_CURSORCHANGED = CM_BASE + 14,
    CM_PARENTFONTCHANGED = CM_BASE + 16,
    CM_PARENTCOLORCHANGED = CM_BASE + 17,
    CM_HITTEST = CM_BASE + 18,
    CM_VISIBLECHANGED = CM_BASE + 19,
    CM_ENTER = CM_BASE + 20,
    CM_EXIT = CM_BASE + 22,
    CM_MENUCHANGED = CM_BASE + 21,
    CM_SHOWINGCHANGED = CM_BASE + 24,
    CM_MOUSEENTER = CM_BASE + 25,
    CM_MOUSELEAVE = CM_BASE + 26,
    CM_TEXTCHANGED = CM_BASE + 18 + 0x100, // kept apart from CM_HITTEST
    CM_RECREATEWND = CM_BASE + 51,
    CM_INVALIDATE = CM_BASE + 52,
    CM_CONTROLLISTCHANGE = CM_BASE + 44,
    CM_MOUSEWHEEL = CM_BASE + 67,
};

// The message record of a queued input message (what a message-filter hook
// receives): pt is the cursor in screen coordinates.
struct MSG {
    HWND hwnd = nullptr;
    unsigned message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    unsigned time = 0;
    int ptX = 0;
    int ptY = 0;
};

// A window's new place, handed with WM_WINDOWPOSCHANGING/CHANGED and NCCALCSIZE.
struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    unsigned flags = 0;
};

// WM_NCCALCSIZE with wParam 1: lParam points to this. rgrc[0] comes in as the
// window's new rectangle (screen coordinates) and goes out as its client
// rectangle; rgrc[1], rgrc[2] are the old window and client rectangles.
struct TNCRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
struct NCCALCSIZE_PARAMS {
    TNCRect rgrc[3];
    WINDOWPOS* lppos = nullptr;
};
enum : unsigned { WVR_ALIGNTOP = 0x0010, WVR_VALIDRECTS = 0x0400, WVR_REDRAW = 0x0300 };

// WM_SYSCOMMAND identifiers (compare wParam & 0xFFF0).
enum : unsigned {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_NEXTWINDOW = 0xF040,
    SC_PREVWINDOW = 0xF050,
    SC_CLOSE = 0xF060,
    SC_KEYMENU = 0xF100,
    SC_RESTORE = 0xF120,
    SC_DEFAULT = 0xF160,
    SC_CONTEXTHELP = 0xF180,
};

// WM_SIZE kinds (wParam).
enum : unsigned { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// WM_ACTIVATE states (low word of wParam).
enum : unsigned { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// Handles travel in wParam/lParam of messages and hooks.
inline WPARAM WParamOf(const void* p) { return reinterpret_cast<WPARAM>(p); }
inline LPARAM LParamOf(const void* p) { return reinterpret_cast<LPARAM>(p); }
inline HWND HwndOf(uintptr_t v) { return reinterpret_cast<HWND>(v); }

// Mouse moves and button presses, releases and double clicks (not the wheel).
constexpr bool IsMouseMessage(unsigned msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

// Mouse-message key states.
enum : unsigned {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// Non-client hit-test codes.
enum : int {
    HTERROR = -2,
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTSYSMENU = 3,
    HTMENU = 5,
    HTHSCROLL = 6,
    HTVSCROLL = 7,
    HTMINBUTTON = 8,
    HTMAXBUTTON = 9,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
    HTBORDER = 18,
    HTCLOSE = 20,
    HTHELP = 21,
};

// Virtual key codes used by the program.
enum : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
};
// The platform key code of a Qt key (letters and digits map to their capitals' codes).
int QtKeyToVirtualKey(int qtKey);
int VirtualKeyToQtKey(int vk);
