#pragma once
// Controls: TControl and its two families. A TGraphicControl has no window of
// its own: its parent paints it beneath all windowed children and routes the
// mouse to it. A TWinControl owns one QWidget (its window) and places its
// children at absolute positions.

#include "classlib/component.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/font.h"
#include "platform/messages.h"
#include "platform/region.h"
#include "platform/window_proc.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TWinControl;
class TPopupMenu;
class TCustomForm;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum THelpType { htKeyword, htContext };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

using TCursor = int;
enum : int {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
    crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
    crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
    crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22
};
Qt::CursorShape CursorToQt(TCursor cursor);
bool CursorToIdent(int cursor, QString& ident);
bool IdentToCursor(const QString& ident, int& cursor);

using TMouseEvent = std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, TShiftState Shift, int X, int Y)>;
using TContextPopupEvent = std::function<void(TComponent* Sender, TPoint MousePos, bool& Handled)>;
using TDragOverEvent = std::function<void(TComponent* Sender, TComponent* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TComponent* Sender, TComponent* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TComponent* Sender, TComponent* Target, int X, int Y)>;
using TKeyEvent = std::function<void(TComponent* Sender, int& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TComponent* Sender, QChar& Key)>;
using TWndMethod = std::function<void(TMessage&)>;

TShiftState ShiftStateFromKeys(WPARAM mouseKeys);
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);

class TSizeConstraints : public TPersistent {
public:
    TV_CLASS_NAME(TSizeConstraints)
    int MaxHeight = 0, MaxWidth = 0, MinHeight = 0, MinWidth = 0;
    void Assign(const TPersistent* source) override;
};

class TControl : public TComponent {
public:
    TV_CLASS_NAME(TControl)
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Position and size in the parent's client coordinates.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return TRect(0, 0, ClientWidth(), ClientHeight()); }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    virtual void SetClientSize(int width, int height) { SetBounds(FLeft, FTop, width, height); }
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to the form visible.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign a);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors a) { FAnchors = a; }
    TSizeConstraints* Constraints() { return &FConstraints; }

    // Caption of labels, buttons and forms; the text of edits.
    virtual QString Caption() const { return FText; }
    virtual void SetCaption(const QString& text);
    QString Text() const { return Caption(); }
    void SetText(const QString& text) { SetCaption(text); }

    TFont* Font() { return &FFont; }
    const TFont* Font() const { return &FFont; }
    void SetFont(const TFont* f) { FFont.Assign(f); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor c);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);

    const QString& Hint() const { return FHint; }
    virtual void SetHint(const QString& hint);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v);
    bool EffectiveShowHint() const;
    TCursor Cursor() const { return FCursor; }
    virtual void SetCursor(TCursor c);
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor c) { FDragCursor = c; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode m) { FDragMode = m; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind k) { FDragKind = k; }
    THelpType HelpType() const { return FHelpType; }
    void SetHelpType(THelpType t) { FHelpType = t; }
    const QString& HelpKeyword() const { return FHelpKeyword; }
    void SetHelpKeyword(const QString& k) { FHelpKeyword = k; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int c) { FHelpContext = c; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    virtual void SetPopupMenu(TPopupMenu* menu);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    bool ParentBiDiMode() const { return FParentBiDiMode; }

    // Stacking among the parent's children.
    virtual void BringToFront();
    virtual void SendToBack();
    virtual void Invalidate();
    virtual void Repaint();
    void Update();
    void Refresh() { Repaint(); }

    // The message path: WindowProc (replaceable, default WndProc) handles every
    // message; the default handler ends the chain.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Dispatch(TMessage& message);

    bool MouseCapture() const;
    void SetMouseCapture(bool capture);
    void BeginDrag(bool immediate);
    bool Dragging() const;
    void EndDrag(bool drop);

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TNotifyEvent OnStartDrag;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();
    // True for controls drawn by their parent (no window of their own).
    virtual bool IsGraphic() const { return true; }
    // The form this control lies on, or nullptr.
    TCustomForm* ParentForm() const;

    // The mouse handlers the messages reach.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    // Hit test in client coordinates (graphic controls receive the mouse where it is true).
    virtual bool HitTest(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    virtual void BoundsChanged() {}
    virtual void VisibleChanged();
    virtual void EnabledChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged() {}
    virtual void Resize();
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    void RequestAlign();
    void ApplyConstraints(int& width, int& height) const;

    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TWinControl* FParent = nullptr;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    TSizeConstraints FConstraints;
    QString FText;
    TFont FFont;
    bool FParentFont = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TCursor FDragCursor = crDrag;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    THelpType FHelpType = htContext;
    QString FHelpKeyword;
    int FHelpContext = 0;
    TPopupMenu* FPopupMenu = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    bool FClickEvents = true;  // mouse up inside after a down is a click
    bool FCaptureMouse = true; // a press captures the mouse until release
    bool FMouseInside = false;
    bool FUpdatingFont = false;

private:
    friend class TWinControl;
    void HandleMouseMessage(TMessage& m);
};

class TGraphicControl : public TControl {
public:
    TV_CLASS_NAME(TGraphicControl)
    explicit TGraphicControl(TComponent* owner);
    bool IsGraphic() const override { return true; }
    // The canvas of the paint under way (bound to the parent's painter).
    TCanvas* Canvas() { return &FCanvas; }
    // Paints the control with the given painter, translated to its origin:
    // WM_PAINT with the painter in wParam through its procedure.
    void PaintTo(QPainter& painter);
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint() {}
    TCanvas FCanvas;
};

// The widget of our own windowed controls: paints through the control and
// accepts the mouse so messages do not wander to the parent.
class TControlWidget : public QWidget {
public:
    TControlWidget(TWinControl* control, QWidget* parent);
    TWinControl* Control() const { return FControl; }
    void Detach() { FControl = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    TWinControl* FControl;
};

class TWinControl : public TControl {
public:
    TV_CLASS_NAME(TWinControl)
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    bool IsGraphic() const override { return false; }

    // The control's window; made on first use.
    QWidget* Handle();
    bool HandleAllocated() const { return FWidget != nullptr; }
    // The widget that holds the children (the window itself unless a subclass
    // puts them on an inner widget).
    virtual QWidget* ClientWidget() { return Handle(); }

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void SetCursor(TCursor c) override;
    void SetHint(const QString& hint) override;
    void SetPopupMenu(TPopupMenu* menu) override;
    void BringToFront() override;
    void SendToBack() override;
    void Invalidate() override;
    void Repaint() override;

    // Children in stacking order (graphic ones are painted in this order).
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // The topmost visible, enabled child at a client point (graphic ones only unless allowWin).
    TControl* ControlAtPos(int x, int y, bool allowDisabled = false, bool allowWinControls = false) const;
    bool ContainsControl(const TControl* control) const;
    TControl* CaptureControl() const { return FCaptureControl; }
    void SetCaptureControl(TControl* c);

    void SetFocus();
    bool Focused() const;
    virtual bool CanFocus() const;
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);
    int TabOrder() const;
    void SetTabOrder(int order);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool v);
    bool ParentCtl3D() const { return true; }

    // The window region: the part of the window that is shown and takes the mouse.
    void SetWindowRgn(std::optional<TRegion> region);
    const std::optional<TRegion>& WindowRgn() const { return FWindowRgn; }
    // Arrange aligned children.
    void Realign();
    void DisableAlign() { ++FAlignDisabled; }
    void EnableAlign();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Paints the control's own face, then its graphic children.
    virtual void PaintWindow(QPainter& painter);
    void PaintControls(QPainter& painter, const QRect& area);
    // Qt's handling of a message for this window.
    void CallNative(TMessage& message);

protected:
    // Makes the widget; the default is a plain TControlWidget.
    virtual QWidget* CreateWidget(QWidget* parent);
    // Applies the control's state to a new widget.
    virtual void InitWidget();
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    void BoundsChanged() override;
    void VisibleChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    // The widget that stands for this control on its parent (may wrap Handle());
    // a subclass whose window sits inside another widget sets FOuterWidget in CreateWidget.
    QWidget* OuterWidget() { Handle(); return FOuterWidget ? FOuterWidget.data() : FWidget.data(); }
    void ApplyFontToWidget();
    void DestroyWidget();

    QPointer<QWidget> FWidget;
    QPointer<QWidget> FOuterWidget;
    std::vector<TControl*> FControls;
    TControl* FCaptureControl = nullptr;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FParentBackground = false;
    std::optional<TRegion> FWindowRgn;
    int FAlignDisabled = 0;
    bool FAligning = false;
    bool FSettingBounds = false;

    // The window was moved or sized by someone else (the window manager).
    void WindowMoved(const QRect& geometry);
    // A child was moved, sized, shown or hidden.
    virtual void ControlBoundsChanged(TControl*) {}

private:
    friend class TControl;
    friend class TControlWidget;
    TControl* FMouseControl = nullptr; // graphic child under the mouse (enter/leave)
};

// The class-library control whose window is, or contains, the given widget.
TWinControl* FindControl(QWidget* window);

// A control made in code as a form designer lays it out: named, on its
// parent, at its place.
template <class T>
T* Placed(T* control, const char* name, TWinControl* parent, int left, int top, int width, int height)
{
    Named(control, name)->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// A windowed control that paints itself on its own canvas.
class TCustomControl : public TWinControl {
public:
    TV_CLASS_NAME(TCustomControl)
    explicit TCustomControl(TComponent* owner);
    TCanvas* Canvas() { return &FCanvas; }
    void PaintWindow(QPainter& painter) override;

protected:
    virtual void Paint();
    TCanvas FCanvas;
};
