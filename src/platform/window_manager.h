#pragma once
// Whether a window manager runs: only one can minimize a window or move it
// for us; without one (a bare X server, the offscreen platform) such a
// request changes nothing.

bool WindowManagerRunning();

class QWindow;
class QPoint;
// Hands a move of the window to the window manager as if the pointer had
// pressed the caption at press (screen coordinates) with the left button:
// the window follows the pointer's way from there, not from where the
// pointer is now. False when no window manager on X takes the request.
bool WindowManagerMove(QWindow* window, const QPoint& press);
