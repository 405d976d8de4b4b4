#pragma once
// Scroll-bar skinners. Qt draws scroll bars itself and offers no hook to paint
// them, so a small window of our own (TWScrollbar) lies exactly over each
// visible scroll bar, shows the skin's bar and hands every press to the real
// bar underneath: scrolling itself stays Qt's work.

#include "platform/scroll_info.h"
#include "skin/controls/skin_control.h"

#include <QImage>
#include <QWidget>

class QScrollBar;

class TWScrollbar : public QWidget {
public:
    enum { kHorizontal = 0, kVertical = 1, kControl = 2 };
    // The hot parts: the platform's SB_ codes.
    enum { hpNone = -1, hpFirstArrow = 0, hpSecondArrow = 1, hpPageBefore = 2, hpPageAfter = 3, hpThumb = 5 };

    TWScrollbar();
    ~TWScrollbar() override;

    // Lays the overlay over the bar of kind of a class-library control or of a bare window.
    void AttachControl(TSkinControl* owner, TControl* control, int kind);
    void AttachHwnd(TSkinControl* owner, HWND window, int kind);
    // Follows the real bar: position, size, z-order and visibility.
    void Place();
    void HideBar();
    // Lets go of target, bar and owner (the overlay is about to go).
    void Detach();
    // The hot part under a point in overlay coordinates.
    int HitTest(QPoint p) const;
    void SetHotPart(int part);
    // Paints the skin's bar into painter over the bar's size (what paintEvent shows).
    void PaintBar(QPainter& painter);

    int Kind() const { return FKind; }
    int Direction() const { return FDirection; }
    int HotPart() const { return FHotPart; }
    bool Pressed() const { return FPressed; }
    bool Shown() const { return FShown; }
    int Length() const { return FLength; }
    int ArrowSize() const { return FArrowSize; }
    int ThumbStart() const { return FThumbStart; }
    int ThumbEnd() const { return FThumbEnd; }
    // The bar's rectangle in the target's client coordinates.
    const TRect& BarRect() const { return FBarRect; }
    HWND Target() const { return FTarget; }
    // The real bar underneath.
    QScrollBar* RealBar() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the bar: its screen rectangle, state, length, arrows and thumb.
    bool ReadBar(TRect& screen, bool& visible, bool& enabled);
    void StackAboveTarget();
    void QueuePlace();
    void EndPress();
    // Mouse input of a press on a scroll-bar control goes on to the control.
    void ForwardMouse(QMouseEvent* event, QEvent::Type type);

    struct TImpl;
    TImpl* FImpl;
    int FLength = 0;
    int FThumbStart = 0;
    int FThumbEnd = 0;
    QPoint FBarPos;
    QPoint FPressCursor;
    int FPressThumbStart = 0;
    bool FPressed = false;
    int FDirection = kVertical;
    int FHotPart = hpNone;
    int FArrowSize = 16;
    QPointer<QWidget> FTarget;
    TControl* FTargetControl = nullptr;
    TSkinControl* FOwner = nullptr;
    int FKind = kVertical;
    TRect FBarRect;
    bool FShown = false;
};

// Scrollable class-library controls: list boxes, memos, grids, tree views, scroll boxes.
class TSkinScrollbar : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinScrollbar)
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    virtual void InitScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
    void Restore() override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;

    TWScrollbar* HorzBar() const { return FHorz; }
    TWScrollbar* VertBar() const { return FVert; }
    bool BorderFlag() const { return FBorder; }
    // Places both overlays again.
    void PlaceBars();

protected:
    void DrawBorder(QPainter& dc);
    void FreeBars();

    QPointer<TWScrollbar> FHorz;
    QPointer<TWScrollbar> FVert;
    bool FBorder = false;
    // The frame style the control had before the skin widened its frame to
    // the two lines of the skinned border; -1 when untouched.
    int FSavedFrameStyle = -1;
    int FSavedLineWidth = 0;
    bool FFixedColorSaved = false;
    int FSavedFixedColor = 0;
};

// List views: the scroll bars, and a header skinner for the list's header.
class TSkinListView : public TSkinScrollbar {
public:
    TV_CLASS_NAME(TSkinListView)
    using TSkinScrollbar::TSkinScrollbar;
    void InitScroll(TControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    TComponent* HeaderSkinner() const { return FHeader; }

private:
    TComponent* FHeader = nullptr;
};

// The list of a simple combo box, a bare window.
class TSkinScrollbarH : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinScrollbarH)
    using TSkinControl::TSkinControl;
    ~TSkinScrollbarH() override;

    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    TWScrollbar* HorzBar() const { return FHorz; }
    TWScrollbar* VertBar() const { return FVert; }

private:
    QPointer<TWScrollbar> FHorz;
    QPointer<TWScrollbar> FVert;
};

// A scroll-bar control: one overlay of the control's kind.
class TSkinScControl : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinScControl)
    using TSkinControl::TSkinControl;
    ~TSkinScControl() override;

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    TWScrollbar* Bar() const { return FBar; }
    // Set up as a scroll bar embedded in another control.
    bool Embedded = false;

private:
    QPointer<TWScrollbar> FBar;
};

// The drop-down list of a combo box: paints the list's own vertical bar and
// drags its thumb itself.
class TComboxScrollBar : public TSkinControl {
public:
    TV_CLASS_NAME(TComboxScrollBar)
    using TSkinControl::TSkinControl;
    ~TComboxScrollBar() override;

    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    // The position a thumb drag by dy pixels from the press gives.
    int DragPosition(int dy) const;
    // Starts a thumb drag at y along the bar; false when y is off the thumb.
    bool StartThumbDrag(int y);
    bool Dragging() const { return FDragging; }
    QWidget* Bar() const { return FBar; }

private:
    // The list starts tracking a drag of its own.
    static constexpr unsigned kListStartTrack = 0x01AE;
    bool ReadBar();
    void PaintBar(QPainter& painter);
    void BarProc(TMessage& m);
    void UnhookBar();

    int FArrowSize = 16;
    int FThumbStart = 0;
    int FThumbEnd = 0;
    int FLength = 0;
    int FPressY = 0;
    int FPressThumbStart = 0;
    int FDragDelta = 0;
    int FPosition = 0;
    bool FDragging = false;
    bool FEnabled = true;
    SCROLLINFO FScroll;
    QPointer<QWidget> FBar;
    TWndProc FBarProc;
    TWndProc FOldBarProc;
};

// The skin's scroll bar drawn for a bar of length x thickness in direction
// (0 horizontal, 1 vertical): track, arrows and, when enabled, the thumb
// between thumbStart and thumbEnd. hot/pressed pick the hovered or pressed cells.
void DrawSkinScrollbar(QPainter& painter, const TSkinData* skin, const QSize& size, int direction, int arrowSize,
                       int thumbStart, int thumbEnd, bool enabled, int hotPart, bool pressed);
// Thumb of a scroll-bar control: from the control's position, range and page
// (classLibrary true) or the platform's scroll information.
void ControlThumb(int length, int arrowSize, int min, int max, int page, int pos, bool classLibrary, int& thumbStart,
                  int& thumbEnd);
