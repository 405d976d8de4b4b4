#pragma once
// What the platform remembers per window beyond the widget's own state:
// written style bits, the non-client insets and frame, the region, the
// system menu, the hand-made maximising. Private to the platform layer.

#include "platform/region.h"
#include "platform/window_info.h"

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <functional>
#include <optional>

class QMenu;
class QMenuBar;
class QPainter;

class TWindowExtra : public QObject {
public:
    // The record of a window, made on first use; it lives as long as the window.
    static TWindowExtra* Of(HWND window, bool create = true);

    uint32_t StyleMask = 0; // bits written with SetWindowLong that a read gives back
    uint32_t StyleSet = 0;
    uint32_t ExStyleMask = 0;
    uint32_t ExStyleSet = 0;
    intptr_t UserData = 0;

    bool SkinnedFrame = false;
    bool CaptionRemoved = false;
    bool FramelessApplied = false; // we made the window frameless
    Qt::WindowFlags SavedFlags;    // its flags before that

    QMargins Insets;       // from the last WM_NCCALCSIZE
    QMargins NativeInsets; // the default answer (a menu's panel)
    QMargins BaseMargins;  // contents margins before we added insets
    bool MarginsApplied = false;
    bool HadMouseTracking = false;
    bool Calculating = false;
    std::function<void()> Layout;

    std::optional<TRegion> Region;
    QPointer<QMenu> SystemMenu;
    QPointer<QMenuBar> RemovedMenuBar;

    bool ZoomedByHand = false;
    QRect NormalGeometry; // widget geometry while zoomed by hand
    int FrameChanges = 0; // ChangeFrameKeepingClient under way

    QPainter* NcPainter = nullptr; // during WM_NCPAINT
    bool MouseInBand = false;
    int DragHit = 0; // hit-test code of a move or resize done by hand
    // A caption or border press waiting for the mouse to move: a click or a
    // double click on the caption must reach the window, which the window
    // manager's move (it takes the pointer) would swallow, and a click on a
    // border must not size it (the window manager would miss the release and
    // go on sizing).
    int PendingDragHit = 0;
    QPoint PendingDragStart;
    QPoint DragStart;
    QRect DragGeometry;
    int PressedButtonHit = 0; // HTCLOSE... pressed, acts on release
    bool BandCapture = false; // the left button went down over the band and is still down

private:
    explicit TWindowExtra(HWND window);
};

class TWindowBridge;
// The non-client part of the window bridge's event handling.
class TNonClientArea {
public:
    // Before the event becomes a message: true when it was handled here
    // (a mouse event over the non-client band, a move by hand).
    static bool BeforeEvent(TWindowBridge* bridge, QEvent* event);
    // After the window's own paint: WM_NCPAINT with a painter on the band.
    // painted: the region of the paint event.
    static void AfterPaint(TWindowBridge* bridge, const QRegion& painted);
    // After the window's own resize handling: a bare window's size grip back
    // into the client's corner (a dialog puts it in the widget's corner, on the frame).
    static void AfterResize(TWindowBridge* bridge);
};

// The style of a widget as computed from its state (before written bits).
uint32_t ComputedStyle(HWND window);
uint32_t ComputedExStyle(HWND window);
// The window flags the window would have without our frameless change.
Qt::WindowFlags LogicalWindowFlags(HWND window);
// Makes the window frameless or gives its frame back as SkinnedFrame/CaptionRemoved ask.
void UpdateFrame(HWND window);
// A window maximised by hand that has its frame back is maximised by the
// window manager instead, where one runs.
void GiveZoomToWindowManager(HWND window);
// The client rectangle in window coordinates.
QRect ClientRectOf(HWND window);
bool IsTopLevelWindow(HWND window);
bool IsPopupMenuWindow(HWND window);
// A popup menu that gets a subclassing procedure hands its panel fill to it.
void PrepareSubclassedMenu(QWidget* window);
// The native erase of a popup menu's panel under way (false when none is).
bool NativeEraseBackground(QWidget* window, QPainter* painter);
