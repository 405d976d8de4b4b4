#pragma once
// What the platform tells about a window and the calls that place and show it.
// A window is any QWidget: a class-library control's widget, a form's outer
// widget, or a bare Qt widget (a message box, a file dialog, their buttons).
//
// Class names: a class-library control answers its class name (its widget
// carries the control in the "tvClassName" property); a bare Qt widget answers
// the Windows class it plays ("#32770" dialogs, "#32768" popup menus,
// "button", "edit", ...), "QWidget"-like names for anything else.
//
// Styles: GWL_STYLE/GWL_EXSTYLE are read from the widget's state. Bits written
// back with SetWindowLong take effect where Qt can show them (WS_VISIBLE,
// WS_DISABLED; on a top-level window removing WS_CAPTION makes it frameless,
// removing WS_THICKFRAME fixes its size) and are remembered otherwise, so a
// later read gives back what was written (WS_SYSMENU, WS_MINIMIZEBOX, ...).
// A widget may carry a base style in the properties "tvStyle"/"tvExStyle"
// (forms set them from their border style); the widget's live state
// (visible, enabled, minimized, maximized, child) always wins over them.
//
// Rectangles: screen coordinates. The window rectangle of a top-level window
// is its frame (the window manager's decoration included, the same as the
// widget itself when frameless); its client rectangle is the widget less the
// non-client insets (non_client.h). SetWindowPos sizes the frame. The client
// of a scroll area is its viewport (its bars and frame are non-client).

#include "platform/messages.h"
#include "platform/win_types.h"

#include <QString>
#include <functional>
#include <vector>

using HINSTANCE = intptr_t;
// The program's module; bare Qt helper windows (tool tips, combo-box drop
// downs) belong to another ("the system's") module.
constexpr HINSTANCE kProgramInstance = 0x400000;
constexpr HINSTANCE kSystemInstance = 0x77D40000;
HINSTANCE HInstance();

// GetWindowLong indexes (GWL_WNDPROC: window_proc.h).
enum : int {
    GWL_EXSTYLE = -20,
    GWL_STYLE = -16,
    GWL_ID = -12,
    GWL_HWNDPARENT = -8,
    GWL_HINSTANCE = -6,
    GWL_USERDATA = -21,
};

// Window styles.
enum : uint32_t {
    WS_OVERLAPPED = 0x00000000u,
    WS_POPUP = 0x80000000u,
    WS_CHILD = 0x40000000u,
    WS_MINIMIZE = 0x20000000u,
    WS_VISIBLE = 0x10000000u,
    WS_DISABLED = 0x08000000u,
    WS_CLIPSIBLINGS = 0x04000000u,
    WS_CLIPCHILDREN = 0x02000000u,
    WS_MAXIMIZE = 0x01000000u,
    WS_CAPTION = 0x00C00000u, // WS_BORDER | WS_DLGFRAME
    WS_BORDER = 0x00800000u,
    WS_DLGFRAME = 0x00400000u,
    WS_VSCROLL = 0x00200000u,
    WS_HSCROLL = 0x00100000u,
    WS_SYSMENU = 0x00080000u,
    WS_THICKFRAME = 0x00040000u,
    WS_GROUP = 0x00020000u,
    WS_TABSTOP = 0x00010000u,
    WS_MINIMIZEBOX = 0x00020000u,
    WS_MAXIMIZEBOX = 0x00010000u,
    WS_OVERLAPPEDWINDOW = 0x00CF0000u,
    WS_POPUPWINDOW = 0x80880000u,
    DS_MODALFRAME = 0x00000080u,
    DS_SETFONT = 0x00000040u,
    // Button styles (low bits; BS_TYPEMASK selects the kind).
    BS_PUSHBUTTON = 0x0,
    BS_DEFPUSHBUTTON = 0x1,
    BS_CHECKBOX = 0x2,
    BS_AUTOCHECKBOX = 0x3,
    BS_RADIOBUTTON = 0x4,
    BS_3STATE = 0x5,
    BS_AUTO3STATE = 0x6,
    BS_GROUPBOX = 0x7,
    BS_AUTORADIOBUTTON = 0x9,
    BS_OWNERDRAW = 0xB,
    BS_TYPEMASK = 0xF,
    BS_BITMAP = 0x80, // shows a picture in place of a caption
    BS_PUSHLIKE = 0x1000,
    BS_FLAT = 0x8000,
    // Scroll-bar styles.
    SBS_HORZ = 0x0,
    SBS_VERT = 0x1,
    SBS_SIZEGRIP = 0x10,
    // Edit styles.
    ES_MULTILINE = 0x4,
    ES_READONLY = 0x800,
    // Combo-box styles.
    CBS_SIMPLE = 0x1,
    CBS_DROPDOWN = 0x2,
    CBS_DROPDOWNLIST = 0x3,
};

// Extended window styles.
enum : uint32_t {
    WS_EX_DLGMODALFRAME = 0x00000001u,
    WS_EX_TOPMOST = 0x00000008u,
    WS_EX_TRANSPARENT = 0x00000020u,
    WS_EX_MDICHILD = 0x00000040u,
    WS_EX_TOOLWINDOW = 0x00000080u,
    WS_EX_WINDOWEDGE = 0x00000100u,
    WS_EX_CLIENTEDGE = 0x00000200u,
    WS_EX_CONTEXTHELP = 0x00000400u,
    WS_EX_RIGHT = 0x00001000u,
    WS_EX_RTLREADING = 0x00002000u,
    WS_EX_LEFTSCROLLBAR = 0x00004000u,
    WS_EX_CONTROLPARENT = 0x00010000u,
    WS_EX_STATICEDGE = 0x00020000u,
    WS_EX_APPWINDOW = 0x00040000u,
    WS_EX_LAYERED = 0x00080000u,
    WS_EX_LAYOUTRTL = 0x00400000u,
};

// The class name of a window; empty for a null window.
QString GetClassName(HWND window);
// The class library tells the class names of its controls' widgets (empty
// answer: not one of ours). Set once at start-up.
void SetClassNameResolver(std::function<QString(HWND)> resolver);
// Style reads and writes (see the top of this file). GWL_ID: the widget's
// "tvId" property (0 without); GWL_HWNDPARENT: the owner (top levels) or parent;
// GWL_HINSTANCE: the module; GWL_USERDATA: a free value kept per window.
intptr_t GetWindowLong(HWND window, int index);
// Returns the previous value. Writing GWL_STYLE/GWL_EXSTYLE sends
// WM_STYLECHANGED (wParam = the index) to the window after the change.
intptr_t SetWindowLong(HWND window, int index, intptr_t value);

// Rectangles in screen coordinates.
bool GetWindowRect(HWND window, TRect& rect);
// The client rectangle in client coordinates: (0, 0, width, height).
bool GetClientRect(HWND window, TRect& rect);
TPoint ScreenToClient(HWND window, TPoint p);
TPoint ClientToScreen(HWND window, TPoint p);
bool ScreenToClient(HWND window, TPoint* p);
bool ClientToScreen(HWND window, TPoint* p);
// Points from one window's client coordinates to another's (null = screen).
TPoint MapWindowPoint(HWND from, HWND to, TPoint p);

// Show commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_NORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_MAXIMIZE = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8,
    SW_RESTORE = 9,
};
// Returns whether the window was visible before.
bool ShowWindow(HWND window, int command);
bool IsWindowVisible(HWND window);
bool IsWindowEnabled(HWND window);
bool EnableWindow(HWND window, bool enable);
bool IsIconic(HWND window);
// Maximized by Qt or by the platform's own maximizing of a frameless window.
bool IsZoomed(HWND window);
bool IsWindowUnicode(HWND window); // always true
bool IsChild(HWND parent, HWND window);
// Whether the handle names a widget that still exists (never dereferences it).
bool IsWindow(HWND window);

struct WINDOWPLACEMENT {
    unsigned flags = 0;
    int showCmd = SW_HIDE; // SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
    TPoint ptMinPosition;
    TPoint ptMaxPosition;
    TRect rcNormalPosition; // the frame when restored, screen coordinates
};
bool GetWindowPlacement(HWND window, WINDOWPLACEMENT& placement);
// Sets the restored rectangle and shows the window by showCmd.
bool SetWindowPlacement(HWND window, const WINDOWPLACEMENT& placement);

// SetWindowPos flags.
enum : unsigned {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_FRAMECHANGED = 0x0020,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
    SWP_NOCOPYBITS = 0x0100,
    SWP_NOOWNERZORDER = 0x0200,
    SWP_NOSENDCHANGING = 0x0400,
};
// Z-order places for SetWindowPos (insertAfter).
inline HWND const HWND_TOP = nullptr;
HWND HwndBottom();  // HWND_BOTTOM
HWND HwndTopmost(); // HWND_TOPMOST
// Moves (x, y: screen for top levels, parent client coordinates for children),
// sizes (cx, cy: the whole window), restacks, shows or hides the window.
// Sends WM_WINDOWPOSCHANGING (lParam WINDOWPOS*, the procedure may change it)
// and WM_WINDOWPOSCHANGED. SWP_FRAMECHANGED asks WM_NCCALCSIZE again and lays
// the client out at the new insets; SWP_NOREDRAW asks no repaint of its own
// (Qt still repaints what it moves or resizes). A hidden window gets WM_SIZE
// and WM_MOVE at once, as a shown one does.
bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, unsigned flags);
bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint);

// Window relations.
enum : unsigned { GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5 };
// The parent of a child window; the owner of a top-level one (null for none).
HWND GetParent(HWND window);
// Children are the direct child widgets that are not windows themselves, in
// stacking order top first (as the platform lists them).
HWND GetWindow(HWND window, unsigned relation);
HWND GetTopWindow(HWND window);
// Calls f for every child and grandchild (depth first, top first); stops when f returns false.
bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& f);
// Direct children, top first.
std::vector<HWND> ChildWindows(HWND parent);
HWND GetDesktopWindow(); // null: the screen
HWND GetActiveWindow();
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND window);
HWND GetFocus();
HWND SetFocus(HWND window);
// The widget grabbing the mouse (a pressed button's window), or null.
HWND GetCapture();
HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND WindowFromPoint(TPoint screenPoint);

// Text: the window title of a top level, the text of a button, label or edit.
QString GetWindowText(HWND window);
int GetWindowTextLength(HWND window);
bool SetWindowText(HWND window, const QString& text);

// Repainting.
enum : unsigned {
    RDW_INVALIDATE = 0x0001,
    RDW_INTERNALPAINT = 0x0002,
    RDW_ERASE = 0x0004,
    RDW_VALIDATE = 0x0008,
    RDW_NOINTERNALPAINT = 0x0010,
    RDW_NOERASE = 0x0020,
    RDW_NOCHILDREN = 0x0040,
    RDW_ALLCHILDREN = 0x0080,
    RDW_UPDATENOW = 0x0100,
    RDW_ERASENOW = 0x0200,
    RDW_FRAME = 0x0400,
    RDW_NOFRAME = 0x0800,
};
// rect in client coordinates (null: the whole window). RDW_FRAME repaints the
// non-client area (a new WM_NCPAINT); RDW_UPDATENOW paints before returning;
// RDW_ALLCHILDREN repaints the children too.
bool RedrawWindow(HWND window, const TRect* rect, unsigned flags);
bool InvalidateRect(HWND window, const TRect* rect, bool erase);
bool UpdateWindow(HWND window);

// Input state.
unsigned GetDoubleClickTime();
bool GetCursorPos(TPoint& p);
TPoint GetCursorPos();
// High bit set while the key is down (VK_ codes, VK_LBUTTON 1, VK_RBUTTON 2, VK_MBUTTON 4).
short GetKeyState(int virtualKey);
short GetAsyncKeyState(int virtualKey);
// Milliseconds since the program started.
unsigned GetTickCount();
