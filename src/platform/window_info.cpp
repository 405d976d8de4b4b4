#include "platform/window_info.h"

HINSTANCE HInstance() { return kProgramInstance; }
QString GetClassName(HWND) { return QString(); }
intptr_t GetWindowLong(HWND, int) { return 0; }
intptr_t SetWindowLong(HWND, int, intptr_t) { return 0; }
bool GetWindowRect(HWND, TRect&) { return false; }
bool GetClientRect(HWND, TRect&) { return false; }
TPoint ScreenToClient(HWND, TPoint p) { return p; }
TPoint ClientToScreen(HWND, TPoint p) { return p; }
bool ScreenToClient(HWND, TPoint*) { return false; }
bool ClientToScreen(HWND, TPoint*) { return false; }
TPoint MapWindowPoint(HWND, HWND, TPoint p) { return p; }
bool ShowWindow(HWND, int) { return false; }
bool IsWindowVisible(HWND) { return false; }
bool IsWindowEnabled(HWND) { return false; }
bool EnableWindow(HWND, bool) { return false; }
bool IsIconic(HWND) { return false; }
bool IsZoomed(HWND) { return false; }
bool IsWindowUnicode(HWND) { return true; }
bool IsChild(HWND, HWND) { return false; }
bool GetWindowPlacement(HWND, WINDOWPLACEMENT&) { return false; }
bool SetWindowPlacement(HWND, const WINDOWPLACEMENT&) { return false; }
HWND HwndBottom() { return nullptr; }
HWND HwndTopmost() { return nullptr; }
bool SetWindowPos(HWND, HWND, int, int, int, int, unsigned) { return false; }
bool MoveWindow(HWND, int, int, int, int, bool) { return false; }
HWND GetParent(HWND) { return nullptr; }
HWND GetWindow(HWND, unsigned) { return nullptr; }
HWND GetTopWindow(HWND) { return nullptr; }
bool EnumChildWindows(HWND, const std::function<bool(HWND)>&) { return false; }
std::vector<HWND> ChildWindows(HWND) { return {}; }
HWND GetDesktopWindow() { return nullptr; }
HWND GetActiveWindow() { return nullptr; }
HWND GetForegroundWindow() { return nullptr; }
bool SetForegroundWindow(HWND) { return false; }
HWND GetFocus() { return nullptr; }
HWND SetFocus(HWND) { return nullptr; }
HWND GetCapture() { return nullptr; }
HWND SetCapture(HWND) { return nullptr; }
bool ReleaseCapture() { return false; }
HWND WindowFromPoint(TPoint) { return nullptr; }
QString GetWindowText(HWND) { return QString(); }
int GetWindowTextLength(HWND) { return 0; }
bool SetWindowText(HWND, const QString&) { return false; }
bool RedrawWindow(HWND, const TRect*, unsigned) { return false; }
bool InvalidateRect(HWND, const TRect*, bool) { return false; }
bool UpdateWindow(HWND) { return false; }
unsigned GetDoubleClickTime() { return 500; }
bool GetCursorPos(TPoint&) { return false; }
TPoint GetCursorPos() { return TPoint(); }
short GetKeyState(int) { return 0; }
short GetAsyncKeyState(int) { return 0; }
unsigned GetTickCount() { return 0; }
