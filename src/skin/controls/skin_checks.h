#pragma once
// Check boxes and radio buttons: the check mark and the radio dot become cells
// of the skin's "CheckButton" and "RadioButton" strips, and the skinner draws
// the caption itself (class-library controls, whose caption flag is set).

#include "skin/controls/skin_control.h"

#include <QImage>

// What check boxes and radio buttons share: layout of glyph cell and caption.
class TSkinCheckGlyph : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinCheckGlyph)
    using TSkinControl::TSkinControl;

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;

    // The caption flag: the skinner draws caption and background too.
    bool DrawsCaption() const { return FCustomFlag == 1; }
    bool Transparent() const { return FTransparent; }
    // The strip's cell (from 1) for the control's present state; 0 when the
    // skin has no strip for this kind.
    virtual int StateCell() const = 0;
    // The glyph cell's rectangle inside r (window coordinates) and the text area.
    void CellLayout(const TRect& r, TRect& cell, TRect& text) const;

protected:
    // The strip image and its frame count for this kind.
    virtual const QImage* Strip() const = 0;
    virtual int StripFrames() const = 0;
    bool Disabled() const;

    bool FTransparent = false;
    QImage FBackBuffer;
};

class TSkinCheckBox : public TSkinCheckGlyph {
public:
    TV_CLASS_NAME(TSkinCheckBox)
    using TSkinCheckGlyph::TSkinCheckGlyph;

    void AfterProc(TMessage& m) override;
    int StateCell() const override;
    // 0 until BM_SETCHECK arrives, then its wParam + 1.
    int LastSetState() const { return FLastSetState; }

protected:
    const QImage* Strip() const override;
    int StripFrames() const override;

private:
    int FLastSetState = 0;
};

class TSkinRadioButton : public TSkinCheckGlyph {
public:
    TV_CLASS_NAME(TSkinRadioButton)
    using TSkinCheckGlyph::TSkinCheckGlyph;

    int StateCell() const override;

protected:
    const QImage* Strip() const override;
    int StripFrames() const override;
};
