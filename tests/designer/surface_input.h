#pragma once
// Mouse input on the design surface as the window system delivers it: the
// press goes to the topmost window under the point (window regions count),
// and that window keeps the mouse until the release.

#include "test_support.h"

#include <QWidget>

class TSurfaceMouse {
public:
    explicit TSurfaceMouse(QWidget* surface) : FSurface(surface) {}
    // The window that a press at this surface point reaches.
    QWidget* WindowAt(QPoint p) const
    {
        QWidget* w = FSurface->childAt(p);
        return w ? w : FSurface;
    }
    void Press(QPoint p, Qt::KeyboardModifiers mods = {})
    {
        FGrab = WindowAt(p);
        TestSupport::MousePress(FGrab, FGrab->mapFrom(FSurface, p), Qt::LeftButton, mods);
    }
    void Move(QPoint p, Qt::KeyboardModifiers mods = {})
    {
        QWidget* w = FGrab ? FGrab : WindowAt(p);
        TestSupport::MouseMove(w, w->mapFrom(FSurface, p), FGrab ? Qt::LeftButton : Qt::NoButton, mods);
    }
    void Release(QPoint p, Qt::KeyboardModifiers mods = {})
    {
        QWidget* w = FGrab ? FGrab : WindowAt(p);
        TestSupport::MouseRelease(w, w->mapFrom(FSurface, p), Qt::LeftButton, mods);
        FGrab = nullptr;
    }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        Press(from, mods);
        Move(to, mods);
        Release(to, mods);
    }

private:
    QWidget* FSurface;
    QWidget* FGrab = nullptr;
};
