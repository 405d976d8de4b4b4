#pragma once
// Panels, shapes, bevels, scroll boxes, list boxes and timers.

#include "classlib/controls/control.h"
#include "classlib/controls/std_controls.h"
#include "classlib/strings.h"

#include <QScrollArea>
class QScrollBar;
class QTimer;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Draws a 3D frame inside r and shrinks r by its width.
void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width);

class TPanel : public TCustomControl {
public:
    TV_CLASS_NAME(TPanel)
    explicit TPanel(TComponent* owner);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int w);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

protected:
    void Paint() override;

private:
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    TBorderStyle FBorderStyle = bsNoneBorder;
    TAlignment FAlignment = taCenter;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
const char* ShapeTypeName(TShapeType s);

class TShape : public TGraphicControl {
public:
    TV_CLASS_NAME(TShape)
    explicit TShape(TComponent* owner);
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    const TPen* Pen() const { return &FPen; }
    const TBrush* Brush() const { return &FBrush; }
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType s);

protected:
    void Paint() override;

private:
    TPen FPen;
    TBrush FBrush;
    TShapeType FShape = stRectangle;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    TV_CLASS_NAME(TBevel)
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape s);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle s);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

class TScrollBox : public TWinControl {
public:
    TV_CLASS_NAME(TScrollBox)
    explicit TScrollBox(TComponent* owner);
    QWidget* ClientWidget() override { return Handle(); }
    int ClientWidth() const override;
    int ClientHeight() const override;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    int HorzPosition() const;
    int VertPosition() const;
    void SetHorzPosition(int p);
    void SetVertPosition(int p);
    // Grows the scrolled area to hold every child.
    void UpdateScrollRange();
    QScrollArea* Area() { Handle(); return FArea; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;
    void BoundsChanged() override;
    void ControlBoundsChanged(TControl* control) override;

private:
    QPointer<QScrollArea> FArea;
    TBorderStyle FBorderStyle = bsSingleBorder;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent = std::function<void(TComponent* Control, int Index, TRect Rect, TOwnerDrawState State)>;

// A list of text lines with one selection, drawn by itself or by its owner.
class TListBox : public TCustomControl {
public:
    TV_CLASS_NAME(TListBox)
    explicit TListBox(TComponent* owner);
    ~TListBox() override;
    TStrings* Items() { return &FItems; }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int h);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle s);
    bool Sorted() const { return FItems.Sorted(); }
    void SetSorted(bool v) { FItems.SetSorted(v); }
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int i);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    // The line at a client point; -1 (or the count when not existing) below the last line.
    int ItemAtPos(TPoint p, bool existing) const;
    TRect ItemRect(int index) const;
    TDrawItemEvent OnDrawItem;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void WndProc(TMessage& message) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void Paint() override;
    void KeyDown(int& key, TShiftState shift) override;
    void BoundsChanged() override;
    int VisibleLines() const;
    void UpdateScrollBar();
    int BorderWidth() const { return FBorderStyle == bsSingleBorder ? 2 : 0; }

private:
    TStringList FItems;
    int FItemIndex = -1;
    int FItemHeight = 13;
    TListBoxStyle FStyle = lbStandard;
    int FTopIndex = 0;
    TBorderStyle FBorderStyle = bsSingleBorder;
    QPointer<QScrollBar> FScroll;
};

class TTimer : public TComponent {
public:
    TV_CLASS_NAME(TTimer)
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    int Interval() const { return FInterval; }
    void SetInterval(int ms);
    TNotifyEvent OnTimer;

private:
    void Update();
    QTimer* FTimer;
    bool FEnabled = true;
    int FInterval = 1000;
};
