#pragma once
// Group boxes, panels, dialog backgrounds and size grips.

#include "skin/controls/skin_control.h"

class TSkinGroupBox : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinGroupBox)
    using TSkinControl::TSkinControl;
    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
};

// Panels keep their own procedure: only their colour changes.
class TSkinBox : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinBox)
    using TSkinControl::TSkinControl;
    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
};

// The background of a bare dialog.
class TSkinBoxH : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinBoxH)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
};

class TSkinSizer : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinSizer)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
};
