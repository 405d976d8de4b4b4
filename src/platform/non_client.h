#pragma once
// The non-client area of top-level windows (a form's outer widget, a bare
// QDialog/QMessageBox/QFileDialog, a popup QMenu).
//
// Every top-level window with a window bridge (window_proc.h) asks its
// procedure:
// - WM_NCCALCSIZE (wParam 1, lParam NCCALCSIZE_PARAMS*) when it is first
//   shown, when its size changes, on SetWindowPos(SWP_FRAMECHANGED) and on
//   SetMenu. rgrc[0] comes in as the widget's rectangle in screen coordinates
//   (lppos: the same as x, y, cx, cy); what the procedure leaves there is the
//   client rectangle. The default procedure leaves it (no insets: the window
//   manager draws the frame). The client is then laid out at the insets: a
//   form places its menu bar and client widget (SetClientLayout), a bare window
//   gets them as extra contents margins. A popup menu's default insets are its
//   style's panel width.
// - WM_NCHITTEST (lParam: screen point) for mouse events that reach the window
//   widget itself outside its client rectangle (the band between the widget's
//   edge and the client). Default: HTCLIENT inside the client rectangle; on a
//   window with WS_THICKFRAME the outer SM_CXFRAME pixels give HTLEFT ...
//   HTBOTTOMRIGHT (corners SM_CYCAPTION long); with WS_CAPTION the top band
//   gives HTCAPTION; HTNOWHERE elsewhere in the band.
// - Mouse events over the band become WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN/UP/
//   DBLCLK, WM_NCRBUTTONDOWN/UP/DBLCLK (wParam: hit-test code, lParam: screen
//   point); leaving the band sends WM_NCMOUSELEAVE. The default handling of
//   WM_NCLBUTTONDOWN moves the window for HTCAPTION once the mouse moves by the
//   drag distance with the button held (so clicks and double clicks on the
//   caption still arrive) and resizes it for HTLEFT..HTBOTTOMRIGHT at once (the
//   window manager's move/resize, or by hand while the button is held where
//   there is none); HTCLOSE/HTMINBUTTON/HTMAXBUTTON
//   send the matching WM_SYSCOMMAND on release; a right button up over the
//   caption opens the system menu.
// - WM_NCPAINT after every paint of a window widget that has insets (there is
//   no band to paint without), once the widget itself has been painted
//   (wParam 1: the whole frame). During WM_NCPAINT,
//   GetWindowDC(window) gives a QPainter on the window widget, origin at the
//   widget's top-left corner, clipped to the band outside the client
//   rectangle; lParam carries the same painter. The default paints nothing.
//   Outside a paint a frame is repainted with RedrawWindow(w, nullptr,
//   RDW_FRAME | RDW_INVALIDATE) (add RDW_UPDATENOW to paint at once).
// - WM_NCACTIVATE (wParam 1/0) on activation and deactivation, before WM_ACTIVATE.
//
// A skinned frame: SetSkinnedFrame(window, true) makes the window frameless
// (Qt::FramelessWindowHint); the widget keeps its place and size (the window
// manager's decoration simply goes, so the window rectangle shrinks to the
// widget) and the procedure's WM_NCCALCSIZE is asked at once; false gives the
// window manager's frame back around the widget as it is. A shown window stays
// shown meanwhile (a running QDialog::exec goes on). Removing WS_CAPTION from a
// top-level window's style has the same effect (and putting it back undoes it)
// unless a skinned frame is set. While a procedure draws the frame (skinned
// frame or insets) a QMessageBox keeps the size it is given instead of fitting
// itself to its contents on each layout request.
//
// Child scroll areas: their bars and frame are non-client. WM_NCHITTEST over a
// visible bar answers HTVSCROLL/HTHSCROLL, and the default handling of
// WM_NCLBUTTONDOWN with those codes presses the real QScrollBar at the point
// and hands it the mouse until the button is released.
//
// SetWindowRgn: the region (window coordinates) becomes the window's mask; it
// is stored and GetWindowRgn gives it back (offscreen Qt ignores masks).

#include "platform/messages.h"
#include "platform/region.h"
#include "platform/win_types.h"

#include <QMargins>
#include <QSize>
#include <functional>
#include <optional>

class QPainter;

bool SetSkinnedFrame(HWND window, bool skinned);
bool IsSkinnedFrame(HWND window);
// True while the window is frameless because of a skinned frame or a removed WS_CAPTION.
bool IsFrameRemoved(HWND window);

// Sets a top-level window's flags; while the platform keeps it frameless the
// flags are remembered and the window stays frameless (forms set their border
// style through this).
void SetWindowFlagsKeepingFrame(HWND window, Qt::WindowFlags flags);

// The insets of the client rectangle from the last WM_NCCALCSIZE (left, top,
// right, bottom widths of the band); zero before any.
QMargins NonClientInsets(HWND window);

// The smallest size a move or size lets the window take: its own minimum, and
// never less than its frame band.
QSize MinimumTrackSize(HWND window);
// Asks WM_NCCALCSIZE again and lays the client out when the insets changed
// (what SWP_FRAMECHANGED does).
void RecalcNonClient(HWND window);
// A change of a top-level window's frame that keeps its client: runs change
// (which may switch the skinned frame, make the procedure answer other
// insets, put the menu bar on or off the window), asks WM_NCCALCSIZE again
// and gives the client below the menu bar the size it had before, grown by
// clientGrowth. A normal or minimized window grows or shrinks at its place;
// a maximized one (by the window manager or by hand) keeps its size and the
// size it is restored to changes instead. Placement and restore size are the
// platform's: read them with IsZoomed, IsIconic and GetWindowPlacement.
void ChangeFrameKeepingClient(HWND window, const std::function<void()>& change = {}, QSize clientGrowth = QSize(0, 0));
// A window that places its own client (a form) installs this; it is called
// after the insets changed and after SetMenu. Without one the insets become
// extra contents margins of the widget.
void SetClientLayout(HWND window, std::function<void()> layout);
// Runs the window's client layout (after its menu bar came or went).
void RelayoutClient(HWND window);

// The painter of the WM_NCPAINT under way for window, else null. ReleaseDC ends nothing.
QPainter* GetWindowDC(HWND window);
inline void ReleaseDC(HWND, QPainter*) {}

// The window region (window coordinates); nullopt removes it. redraw repaints.
bool SetWindowRgn(HWND window, std::optional<TRegion> region, bool redraw);
// The stored region; nullopt when the window has none.
std::optional<TRegion> GetWindowRgn(HWND window);

// Default handling of the non-client messages and WM_SYSCOMMAND; the window
// bridge's native procedure calls it for sent messages. Returns false when the
// message is none of these.
bool DefNonClientProc(HWND window, TMessage& message);
