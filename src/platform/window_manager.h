#pragma once
#include <QtCore/qnamespace.h>

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
// The same for a size by the given edges: the edges follow the pointer's
// way from the press, the steps before the size began included.
bool WindowManagerSize(QWindow* window, const QPoint& press, Qt::Edges edges);
