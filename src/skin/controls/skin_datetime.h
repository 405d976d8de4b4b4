#pragma once
// Date and time pickers: a drop button of the skin (one cell of the combo
// arrow, frame 4 while hovered) laid over the picker's drop-down edge; a press
// on it is handed to the picker underneath, which opens its calendar itself.

#include "skin/controls/skin_control.h"

#include <QPointer>
#include <QWidget>

class TSkinDateTime;

class TArrowButton : public QWidget {
public:
    TArrowButton(TSkinDateTime* owner, QWidget* picker);
    // Lays the button over the picker's right edge (left with WS_EX_LEFTSCROLLBAR).
    void Place();
    bool Hot() const { return FHot; }
    // The combo-arrow frame the button shows now.
    int Frame() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Forward(QMouseEvent* event);
    TSkinDateTime* FOwner;
    QPointer<QWidget> FPicker;
    bool FHot = false;
};

class TSkinDateTime : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinDateTime)
    using TSkinControl::TSkinControl;
    ~TSkinDateTime() override;

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    void AfterProc(TMessage& m) override;
    TArrowButton* Button() const { return FButton; }

private:
    void MakeButton();
    QPointer<TArrowButton> FButton;
};
